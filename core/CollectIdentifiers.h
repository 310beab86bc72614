#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/AtSignScanner.h"

namespace halvern {

// True when the count bytes at a and b are alike. The patterns are a few bytes long: compared in
// place, this costs less than a call to memcmp.
inline bool SameBytes(const char* a, const char* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Calls found(identifier) for the identifier of every definition of the record type tag in text,
// in the order in which the definitions stand; duplicates included. A definition is found through
// the pattern "@ " + tag (a prefix: whatever follows the tag is not looked at); its identifier runs
// back from that "@" to the nearest "@" before it, but never back past the end of the previous
// definition found. A definition without such an "@" gives nothing. The views point into text.
// Returns the number of "@" in text.
//
// This walk goes from one "@" to the next: every occurrence of the pattern begins with an "@", so
// it finds the same occurrences, leftmost first, as searching for the pattern would, and passes
// each opening "@" on the way. It goes on just after every occurrence (the search start), so an
// opening "@" is only ever taken from behind the previous occurrence.
template <typename Found>
std::size_t ForEachDefinitionByAtSigns(std::string_view text, std::string_view tag, Found&& found) {
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

#if defined(__SSE2__)
// The same for a tag without "@", faster: only the places where "@ " stands are visited, 64 bytes
// at a time, and the "@" before each is read off the same bit masks. With a single "@" in the
// pattern, the occurrences never overlap, and the "@" before one occurrence can only be the "@"
// that begins the previous one (then there is no identifier) or lie behind it.
template <typename Found>
std::size_t ForEachDefinitionByPairs(std::string_view text, std::string_view tag, Found&& found) {
    std::size_t atSigns = 0;
    std::size_t lastAt = std::string_view::npos;        // the last "@" before the block
    std::size_t lastPattern = std::string_view::npos;   // where the last occurrence of the pattern began
    for (std::size_t base = 0; base < text.size(); base += 64) {
        const std::uint64_t ats = BytesAlike(text, base, '@');
        if (ats == 0) continue;
        atSigns += static_cast<std::size_t>(std::popcount(ats));
        // Bit i: the byte after base + i is a blank (the one after the block's last byte included).
        std::uint64_t blankAfter = BytesAlike(text, base, ' ') >> 1;
        if (base + 64 < text.size() && text[base + 64] == ' ') blankAfter |= std::uint64_t{1} << 63;
        for (std::uint64_t pairs = ats & blankAfter; pairs != 0; pairs &= pairs - 1) {
            const auto bit = static_cast<unsigned>(std::countr_zero(pairs));
            const std::size_t at = base + bit;
            if (text.size() - at < tag.size() + 2 || !SameBytes(text.data() + at + 2, tag.data(), tag.size())) {
                continue;
            }
            const std::uint64_t before = ats & ((std::uint64_t{1} << bit) - 1);
            const std::size_t opening =
                before != 0 ? base + 63 - static_cast<std::size_t>(std::countl_zero(before)) : lastAt;
            if (opening != std::string_view::npos && opening != lastPattern) {
                found(text.substr(opening, at - opening + 1));
            }
            lastPattern = at;
        }
        lastAt = base + 63 - static_cast<std::size_t>(std::countl_zero(ats));
    }
    return atSigns;
}
#endif

// The definitions of the record type tag; see ForEachDefinitionByAtSigns for which they are.
template <typename Found>
std::size_t ForEachDefinition(std::string_view text, std::string_view tag, Found&& found) {
#if defined(__SSE2__)
    if (tag.find('@') == std::string_view::npos) return ForEachDefinitionByPairs(text, tag, found);
#endif
    return ForEachDefinitionByAtSigns(text, tag, found);
}

// The identifiers ForEachDefinition finds, as a list.
std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag);

}  // namespace halvern
