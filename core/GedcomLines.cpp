#include "core/GedcomLines.h"

namespace halvern {
namespace {

std::size_t SkipBlanks(std::string_view line, std::size_t at) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    return at;
}

}  // namespace

bool SplitGedcomLine(std::string_view line, GedcomLine& parts) {
    std::size_t at = SkipBlanks(line, 0);
    const std::size_t levelStart = at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
    if (at == levelStart || at == line.size() || line[at] != ' ') return false;
    parts.level = line.substr(levelStart, at - levelStart);
    at = SkipBlanks(line, at);
    parts.xref = {};
    if (at < line.size() && line[at] == '@') {
        const std::size_t closing = line.find('@', at + 1);
        if (closing == std::string_view::npos) return false;
        parts.xref = line.substr(at, closing - at + 1);
        at = SkipBlanks(line, closing + 1);
    }
    const std::size_t tagStart = at;
    while (at < line.size() && line[at] != ' ') ++at;
    if (at == tagStart) return false;
    parts.tag = line.substr(tagStart, at - tagStart);
    parts.value = at < line.size() ? line.substr(at + 1) : std::string_view();
    return true;
}

}  // namespace halvern
