#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/AtSignScanner.h"

namespace halvern {
namespace {

std::vector<std::size_t> Scanned(std::string_view text) {
    std::vector<std::size_t> found;
    AtSignScanner scanner(text);
    for (std::size_t at = scanner.Next(); at != std::string_view::npos; at = scanner.Next()) found.push_back(at);
    EXPECT_EQ(scanner.Next(), std::string_view::npos);  // and it stays at the end
    return found;
}

std::vector<std::size_t> Plain(std::string_view text) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '@') found.push_back(i);
    }
    return found;
}

TEST(AtSignScanner, FindsEveryAtInOrder) {
    EXPECT_TRUE(Scanned("").empty());
    EXPECT_TRUE(Scanned("geen apenstaart").empty());
    EXPECT_EQ(Scanned("@"), std::vector<std::size_t>{0});
    // Texts of every length around the 64-byte steps, with an "@" at every place near their edges
    // and at the very end, where a text stops short of a whole step.
    for (std::size_t length : {1u, 15u, 16u, 17u, 63u, 64u, 65u, 127u, 128u, 129u, 200u}) {
        for (std::size_t place = 0; place < length; ++place) {
            std::string text(length, 'x');
            text[place] = '@';
            text[length - 1] = '@';
            ASSERT_EQ(Scanned(text), Plain(text)) << length << " " << place;
        }
    }
    const std::string all(300, '@');
    EXPECT_EQ(Scanned(all), Plain(all));
}

TEST(AtSignScanner, AgreesWithAPlainSearchOnRandomTexts) {
    std::mt19937 random(2026);
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 1000, ' ');
        for (char& c : text) c = random() % 5 == 0 ? '@' : static_cast<char>(random() % 256);
        // A view that starts and ends inside a larger text: nothing outside it may be reported.
        const std::string around = "@@" + text + "@@";
        const std::string_view view = std::string_view(around).substr(2, text.size());
        ASSERT_EQ(Scanned(view), Plain(view)) << round;
    }
}

TEST(AtSignScanner, CountsTheBitsOfAWordAsOneByOne) {
    std::mt19937_64 random(64);
    for (int round = 0; round < 3000; ++round) {
        const std::uint64_t word = round % 3 == 0 ? random() & random() : round % 3 == 1 ? ~(random() & random()) : random();
        std::size_t ones = 0;
        for (int bit = 0; bit < 64; ++bit) ones += (word >> bit) & 1U;
        ASSERT_EQ(BitsSet(word), ones) << word;
    }
}

}  // namespace
}  // namespace halvern
