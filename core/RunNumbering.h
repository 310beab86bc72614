#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/EntryNumber.h"
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
//
// A run numbered otherwise (in another order, or keeping numbers of an earlier renumbering) is
// given each entry's EntryNumber: a serial, spelled as above, or a kept identifier, written exactly
// as it is. A kept identifier of the run's shape ("@" + prefix + width digits or "-" + "@") is read
// like a serial text; one of any other shape is "elsewhere" (FirstTakenElsewhere). Its entries are
// found by their serial codes in a table: by value when those are digits close together, as
// identifiers kept from the last renumbering and the new ones after them are, else hashed.
class RunNumbering {
public:
    RunNumbering() = default;
    // form must be valid (IsValidForm).
    RunNumbering(const IdentifierForm& form, std::int32_t startNumber, std::size_t count);
    // One EntryNumber per entry; a kept identifier is copied.
    RunNumbering(const IdentifierForm& form, std::span<const EntryNumber> numbers);

    // The length of a new identifier of the run's shape, both "@" included.
    std::size_t Length() const { return prefix_.size() + static_cast<std::size_t>(width_) + 2; }
    // The length of the longest new identifier of any entry.
    std::size_t LongestLength() const { return std::max(Length(), longestElsewhere_); }

    // False when two of the entries for which written(entry) is true would get the same new
    // identifier. Only the first entry of an identifier writes anything. Nothing to do in the usual
    // run, where none can be alike.
    template <typename Written>
    bool AllDiffer(Written&& written) {
        if (byRange_) return true;
        entries_.clear();
        byValue_.clear();
        std::vector<std::size_t> shaped;
        shaped.reserve(count_);
        for (std::size_t i = 0; i < count_; ++i) {
            if (written(i) && !IsElsewhere(i)) shaped.push_back(i);
        }
        // Kept identifiers elsewhere differ from every serial text (another shape); their entries
        // by their bytes.
        elsewhere_.clear();
        for (std::size_t i = 0; i < count_; ++i) {
            if (IsElsewhere(i) && written(i) && !elsewhere_.try_emplace(ElsewhereText(i), i).second) return false;
        }
        if (FillByValue(shaped)) return true;
        entries_.reserve(shaped.size());
        for (const std::size_t i : shaped) {
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

    // The collision rule for kept identifiers elsewhere, which the stretches of the run's shape do
    // not show: a walk over every stretch of text from one "@" to the next gives the first whose
    // bytes are such an identifier of an entry that writes, when collected(stretch) is false. After
    // AllDiffer; nothing to do (and no walk) when the run keeps none.
    template <typename Collected, typename Written>
    std::optional<std::size_t> FirstTakenElsewhere(std::string_view text, Collected&& collected, Written&& written) const;

    // Settles the new identifier of every entry, in the order of the list, and calls settled(entry)
    // for each as it is done. Spell needs it. The room for them was made by the constructor, so
    // nothing fails once the first is settled.
    template <typename Settled>
    void Settle(Settled&& settled) {
        const auto width = static_cast<std::size_t>(width_);
        for (std::size_t i = 0; i < count_; ++i) {
            if (!numbered_) WriteSerial(i, texts_.data() + i * width);
            settled(i);
        }
    }

    // The new identifier of entry, after Settle; the view lasts until the next call.
    std::string_view Spell(std::size_t entry) {
        if (!elsewhereAt_.empty() && IsElsewhere(entry)) return ElsewhereText(entry);
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
    bool IsElsewhere(std::size_t entry) const { return !elsewhereAt_.empty() && elsewhereAt_[entry] != 0; }
    std::string_view ElsewhereText(std::size_t entry) const { return elsewhereTexts_[elsewhereAt_[entry] - 1]; }
    // For a numbered run whose shaped entries that write (in entries, ascending) all have serial
    // texts of digits lying close together: their table by value, and true; false (nothing made)
    // otherwise, or when two of them are alike.
    bool FillByValue(const std::vector<std::size_t>& entries);

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
    bool numbered_ = false;
    bool useByValue_ = false;                                    // by EntryNumber: texts_ made by the constructor
    std::unordered_map<std::uint64_t, std::size_t> entries_;  // by serial code, when not by range
    std::uint64_t lowestValue_ = 0;                           // byValue_[v - lowestValue_]: entry + 1, or 0
    std::vector<std::uint32_t> byValue_;
    std::vector<std::uint32_t> elsewhereAt_;                  // per entry: 0, or 1 + its index in elsewhereTexts_
    std::vector<std::string> elsewhereTexts_;
    std::unordered_map<std::string_view, std::size_t> elsewhere_;  // their entries, by text
    std::size_t longestElsewhere_ = 0;
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

template <typename Collected, typename Written>
std::optional<std::size_t> RunNumbering::FirstTakenElsewhere(std::string_view text, Collected&& collected,
                                                             Written&& written) const {
    if (elsewhere_.empty()) return std::nullopt;
    std::size_t at = text.find('@');
    while (at != std::string_view::npos) {
        const std::size_t next = text.find('@', at + 1);
        if (next == std::string_view::npos) break;
        const std::string_view stretch = text.substr(at, next - at + 1);
        if (stretch.size() <= longestElsewhere_) {
            const auto found = elsewhere_.find(stretch);
            if (found != elsewhere_.end() && written(found->second) && !collected(stretch)) return found->second;
        }
        at = next;
    }
    return std::nullopt;
}

}  // namespace halvern
