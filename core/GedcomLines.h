#pragma once
#include <cstddef>
#include <string_view>

namespace halvern {

// Calls each(line, number) for every line of text, number counted from 1, the line without its
// end. A line ends with CR, LF or CR LF; a last line without an end counts too, an empty text has
// no lines.
template <typename Each>
void ForEachLine(std::string_view text, Each&& each) {
    std::size_t number = 0;
    std::size_t begin = 0;
    const char* const bytes = text.data();
    const std::size_t size = text.size();
    while (begin < size) {
        std::size_t end = begin;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        each(text.substr(begin, end - begin), ++number);
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') ++end;
        begin = end + 1;
    }
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
