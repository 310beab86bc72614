#include "core/Renumber.h"

#include <unordered_map>
#include <unordered_set>

#include "core/CollectIdentifiers.h"
#include "core/FixedWidthNumber.h"

namespace halvern {
namespace {

constexpr int kSerialWidth = 5;

// Where each collected identifier leads: the list index of its first entry. Later duplicates
// keep their serial numbers but never replace anything.
class IdentifierTable {
public:
    explicit IdentifierTable(const std::vector<std::string_view>& identifiers) {
        firstEntry_.reserve(identifiers.size());
        for (std::size_t i = 0; i < identifiers.size(); ++i) {
            firstEntry_.try_emplace(identifiers[i], i);
            if (identifiers[i].size() > longest_) longest_ = identifiers[i].size();
        }
    }

    // Calls found(position, length, entry) for every occurrence in text, from left to right, in a
    // single pass. Only the bytes from one "@" to the next can be an identifier; after a hit the
    // search goes on behind it, after a miss at the "@" that ended the segment.
    template <typename Found>
    void ForEachOccurrence(std::string_view text, Found&& found) const {
        std::size_t at = text.find('@');
        while (at != std::string_view::npos) {
            const std::size_t next = text.find('@', at + 1);
            if (next == std::string_view::npos) return;
            const std::size_t length = next - at + 1;
            if (length <= longest_) {
                const auto hit = firstEntry_.find(text.substr(at, length));
                if (hit != firstEntry_.end()) {
                    found(at, length, hit->second);
                    at = text.find('@', next + 1);
                    continue;
                }
            }
            at = next;
        }
    }

private:
    std::unordered_map<std::string_view, std::size_t> firstEntry_;
    std::size_t longest_ = 0;
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
    std::vector<std::size_t> hits(count, 0);
    std::size_t occurrences = 0;
    std::size_t removedBytes = 0;
    table.ForEachOccurrence(original, [&](std::size_t, std::size_t length, std::size_t entry) {
        ++hits[entry];
        ++occurrences;
        removedBytes += length;
    });

    const std::size_t newIdLength = 2 + letter.size() + kSerialWidth;
    // The new identifier of every entry that replaces something; two alike would merge records.
    std::vector<std::string> newIds(count);
    std::unordered_set<std::string_view> seen;
    seen.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (hits[i] == 0) continue;
        std::string& id = newIds[i];
        id.reserve(newIdLength);
        id += '@';
        id += letter;
        id += FixedWidthNumber(SerialNumber(startNumber, i), kSerialWidth);
        id += '@';
        if (!seen.insert(newIds[i]).second) throw DuplicateSerialError();
    }

    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);

    // Second pass: the new text, built aside at its exact size and swapped in only when complete.
    std::string renumbered;
    renumbered.reserve(original.size() - removedBytes + occurrences * newIdLength);
    std::size_t copiedUpTo = 0;
    std::size_t cleaned = 0;
    table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
        renumbered.append(original, copiedUpTo, position - copiedUpTo);
        renumbered.append(newIds[entry]);
        copiedUpTo = position + length;
        sink.OnCleaned(++cleaned);
    });
    renumbered.append(original, copiedUpTo, std::string_view::npos);

    std::vector<Renumbering> renamed;
    if (changes != nullptr) {
        for (std::size_t i = 0; i < count; ++i) {
            if (hits[i] != 0) renamed.push_back({std::string(identifiers[i]), newIds[i]});
        }
    }
    text.swap(renumbered);
    if (changes != nullptr) *changes = std::move(renamed);
    return count;
}

}  // namespace halvern
