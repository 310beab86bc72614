#include "core/CollectIdentifiers.h"

#include <string>

#include "core/LargeBuffer.h"
#include "core/QuickSearch.h"

namespace halvern {

std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag) {
    const std::string pattern = std::string("@ ").append(tag);
    std::vector<std::string_view> identifiers;
    // Room for a definition in every 64 bytes, which few texts reach; what is not used costs only
    // address space, and the list need not be copied while it grows.
    identifiers.reserve(text.size() / 64 + 16);
    AdviseLargePages(identifiers.data(), identifiers.capacity() * sizeof(std::string_view));
    // Positions are 1-based here, as QuickSearchPos counts them.
    std::size_t searchStart = 1;
    for (;;) {
        const std::size_t closing = QuickSearchPos(text, pattern, searchStart, text.size());
        if (closing == 0) break;
        // The bytes from searchStart up to just before the closing "@".
        const std::string_view before = text.substr(searchStart - 1, closing - searchStart);
        const std::size_t opening = before.rfind('@');
        if (opening != std::string_view::npos) {
            const std::size_t first = searchStart - 1 + opening;  // 0-based
            identifiers.push_back(text.substr(first, closing - first));
        }
        searchStart = closing + pattern.size();
    }
    return identifiers;
}

}  // namespace halvern
