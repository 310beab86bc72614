#pragma once
#include <cstdint>
#include <string_view>

namespace halvern {

// The start number typed in the choice dialog's number box (also halvern-cli --start).
// Blank text (only bytes 0..32) gives 1; otherwise a lenient scan: leading blanks, an optional
// '-' or '+', decimal digits, or '$', 'x', '0x' and hexadecimal digits. The scan stops at the first
// other character and keeps what it read (without the sign). It never fails.
std::int32_t ReadStartNumber(std::string_view boxText);

}  // namespace halvern
