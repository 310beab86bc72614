#include "app/StartNumber.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace halvern {

namespace {

constexpr std::int32_t kBlankStartNumber = 1;

// An accumulator above these limits takes no further digit, so a decimal one never passes
// 2147483649 and a hexadecimal one never passes 0xFFFFFFFF.
constexpr std::uint32_t kDecimalLimit = 214748364u;
constexpr std::uint32_t kHexLimit = 0x0FFFFFFFu;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The accumulator read as a signed 32-bit number (two's complement, as the box's number is kept).
std::int32_t AsSigned(std::uint32_t value) { return static_cast<std::int32_t>(value); }

std::int32_t ScanHexadecimal(std::string_view text, std::size_t pos) {
    std::uint32_t accumulator = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = HexDigitValue(text[pos]);
        if (digit < 0 || accumulator > kHexLimit) break;
        accumulator = accumulator * 16u + static_cast<std::uint32_t>(digit);
    }
    // A hexadecimal number never carries a sign, and stopping early keeps what was read.
    return AsSigned(accumulator);
}

std::int32_t ScanDecimal(std::string_view text, std::size_t pos, bool negative) {
    std::uint32_t accumulator = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        // A scan that stops before the end keeps the digits read so far and drops the sign.
        if (!IsDecimalDigit(c) || accumulator > kDecimalLimit) return AsSigned(accumulator);
        accumulator = accumulator * 10u + static_cast<std::uint32_t>(c - '0');
    }
    // Unsigned negation is two's complement negation, so "-2147483648" stays in range.
    return AsSigned(negative ? 0u - accumulator : accumulator);
}

// The lenient scan over the untrimmed box text.
std::int32_t ScanNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;  // only blanks, not tabs
    if (pos == text.size()) return ScanDecimal(text, pos, false);

    const char first = text[pos];
    if (first == '-') return ScanDecimal(text, pos + 1, true);
    if (first == '+') return ScanDecimal(text, pos + 1, false);
    if (first == '$' || first == 'x' || first == 'X') return ScanHexadecimal(text, pos + 1);
    if (first == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        return ScanHexadecimal(text, pos + 2);
    }
    return ScanDecimal(text, pos, false);
}

bool IsBlank(std::string_view text) {
    for (const char c : text) {
        if (!IsBlankOrControl(c)) return false;
    }
    return true;
}

}  // namespace

std::int32_t ReadStartNumber(std::string_view boxText) {
    if (IsBlank(boxText)) return kBlankStartNumber;
    return ScanNumber(boxText);
}

std::optional<std::int32_t> ReadWholeStartNumber(std::string_view text) {
    const std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view body = text.substr(at);
    bool hex = false;
    std::size_t digitsFrom = 0;
    if (body[0] == '-' || body[0] == '+') {
        digitsFrom = 1;
    } else if (body[0] == '$' || body[0] == 'x' || body[0] == 'X') {
        hex = true;
        digitsFrom = 1;
    } else if (body.size() > 1 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
        hex = true;
        digitsFrom = 2;
    }
    if (digitsFrom == body.size()) return std::nullopt;
    // The number as written, in wide arithmetic: one past the range is as far as it needs to go.
    const std::int64_t beyond = std::int64_t{kHighestStartNumber} + 2;
    std::int64_t magnitude = 0;
    for (std::size_t i = digitsFrom; i < body.size(); ++i) {
        const int digit = hex ? HexDigitValue(body[i]) : (IsDecimalDigit(body[i]) ? body[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = std::min(beyond, magnitude * (hex ? 16 : 10) + digit);
    }
    const std::int64_t value = body[0] == '-' ? -magnitude : magnitude;
    if (value < kLowestStartNumber || value > kHighestStartNumber) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace halvern
