#pragma once
#include <string>
#include <vector>

namespace halvern {

// The arguments the program was started with, its own name left out, in UTF-8: the command line is
// read in UTF-16 and split as Windows splits it (CommandLineToArgvW), so every name Windows can hold
// arrives whole.
std::vector<std::string> CommandLineArguments();

}  // namespace halvern
