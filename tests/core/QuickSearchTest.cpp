#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/QuickSearch.h"

namespace halvern {
namespace {

// The plain definition: the first window at or after start that fits in textLength and matches.
std::size_t NaiveSearch(std::string_view text, std::string_view pattern, std::size_t start,
                        std::size_t textLength) {
    if (pattern.empty()) return start;
    for (std::size_t s = start - 1; s + pattern.size() <= textLength; ++s) {
        if (text.substr(s, pattern.size()) == pattern) return s + 1;
    }
    return 0;
}

TEST(QuickSearch, FindsTheLeftmostOccurrenceFromTheStart) {
    const std::string_view definition = "0 @I7@ INDI";
    EXPECT_EQ(QuickSearchPos(definition, "@ INDI", 1, definition.size()), 6u);
    EXPECT_EQ(QuickSearchPos(definition, "@ INDI", 6, definition.size()), 6u);
    EXPECT_EQ(QuickSearchPos(definition, "@ INDI", 7, definition.size()), 0u);
    EXPECT_EQ(QuickSearchPos("xx@I1@", "@I1@", 1, 6), 3u);
    EXPECT_EQ(QuickSearchPos("@I1@ @I1@ @I1@", "@I1@", 2, 14), 6u);
    EXPECT_EQ(QuickSearchPos("aaaa", "aa", 2, 4), 2u);  // overlapping windows are all tried
    // Bytes are compared as they are: no case folding, high bytes are ordinary bytes.
    EXPECT_EQ(QuickSearchPos(definition, "@ indi", 1, definition.size()), 0u);
    EXPECT_EQ(QuickSearchPos("Zo\xEB @\xEB", "@\xEB", 1, 6), 5u);
}

TEST(QuickSearch, StaysWithinTheTextLength) {
    EXPECT_EQ(QuickSearchPos("x@I1@", "@I1@", 1, 5), 2u);  // ends exactly at the text length
    EXPECT_EQ(QuickSearchPos("x@I1@", "@I1@", 1, 4), 0u);  // would end one byte beyond it
    EXPECT_EQ(QuickSearchPos("@I1", "@I1@", 1, 3), 0u);    // pattern longer than the text
    EXPECT_EQ(QuickSearchPos("@I1@", "@", 5, 4), 0u);      // start beyond the text
    EXPECT_EQ(QuickSearchPos("@I1@", "@", 500, 4), 0u);
    EXPECT_EQ(QuickSearchPos("", "@", 1, 0), 0u);
    EXPECT_EQ(QuickSearchPos("abc", "", 2, 3), 2u);  // an empty pattern gives the start
    EXPECT_EQ(QuickSearchPos("", "", 1, 0), 1u);
}

TEST(QuickSearch, LongPatternsNeedWideShifts) {
    // The byte just after a window of a 300-byte pattern moves the window by up to 301 bytes,
    // beyond what one byte holds.
    const std::string pattern = "b" + std::string(299, 'a');
    const std::string text = std::string(1000, 'a') + pattern + "c" + pattern;
    EXPECT_EQ(QuickSearchPos(text, pattern, 1, text.size()), 1001u);
    EXPECT_EQ(QuickSearchPos(text, pattern, 1002, text.size()), 1302u);
    const std::string unique = "@" + std::string(258, 'x') + "@";
    const std::string withUnique = std::string(5000, 'y') + unique;
    EXPECT_EQ(QuickSearchPos(withUnique, unique, 1, withUnique.size()), 5001u);
    // Beyond what two bytes hold as well.
    const std::string huge = "b" + std::string(70000, 'a');
    const std::string hugeText = std::string(140000, 'a') + huge + std::string(10, 'a');
    EXPECT_EQ(QuickSearchPos(hugeText, huge, 1, hugeText.size()), 140001u);
    EXPECT_EQ(QuickSearchPos(hugeText, huge, 140002, hugeText.size()), 0u);
}

TEST(QuickSearch, AgreesWithThePlainSearchOnRandomInput) {
    std::mt19937 random(20240611);
    const std::string alphabets[] = {"ab", "@I1 ", "abcdefghijklmnopqrstuvwxyz@ \n"};
    for (int round = 0; round < 6000; ++round) {
        const std::string& alphabet = alphabets[round % 3];
        const std::size_t length = random() % 700;
        std::string text(length, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];

        // Half the patterns are cut from the text, so they are found; many are longer than 255.
        std::size_t m = 1 + random() % (round % 2 == 0 ? 8 : 400);
        std::string pattern;
        if (round % 4 < 2 && m <= length) {
            pattern = text.substr(random() % (length - m + 1), m);
        } else {
            pattern.resize(m);
            for (char& c : pattern) c = alphabet[random() % alphabet.size()];
        }
        const std::size_t textLength = length == 0 ? 0 : length - random() % (1 + length / 8);
        const std::size_t start = 1 + random() % (length + 2);
        ASSERT_EQ(QuickSearchPos(text, pattern, start, textLength), NaiveSearch(text, pattern, start, textLength))
            << "text " << text << " pattern " << pattern << " start " << start << " length " << textLength;
    }
}

}  // namespace
}  // namespace halvern
