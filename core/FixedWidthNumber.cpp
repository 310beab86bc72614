#include "core/FixedWidthNumber.h"

namespace halvern {

std::string FixedWidthNumber(std::int64_t value, int width) {
    if (width <= 0) return {};
    const std::string digits = std::to_string(value);
    const auto wanted = static_cast<std::size_t>(width);
    if (digits.size() >= wanted) return digits.substr(digits.size() - wanted);
    return std::string(wanted - digits.size(), '0') + digits;
}

}  // namespace halvern
