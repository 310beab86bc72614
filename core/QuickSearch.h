#pragma once
#include <cstddef>
#include <string_view>

namespace halvern {

// Sunday's Quick Search. Returns the 1-based position of the leftmost occurrence of pattern that
// begins at or after start (1-based, at least 1) and ends at or before textLength; 0 when there
// is none. Only the first textLength bytes of text are read (textLength <= text.size()).
// An empty pattern gives start. Patterns of any length are handled.
std::size_t QuickSearchPos(std::string_view text, std::string_view pattern, std::size_t start,
                           std::size_t textLength);

}  // namespace halvern
