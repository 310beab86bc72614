#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Renumber.h"

namespace halvern::testsupport {

// What the three-phase run below met that makes its result differ from a clean renumbering.
struct LiteralAnomalies {
    bool skippedOccurrence = false;      // the search after a marker jumped over an occurrence: one
                                         // starting with the marker's closing "@", or any, when the
                                         // identifier is longer than its marker
    bool markerLikeIdentifier = false;   // an identifier of the form "@" + tag + "0" + five bytes + "@"
    bool foreignCleaning = false;        // cleaned bytes that were not the start of one of its markers,
                                         // or left one of its markers uncleaned
    bool overlappedMarker = false;       // a replacement covered bytes of an earlier marker

    bool any() const {
        return skippedOccurrence || markerLikeIdentifier || foreignCleaning || overlappedMarker;
    }
};

// The renumbering done the slow, literal way: collect the identifiers; replace every occurrence of
// each, entry by entry, with a temporary marker "@" + tag + "0" + serial + "@", searching the
// changing text again from the start for every entry; then turn every "@" + tag + "0" in the text
// into "@" + letter. Every search goes through QuickSearchPos and every replacement rebuilds the
// text. It throws nothing of its own: serial texts may repeat. Used as the reference that the
// engine is compared with, and in the benchmark as the cost to beat.
std::size_t LiteralRenumber(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink,
                            LiteralAnomalies* anomalies = nullptr);

}  // namespace halvern::testsupport
