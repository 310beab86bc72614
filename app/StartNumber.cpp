#include "app/StartNumber.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/AsciiText.h"

namespace halvern {

namespace {

constexpr std::int32_t kBlankStartNumber = 1;

// The lenient scan's accumulator above these limits takes no further digit, so a decimal one never
// passes 2147483649 and a hexadecimal one never passes 0xFFFFFFFF.
constexpr std::uint32_t kDecimalLimit = 214748364u;
constexpr std::uint32_t kHexLimit = 0x0FFFFFFFu;

// How a number is written, after its leading blanks (blanks only, not tabs): an optional '-' or
// '+' before decimal digits, or '$', 'x' or '0x' before hexadecimal ones (which carry no sign).
// digits is the rest of the text, which the digits begin.
struct WrittenNumber {
    bool negative = false;
    int base = 10;
    std::string_view digits;
};

WrittenNumber ReadForm(std::string_view text) {
    const std::size_t at = text.find_first_not_of(' ');
    std::string_view body = at == std::string_view::npos ? std::string_view() : text.substr(at);
    WrittenNumber number;
    if (body.starts_with('-') || body.starts_with('+')) {
        number.negative = body.front() == '-';
        body.remove_prefix(1);
    } else if (body.starts_with('$') || body.starts_with('x') || body.starts_with('X')) {
        number.base = 16;
        body.remove_prefix(1);
    } else if (body.starts_with("0x") || body.starts_with("0X")) {
        number.base = 16;
        body.remove_prefix(2);
    }
    number.digits = body;
    return number;
}

// The value of a digit in base 10 or 16, or -1 for any other character.
int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The number box's own scan. A scan that stops before the end keeps the digits read so far and
// drops the sign; the accumulator is read as a signed 32-bit number (two's complement, as the
// box's number is kept), and unsigned negation is two's complement negation, so "-2147483648"
// stays in range.
std::int32_t Scan(const WrittenNumber& number) {
    const std::uint32_t limit = number.base == 16 ? kHexLimit : kDecimalLimit;
    std::uint32_t accumulator = 0;
    for (const char c : number.digits) {
        const int digit = DigitValue(c, number.base);
        if (digit < 0 || accumulator > limit) return static_cast<std::int32_t>(accumulator);
        accumulator = accumulator * static_cast<std::uint32_t>(number.base) + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(number.negative ? 0u - accumulator : accumulator);
}

}  // namespace

std::int32_t ReadStartNumber(std::string_view boxText) {
    if (Trimmed(boxText).empty()) return kBlankStartNumber;
    return Scan(ReadForm(boxText));
}

std::optional<std::int32_t> ReadWholeStartNumber(std::string_view text) {
    const WrittenNumber number = ReadForm(text);
    // Unsigned: a second sign ("--5", "$-5") is no digit.
    std::uint64_t magnitude = 0;
    const char* const end = number.digits.data() + number.digits.size();
    const auto [stop, error] = std::from_chars(number.digits.data(), end, magnitude, number.base);
    if (error != std::errc() || stop != end) return std::nullopt;
    const std::uint64_t largest = static_cast<std::uint64_t>(kHighestStartNumber) + (number.negative ? 1 : 0);
    if (magnitude > largest) return std::nullopt;
    return static_cast<std::int32_t>(number.negative ? 0u - magnitude : magnitude);
}

}  // namespace halvern
