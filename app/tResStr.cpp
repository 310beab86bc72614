#include "app/tResStr.h"

namespace halvern {

namespace {
#define HALVERN_ENTRY(id, name, text) name,
constexpr ResString kCatalogue[] = {HALVERN_CATALOGUE(HALVERN_ENTRY)};
#undef HALVERN_ENTRY
}  // namespace

std::span<const ResString> Catalogue() { return kCatalogue; }

std::string_view LoadResString(int id) {
    for (const ResString& entry : kCatalogue) {
        if (entry.id == id) return entry.text;
    }
    return {};
}

std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t number = at + 1 < text.size() && text[at] == '%' ? static_cast<std::size_t>(text[at + 1] - '0') : 0;
        if (number >= 1 && number <= values.size()) {
            filled.append(values.begin()[number - 1]);
            ++at;
        } else {
            filled += text[at];
        }
    }
    return filled;
}

}  // namespace halvern
