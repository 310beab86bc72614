#include "core/IdentifierTable.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

namespace halvern {
namespace {

// Slots for count identifiers: a power of two, at least twice count, so the table is at most half
// full. Probe runs then stay short, for the identifiers that are found and for those that get past
// the filter without being there; each step of a run can be a wait for memory.
std::size_t SlotsFor(std::size_t count) {
    if (count >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    std::size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    return capacity;
}

// Bits in the filter for a table of slots: over six per slot, so that no more than about one
// identifier in twenty that is not in the table gets past it; at most 2^24 bits (2 MiB).
std::size_t FilterBitsFor(std::size_t slots) {
    return std::min(std::bit_ceil(slots * 8 * 4 / 5), std::size_t{1} << 24);
}

}  // namespace

IdentifierTable::IdentifierTable(const IdentifierList& identifiers, std::size_t expected)
    : identifiers_(identifiers), slots_(SlotsFor(std::max(identifiers.size(), expected))) {
    Resize(slots_.size());
    for (const std::string_view id : identifiers) Add(id.size());
    FinishAdding();
}

void IdentifierTable::Add(std::size_t readable) {
    const std::size_t entry = added_++;
    const Key key = MakeKey(identifiers_[entry], readable);
    Prefetch(&slots_[key.hash & mask_]);
    // The entry kPending places back is put in now, unless FinishAdding did so already (entries are
    // inserted in order, one flag each, so laterDuplicate_ counts those in the table).
    if (entry >= kPending && entry - kPending >= laterDuplicate_.size()) {
        const std::size_t waiting = entry - kPending;
        Insert(pending_[waiting % kPending], waiting);
    }
    pending_[entry % kPending] = key;
}

void IdentifierTable::FinishAdding() {
    for (std::size_t entry = laterDuplicate_.size(); entry < added_; ++entry) Insert(pending_[entry % kPending], entry);
}

// Twice the slots, and every identifier moved into its new place. The slots hold everything its
// hash is made of, so the identifiers themselves are not read again.
void IdentifierTable::Grow() {
    std::vector<Slot, LargePageAllocator<Slot>> old(2 * slots_.size());
    std::swap(old, slots_);
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
    if (2 * (entry + 1) > slots_.size()) Grow();
    const std::string_view id = identifiers_[entry];
    if (id.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    longest_ = std::max(longest_, id.size());
    laterDuplicate_.push_back(false);
    MarkInFilter(key.hash);
    MarkShape(id);
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

}  // namespace halvern
