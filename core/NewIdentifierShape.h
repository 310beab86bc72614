#pragma once
#include <bit>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <optional>
#include <string_view>

namespace halvern {

// A serial text is read as a number of four bits per character, the first character highest, each
// digit as itself and "-" as kMinusDigit: different texts of one width have different codes.
inline constexpr std::uint64_t kMinusDigit = 10;

// The shape that every new identifier of a run has: "@" + prefix + width characters that are
// digits or "-" + "@". A stretch of a text without this shape can never be one of them. The prefix
// is a view: it must outlive the shape.
class NewIdentifierShape {
public:
    NewIdentifierShape(std::string_view prefix, int width) : prefix_(prefix), width_(static_cast<std::size_t>(width)) {}

    // The length of such an identifier, both "@" included.
    std::size_t Length() const { return prefix_.size() + width_ + 2; }

    // When the bytes of text from at on have the shape: the code of its serial text.
    std::optional<std::uint64_t> SerialCodeAt(std::string_view text, std::size_t at) const {
        std::uint64_t code = 0;
        if (!Read(text, at, code)) return std::nullopt;
        return code;
    }

    // The same without branches that depend on the bytes, for the many stretches of the right
    // length in a text: code is set whatever the bytes, and the result says whether they have the
    // shape. A stretch fails or passes at random, which a branch would mispredict.
    bool Read(std::string_view text, std::size_t at, std::uint64_t& code) const {
        const std::size_t length = Length();
        if (at >= text.size() || text.size() - at < length) return false;
        const char* const bytes = text.data() + at;
        bool shaped = (bytes[0] == '@') & (bytes[length - 1] == '@');
        for (std::size_t i = 0; i < prefix_.size(); ++i) shaped &= bytes[1 + i] == prefix_[i];
        const char* const serial = bytes + 1 + prefix_.size();
        // Eight bytes at once where the text has them: the stretches of the right length are many.
        if (width_ <= 8 && text.size() - at - 1 - prefix_.size() >= 8) return shaped & ReadSerialWord(serial, width_, code);
        return shaped & ReadSerial(serial, width_, code);
    }

private:
    // The serial text of width characters at serial: its code, and whether it holds only digits
    // and "-".
    static bool ReadSerial(const char* serial, std::size_t width, std::uint64_t& code) {
        bool shaped = true;
        std::uint64_t spelled = 0;  // a local: a store through code could change the bytes, as far as the compiler knows
        for (std::size_t i = 0; i < width; ++i) {
            const auto digit = static_cast<unsigned char>(serial[i] - '0');
            const bool isDigit = digit <= 9;
            const bool isMinus = serial[i] == '-';
            shaped &= isDigit | isMinus;
            spelled = (spelled << 4) | (isDigit ? digit : kMinusDigit);
        }
        code = spelled;
        return shaped;
    }

    // The same for a width of at most 8, with 8 bytes readable at serial: the bytes are judged and
    // their low four bits gathered in one 64-bit word, in a fixed number of steps. Each step works
    // on every byte at once and never carries into the next byte.
    static bool ReadSerialWord(const char* serial, std::size_t width, std::uint64_t& code) {
        if constexpr (std::endian::native != std::endian::little) return ReadSerial(serial, width, code);
        constexpr std::uint64_t kEach = 0x0101010101010101U;
        constexpr std::uint64_t kHigh = 0x80 * kEach;
        std::uint64_t word = 0;
        std::memcpy(&word, serial, 8);  // the first character in the lowest byte
        const std::uint64_t low7 = word & ~kHigh;
        const std::uint64_t atLeast0 = low7 + (0x80 - '0') * kEach;   // high bit: byte >= "0"
        const std::uint64_t above9 = low7 + (0x80 - '9' - 1) * kEach;  // high bit: byte > "9"
        const std::uint64_t digits = atLeast0 & ~above9 & ~word & kHigh;
        const std::uint64_t notMinus = word ^ ('-' * kEach);
        const std::uint64_t minuses = ~(((notMinus & ~kHigh) + ~kHigh) | notMinus) & kHigh;
        const std::uint64_t used = width == 8 ? kHigh : kHigh & ((std::uint64_t{1} << (8 * width)) - 1);
        // "-" has 0xD in its low bits: 3 less makes kMinusDigit.
        std::uint64_t nibbles = (word & (0x0F * kEach)) - (minuses >> 7) * (0x0D - kMinusDigit);
        // The first character's bits highest: the bytes reversed, then the nibbles of every two,
        // four and eight bytes put side by side.
        nibbles = SwapBytes(nibbles);
        nibbles = (nibbles | (nibbles >> 4)) & 0x00FF00FF00FF00FFU;
        nibbles = (nibbles | (nibbles >> 8)) & 0x0000FFFF0000FFFFU;
        nibbles = (nibbles | (nibbles >> 16)) & 0x00000000FFFFFFFFU;
        code = nibbles >> (4 * (8 - width));
        return ((digits | minuses) & used) == used;
    }

    static std::uint64_t SwapBytes(std::uint64_t word) {
#if defined(__GNUC__)
        return __builtin_bswap64(word);
#else
        std::uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i) swapped = (swapped << 8) | ((word >> (8 * i)) & 0xFF);
        return swapped;
#endif
    }

    std::string_view prefix_;
    std::size_t width_;
};

}  // namespace halvern
