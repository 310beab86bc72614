#include "core/QuickSearch.h"

#include <array>
#include <cstring>

namespace halvern {

std::size_t QuickSearchPos(std::string_view text, std::string_view pattern, std::size_t start,
                           std::size_t textLength) {
    if (start == 0) start = 1;
    if (pattern.empty()) return start;
    if (textLength > text.size()) textLength = text.size();

    const std::size_t m = pattern.size();
    // The window covers the 0-based bytes s .. s + m - 1.
    std::size_t s = start - 1;
    if (m > textLength || s > textLength - m) return 0;
    const std::size_t lastWindow = textLength - m;

    // Shift for the byte just after the window: m + 1 for a byte that is not in the pattern,
    // otherwise its distance from the pattern's end (its rightmost occurrence counts). Entries as
    // wide as size_t, so patterns of any length get the right shift.
    std::array<std::size_t, 256> shift;
    shift.fill(m + 1);
    for (std::size_t i = 0; i < m; ++i) shift[static_cast<unsigned char>(pattern[i])] = m - i;

    const char* const bytes = text.data();
    const char* const pat = pattern.data();
    for (;;) {
        if (bytes[s] == pat[0] && std::memcmp(bytes + s + 1, pat + 1, m - 1) == 0) return s + 1;
        if (s == lastWindow) return 0;  // no byte after the window: no later window fits
        s += shift[static_cast<unsigned char>(bytes[s + m])];
        if (s > lastWindow) return 0;
    }
}

}  // namespace halvern
