#pragma once
#include <span>
#include <string_view>

#include "cli/Console.h"

namespace halvern::cli {

// The whole of halvern-cli after the platform's start: args are the arguments after the program
// name. Returns the exit status.
int CliMain(std::span<const std::string_view> args, const Console& console);

}  // namespace halvern::cli
