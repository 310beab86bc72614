#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/AtSignScanner.h"

namespace halvern {

// Calls found(identifier) for the identifier of every definition of the record type tag in text,
// in the order in which the definitions stand; duplicates included. A definition is found through
// the pattern "@ " + tag (a prefix: whatever follows the tag is not looked at); its identifier runs
// back from that "@" to the nearest "@" before it, but never back past the end of the previous
// definition found. A definition without such an "@" gives nothing. The views point into text.
// Returns the number of "@" in text.
//
// Every occurrence of the pattern begins with an "@", so walking from one "@" to the next finds
// the same occurrences, leftmost first, as searching for the pattern would, and passes each
// opening "@" on the way. The walk goes on just after every occurrence (the search start), so an
// opening "@" is only ever taken from behind the previous occurrence.
// True when the count bytes at a and b are alike. The patterns are a few bytes long: compared in
// place, this costs less than a call to memcmp.
inline bool SameBytes(const char* a, const char* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

template <typename Found>
std::size_t ForEachDefinition(std::string_view text, std::string_view tag, Found&& found) {
    const std::string pattern = std::string("@ ").append(tag);
    std::size_t atSignsInPattern = 0;
    for (const char c : pattern) atSignsInPattern += c == '@' ? 1 : 0;
    std::size_t atSigns = 0;
    std::size_t opening = std::string_view::npos;  // the last "@" since the search start
    AtSignScanner scanner(text);
    std::size_t at = scanner.Next();
    while (at != std::string_view::npos) {
        // Most "@" are not followed by the blank of the pattern; only then are the bytes compared.
        const std::size_t left = text.size() - at;
        if (left >= pattern.size() && text[at + 1] == pattern[1] &&
            SameBytes(text.data() + at + 2, pattern.data() + 2, pattern.size() - 2)) {
            if (opening != std::string_view::npos) found(text.substr(opening, at - opening + 1));
            atSigns += atSignsInPattern;
            opening = std::string_view::npos;
            // The search goes on behind the pattern.
            const std::size_t searchStart = at + pattern.size();
            do {
                at = scanner.Next();
            } while (at != std::string_view::npos && at < searchStart);
        } else {
            ++atSigns;
            opening = at;
            at = scanner.Next();
        }
    }
    return atSigns;
}

// The identifiers ForEachDefinition finds, as a list.
std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag);

}  // namespace halvern
