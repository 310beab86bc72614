#include "core/FixedWidthNumber.h"

#include <charconv>

namespace halvern {

std::string FixedWidthNumber(std::int64_t value, int width) {
    if (width <= 0) return {};
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    const auto wanted = static_cast<std::size_t>(width);
    if (length >= wanted) return std::string(end - wanted, end);
    std::string text(wanted - length, '0');
    text.append(digits, length);
    return text;
}

}  // namespace halvern
