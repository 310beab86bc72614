#include "core/RunNumbering.h"

#include <cstdint>

#include "core/FixedWidthNumber.h"

namespace halvern {

std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index) {
    const std::uint64_t wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(startNumber)) +
                               static_cast<std::uint64_t>(index);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

std::uint64_t RunNumbering::SerialCode(std::string_view serialText) {
    std::uint64_t code = 0;
    for (const char c : serialText) code = (code << 4) | (c == '-' ? kMinusDigit : static_cast<std::uint64_t>(c - '0'));
    return code;
}

RunNumbering::RunNumbering(const IdentifierForm& form, std::int32_t startNumber, std::size_t count)
    : prefix_(form.prefix), width_(form.width), startNumber_(startNumber), count_(count),
      digitTexts_(DigitTextCount(form.width)) {
    const bool neverNegative =
        count == 0 || (startNumber >= 0 && count - 1 <= static_cast<std::size_t>(INT32_MAX - startNumber));
    byRange_ = neverNegative && count <= digitTexts_;
    if (neverNegative) startText_ = static_cast<std::uint64_t>(startNumber) % digitTexts_;
    texts_.resize(count * static_cast<std::size_t>(width_) + kCopied);
    spelled_.assign(Length() + kCopied, '@');
    std::memcpy(spelled_.data() + 1, prefix_.data(), prefix_.size());
}

void RunNumbering::WriteSerial(std::size_t entry, char* out) const {
    if (!byRange_) {
        const std::string text = FixedWidthNumber(SerialNumber(startNumber_, entry), width_);
        std::memcpy(out, text.data(), text.size());
        return;
    }
    std::uint64_t number = startText_ + entry;
    for (int i = width_; i-- > 0;) {
        out[i] = static_cast<char>('0' + number % 10);
        number /= 10;
    }
}

std::string RunNumbering::SerialText(std::size_t entry) const {
    std::string text(static_cast<std::size_t>(width_), '0');
    WriteSerial(entry, text.data());
    return text;
}

std::string RunNumbering::NewIdentifier(std::size_t entry) const {
    return std::string("@").append(prefix_).append(SerialText(entry)).append("@");
}

std::optional<std::size_t> RunNumbering::EntryOf(std::uint64_t code) const {
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
