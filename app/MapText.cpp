#include "app/MapText.h"

namespace halvern {

namespace {

void AppendEscaped(std::string& out, std::string_view field) {
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

}  // namespace

void AppendMapLines(std::string& map, std::string_view tag, const std::vector<Renumbering>& changes,
                    TextEncoding encoding) {
    for (const Renumbering& change : changes) {
        map.append(tag).append(1, '\t');
        AppendEscaped(map, encoding == TextEncoding::kEightBit ? change.oldId : ShownText(change.oldId, encoding));
        map += '\t';
        AppendEscaped(map, change.newId);
        map += '\n';
    }
}

}  // namespace halvern
