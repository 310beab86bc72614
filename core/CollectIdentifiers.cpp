#include "core/CollectIdentifiers.h"

namespace halvern {

std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag) {
    std::vector<std::string_view> identifiers;
    ForEachDefinition(text, tag, [&](std::string_view id) { identifiers.push_back(id); });
    return identifiers;
}

}  // namespace halvern
