#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// How many records of one level-0 type a text has.
struct RecordTypeCount {
    std::string tag;
    std::size_t records = 0;
};

// A reference to an identifier that no record defines.
struct DanglingReference {
    std::string identifier;  // "@I9@"
    std::size_t line = 0;    // 1-based
};

// An identifier that more than one record has.
struct RepeatedDefinition {
    std::string identifier;
    std::vector<std::size_t> lines;  // of its definitions, in order
};

// A record that nothing refers to.
struct UnreferencedRecord {
    std::string tag;
    std::string identifier;
    std::size_t line = 0;
};

// What a text's records and references amount to, as data for a report.
struct ReferenceReport {
    std::vector<RecordTypeCount> counts;             // in the order of RecordTags
    std::vector<DanglingReference> dangling;         // in the order of the text
    std::vector<RepeatedDefinition> repeated;        // in the order of their first definition
    std::vector<UnreferencedRecord> unreferenced;    // in the order of the text; never INDI
};

// Reads text line by line (lines end with CR, LF or CR LF). A record is a level-0 line with an
// identifier ("0 @X@ TAG"). A reference is the value of any line that is one identifier and
// nothing else, blanks and tabs around it aside ("1 FAMS @F1@", "1 FAMC  @F9@ "): "@" + bytes
// without "@" + "@", not an escape ("@#DJULIAN@"), and not GEDCOM 7's null pointer "@VOID@".
// Identifiers in running text (a note that mentions "@I1@", an e-mail address) are no
// references. Individuals that nothing refers to are not reported: many stand alone. One pass,
// and one hash map of the identifiers.
ReferenceReport MakeReferenceReport(std::string_view text);

}  // namespace halvern
