#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace halvern {

// The start number typed in the choice dialog's number box (also halvern-cli --start).
// Blank text (only bytes 0..32) gives 1; otherwise a lenient scan: leading blanks, an optional
// '-' or '+', decimal digits, or '$', 'x', '0x' and hexadecimal digits. The scan stops at the first
// other character and keeps what it read (without the sign). It never fails.
std::int32_t ReadStartNumber(std::string_view boxText);

// The same number when that scan reads text to its end (leading blanks allowed, at least one digit,
// nothing it would stop at: no other character, no digit past its limits); nothing otherwise. For
// the command line, where a number that is not read completely is a mistake to be told.
std::optional<std::int32_t> ReadWholeStartNumber(std::string_view text);

}  // namespace halvern
