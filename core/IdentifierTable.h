#pragma once
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/AtSignScanner.h"
#include "core/LargeBuffer.h"

namespace halvern {

// The identifiers of a run, in the order of their definitions; views into the text.
using IdentifierList = std::vector<std::string_view, LargePageAllocator<std::string_view>>;

// The most bytes a new text can have when every collected identifier in a text of originalSize
// bytes with atSigns "@" is replaced by one of at most longestNew bytes: an occurrence runs from one
// "@" to the next, so there are fewer occurrences than "@", and each grows by at most longestNew
// less the shortest identifier.
inline std::size_t GrownLengthBound(std::size_t originalSize, std::size_t atSigns, const IdentifierList& identifiers,
                                    std::size_t longestNew) {
    std::size_t shortest = SIZE_MAX;
    for (const std::string_view id : identifiers) shortest = std::min(shortest, id.size());
    const std::size_t growth = longestNew > shortest ? longestNew - shortest : 0;
    return originalSize + atSigns * growth;
}

// The collected identifiers of one run, for finding their occurrences in a text. Each identifier
// leads to the list index of its first entry; later duplicates are not in the table.
//
// An open-addressing table whose slots hold the first 16 bytes and the length of their
// identifier, so that looking up a usual identifier ("@I123456@") touches one slot and nothing
// else: the identifiers themselves lie scattered over a text far larger than the caches. In front
// of it two filters turn most identifiers that are not collected (the references to other record
// types) away before any slot is touched: one by the byte after the "@" and the length, and a bit
// set by hash small enough for the processor's caches.
class IdentifierTable {
public:
    static constexpr std::size_t kNotFound = SIZE_MAX;

    // A table of the entries of identifiers, which must outlive it. The list may grow afterwards:
    // each entry appended to it is taken into the table with Add.
    // expected is how many entries the list is likely to reach: room for them is made at once.
    explicit IdentifierTable(const IdentifierList& identifiers, std::size_t expected = 0);

    // Takes the next entry of the list into the table. readable, counted from the entry's first
    // byte, is at least its length; more lets the key be read in whole words. The entry's key is
    // made at once, while its bytes are at hand, and its slot asked into the cache; it is put in
    // its slot a few entries later, when that slot has arrived. FinishAdding puts in the last ones:
    // call it before looking anything up.
    void Add(std::size_t readable);
    void FinishAdding();

    // False for an entry whose identifier an earlier entry of the list has already.
    bool IsFirstEntry(std::size_t entry) const { return !laterDuplicate_[entry]; }

    // The entry of the first list entry with the bytes of identifier, or kNotFound. After
    // FinishAdding.
    std::size_t FirstEntryOf(std::string_view identifier) const {
        return Lookup(MakeKey(identifier, identifier.size()), identifier);
    }

    // Calls found(position, length, entry) for every occurrence of an identifier in text, from left
    // to right, in a single pass. text is the text the list was collected from: the identifiers
    // are views into it. An identifier holds no "@" between its two "@", so only the bytes from
    // one "@" to the next can be one, and each such stretch is looked up. Two occurrences can
    // share an "@": in "@a@b@" with "@a@" and "@b@" collected both are found, the second starting
    // where the first ends.
    template <typename Found>
    void ForEachOccurrence(std::string_view text, Found&& found) const {
        // A slot is mostly a wait for memory: the text streaming through pushes the table out of
        // the caches. So a stretch that gets past the filter has its slot asked for at once and is
        // looked up only a few such stretches later, and the waits overlap. The definitions need
        // no slot at all: where each entry's identifier stands is known from the list.
        struct Stretch {
            std::size_t at;
            std::size_t length;
            std::size_t entry;  // kNotFound: still to be looked up
            Key key;
        };
        Stretch ahead[kLookAhead];
        std::size_t passed = 0;
        std::size_t lookedUp = 0;
        const auto lookUp = [&](const Stretch& stretch) {
            const std::size_t entry = stretch.entry != kNotFound
                                          ? stretch.entry
                                          : Lookup(stretch.key, text.substr(stretch.at, stretch.length));
            if (entry != kNotFound) found(stretch.at, stretch.length, entry);
        };
        const auto queue = [&](const Stretch& stretch) {
            if (passed - lookedUp == kLookAhead) lookUp(ahead[lookedUp++ % kLookAhead]);
            ahead[passed++ % kLookAhead] = stretch;
        };
        std::size_t definition = 0;
        std::size_t definitionAt = DefinitionFrom(text, definition);
        AtSignScanner atSigns(text);
        std::size_t at = atSigns.Next();
        while (at != std::string_view::npos) {
            const std::size_t next = atSigns.Next();
            if (next == std::string_view::npos) break;
            const std::size_t length = next - at + 1;
            if (at == definitionAt) {
                queue({at, length, definition, Key{}});
                definitionAt = DefinitionFrom(text, ++definition);
            } else if (length <= longest_ && MayHaveShape(text[at + 1], length)) {
                const Key key = MakeKey(text.substr(at, length), text.size() - at);
                if (MayHold(key.hash)) {
                    queue({at, length, kNotFound, key});
                    Prefetch(&slots_[key.hash & mask_]);
                }
            }
            at = next;
        }
        while (lookedUp < passed) lookUp(ahead[lookedUp++ % kLookAhead]);
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
    // The bytes 0 .. count - 1 of a word loaded from memory, the others zero.
    static std::uint64_t FirstBytes(std::uint64_t word, std::size_t count) {
        if (count >= 8) return word;
        if (count == 0) return 0;
        if constexpr (std::endian::native == std::endian::little) {
            return word & ((std::uint64_t{1} << (8 * count)) - 1);
        }
        return word & (~std::uint64_t{0} << (8 * (8 - count)));
    }

    static std::uint64_t Hash(std::uint64_t head0, std::uint64_t head1, std::size_t length) {
        std::uint64_t h = head0 * 0x9E3779B97F4A7C15ULL;
        h ^= (head1 + length) * 0xC2B2AE3D27D4EB4FULL;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 32;
        return h;
    }

    // The key of bytes, which may be followed by more readable bytes: readable counts from
    // bytes.data() and is at least bytes.size().
    static Key MakeKey(std::string_view bytes, std::size_t readable) {
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

    std::size_t Lookup(const Key& key, std::string_view bytes) const {
        for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.entryPlusOne == 0) return kNotFound;
            if (Matches(slot, key, bytes)) return slot.entryPlusOne - 1;
        }
    }
    void Insert(const Key& key, std::size_t entry);
    static void Prefetch(const void* address) {
#if defined(__GNUC__)
        __builtin_prefetch(address);
#else
        (void)address;
#endif
    }
    // The first 16 bytes and the length settle it for the usual identifiers; longer ones are
    // compared in full.
    bool Matches(const Slot& slot, const Key& key, std::string_view bytes) const {
        return slot.length == bytes.size() && slot.head0 == key.head0 && slot.head1 == key.head1 &&
               (bytes.size() <= 16 || identifiers_[slot.entryPlusOne - 1] == bytes);
    }
    // A first filter that fits in the fastest cache: which lengths the identifiers have for each
    // byte after their opening "@" (lengths from 63 on share a bit). In most family trees the
    // identifiers of each record type start with a letter of their own ("@I12@", "@F7@"), so the
    // references to other types stop here.
    bool MayHaveShape(char first, std::size_t length) const {
        return (shapes_[static_cast<unsigned char>(first)] >> std::min<std::size_t>(length, 63)) & 1U;
    }
    void MarkShape(std::string_view id) {
        if (id.size() < 2) return;
        shapes_[static_cast<unsigned char>(id[1])] |= std::uint64_t{1} << std::min<std::size_t>(id.size(), 63);
    }
    // The bit of the filter for a hash; taken from other bits of the hash than the slot.
    std::size_t FilterBit(std::uint64_t hash) const { return (hash >> 40) & filterMask_; }
    bool MayHold(std::uint64_t hash) const {
        const std::size_t bit = FilterBit(hash);
        return (filter_[bit / 64] >> (bit % 64)) & 1U;
    }
    void MarkInFilter(std::uint64_t hash) {
        const std::size_t bit = FilterBit(hash);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    // Where in text the identifier of the first entry from entry on stands that is not a later
    // duplicate (entry is moved on to it), or npos when there is none.
    std::size_t DefinitionFrom(std::string_view text, std::size_t& entry) const {
        while (entry < laterDuplicate_.size() && laterDuplicate_[entry]) ++entry;
        if (entry >= laterDuplicate_.size()) return std::string_view::npos;
        return static_cast<std::size_t>(identifiers_[entry].data() - text.data());
    }
    void Grow();
    void Resize(std::size_t slots);

    const IdentifierList& identifiers_;
    std::vector<Slot, LargePageAllocator<Slot>> slots_;
    std::size_t mask_ = 0;
    std::vector<std::uint64_t, LargePageAllocator<std::uint64_t>> filter_;
    std::size_t filterMask_ = 0;
    std::array<std::uint64_t, 256> shapes_{};
    std::vector<bool> laterDuplicate_;
    static constexpr std::size_t kPending = 8;
    static constexpr std::size_t kLookAhead = 8;  // stretches whose slots are on their way
    Key pending_[kPending];  // keys of the entries added but not yet put in, by entry % kPending
    std::size_t added_ = 0;
    std::size_t longest_ = 0;
};

}  // namespace halvern
