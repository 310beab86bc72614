#pragma once
#include "cli/Console.h"
#include "cli/Options.h"

namespace halvern::cli {

// Carries out a parsed command line that asks for runs: reads the input, makes the checks, does
// every run on the same text, and only when all of them succeeded writes the output and the map.
// Reports and errors go to the console; returns the exit status (cli/ExitCodes.h).
int RunCommand(const Options& options, const Console& console);

}  // namespace halvern::cli
