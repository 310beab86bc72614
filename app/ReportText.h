#pragma once
#include <cstddef>
#include <string>

#include "core/ReferenceReport.h"
#include "core/Utf16Text.h"

namespace halvern {

// The reference report in Dutch, one line per finding, ending with a line that says how many
// problems were found ("geen problemen gevonden" when none). Problems are the references to
// identifiers no record has and the identifiers defined more than once; records that nothing refers
// to are listed for the user to look at, but are no problem of the file. Identifiers are shown as
// a user reads them: those of a text in encoding as ShownText gives them.
std::string ReferenceReportText(const ReferenceReport& report, TextEncoding encoding);

// The number of problems in the report.
std::size_t ProblemCount(const ReferenceReport& report);

}  // namespace halvern
