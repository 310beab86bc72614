#include "app/MapText.h"

namespace halvern {

namespace {

// True for the bytes a field cannot hold as they are: the backslash and the control characters.
bool NeedsEscape(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 32 || byte == 127 || c == '\\';
}

}  // namespace

void AppendMapField(std::string& out, std::string_view field) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // Most fields hold nothing to escape: the bytes up to the first that needs it go in one piece.
    std::size_t plain = 0;
    while (plain < field.size() && !NeedsEscape(field[plain])) ++plain;
    out.append(field.substr(0, plain));
    for (const char c : field.substr(plain)) {
        const auto byte = static_cast<unsigned char>(c);
        if (!NeedsEscape(c)) {
            out += c;
            continue;
        }
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default:
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 0x0F];
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
    if (changes.empty()) return;
    // Room for every line at once, from the first line's length; a longer line later only grows it.
    const Renumbering& first = changes.front();
    const std::size_t firstLength = tag.size() + first.oldId.size() + first.newId.size() + 4 +
                                    (first.index < uniqueIds.size() ? uniqueIds[first.index].size() : 0);
    map.reserve(map.size() + changes.size() * firstLength);
    for (const Renumbering& change : changes) {
        const std::string_view uniqueId = change.index < uniqueIds.size() ? uniqueIds[change.index] : std::string_view();
        if (encoding == TextEncoding::kEightBit) {
            AppendMapLine(map, tag, change.oldId, change.newId, uniqueId);
        } else {
            AppendMapLine(map, tag, ShownText(change.oldId, encoding), ShownText(change.newId, encoding),
                          ShownText(uniqueId, encoding));
        }
    }
}

}  // namespace halvern
