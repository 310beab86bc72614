#include "web/engine/CatalogueJson.h"

#include <string_view>

#include "app/tResStr.h"

namespace halvern::web {

namespace {

struct NamedText {
    std::string_view name;
    const ResString& text;
};

constexpr NamedText kShown[] = {
    {"rsVerkeerdFormaat", rsVerkeerdFormaat}, {"rsGeenInvoer", rsGeenInvoer},
    {"rsGeenUitvoer", rsGeenUitvoer},         {"rsZelfdeNaam", rsZelfdeNaam},
    {"rsGeenGegevens", rsGeenGegevens},       {"rsBerichten", rsBerichten},
    {"rsTijdStandaard", rsTijdStandaard},     {"rsAantalStandaard", rsAantalStandaard},
    {"rsNummersDubbel", rsNummersDubbel},     {"rsGeenGeheugen", rsGeenGeheugen},
    {"rsNummerBezet", rsNummerBezet},
};

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

std::string CatalogueJson() {
    std::string json = "{";
    for (const NamedText& entry : kShown) {
        if (json.size() > 1) json += ',';
        AppendJsonString(json, entry.name);
        json += ':';
        AppendJsonString(json, entry.text.text);
    }
    json += '}';
    return json;
}

}  // namespace halvern::web
