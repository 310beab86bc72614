#include "app/ReportText.h"

#include "app/tResStr.h"

namespace halvern {

namespace {

void Heading(std::string& out, const ResString& text) { out.append(text.text).append(":\n"); }

void Item(std::string& out, std::string_view text) { out.append("  ").append(text).append("\n"); }

}  // namespace

std::size_t ProblemCount(const ReferenceReport& report) { return report.dangling.size() + report.repeated.size(); }

std::string ReferenceReportText(const ReferenceReport& report, TextEncoding encoding) {
    const auto shown = [encoding](std::string_view identifier) { return ShownText(identifier, encoding); };
    std::string out;
    Heading(out, rsRecordsPerType);
    if (report.counts.empty()) Item(out, rsGeenRecords);
    for (const RecordTypeCount& count : report.counts) {
        Item(out, count.tag + std::string(rsScheiding.text) + std::to_string(count.records));
    }
    if (!report.dangling.empty()) Heading(out, rsZonderRecord);
    for (const DanglingReference& reference : report.dangling) {
        Item(out, FillIn(rsRegel, {std::to_string(reference.line), shown(reference.identifier)}));
    }
    if (!report.repeated.empty()) Heading(out, rsMeerDanEenRecord);
    for (const RepeatedDefinition& repeated : report.repeated) {
        std::string lines;
        for (const std::size_t line : repeated.lines) lines += (lines.empty() ? "" : ", ") + std::to_string(line);
        Item(out, FillIn(rsOpRegel, {shown(repeated.identifier), lines}));
    }
    if (!report.unreferenced.empty()) Heading(out, rsNietsVerwijst);
    for (const UnreferencedRecord& record : report.unreferenced) {
        Item(out, FillIn(rsOpRegel, {record.tag + " " + shown(record.identifier), std::to_string(record.line)}));
    }
    const std::size_t problems = ProblemCount(report);
    const ResString& found = problems == 0 ? rsGeenProblemen : problems == 1 ? rsEenProbleem : rsProblemen;
    return out + FillIn(found, {std::to_string(problems)}) + "\n";
}

}  // namespace halvern
