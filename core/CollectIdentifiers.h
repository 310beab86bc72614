#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/AtSignScanner.h"
#include "core/RecordTypes.h"

namespace halvern {

// True when the count bytes at a and b are alike. The patterns are a few bytes long: compared in
// place, this costs less than a call to memcmp.
inline bool SameBytes(const char* a, const char* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// True for the four record types the program has always renumbered: INDI, FAM, NOTE and SOUR. Their
// pattern is matched as a prefix, as it always was, so that earlier results stay reproducible.
inline bool MatchedAsPrefix(std::string_view tag) {
    return tag == "INDI" || tag == "FAM" || tag == "NOTE" || tag == "SOUR";
}

// For any other tag the pattern must end the tag: the byte after it is no tag byte (IsTagByte), or
// the text ends there, so that "_LOC" does not take the records of "_LOCX", nor "SUBM" those of a
// "SUBM2", while "@ _LOC@", "@ _LOC\t" and "@ _LOC\n" are all records of "_LOC".
inline bool EndsWord(std::string_view text, std::size_t after) { return after >= text.size() || !IsTagByte(text[after]); }

// The callback for the pairs of "@" when nobody asks for them.
struct NoAtPairs {
    void operator()(std::size_t) const {}
};

// Calls found(identifier) for the identifier of every definition of the record type tag in text,
// in the order in which the definitions stand; duplicates included. A definition is found through
// the pattern "@ " + tag (for INDI, FAM, NOTE and SOUR a prefix: whatever follows the tag is not
// looked at; for any other tag followed by a blank, a line end or the end); its identifier runs
// back from that "@" to the nearest "@" before it, but never back past the end of the previous
// definition found. A definition without such an "@" gives nothing. The views point into text.
// Returns the number of "@" in text.
//
// With span (1 to 63) the walk also calls atPair(at) for every "@" at at that is followed by the
// byte byteAfter and has another "@" at at + span, in no particular order, and may call it for
// other "@" too: the stretches of one length and first byte are picked out on the way, while the
// bytes are at hand.
//
// This walk goes from one "@" to the next: every occurrence of the pattern begins with an "@", so
// it finds the same occurrences, leftmost first, as searching for the pattern would, and passes
// each opening "@" on the way. It goes on just after every occurrence (the search start), so an
// opening "@" is only ever taken from behind the previous occurrence.
template <typename Found, typename AtPair = NoAtPairs>
std::size_t ForEachDefinitionByAtSigns(std::string_view text, std::string_view tag, Found&& found,
                                       std::size_t span = 0, char byteAfter = 0, AtPair&& atPair = {}) {
    (void)span;  // every "@" is handed to atPair
    (void)byteAfter;
    const std::string pattern = std::string("@ ").append(tag);
    const bool wholeWord = !MatchedAsPrefix(tag);
    std::size_t atSignsInPattern = 0;
    for (const char c : pattern) atSignsInPattern += c == '@' ? 1 : 0;
    std::size_t atSigns = 0;
    std::size_t opening = std::string_view::npos;  // the last "@" since the search start
    AtSignScanner scanner(text);
    std::size_t at = scanner.Next();
    while (at != std::string_view::npos) {
        atPair(at);
        // Most "@" are not followed by the blank of the pattern; only then are the bytes compared.
        const std::size_t left = text.size() - at;
        if (left >= pattern.size() && text[at + 1] == pattern[1] &&
            SameBytes(text.data() + at + 2, pattern.data() + 2, pattern.size() - 2) &&
            (!wholeWord || EndsWord(text, at + pattern.size()))) {
            if (opening != std::string_view::npos) found(text.substr(opening, at - opening + 1));
            atSigns += atSignsInPattern;
            opening = std::string_view::npos;
            // The search goes on behind the pattern.
            const std::size_t searchStart = at + pattern.size();
            for (at = scanner.Next(); at != std::string_view::npos && at < searchStart; at = scanner.Next()) atPair(at);
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
// that begins the previous one (then there is no identifier) or lie behind it. The pairs of "@" at
// span from each other are read off the masks of a block and the one before it.
template <typename Found, typename AtPair = NoAtPairs>
std::size_t ForEachDefinitionByPairs(std::string_view text, std::string_view tag, Found&& found,
                                     std::size_t span = 0, char byteAfter = 0, AtPair&& atPair = {}) {
    constexpr bool kWantsPairs = !std::is_same_v<std::decay_t<AtPair>, NoAtPairs>;
    if (kWantsPairs && (span == 0 || span >= 64)) return ForEachDefinitionByAtSigns(text, tag, found, span, byteAfter, atPair);
    const bool wholeWord = !MatchedAsPrefix(tag);
    std::uint64_t previousAts = 0;     // the "@" of the block before, whether it had any or not
    std::uint64_t previousStarts = 0;  // those of them followed by byteAfter
    std::size_t atSigns = 0;
    std::size_t lastAt = std::string_view::npos;        // the last "@" before the block
    std::size_t lastPattern = std::string_view::npos;   // where the last occurrence of the pattern began
    for (std::size_t base = 0; base < text.size(); base += 64) {
        const std::uint64_t ats = BytesAlike(text, base, '@');
        if constexpr (kWantsPairs) {
            // The pairs that start in the block before are settled now that this block's "@" are
            // known; most blocks have no "@" followed by byteAfter, and the loop is skipped.
            if (previousStarts != 0) {
                for (std::uint64_t pairs = previousStarts & ((previousAts >> span) | (ats << (64 - span))); pairs != 0;
                     pairs &= pairs - 1) {
                    atPair(base - 64 + static_cast<std::size_t>(std::countr_zero(pairs)));
                }
            }
            previousAts = ats;
            previousStarts = 0;
            if (ats != 0) {
                std::uint64_t followed = BytesAlike(text, base, byteAfter) >> 1;
                if (base + 64 < text.size() && text[base + 64] == byteAfter) followed |= std::uint64_t{1} << 63;
                previousStarts = ats & followed;
            }
        }
        if (ats == 0) continue;
        atSigns += BitsSet(ats);
        // Bit i: the byte after base + i is a blank (the one after the block's last byte included).
        std::uint64_t blankAfter = BytesAlike(text, base, ' ') >> 1;
        if (base + 64 < text.size() && text[base + 64] == ' ') blankAfter |= std::uint64_t{1} << 63;
        for (std::uint64_t pairs = ats & blankAfter; pairs != 0; pairs &= pairs - 1) {
            const auto bit = static_cast<unsigned>(std::countr_zero(pairs));
            const std::size_t at = base + bit;
            if (text.size() - at < tag.size() + 2 || !SameBytes(text.data() + at + 2, tag.data(), tag.size()) ||
                (wholeWord && !EndsWord(text, at + 2 + tag.size()))) {
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
    if constexpr (kWantsPairs) {
        const std::size_t lastBase = text.empty() ? 0 : (text.size() - 1) / 64 * 64;
        for (std::uint64_t pairs = previousStarts & (previousAts >> span); pairs != 0; pairs &= pairs - 1) {
            atPair(lastBase + static_cast<std::size_t>(std::countr_zero(pairs)));
        }
    }
    return atSigns;
}
#endif

// The definitions of the record type tag; see ForEachDefinitionByAtSigns for which they are, and
// for span and atPair.
template <typename Found, typename AtPair = NoAtPairs>
std::size_t ForEachDefinition(std::string_view text, std::string_view tag, Found&& found, std::size_t span = 0,
                              char byteAfter = 0, AtPair&& atPair = {}) {
#if defined(__SSE2__)
    if (tag.find('@') == std::string_view::npos) {
        return ForEachDefinitionByPairs(text, tag, found, span, byteAfter, atPair);
    }
#endif
    return ForEachDefinitionByAtSigns(text, tag, found, span, byteAfter, atPair);
}

// The definitions of several record types in one walk over the "@" of text: found(tag, identifier)
// for every definition that ForEachDefinition(text, tags[tag]) finds, all of them in the order of
// the text (where one "@" opens definitions of two tags, in the order of tags). No tag may hold an
// "@". stretch(at, length) is called for every stretch from one "@" to the next, from left to
// right, so a caller can look at them on the same walk. Returns the number of "@" in text.
//
// Each tag keeps the rule of its own walk: an identifier runs back to the "@" before its pattern
// unless that "@" began the tag's previous occurrence. A pattern without "@" of its own never
// holds the "@" that follows it, so the search start of each tag needs nothing else.
template <typename Found, typename Stretch>
std::size_t ForEachDefinitionOfTags(std::string_view text, const std::vector<std::string_view>& tags, Found&& found,
                                    Stretch&& stretch) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::vector<std::size_t> lastPattern(tags.size(), kNone);
    std::vector<char> wholeWord(tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) wholeWord[i] = !MatchedAsPrefix(tags[i]);
    std::size_t atSigns = 0;
    std::size_t previous = kNone;
    AtSignScanner scanner(text);
    for (std::size_t at = scanner.Next(); at != kNone; at = scanner.Next()) {
        ++atSigns;
        if (previous != kNone) stretch(previous, at - previous + 1);
        if (text.size() - at >= 2 && text[at + 1] == ' ') {
            for (std::size_t i = 0; i < tags.size(); ++i) {
                const std::string_view tag = tags[i];
                if (text.size() - at < tag.size() + 2 || !SameBytes(text.data() + at + 2, tag.data(), tag.size()) ||
                    (wholeWord[i] && !EndsWord(text, at + 2 + tag.size()))) {
                    continue;
                }
                if (previous != kNone && previous != lastPattern[i]) found(i, text.substr(previous, at - previous + 1));
                lastPattern[i] = at;
            }
        }
        previous = at;
    }
    return atSigns;
}

// The identifiers ForEachDefinition finds, as a list.
std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag);

}  // namespace halvern
