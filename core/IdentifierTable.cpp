#include "core/IdentifierTable.h"

#include <cstring>
#include <limits>
#include <new>

namespace halvern {

IdentifierTable::Key IdentifierTable::MakeKey(std::string_view bytes) {
    Key key;
    char head[16] = {};
    std::memcpy(head, bytes.data(), bytes.size() < sizeof head ? bytes.size() : sizeof head);
    std::memcpy(&key.head0, head, 8);
    std::memcpy(&key.head1, head + 8, 8);
    std::uint64_t h = key.head0 * 0x9E3779B97F4A7C15ULL;
    h ^= (key.head1 + bytes.size()) * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 32;
    key.hash = h;
    return key;
}

// The first 16 bytes and the length settle it for the usual identifiers; longer ones are
// compared in full.
bool IdentifierTable::Matches(const Slot& slot, const Key& key, std::string_view bytes) const {
    return slot.length == bytes.size() && slot.head0 == key.head0 && slot.head1 == key.head1 &&
           (bytes.size() <= 16 || identifiers_[slot.entryPlusOne - 1] == bytes);
}

namespace {

// A power of two, at least half as large again as count: the table is at most two thirds full, so
// probe runs stay short.
std::size_t Capacity(std::size_t count) {
    if (count >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    std::size_t capacity = 16;
    while (2 * capacity < 3 * count) capacity *= 2;
    return capacity;
}

}  // namespace

IdentifierTable::IdentifierTable(const std::vector<std::string_view>& identifiers)
    : identifiers_(identifiers), slots_(Capacity(identifiers.size())), mask_(slots_.size() - 1) {

    for (std::size_t i = 0; i < identifiers.size(); ++i) {
        const std::string_view id = identifiers[i];
        if (id.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
        if (id.size() > longest_) longest_ = id.size();
        const Key key = MakeKey(id);
        for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.entryPlusOne == 0) {
                slot = Slot{key.head0, key.head1, static_cast<std::uint32_t>(id.size()),
                            static_cast<std::uint32_t>(i + 1)};
                break;
            }
            if (Matches(slot, key, id)) break;  // a later duplicate: the first entry keeps it
        }
    }
}

std::size_t IdentifierTable::Find(std::string_view bytes) const {
    const Key key = MakeKey(bytes);
    for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.entryPlusOne == 0) return kNotFound;
        if (Matches(slot, key, bytes)) return slot.entryPlusOne - 1;
    }
}

}  // namespace halvern
