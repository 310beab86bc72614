#pragma once
#include <filesystem>
#include <string_view>

namespace halvern {

// A file name as the program's windows hold it (8-bit, the ANSI code page) as a path for the core.
std::filesystem::path PathFromAnsi(std::string_view name);

}  // namespace halvern
