#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/KeepList.h"
#include "core/EntryNumber.h"
#include "core/IdentifierForm.h"

namespace halvern {

// The records of one run as the engine collected them, and how the run numbers them.
struct RunRecords {
    std::string_view tag;
    IdentifierForm form;
    std::int32_t startNumber = 1;
    std::span<const std::string_view> identifiers;  // the old identifiers, in the order of the definitions
    std::span<const std::string_view> uniqueIds;    // each record's own (empty: none); an empty span: none at all
    std::span<const std::size_t> ranks;             // NumberingRanks; an empty span: the order of the definitions
};

// What each record of a run becomes.
//
// Without a list, or when the list has no line of the run's type: the records are numbered in the
// run's order from the start number, entry i getting SerialNumber(startNumber, ranks[i]) (so
// without ranks exactly the numbering of every run so far).
//
// With a list, a record keeps the new identifier of a line of its type, exactly as written there:
// first the line with its own unique identifier (both not empty); else the line whose old
// identifier is the record's identifier; else the line whose new identifier is the record's
// identifier (a file renumbered before and exported again). A line serves one record only: the
// records that match by unique identifier come first, then those by old identifier, then those by
// new identifier, each in the order of the definitions. A record and a line that both have a unique
// identifier, different ones, are two records, and never match by identifier: the number of a
// record that is gone is not given to the one that took over its identifier.
// Every other record gets a new serial, in the run's order, from the highest serial the list holds
// for the type in the run's form plus one, and at least from the start number; so no number the
// list holds is given again. A record defined twice is two entries; the second never matches the
// line the first took, and uses up a serial as it always did.
// std::invalid_argument for a form that is not valid (IsValidForm), or unique identifiers or ranks
// that are not one per record (the ranks a permutation).
RunNumbers NumberRun(const RunRecords& run, const KeepList* list);

}  // namespace halvern
