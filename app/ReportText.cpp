#include "app/ReportText.h"

namespace halvern {

namespace {

void Heading(std::string& out, const char* text) { out.append(text).append(":\n"); }

std::string Line(std::size_t line) { return "regel " + std::to_string(line); }

}  // namespace

std::size_t ProblemCount(const ReferenceReport& report) { return report.dangling.size() + report.repeated.size(); }

std::string ReferenceReportText(const ReferenceReport& report) {
    std::string out;
    Heading(out, "records per type");
    if (report.counts.empty()) out += "  geen records\n";
    for (const RecordTypeCount& count : report.counts) {
        out += "  " + count.tag + " : " + std::to_string(count.records) + "\n";
    }
    if (!report.dangling.empty()) {
        Heading(out, "verwijzingen naar een identificatie die geen record heeft");
        for (const DanglingReference& reference : report.dangling) {
            out += "  " + Line(reference.line) + ": " + reference.identifier + "\n";
        }
    }
    if (!report.repeated.empty()) {
        Heading(out, "identificaties die meer dan een record hebben");
        for (const RepeatedDefinition& repeated : report.repeated) {
            out += "  " + repeated.identifier + " op regel ";
            for (std::size_t i = 0; i < repeated.lines.size(); ++i) {
                out += (i == 0 ? "" : ", ") + std::to_string(repeated.lines[i]);
            }
            out += "\n";
        }
    }
    if (!report.unreferenced.empty()) {
        Heading(out, "records waar niets naar verwijst (personen niet meegeteld: die staan vaak op zichzelf)");
        for (const UnreferencedRecord& record : report.unreferenced) {
            out += "  " + record.tag + " " + record.identifier + " op " + Line(record.line) + "\n";
        }
    }
    const std::size_t problems = ProblemCount(report);
    if (problems == 0) {
        out += "geen problemen gevonden\n";
    } else {
        out += std::to_string(problems) + (problems == 1 ? " probleem" : " problemen") + " gevonden\n";
    }
    return out;
}

}  // namespace halvern
