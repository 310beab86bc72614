#include "core/RunNumbering.h"

#include <algorithm>
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

RunNumbering::RunNumbering(const IdentifierForm& form, std::span<const EntryNumber> numbers)
    : prefix_(form.prefix), width_(form.width), count_(numbers.size()), digitTexts_(DigitTextCount(form.width)),
      byRange_(false), numbered_(true) {
    const auto width = static_cast<std::size_t>(width_);
    texts_.resize(count_ * width + kCopied);
    spelled_.assign(Length() + kCopied, '@');
    std::memcpy(spelled_.data() + 1, prefix_.data(), prefix_.size());
    const NewIdentifierShape shape(prefix_, width_);
    for (std::size_t i = 0; i < count_; ++i) {
        char* const out = texts_.data() + i * width;
        const EntryNumber& number = numbers[i];
        if (!number.IsKept()) {
            if (number.serial >= 0) {
                for (std::uint64_t value = static_cast<std::uint64_t>(number.serial), at = width; at-- > 0; value /= 10) {
                    out[at] = static_cast<char>('0' + value % 10);
                }
            } else {
                std::memcpy(out, FixedWidthNumber(number.serial, width_).data(), width);
            }
        } else if (number.kept.size() == shape.Length() && shape.SerialCodeAt(number.kept, 0)) {
            std::memcpy(out, number.kept.data() + 1 + prefix_.size(), width);
        } else {
            if (elsewhereAt_.empty()) elsewhereAt_.assign(count_, 0);
            elsewhereTexts_.emplace_back(number.kept);
            elsewhereAt_[i] = static_cast<std::uint32_t>(elsewhereTexts_.size());
            longestElsewhere_ = std::max(longestElsewhere_, number.kept.size());
            std::memset(out, '0', width);
        }
    }
}

bool RunNumbering::FillByValue(const std::vector<std::size_t>& entries) {
    useByValue_ = false;
    const auto width = static_cast<std::size_t>(width_);
    std::vector<std::uint64_t> values;
    values.reserve(entries.size());
    std::uint64_t lowest = UINT64_MAX;
    std::uint64_t highest = 0;
    for (const std::size_t entry : entries) {
        std::uint64_t value = 0;
        for (const char c : std::string_view(texts_.data() + entry * width, width)) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        values.push_back(value);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    if (entries.empty()) lowest = highest = 0;
    // Close together: the table is at most a few times the size of the hashed one would be.
    if (highest - lowest > 2 * entries.size() + 1024) return false;
    byValue_.assign(highest - lowest + 1, 0);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        std::uint32_t& slot = byValue_[values[k] - lowest];
        if (slot != 0) {
            byValue_.clear();
            return false;
        }
        slot = static_cast<std::uint32_t>(entries[k] + 1);
    }
    lowestValue_ = lowest;
    useByValue_ = true;
    return true;
}

void RunNumbering::WriteSerial(std::size_t entry, char* out) const {
    if (numbered_) {
        std::memcpy(out, texts_.data() + entry * static_cast<std::size_t>(width_), static_cast<std::size_t>(width_));
        return;
    }
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
    if (IsElsewhere(entry)) return std::string(ElsewhereText(entry));
    // Put together in place: a map names a hundred thousand of them.
    std::string id(Length(), '@');
    std::memcpy(id.data() + 1, prefix_.data(), prefix_.size());
    WriteSerial(entry, id.data() + 1 + prefix_.size());
    return id;
}

std::optional<std::size_t> RunNumbering::EntryOf(std::uint64_t code) const {
    if (useByValue_) {
        std::uint64_t value = 0;
        for (int shift = 4 * (width_ - 1); shift >= 0; shift -= 4) {
            const std::uint64_t digit = (code >> shift) & 15;
            if (digit == kMinusDigit) return std::nullopt;
            value = value * 10 + digit;
        }
        if (value < lowestValue_ || value - lowestValue_ >= byValue_.size()) return std::nullopt;
        const std::uint32_t slot = byValue_[value - lowestValue_];
        if (slot == 0) return std::nullopt;
        return slot - 1;
    }
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
