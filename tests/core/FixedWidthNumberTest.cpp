#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/FixedWidthNumber.h"

namespace halvern {
namespace {

TEST(FixedWidthNumber, PadsOrKeepsTheLastCharacters) {
    EXPECT_EQ(FixedWidthNumber(7, 5), "00007");
    EXPECT_EQ(FixedWidthNumber(0, 5), "00000");
    EXPECT_EQ(FixedWidthNumber(99999, 5), "99999");
    EXPECT_EQ(FixedWidthNumber(-3, 5), "000-3");  // the sign is a character like the digits
    EXPECT_EQ(FixedWidthNumber(-12345, 5), "12345");
    EXPECT_EQ(FixedWidthNumber(123456, 5), "23456");
    EXPECT_EQ(FixedWidthNumber(100000, 5), "00000");
    EXPECT_EQ(FixedWidthNumber(std::numeric_limits<std::int32_t>::min(), 5), "83648");
    EXPECT_EQ(FixedWidthNumber(std::numeric_limits<std::int64_t>::min(), 5), "75808");
    EXPECT_EQ(FixedWidthNumber(5, 2), "05");
    EXPECT_EQ(FixedWidthNumber(123, 2), "23");
    EXPECT_EQ(FixedWidthNumber(5, 0), "");
    EXPECT_EQ(FixedWidthNumber(5, -1), "");
}

}  // namespace
}  // namespace halvern
