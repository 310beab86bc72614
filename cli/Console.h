#pragma once
#include <cstdio>
#include <string_view>

namespace halvern::cli {

// The three standard streams of the process, and whether standard error is a terminal.
struct Console {
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
    bool errIsTerminal;
};

// Writes text and a line end to stream, at once.
void WriteLine(std::FILE* stream, std::string_view text);

// Writes text as it is to stream, at once.
void WriteText(std::FILE* stream, std::string_view text);

}  // namespace halvern::cli
