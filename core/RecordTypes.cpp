#include "core/RecordTypes.h"

#include <algorithm>
#include <array>

#include "core/GedcomLines.h"

namespace halvern {
namespace {

struct KnownType {
    std::string_view tag;
    std::string_view prefix;
};
constexpr std::array<KnownType, 9> kKnownTypes{{{"INDI", "I"},
                                                {"FAM", "F"},
                                                {"NOTE", "N"},
                                                {"SNOTE", "N"},
                                                {"SOUR", "S"},
                                                {"REPO", "R"},
                                                {"OBJE", "O"},
                                                {"SUBM", "U"},
                                                {"SUBN", "B"}}};

}  // namespace

std::optional<std::string_view> DefaultPrefix(std::string_view tag) {
    for (const KnownType& known : kKnownTypes) {
        if (known.tag == tag) return known.prefix;
    }
    return std::nullopt;
}

bool IsRecordTag(std::string_view tag) {
    if (tag.empty() || tag.size() > 31) return false;
    for (const char c : tag) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') return false;
    }
    return true;
}

std::size_t KnownTagOrder(std::string_view tag) {
    for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
        if (kKnownTypes[i].tag == tag) return i;
    }
    return kKnownTypes.size();
}

std::vector<std::string> RecordTags(std::string_view text) {
    std::array<bool, kKnownTypes.size()> knownPresent{};
    std::vector<std::string> others;
    ForEachLine(text, [&](std::string_view line, std::size_t) {
        // Most lines are not records: only a line whose level is 0 is split.
        std::size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
        if (first == line.size() || line[first] != '0') return;
        GedcomLine parts;
        if (!SplitGedcomLine(line, parts) || parts.level != "0" || parts.xref.empty()) return;
        for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
            if (kKnownTypes[i].tag == parts.tag) {
                knownPresent[i] = true;
                return;
            }
        }
        if (std::find(others.begin(), others.end(), parts.tag) == others.end()) others.emplace_back(parts.tag);
    });
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
        if (knownPresent[i]) tags.emplace_back(kKnownTypes[i].tag);
    }
    tags.insert(tags.end(), others.begin(), others.end());
    return tags;
}

}  // namespace halvern
