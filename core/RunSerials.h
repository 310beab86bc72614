#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace halvern {

// A serial text (width characters, each a digit or "-") as a number: four bits per character,
// the first character highest, "-" the digit kMinusDigit. Different texts of one width have
// different codes; up to 9 characters fit.
inline constexpr std::uint64_t kMinusDigit = 10;
std::uint64_t SerialCode(std::string_view serialText);

// The serial texts that one run hands out: entry i of the run's list gets the serial number
// SerialNumber(startNumber, i) written as FixedWidthNumber(number, width).
//
// The usual run counts up from a number that is never negative and has at most 10^width entries:
// then every text is the last width digits of its number, worked out when needed, all differ, and
// the entry of a text follows from it by arithmetic. Otherwise (a negative number, a wrap past the
// largest one, or more entries than texts) the texts are written out once, and IndexWritten puts
// the texts that are written into a hash map, which finds repeats and answers EntryOf.
class RunSerials {
public:
    RunSerials() = default;
    RunSerials(std::int32_t startNumber, std::size_t count, int width);

    int Width() const { return width_; }

    // Writes the serial text of entry, Width() characters, to out.
    void Write(std::size_t entry, char* out) const {
        if (!texts_.empty()) {
            std::memcpy(out, texts_.data() + entry * static_cast<std::size_t>(width_), static_cast<std::size_t>(width_));
            return;
        }
        std::uint64_t number = static_cast<std::uint64_t>(startNumber_) + entry;
        for (int i = width_; i-- > 0;) {
            out[i] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
    }
    std::string Text(std::size_t entry) const;

    // Takes note of the texts of the entries for which written(entry) is true, for EntryOf. False
    // when two of them are alike. Nothing to do in the usual run, where none can be.
    template <typename Written>
    bool IndexWritten(Written&& written) {
        if (byRange_) return true;
        entries_.clear();
        entries_.reserve(count_);
        for (std::size_t i = 0; i < count_; ++i) {
            if (!written(i)) continue;
            if (!entries_.try_emplace(SerialCode(Text(i)), i).second) return false;
        }
        return true;
    }

    // The entry whose serial text has code: in the usual run the one entry with that text, else
    // the one indexed by the last IndexWritten. Nothing when no such entry is there.
    std::optional<std::size_t> EntryOf(std::uint64_t code) const;

private:
    std::int32_t startNumber_ = 0;
    std::size_t count_ = 0;
    int width_ = 0;
    std::uint64_t digitTexts_ = 1;  // 10^width
    std::uint64_t startText_ = 0;   // the start number modulo 10^width
    bool byRange_ = true;
    std::string texts_;  // width characters per entry, when not by range
    std::unordered_map<std::uint64_t, std::size_t> entries_;
};

}  // namespace halvern
