#pragma once
#include <string_view>
#include <vector>

namespace halvern {

// The identifiers of every definition of the record type tag in text, in the order in which the
// definitions stand; duplicates kept. A definition is found through the pattern "@ " + tag (a
// prefix: whatever follows the tag is not looked at); its identifier runs back from that "@" to
// the nearest "@" before it, but never back past the end of the previous definition found. A
// definition without such an "@" gives nothing. The views point into text.
std::vector<std::string_view> CollectIdentifiers(std::string_view text, std::string_view tag);

}  // namespace halvern
