#include "core/RunSerials.h"

#include <cstdint>

#include "core/FixedWidthNumber.h"
#include "core/IdentifierForm.h"
#include "core/Renumber.h"

namespace halvern {

std::uint64_t SerialCode(std::string_view serialText) {
    std::uint64_t code = 0;
    for (const char c : serialText) code = (code << 4) | (c == '-' ? kMinusDigit : static_cast<std::uint64_t>(c - '0'));
    return code;
}

RunSerials::RunSerials(std::int32_t startNumber, std::size_t count, int width)
    : startNumber_(startNumber), count_(count), width_(width), digitTexts_(DigitTextCount(width)) {
    const bool neverNegative =
        count == 0 || (startNumber >= 0 && count - 1 <= static_cast<std::size_t>(INT32_MAX - startNumber));
    byRange_ = neverNegative && count <= digitTexts_;
    if (neverNegative) {
        startText_ = static_cast<std::uint64_t>(startNumber) % digitTexts_;
        return;
    }
    texts_.reserve(count * static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < count; ++i) texts_.append(FixedWidthNumber(SerialNumber(startNumber, i), width));
}

std::string RunSerials::Text(std::size_t entry) const {
    std::string text(static_cast<std::size_t>(width_), '0');
    Write(entry, text.data());
    return text;
}

std::optional<std::size_t> RunSerials::EntryOf(std::uint64_t code) const {
    if (!byRange_) {
        const auto found = entries_.find(code);
        if (found == entries_.end()) return std::nullopt;
        return found->second;
    }
    // Every text of the run is digits only: the number they spell, less the start, modulo 10^width.
    std::uint64_t value = 0;
    for (int shift = 4 * (width_ - 1); shift >= 0; shift -= 4) {
        const std::uint64_t digit = (code >> shift) & 15;
        if (digit == kMinusDigit) return std::nullopt;
        value = value * 10 + digit;
    }
    const std::uint64_t entry = value >= startText_ ? value - startText_ : value + digitTexts_ - startText_;
    if (entry >= count_) return std::nullopt;
    return static_cast<std::size_t>(entry);
}

}  // namespace halvern
