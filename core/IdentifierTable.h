#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/LargeBuffer.h"

namespace halvern {

// The collected identifiers of one run, for finding their occurrences in a text. Each identifier
// leads to the list index of its first entry; later duplicates are not in the table.
//
// An open-addressing table whose slots hold the first 16 bytes and the length of their
// identifier, so that looking up a usual identifier ("@I123456@") touches one slot and nothing
// else: the identifiers themselves lie scattered over a text far larger than the caches.
class IdentifierTable {
public:
    static constexpr std::size_t kNotFound = SIZE_MAX;

    // identifiers must outlive the table.
    explicit IdentifierTable(const std::vector<std::string_view>& identifiers);

    // The list index of the first entry of key, or kNotFound.
    std::size_t Find(std::string_view key) const;

    // Calls found(position, length, entry) for every occurrence of an identifier in text, from left
    // to right, in a single pass. An identifier holds no "@" between its two "@", so only the bytes
    // from one "@" to the next can be one. After a hit the search goes on behind it, after a miss
    // at the "@" that ended the segment: in "@a@b@" a collected "@a@" is taken and hides "@b@";
    // when "@a@" is not collected, "@b@" is looked up next.
    template <typename Found>
    void ForEachOccurrence(std::string_view text, Found&& found) const {
        std::size_t at = text.find('@');
        while (at != std::string_view::npos) {
            const std::size_t next = text.find('@', at + 1);
            if (next == std::string_view::npos) return;
            const std::size_t length = next - at + 1;
            if (length <= longest_) {
                const std::size_t entry = Find(text.substr(at, length));
                if (entry != kNotFound) {
                    found(at, length, entry);
                    at = text.find('@', next + 1);
                    continue;
                }
            }
            at = next;
        }
    }

private:
    struct Key {
        std::uint64_t head0 = 0;  // the first 16 bytes, zero-padded
        std::uint64_t head1 = 0;
        std::uint64_t hash = 0;
    };
    struct Slot {  // all zero: an empty slot
        std::uint64_t head0;
        std::uint64_t head1;
        std::uint32_t length;
        std::uint32_t entryPlusOne;
    };
    static Key MakeKey(std::string_view bytes);
    bool Matches(const Slot& slot, const Key& key, std::string_view bytes) const;

    const std::vector<std::string_view>& identifiers_;
    LargeArray<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t longest_ = 0;
};

}  // namespace halvern
