#include "core/IdentifierForm.h"

#include <algorithm>

#include "core/RecordTypes.h"

namespace halvern {

bool IsValidPrefix(std::string_view prefix) {
    if (prefix.empty() || prefix.size() > kMaxPrefixLength) return false;
    return std::all_of(prefix.begin(), prefix.end(), IsTagByte);
}

bool IsValidSerialWidth(int width) { return width >= kMinSerialWidth && width <= kMaxSerialWidth; }

bool IsValidForm(const IdentifierForm& form) { return IsValidPrefix(form.prefix) && IsValidSerialWidth(form.width); }

std::uint64_t DigitTextCount(int width) {
    std::uint64_t count = 1;
    for (int i = 0; i < width; ++i) count *= 10;
    return count;
}

}  // namespace halvern
