#pragma once
#include <string_view>

namespace halvern::cli {

inline constexpr std::string_view kProgramName = "halvern-cli";

// The full Dutch help of --help.
std::string_view HelpText();

// The version that --version prints.
std::string_view VersionText();

}  // namespace halvern::cli
