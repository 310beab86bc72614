#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

namespace halvern {

// Whole documents are tens of megabytes. Touching such a buffer for the first time costs a page
// fault per 4 KiB page, which on some systems (virtual machines in particular) takes longer than
// everything else the program does with it. These helpers ask the system for large pages where it
// offers them on request (Linux); elsewhere they only reserve.

// Asks for large pages for the bytes at data (a hint: nothing happens when it is refused or the
// block is small).
void AdviseLargePages(const void* data, std::size_t size) noexcept;

// text.reserve(size), with the advice above for the new room.
void ReserveLarge(std::string& text, std::size_t size);

// A zero-filled array of count plain values that starts on a large-page boundary when it is large,
// so large pages can back all of it.
template <typename T>
class LargeArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>);

public:
    explicit LargeArray(std::size_t count) : count_(count) {
        if (count > SIZE_MAX / sizeof(T) - kLargeArrayAlignment) throw std::bad_alloc();
        const std::size_t bytes = count * sizeof(T);
        const std::size_t slack = bytes >= kLargeArrayAlignment ? kLargeArrayAlignment : alignof(T);
        // calloc rather than new and memset: a large block comes straight from the system, which
        // hands it out zeroed already, so its pages are first touched when they are used.
        storage_.reset(static_cast<std::byte*>(std::calloc(bytes + slack, 1)));
        if (!storage_) throw std::bad_alloc();
        void* start = storage_.get();
        std::size_t room = bytes + slack;
        start = std::align(slack, bytes, start, room);
        AdviseLargePages(start, bytes);
        data_ = static_cast<T*>(start);
    }

    std::size_t size() const { return count_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    static constexpr std::size_t kLargeArrayAlignment = std::size_t{2} << 20;

    struct Free {
        void operator()(std::byte* block) const noexcept { std::free(block); }
    };
    std::unique_ptr<std::byte, Free> storage_;
    T* data_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace halvern
