#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// The bytes a record tag is made of: A-Z, a-z, 0-9 and "_". A tag ends where any other byte
// follows, or the text ends.
// Looked up in a table of the 256 byte values: one load, where the four ranges cost a compare
// and a branch each.
inline constexpr std::array<bool, 256> kTagBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }
    return table;
}();
inline bool IsTagByte(char c) { return kTagBytes[static_cast<unsigned char>(c)]; }

// The prefix a record type's identifiers get unless the user asks otherwise: INDI "I", FAM "F",
// NOTE and SNOTE "N", SOUR "S", REPO "R", OBJE "O", SUBM "U", SUBN "B". Nothing for any other tag
// (those beginning with "_" included): the user has to choose one.
std::optional<std::string_view> DefaultPrefix(std::string_view tag);

// True for a tag that a level-0 record can have, as a user names it: 1 to 31 of A-Z, a-z, 0-9 and "_".
bool IsRecordTag(std::string_view tag);

// The place of a tag in the order INDI, FAM, NOTE, SNOTE, SOUR, REPO, OBJE, SUBM, SUBN (0 to 8);
// 9 for any other tag.
std::size_t KnownTagOrder(std::string_view tag);

// The tags of the level-0 records in text ("0 @X@ TAG", leading blanks allowed; the tag as far as
// IsTagByte goes, so "0 @X@ _LOC@" is a record of "_LOC"), each once: first
// those of INDI, FAM, NOTE, SNOTE, SOUR, REPO, OBJE, SUBM and SUBN that occur, in that order, then
// any other tags in the order in which they first occur. Records without an identifier (HEAD,
// TRLR) are not counted. For renumbering every type of a file in one go.
std::vector<std::string> RecordTags(std::string_view text);

}  // namespace halvern
