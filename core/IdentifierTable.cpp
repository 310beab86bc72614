#include "core/IdentifierTable.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace halvern {
namespace {

// The bytes 0 .. count - 1 of a word loaded from memory, the others zero.
std::uint64_t FirstBytes(std::uint64_t word, std::size_t count) {
    if (count >= 8) return word;
    if (count == 0) return 0;
    if constexpr (std::endian::native == std::endian::little) return word & ((std::uint64_t{1} << (8 * count)) - 1);
    return word & (~std::uint64_t{0} << (8 * (8 - count)));
}

std::uint64_t Hash(std::uint64_t head0, std::uint64_t head1, std::size_t length) {
    std::uint64_t h = head0 * 0x9E3779B97F4A7C15ULL;
    h ^= (head1 + length) * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 32;
    return h;
}

// Slots for count identifiers: a power of two, at least a quarter larger than count, so the table
// is at most four fifths full. Probe runs stay short for the identifiers that are found; most of
// those that are not never get past the filter.
std::size_t SlotsFor(std::size_t count) {
    if (count >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    std::size_t capacity = 16;
    while (4 * capacity < 5 * count) capacity *= 2;
    return capacity;
}

// Bits in the filter for a table of slots: eight per identifier it can hold, so roughly one
// identifier in eight that is not in the table gets past the filter; at most 2^24 bits (2 MiB).
std::size_t FilterBitsFor(std::size_t slots) {
    return std::min(std::bit_ceil(slots * 8 * 4 / 5), std::size_t{1} << 24);
}

}  // namespace

IdentifierTable::Key IdentifierTable::MakeKey(std::string_view bytes, std::size_t readable) {
    Key key;
    if (readable >= 16) {
        // Sixteen bytes may be read whatever the length: two plain loads, the surplus masked off.
        std::memcpy(&key.head0, bytes.data(), 8);
        std::memcpy(&key.head1, bytes.data() + 8, 8);
        key.head0 = FirstBytes(key.head0, bytes.size());
        key.head1 = FirstBytes(key.head1, bytes.size() > 8 ? bytes.size() - 8 : 0);
    } else {
        char head[16] = {};
        std::memcpy(head, bytes.data(), bytes.size() < sizeof head ? bytes.size() : sizeof head);
        std::memcpy(&key.head0, head, 8);
        std::memcpy(&key.head1, head + 8, 8);
    }
    key.hash = Hash(key.head0, key.head1, bytes.size());
    return key;
}

// The first 16 bytes and the length settle it for the usual identifiers; longer ones are
// compared in full.
bool IdentifierTable::Matches(const Slot& slot, const Key& key, std::string_view bytes) const {
    return slot.length == bytes.size() && slot.head0 == key.head0 && slot.head1 == key.head1 &&
           (bytes.size() <= 16 || identifiers_[slot.entryPlusOne - 1] == bytes);
}

IdentifierTable::IdentifierTable(const std::vector<std::string_view>& identifiers)
    : identifiers_(identifiers), slots_(SlotsFor(identifiers.size())) {
    Resize(slots_.size());
    // In batches: the keys of a batch are made and their slots asked into the cache first, so the
    // waits for the scattered identifiers and slots overlap instead of following one another.
    constexpr std::size_t kBatch = 16;
    Key keys[kBatch];
    for (std::size_t first = 0; first < identifiers.size(); first += kBatch) {
        const std::size_t batch = std::min(kBatch, identifiers.size() - first);
        for (std::size_t j = 0; j < batch; ++j) {
            const std::string_view id = identifiers[first + j];
            keys[j] = MakeKey(id, id.size());
            Prefetch(&slots_[keys[j].hash & mask_]);
        }
        for (std::size_t j = 0; j < batch; ++j) Insert(keys[j], first + j);
    }
}

void IdentifierTable::Add(std::size_t readable) {
    const std::size_t entry = laterDuplicate_.size();
    if (5 * (entry + 1) > 4 * slots_.size()) Grow();
    const std::string_view id = identifiers_[entry];
    Insert(MakeKey(id, readable), entry);
}

// Twice the slots, and every identifier moved into its new place. The slots hold everything its
// hash is made of, so the identifiers themselves are not read again.
void IdentifierTable::Grow() {
    LargeArray<Slot> old(0);
    std::swap(old, slots_);
    slots_ = LargeArray<Slot>(2 * old.size());
    Resize(slots_.size());
    for (std::size_t i = 0; i < old.size(); ++i) {
        const Slot& slot = old[i];
        if (slot.entryPlusOne == 0) continue;
        const std::uint64_t hash = Hash(slot.head0, slot.head1, slot.length);
        MarkInFilter(hash);
        std::size_t at = hash & mask_;
        while (slots_[at].entryPlusOne != 0) at = (at + 1) & mask_;
        slots_[at] = slot;
    }
}

void IdentifierTable::Resize(std::size_t slots) {
    mask_ = slots - 1;
    const std::size_t bits = FilterBitsFor(slots);
    filter_.assign(bits / 64, 0);
    filterMask_ = bits - 1;
}

void IdentifierTable::Insert(const Key& key, std::size_t entry) {
    const std::string_view id = identifiers_[entry];
    if (id.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    longest_ = std::max(longest_, id.size());
    laterDuplicate_.push_back(false);
    MarkInFilter(key.hash);
    for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
        Slot& slot = slots_[at];
        if (slot.entryPlusOne == 0) {
            slot = Slot{key.head0, key.head1, static_cast<std::uint32_t>(id.size()),
                        static_cast<std::uint32_t>(entry + 1)};
            return;
        }
        if (Matches(slot, key, id)) {  // a later duplicate: the first entry keeps it
            laterDuplicate_.back() = true;
            return;
        }
    }
}

std::size_t IdentifierTable::Find(std::string_view bytes) const { return FindIn(bytes, bytes.size()); }

std::size_t IdentifierTable::FindIn(std::string_view bytes, std::size_t readable) const {
    const Key key = MakeKey(bytes, readable);
    return MayHold(key.hash) ? Lookup(key, bytes) : kNotFound;
}

std::size_t IdentifierTable::Lookup(const Key& key, std::string_view bytes) const {
    for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.entryPlusOne == 0) return kNotFound;
        if (Matches(slot, key, bytes)) return slot.entryPlusOne - 1;
    }
}

}  // namespace halvern
