#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/IdentifierForm.h"
#include "core/NewIdentifierShape.h"

namespace halvern {

// The serial number of the list entry with 0-based index: startNumber + index, taken like 32-bit
// two's complement arithmetic, so 2147483647 is followed by -2147483648 instead of overflowing.
std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index);

// The new identifiers of one run, and the way back from a stretch of text to the entry whose new
// identifier it spells. Entry i of the run's list gets "@" + prefix + serial text + "@", the serial
// text FixedWidthNumber(SerialNumber(startNumber, i), width). Everything the engine asks about a
// run's new identifiers goes through here, so another way of numbering changes only this type.
//
// The usual run counts up from a number that is never negative and has at most 10^width entries:
// then every text is the last width digits of its number, all differ, and the entry of a text
// follows from it by arithmetic. Otherwise (a negative number, a wrap past the largest one, or more
// entries than texts) AllDiffer puts the texts into a hash map, which finds repeats and answers
// EntryOf.
class RunNumbering {
public:
    RunNumbering() = default;
    // form must be valid (IsValidForm).
    RunNumbering(const IdentifierForm& form, std::int32_t startNumber, std::size_t count);

    // The length of a new identifier, both "@" included.
    std::size_t Length() const { return prefix_.size() + static_cast<std::size_t>(width_) + 2; }

    // False when two of the entries for which written(entry) is true would get the same new
    // identifier. Only the first entry of an identifier writes anything. Nothing to do in the usual
    // run, where none can be alike.
    template <typename Written>
    bool AllDiffer(Written&& written) {
        if (byRange_) return true;
        entries_.clear();
        entries_.reserve(count_);
        for (std::size_t i = 0; i < count_; ++i) {
            if (!written(i)) continue;
            if (!entries_.try_emplace(SerialCode(SerialText(i)), i).second) return false;
        }
        return true;
    }

    // The collision rule. A new identifier can only equal a stretch of the text that has its
    // shape, so the collection notes those, as the serial codes they spell: shapedStretches every
    // stretch from one "@" to the next, shapedIdentifiers the run's own collected identifiers.
    // A stretch is harmless when it is not the new identifier of an entry that writes (written),
    // or when a collected identifier has the same bytes (the run replaces it too). Gives the first
    // entry, in the order of shapedStretches, whose new identifier would stand in the text beside
    // it. After AllDiffer. Linear in the stretches.
    template <typename Shaped, typename Written>
    std::optional<std::size_t> FirstTaken(const Shaped& shapedStretches, const Shaped& shapedIdentifiers,
                                          Written&& written) const;

    // Settles the new identifier of every entry, in the order of the list, and calls settled(entry)
    // for each as it is done. Spell needs it. The room for them was made by the constructor, so
    // nothing fails once the first is settled.
    template <typename Settled>
    void Settle(Settled&& settled) {
        const auto width = static_cast<std::size_t>(width_);
        for (std::size_t i = 0; i < count_; ++i) {
            WriteSerial(i, texts_.data() + i * width);
            settled(i);
        }
    }

    // The new identifier of entry, after Settle; the view lasts until the next call.
    std::string_view Spell(std::size_t entry) {
        char* const serial = spelled_.data() + 1 + prefix_.size();
        // A copy of a fixed size is two moves, where one of the serial text's own size is a call;
        // what it writes past the serial text is covered by the room left after each of them.
        std::memcpy(serial, texts_.data() + entry * static_cast<std::size_t>(width_), kCopied);
        serial[width_] = '@';
        return std::string_view(spelled_.data(), Length());
    }

    // The same, made afresh (also before Settle).
    std::string NewIdentifier(std::size_t entry) const;

private:
    static constexpr std::size_t kCopied = 16;  // at least kMaxSerialWidth

    // A serial text (width characters, each a digit or "-") as a number: four bits per character,
    // the first character highest, "-" the digit kMinusDigit, as NewIdentifierShape reads it.
    static std::uint64_t SerialCode(std::string_view serialText);
    std::string SerialText(std::size_t entry) const;
    void WriteSerial(std::size_t entry, char* out) const;
    // The entry whose serial text has code, or nothing.
    std::optional<std::size_t> EntryOf(std::uint64_t code) const;

    std::string prefix_;
    int width_ = kDefaultSerialWidth;
    std::int32_t startNumber_ = 0;
    std::size_t count_ = 0;
    std::uint64_t digitTexts_ = 1;  // 10^width
    std::uint64_t startText_ = 0;   // the start number modulo 10^width
    bool byRange_ = true;
    std::unordered_map<std::uint64_t, std::size_t> entries_;  // by serial code, when not by range
    std::vector<char> texts_;                                 // width characters per entry, once settled
    std::string spelled_;                                     // "@" + prefix + serial text + "@"
};

template <typename Shaped, typename Written>
std::optional<std::size_t> RunNumbering::FirstTaken(const Shaped& shapedStretches, const Shaped& shapedIdentifiers,
                                                    Written&& written) const {
    if (shapedStretches.empty()) return std::nullopt;
    std::vector<bool> collectedAlready(count_, false);
    for (const std::uint64_t code : shapedIdentifiers) {
        if (const auto entry = EntryOf(code)) collectedAlready[*entry] = true;
    }
    for (const std::uint64_t code : shapedStretches) {
        const auto entry = EntryOf(code);
        if (entry && written(*entry) && !collectedAlready[*entry]) return entry;
    }
    return std::nullopt;
}

}  // namespace halvern
