#include "core/LargeBuffer.h"

#include <cstring>

#include "core/SystemCalls.h"

namespace halvern {
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) { return (value + unit - 1) & ~(unit - 1); }

}  // namespace

void AdviseLargePages(const void* data, std::size_t size) noexcept {
    // Only whole large pages inside the block: the advice never reaches memory that is not ours.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = RoundUp(begin, kLargePage);
    const std::uintptr_t last = (begin + size) & ~(kLargePage - 1);
    if (last > first) os::RequestLargePages(reinterpret_cast<void*>(first), last - first);
}

// A block of whole large pages is placed on a large-page boundary by Linux, and the allocator
// takes a block this large straight from the system with a few bytes of its own in front. So the
// room asked for is a few bytes short of whole large pages, and the advice covers the large page
// that holds the allocator's bytes too: they are part of the same block. Where these guesses do
// not hold, fewer pages are large; nothing else changes.
void ReserveLarge(std::string& text, std::size_t size) {
    if (size <= text.capacity()) return;
    if (size < kLargePage) {  // no large page to ask for
        text.reserve(size);
        return;
    }
    constexpr std::size_t kAllocatorBytes = 64;
    std::size_t room = size;
    if (size >= kLargePage && size <= SIZE_MAX - 2 * kLargePage) room = RoundUp(size + kAllocatorBytes, kLargePage) - kAllocatorBytes;
    text.reserve(room);
    const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t first = begin & ~(kLargePage - 1);
    if (begin - first <= kAllocatorBytes) {
        os::RequestLargePages(reinterpret_cast<void*>(first), RoundUp(begin + text.capacity(), kLargePage) - first);
        return;
    }
    AdviseLargePages(text.data(), text.capacity());
}

// A large block is carved out of a larger one from operator new: a large page of slack in front
// for the alignment, the start of that larger block kept in the word just before the block.
void* AllocateBlock(std::size_t bytes) {
    if (bytes < kLargeBlock) return ::operator new(bytes);
    const std::size_t span = RoundUp(bytes, kLargePage);
    if (span < bytes || span > SIZE_MAX - kLargePage) throw std::bad_alloc();
    void* const outer = ::operator new(span + kLargePage);
    const std::uintptr_t start = RoundUp(reinterpret_cast<std::uintptr_t>(outer) + sizeof(void*), kLargePage);
    void* const block = reinterpret_cast<void*>(start);
    std::memcpy(static_cast<char*>(block) - sizeof(void*), &outer, sizeof outer);
    AdviseLargePages(block, span);
    return block;
}

void FreeBlock(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    if (bytes < kLargeBlock) {
        ::operator delete(block);
        return;
    }
    void* outer = nullptr;
    std::memcpy(&outer, static_cast<char*>(block) - sizeof(void*), sizeof outer);
    ::operator delete(outer);
}

}  // namespace halvern
