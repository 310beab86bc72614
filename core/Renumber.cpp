#include "core/Renumber.h"

#include "core/CollectIdentifiers.h"
#include "core/FixedWidthNumber.h"
#include "core/IdentifierTable.h"
#include "core/LargeBuffer.h"

namespace halvern {
namespace {

constexpr std::size_t kSerialWidth = 5;

// Remembers which serial texts a run has handed out. A serial text is five characters, each a digit
// or "-", so it is a number below 11^5 and a bit set of that size holds them all.
class SerialTextSet {
public:
    SerialTextSet() : seen_(161051, false) {}
    // False when text was there already.
    bool Insert(std::string_view text) {
        std::size_t code = 0;
        for (const char c : text) code = code * 11 + (c == '-' ? 10 : static_cast<std::size_t>(c - '0'));
        if (seen_[code]) return false;
        seen_[code] = true;
        return true;
    }

private:
    std::vector<bool> seen_;
};

}  // namespace

DuplicateSerialError::DuplicateSerialError()
    : std::runtime_error("the new identifiers of this run would not all be different") {}

std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index) {
    const std::uint64_t wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(startNumber)) +
                               static_cast<std::uint64_t>(index);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

std::size_t RenumberRecords(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes) {
    const std::string_view original = text;
    const std::vector<std::string_view> identifiers = CollectIdentifiers(original, tag);
    const std::size_t count = identifiers.size();
    sink.OnCollected(count);
    if (count == 0) return 0;

    const IdentifierTable table(identifiers);

    // First pass: which entries replace something, and how long the new text will be.
    std::vector<bool> replaces(count, false);
    std::size_t occurrences = 0;
    std::size_t removedBytes = 0;
    table.ForEachOccurrence(original, [&](std::size_t, std::size_t length, std::size_t entry) {
        replaces[entry] = true;
        ++occurrences;
        removedBytes += length;
    });

    // The serial text of every entry that replaces something; two alike would merge records.
    std::string serialTexts(count * kSerialWidth, ' ');
    SerialTextSet handedOut;
    for (std::size_t i = 0; i < count; ++i) {
        if (!replaces[i]) continue;
        const std::string serial = FixedWidthNumber(SerialNumber(startNumber, i), kSerialWidth);
        if (!handedOut.Insert(serial)) throw DuplicateSerialError();
        serialTexts.replace(i * kSerialWidth, kSerialWidth, serial);
    }
    const auto newId = [&](std::size_t entry) {
        return std::string("@").append(letter).append(serialTexts, entry * kSerialWidth, kSerialWidth).append("@");
    };

    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);

    // Second pass: the new text, built aside at its exact size and swapped in only when complete.
    std::string renumbered;
    ReserveLarge(renumbered, original.size() - removedBytes + occurrences * (2 + letter.size() + kSerialWidth));
    std::size_t copiedUpTo = 0;
    std::size_t cleaned = 0;
    table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
        renumbered.append(original, copiedUpTo, position - copiedUpTo);
        renumbered += '@';
        renumbered.append(letter);
        renumbered.append(serialTexts, entry * kSerialWidth, kSerialWidth);
        renumbered += '@';
        copiedUpTo = position + length;
        sink.OnCleaned(++cleaned);
    });
    renumbered.append(original, copiedUpTo, std::string_view::npos);

    std::vector<Renumbering> renamed;
    if (changes != nullptr) {
        for (std::size_t i = 0; i < count; ++i) {
            if (replaces[i]) renamed.push_back({std::string(identifiers[i]), newId(i)});
        }
    }
    text.swap(renumbered);
    if (changes != nullptr) *changes = std::move(renamed);
    return count;
}

}  // namespace halvern
