#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace halvern {

// Whole documents are tens of megabytes, and the tables of a run a few. Touching such memory for
// the first time costs a page fault per 4 KiB page, which on some systems (virtual machines in
// particular) takes longer than everything else the program does with it. These helpers ask the
// system for large pages (2 MiB) where it offers them on request (Linux); elsewhere they only
// reserve.

// Asks for large pages for the whole large pages that lie within the bytes at data (a hint:
// nothing happens when it is refused or the block is too small).
void AdviseLargePages(const void* data, std::size_t size) noexcept;

// text.reserve(size), with the advice above for the new room.
void ReserveLarge(std::string& text, std::size_t size);

// Blocks of at least kLargeBlock bytes start on a large-page boundary and span whole large pages,
// all of them advised; smaller ones come from operator new as usual. FreeBlock must be given the
// size that AllocateBlock was.
inline constexpr std::size_t kLargeBlock = std::size_t{256} << 10;
void* AllocateBlock(std::size_t bytes);
void FreeBlock(void* block, std::size_t bytes) noexcept;

// Owns a block from AllocateBlock and the size it was asked for.
struct FreeLargeBlock {
    std::size_t bytes = 0;
    void operator()(char* block) const noexcept { FreeBlock(block, bytes); }
};
using LargeBlock = std::unique_ptr<char[], FreeLargeBlock>;

// An allocator for the containers of a run that can grow large.
template <typename T>
struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > SIZE_MAX / 2 / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(AllocateBlock(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept { FreeBlock(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const LargePageAllocator<U>&) const noexcept {
        return true;
    }
};

// A vector of such a container, as the lists of a run use it.
template <typename T>
using LargeVector = std::vector<T, LargePageAllocator<T>>;

}  // namespace halvern
