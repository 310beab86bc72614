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

// The tags found so far: of the known types which occur, and the others in order.
struct TagsFound {
    std::array<bool, kKnownTypes.size()> knownPresent{};
    std::vector<std::string> others;

    // Takes the tag of a line that begins with level 0, if it is a record's. Out of line: the walk
    // over the lines stays small, and most lines are not records.
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void TakeRecord(std::string_view line) {
        GedcomLine parts;
        if (!SplitGedcomLine(line, parts) || parts.level != "0" || parts.xref.empty()) return;
        const auto end = std::find_if_not(parts.tag.begin(), parts.tag.end(), IsTagByte);
        const std::string_view tag = parts.tag.substr(0, static_cast<std::size_t>(end - parts.tag.begin()));
        if (tag.empty()) return;
        for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
            if (kKnownTypes[i].tag == tag) {
                knownPresent[i] = true;
                return;
            }
        }
        if (std::find(others.begin(), others.end(), tag) == others.end()) others.emplace_back(tag);
    }
};

}  // namespace

std::optional<std::string_view> DefaultPrefix(std::string_view tag) {
    for (const KnownType& known : kKnownTypes) {
        if (known.tag == tag) return known.prefix;
    }
    return std::nullopt;
}

bool IsRecordTag(std::string_view tag) {
    return !tag.empty() && tag.size() <= 31 && std::all_of(tag.begin(), tag.end(), IsTagByte);
}

std::size_t KnownTagOrder(std::string_view tag) {
    for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
        if (kKnownTypes[i].tag == tag) return i;
    }
    return kKnownTypes.size();
}

std::vector<std::string> RecordTags(std::string_view text) {
    TagsFound found;
    ForEachLine(text, [&](std::string_view line, std::size_t) {
        // Most lines are not records: only a line whose level is 0 is looked at further.
        std::size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
        if (first < line.size() && line[first] == '0') found.TakeRecord(line);
    });
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < kKnownTypes.size(); ++i) {
        if (found.knownPresent[i]) tags.emplace_back(kKnownTypes[i].tag);
    }
    tags.insert(tags.end(), found.others.begin(), found.others.end());
    return tags;
}

}  // namespace halvern
