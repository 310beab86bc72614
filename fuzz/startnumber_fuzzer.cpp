// ReadStartNumber against a plain reading of the number box's rules, worked out with wide
// arithmetic: the blank text, the skipped blanks, the sign, the decimal and hexadecimal scans with
// their limits, and a sign that counts only when the scan reaches the end of the text. And the
// command line's strict reading against the box's, where it gives a number.
#include <cstdint>
#include <string_view>

#include "app/StartNumber.h"
#include "fuzz/FuzzInput.h"

namespace {

std::int32_t FromLow32Bits(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu));
}

int HexValue(char c) {
    const std::string_view digits = "0123456789abcdef";
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    const std::size_t at = digits.find(lower);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::int32_t PlainReading(std::string_view text) {
    bool blank = true;
    for (const char c : text) blank = blank && static_cast<unsigned char>(c) <= 32;
    if (blank) return 1;

    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    bool hexadecimal = false;
    if (i < text.size()) {
        if (text[i] == '-') {
            negative = true;
            ++i;
        } else if (text[i] == '+') {
            ++i;
        } else if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
            hexadecimal = true;
            ++i;
        } else if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            hexadecimal = true;
            i += 2;
        }
    }

    std::int64_t value = 0;
    if (hexadecimal) {
        for (; i < text.size() && HexValue(text[i]) >= 0 && value <= 0x0FFFFFFF; ++i) value = value * 16 + HexValue(text[i]);
        return FromLow32Bits(value);
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 214748364) return FromLow32Bits(value);
        value = value * 10 + (text[i] - '0');
    }
    return FromLow32Bits(negative ? -value : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    halvern::fuzz::Require(halvern::ReadStartNumber(text) == PlainReading(text), "differs from the plain reading");
    if (const auto whole = halvern::ReadWholeStartNumber(text)) {
        halvern::fuzz::Require(*whole == halvern::ReadStartNumber(text), "the whole reading differs from the box's");
    }
    return 0;
}
