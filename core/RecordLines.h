#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/LargeBuffer.h"

namespace halvern {

// One line of a record: its bytes without the line end, and its level, the number its first
// digits spell after any leading blanks and tabs when a blank follows them (-1 otherwise: no level).
struct RecordLine {
    std::string_view text;
    int level = -1;
};

// The lines of one record, read on the bytes of the text: the line where the record begins, then
// every line after it up to the next line of level 0 or the end of the text. A line ends with CR,
// LF or CR LF. The bytes are never decoded, so an 8-bit file and the working text of a UTF-16 file
// (core/Utf16Text.h, where every line end and blank is the same single byte) are read alike.
//
// The lines are found 64 bytes at a time (with SSE2); a record is read only as far as its reader
// asks, so a caller that has what it needs stops without touching the rest.
class RecordLines {
public:
    // The record whose first line begins at lineStart.
    RecordLines(std::string_view text, std::size_t lineStart);

    // The next line of the record, the first line first; false when the record has no more.
    bool Next(RecordLine& line);

    // Where the line after the last one read begins: after a false Next, the end of the record.
    std::size_t Position() const { return begin_; }

private:
    std::size_t NextLineEnd();

    std::string_view text_;
    std::size_t begin_;  // where the next line begins
    bool first_ = true;
#if defined(__SSE2__)
    std::size_t base_;     // the 64 bytes whose CR and LF are in ends_
    std::uint64_t ends_;
#endif
};

// Asks for the bytes at address to be brought into the cache, for a record that will be read a few
// records later: the records of a run lie far apart in a text larger than the caches, and waiting
// for each in turn costs more than reading it.
inline void ReadAhead(const char* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// How many records ahead the readers of many records ask for one.
inline constexpr std::size_t kRecordsAhead = 8;

// Where the line that holds definition begins: definition is the identifier of a record's
// definition as the engine collects it ("@I7@" of "0 @I7@ INDI"), a view into text.
// std::invalid_argument when definition does not lie within text.
std::size_t RecordStart(std::string_view text, std::string_view definition);

// The record whose definition is definition (see RecordStart), from the start of its first line up
// to the next line of level 0 (the last line end included), or to the end of the text.
std::string_view RecordText(std::string_view text, std::string_view definition);

// The record's own unique identifier: the value of the first line of level 1 with the tag UID or
// _UID, blanks and tabs around it taken off; empty when it has none. Lines of a deeper level (a
// source citation's own UID, say) are not the record's.
std::string_view UniqueIdentifier(std::string_view text, std::string_view definition);

// UniqueIdentifier of each definition, all at once. A walk over the text 64 bytes at a time looks
// for a "UID" that can be a tag or the end of one, and a file without any is done there. Otherwise
// one more walk finds each such word and where every line of level 0 begins, which bounds each
// record, and only the lines with such a word are read.
LargeVector<std::string_view> UniqueIdentifiers(std::string_view text, std::span<const std::string_view> definitions);

// The value of a line after its tag when the line has level and tag (GEDCOM's split, see
// SplitGedcomLine), blanks and tabs around it taken off; nothing (false) otherwise.
bool LineValue(const RecordLine& line, int level, std::string_view tag, std::string_view& value);

// value without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view value);

}  // namespace halvern
