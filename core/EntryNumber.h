#pragma once
#include <cstdint>
#include <string_view>

namespace halvern {

// What one entry of a run's list of identifiers becomes: a serial number, written in the run's
// form ("@" + prefix + FixedWidthNumber(serial, width) + "@"), or an identifier kept exactly as an
// earlier renumbering gave it.
struct EntryNumber {
    std::int32_t serial = 0;
    std::string_view kept;  // not empty: this identifier ("@I00042@"), and serial means nothing

    bool IsKept() const { return !kept.empty(); }
};

}  // namespace halvern
