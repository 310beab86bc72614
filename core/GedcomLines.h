#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/AtSignScanner.h"

namespace halvern {

// Calls each(line, number) for every line of text, number counted from 1, the line without its
// end. A line ends with CR, LF or CR LF; a last line without an end counts too, an empty text has
// no lines.
//
// With SSE2 the line ends of 64 bytes at a time are found at once: a file has a line every few
// dozen bytes, and looking at each byte by itself cost more than all that is done with the lines.
template <typename Each>
void ForEachLine(std::string_view text, Each&& each) {
    std::size_t number = 0;
    std::size_t begin = 0;
    const char* const bytes = text.data();
    const std::size_t size = text.size();
    // The line that ends at end (a CR or LF); the LF of a CR LF is taken with its CR.
    const auto lineEndingAt = [&](std::size_t end) {
        each(std::string_view(bytes + begin, end - begin), ++number);  // begin <= end: no check needed
        if (bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') ++end;
        begin = end + 1;
    };
#if defined(__SSE2__)
    for (std::size_t base = 0; base < size; base += 64) {
        for (std::uint64_t ends = BytesAlike(text, base, '\n') | BytesAlike(text, base, '\r'); ends != 0;
             ends &= ends - 1) {
            const std::size_t end = base + static_cast<std::size_t>(std::countr_zero(ends));
            if (end >= begin) lineEndingAt(end);  // else the LF of a CR LF, taken already
        }
    }
#else
    while (begin < size) {
        std::size_t end = begin;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        if (end == size) break;
        lineEndingAt(end);
    }
#endif
    if (begin < size) each(text.substr(begin), ++number);
}

// The parts of one GEDCOM line: level, optional cross-reference identifier, tag, optional value.
struct GedcomLine {
    std::string_view level;  // "0"
    std::string_view xref;   // "@I1@", or empty
    std::string_view tag;    // "INDI"
    std::string_view value;  // everything after the blank behind the tag, or empty
};

// Splits line into its parts: leading blanks and tabs are skipped, parts are separated by one or
// more blanks, the identifier is "@" + anything without "@" + "@". False when the line has no
// digit level, or no tag after it.
bool SplitGedcomLine(std::string_view line, GedcomLine& parts);

}  // namespace halvern
