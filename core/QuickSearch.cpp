#include "core/QuickSearch.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace halvern {
namespace {

// The search proper, with shift entries of type Shift, wide enough for m + 1. The window covers
// the 0-based bytes s .. s + m - 1; lastWindow is the largest s whose window fits.
template <typename Shift>
std::size_t Search(const char* bytes, std::string_view pattern, std::size_t s, std::size_t lastWindow) {
    const std::size_t m = pattern.size();
    // Shift for the byte just after the window: m + 1 for a byte that is not in the pattern,
    // otherwise its distance from the pattern's end (its rightmost occurrence counts, the smallest).
    std::array<Shift, 256> shift;
    shift.fill(static_cast<Shift>(m + 1));
    for (std::size_t i = 0; i < m; ++i) shift[static_cast<unsigned char>(pattern[i])] = static_cast<Shift>(m - i);

    const char* const pat = pattern.data();
    const char first = pat[0];
    for (;;) {
        if (bytes[s] == first && std::memcmp(bytes + s + 1, pat + 1, m - 1) == 0) return s + 1;
        if (s == lastWindow) return 0;  // no byte after the window: no later window fits
        s += shift[static_cast<unsigned char>(bytes[s + m])];
        if (s > lastWindow) return 0;
    }
}

}  // namespace

std::size_t QuickSearchPos(std::string_view text, std::string_view pattern, std::size_t start,
                           std::size_t textLength) {
    if (start == 0) start = 1;
    if (pattern.empty()) return start;
    if (textLength > text.size()) textLength = text.size();

    const std::size_t m = pattern.size();
    const std::size_t s = start - 1;
    if (m > textLength || s > textLength - m) return 0;
    const std::size_t lastWindow = textLength - m;

    // The narrowest entries that hold a shift of m + 1: a small table is quick to fill, which
    // counts where short patterns are searched many times over (the plain three-phase algorithm
    // of the tests and benchmarks does that; the engine itself walks the "@" signs instead).
    if (m < UINT8_MAX) return Search<std::uint8_t>(text.data(), pattern, s, lastWindow);
    if (m < UINT16_MAX) return Search<std::uint16_t>(text.data(), pattern, s, lastWindow);
    return Search<std::size_t>(text.data(), pattern, s, lastWindow);
}

}  // namespace halvern
