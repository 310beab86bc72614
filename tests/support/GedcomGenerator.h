#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace halvern::testsupport {

struct GedcomOptions {
    std::size_t individuals = 100;
    std::uint64_t seed = 1;
    bool crlf = false;  // CR LF line ends instead of LF
};

// A realistic GEDCOM 5.5.1 text: a header and a submitter, the individuals (NAME, SEX, BIRT and
// sometimes DEAT with DATE and PLAC, FAMC, FAMS, NOTE and SOUR references), about a third as many
// families (HUSB, WIFE, CHIL, MARR), sources and notes, then the trailer. Identifiers are numbered
// out of order (@I812@ may come first), a few texts hold bytes above 127 and "@@". The same
// options always give the same text, on every platform.
std::string GenerateGedcom(const GedcomOptions& options);

}  // namespace halvern::testsupport
