#include "app/StartNumber.h"

#include <gtest/gtest.h>

#include <string>

namespace halvern {
namespace {

struct Case {
    std::string text;
    std::int32_t expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(ReadStartNumber(c.text), c.expected) << "text: \"" << c.text << "\"";
    }
}

TEST(ReadStartNumber, BlankBoxGivesOne) {
    ExpectAll({{"", 1}, {" ", 1}, {"   ", 1}, {"\t", 1}, {"\t \r\n", 1}, {std::string(1, '\0'), 1},
               {std::string("\x1f \x01"), 1}});
}

TEST(ReadStartNumber, PlainAndSignedDecimals) {
    ExpectAll({{"25", 25}, {"  25", 25}, {"+25", 25}, {"0025", 25}, {"0", 0}, {"-0", 0},
               {"-25", -25}, {"  -25", -25}, {"-", 0}, {"+", 0}});
}

TEST(ReadStartNumber, StopsAtTheFirstOtherCharacterAndDropsTheSign) {
    ExpectAll({{"25abc", 25}, {"12.5", 12}, {"1e3", 1}, {"5 6", 5}, {"abc", 0}, {"- 5", 0},
               {"\t5", 0}, {"-25 ", 25}, {"25 ", 25}, {"-7x", 7}, {"25\t", 25}});
}

TEST(ReadStartNumber, Hexadecimal) {
    ExpectAll({{"$1F", 31}, {"x1F", 31}, {"X1f", 31}, {"0x1f", 31}, {"0X1F", 31}, {"  $10", 16},
               {"$fg", 15}, {"$", 0}, {"0x", 0}, {"x", 0}, {"-$1F", 0}, {"+$1F", 0}, {"-0x10", 0},
               {"$FFFFFFFF", -1}, {"$80000000", -2147483647 - 1}, {"$7FFFFFFF", 2147483647},
               {"$123456789", 305419896}, {"$0000000000001", 1}});
}

TEST(ReadStartNumber, DecimalLimits) {
    ExpectAll({{"2147483647", 2147483647},
               {"2147483648", -2147483647 - 1},
               {"2147483649", -2147483647},
               {"2147483650", 214748365},
               {"99999999999", 999999999},
               {"-2147483648", -2147483647 - 1},
               {"-2147483649", 2147483647},
               {"-2147483650", 214748365},
               {"4294967295", 429496729}});
}

TEST(ReadStartNumber, OnlyBlanksAreSkippedBeforeTheNumber) {
    // A control character counts as blank for the "empty box" test but not for the scan.
    ExpectAll({{"\r\n25", 0}, {" \t25", 0}, {"25\r\n", 25}});
}

}  // namespace
}  // namespace halvern
