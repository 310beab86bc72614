#include "app/MapText.h"

namespace halvern {

void AppendMapField(std::string& out, std::string_view field) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default:
                if (byte < 32 || byte == 127) {
                    out += "\\x";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0x0F];
                } else {
                    out += c;
                }
        }
    }
}

void AppendMapLine(std::string& map, std::string_view tag, std::string_view oldId, std::string_view newId,
                   std::string_view uniqueId) {
    map.append(tag).append(1, '\t');
    AppendMapField(map, oldId);
    map += '\t';
    AppendMapField(map, newId);
    map += '\t';
    AppendMapField(map, uniqueId);
    map += '\n';
}

void AppendMapLines(std::string& map, std::string_view tag, const std::vector<Renumbering>& changes,
                    std::span<const std::string_view> uniqueIds, TextEncoding encoding) {
    const auto shown = [encoding](std::string_view text) {
        return encoding == TextEncoding::kEightBit ? std::string(text) : ShownText(text, encoding);
    };
    for (const Renumbering& change : changes) {
        const std::string_view uniqueId = change.index < uniqueIds.size() ? uniqueIds[change.index] : std::string_view();
        AppendMapLine(map, tag, shown(change.oldId), shown(change.newId), shown(uniqueId));
    }
}

}  // namespace halvern
