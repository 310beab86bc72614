#include "core/Renumber.h"

#include <algorithm>

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

// True when the serial texts of the entries that count all differ.
template <typename SerialText, typename Counts>
bool AllDifferent(std::size_t count, SerialText&& serialText, Counts&& counts) {
    SerialTextSet handedOut;
    for (std::size_t i = 0; i < count; ++i) {
        if (counts(i) && !handedOut.Insert(serialText(i))) return false;
    }
    return true;
}

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
    // The table is filled during the collection, while each identifier's bytes are at hand.
    std::vector<std::string_view> identifiers;
    IdentifierTable table(identifiers);
    const std::size_t atSigns = ForEachDefinition(original, tag, [&](std::string_view id) {
        identifiers.push_back(id);
        table.Add(static_cast<std::size_t>(original.data() + original.size() - id.data()));
    });
    const std::size_t count = identifiers.size();
    sink.OnCollected(count);
    if (count == 0) return 0;
    std::string serialTexts;
    serialTexts.reserve(count * kSerialWidth);
    for (std::size_t i = 0; i < count; ++i) {
        serialTexts += FixedWidthNumber(SerialNumber(startNumber, i), kSerialWidth);
    }
    const auto serialText = [&](std::size_t entry) {
        return std::string_view(serialTexts).substr(entry * kSerialWidth, kSerialWidth);
    };

    // Two entries that replace something must not get the same serial text: that would merge two
    // records. Only the first entry of an identifier can replace anything, so when their serial
    // texts all differ the run is safe, and nothing has to be looked up in advance. Otherwise
    // (more than 100,000 entries, say) a pass over the text settles which entries do replace.
    if (!AllDifferent(count, serialText, [&](std::size_t i) { return table.IsFirstEntry(i); })) {
        std::vector<bool> replacing(count, false);
        table.ForEachOccurrence(original, [&](std::size_t, std::size_t, std::size_t entry) { replacing[entry] = true; });
        if (!AllDifferent(count, serialText, [&](std::size_t i) { return bool(replacing[i]); })) {
            throw DuplicateSerialError();
        }
    }

    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);

    // The new text, built aside and swapped in only when complete. Its room is reserved up front
    // for the most it can grow to, so it is never copied while it grows: an occurrence spans at
    // least two "@" and grows by at most the new length less that of the shortest identifier.
    const std::size_t newLength = 2 + letter.size() + kSerialWidth;
    std::size_t shortest = SIZE_MAX;
    for (const std::string_view id : identifiers) shortest = std::min(shortest, id.size());
    const std::size_t growth = newLength > shortest ? newLength - shortest : 0;
    std::string renumbered;
    ReserveLarge(renumbered, original.size() + atSigns / 2 * growth);

    std::vector<bool> replaces(count, false);
    std::size_t copiedUpTo = 0;
    std::size_t cleaned = 0;
    table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
        renumbered.append(original, copiedUpTo, position - copiedUpTo);
        renumbered += '@';
        renumbered.append(letter);
        renumbered.append(serialText(entry));
        renumbered += '@';
        copiedUpTo = position + length;
        replaces[entry] = true;
        sink.OnCleaned(++cleaned);
    });
    renumbered.append(original, copiedUpTo, std::string_view::npos);

    std::vector<Renumbering> renamed;
    if (changes != nullptr) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!replaces[i]) continue;
            std::string newId = std::string("@").append(letter).append(serialText(i)).append("@");
            renamed.push_back({std::string(identifiers[i]), std::move(newId)});
        }
    }
    text.swap(renumbered);
    if (changes != nullptr) *changes = std::move(renamed);
    return count;
}

}  // namespace halvern
