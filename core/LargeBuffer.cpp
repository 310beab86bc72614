#include "core/LargeBuffer.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace halvern {

void AdviseLargePages(const void* data, std::size_t size) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    if (size < 2 * kLargePage) return;
    // Only whole large pages inside the block: the advice never reaches memory that is not ours.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kLargePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

void ReserveLarge(std::string& text, std::size_t size) {
    const bool growing = size > text.capacity();
    text.reserve(size);
    if (growing) AdviseLargePages(text.data(), text.capacity());
}

}  // namespace halvern
