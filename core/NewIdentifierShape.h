#pragma once
#include <cstddef>
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
        std::uint64_t spelled = 0;  // a local: a store through code could change the bytes, as far as the compiler knows
        for (std::size_t i = 0; i < width_; ++i) {
            const auto digit = static_cast<unsigned char>(serial[i] - '0');
            const bool isDigit = digit <= 9;
            const bool isMinus = serial[i] == '-';
            shaped &= isDigit | isMinus;
            spelled = (spelled << 4) | (isDigit ? digit : kMinusDigit);
        }
        code = spelled;
        return shaped;
    }

private:
    std::string_view prefix_;
    std::size_t width_;
};

}  // namespace halvern
