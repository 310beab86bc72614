#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/LargeBuffer.h"

namespace halvern {

// What one entry of a run's list of identifiers becomes: a serial number, written in the run's
// form ("@" + prefix + FixedWidthNumber(serial, width) + "@"), or an identifier kept exactly as an
// earlier renumbering gave it.
struct EntryNumber {
    std::int32_t serial = 0;
    std::string_view kept;  // not empty: this identifier ("@I00042@"), and serial means nothing

    bool IsKept() const { return !kept.empty(); }
};

// What each entry of a run becomes, when not simply the next serial in the order of the
// definitions.
struct RunNumbers {
    LargeVector<EntryNumber> entries;  // one per identifier; none: the order of the definitions
    // Set when a new serial would be written as a number that is taken (another new one, or one
    // an earlier renumbering gave): the run is to be refused.
    bool repeats = false;
};

}  // namespace halvern
