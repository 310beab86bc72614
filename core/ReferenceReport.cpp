#include "core/ReferenceReport.h"

#include <algorithm>
#include <unordered_map>

#include "core/GedcomLines.h"
#include "core/RecordTypes.h"

namespace halvern {
namespace {

struct Definition {
    std::string_view tag;
    std::string_view identifier;
    std::size_t line;
};

struct Reference {
    std::string_view identifier;
    std::size_t line;
};

// What is known of one identifier.
struct Usage {
    std::size_t definitions = 0;
    bool referenced = false;
};

// The value without the blanks and tabs around it: "1 FAMC  @F9@" and "1 FAMS @F1@ " refer to a
// record as much as "1 FAMS @F1@" does.
std::string_view WithoutBlanksAround(std::string_view value) {
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

bool IsPointer(std::string_view value) {
    return value.size() >= 3 && value.front() == '@' && value.back() == '@' && value[1] != '#' &&
           value.find('@', 1) == value.size() - 1;
}

}  // namespace

ReferenceReport MakeReferenceReport(std::string_view text) {
    std::vector<Definition> definitions;
    std::vector<Reference> references;
    ForEachLine(text, [&](std::string_view line, std::size_t number) {
        GedcomLine parts;
        if (!SplitGedcomLine(line, parts)) return;
        if (parts.level == "0" && !parts.xref.empty()) definitions.push_back({parts.tag, parts.xref, number});
        const std::string_view value = WithoutBlanksAround(parts.value);
        if (IsPointer(value) && value != "@VOID@") references.push_back({value, number});
    });

    std::unordered_map<std::string_view, Usage> usage;
    usage.reserve(definitions.size());
    for (const Definition& definition : definitions) ++usage[definition.identifier].definitions;

    ReferenceReport report;
    for (const Reference& reference : references) {
        const auto found = usage.find(reference.identifier);
        if (found == usage.end() || found->second.definitions == 0) {
            report.dangling.push_back({std::string(reference.identifier), reference.line});
        } else {
            found->second.referenced = true;
        }
    }

    std::unordered_map<std::string_view, std::size_t> repeatedAt;  // identifier -> index in report.repeated
    std::unordered_map<std::string_view, std::size_t> countAt;     // tag -> index in report.counts
    for (const Definition& definition : definitions) {
        const Usage& used = usage[definition.identifier];
        if (used.definitions > 1) {
            const auto [at, added] = repeatedAt.try_emplace(definition.identifier, report.repeated.size());
            if (added) report.repeated.push_back({std::string(definition.identifier), {}});
            report.repeated[at->second].lines.push_back(definition.line);
        }
        if (!used.referenced && definition.tag != "INDI") {
            report.unreferenced.push_back({std::string(definition.tag), std::string(definition.identifier), definition.line});
        }
        const auto [counted, newTag] = countAt.try_emplace(definition.tag, report.counts.size());
        if (newTag) report.counts.push_back({std::string(definition.tag), 0});
        ++report.counts[counted->second].records;
    }
    std::stable_sort(report.counts.begin(), report.counts.end(), [](const RecordTypeCount& a, const RecordTypeCount& b) {
        return KnownTagOrder(a.tag) < KnownTagOrder(b.tag);
    });
    return report;
}

}  // namespace halvern
