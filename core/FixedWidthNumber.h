#pragma once
#include <cstdint>
#include <string>

namespace halvern {

// The decimal text of value, padded on the left with '0' up to width characters, or cut to its
// last width characters when it is longer: FixedWidthNumber(7, 5) == "00007",
// FixedWidthNumber(-3, 5) == "000-3", FixedWidthNumber(123456, 5) == "23456".
std::string FixedWidthNumber(std::int64_t value, int width);

}  // namespace halvern
