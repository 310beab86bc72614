#pragma once
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace halvern {

// The start numbers there are: the signed 32-bit range of the choice dialog's number box, from
// -2147483648 to 2147483647. Every start number of a run lies in it.
inline constexpr std::int32_t kLowestStartNumber = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kHighestStartNumber = std::numeric_limits<std::int32_t>::max();

// The start number typed in the choice dialog's number box (also halvern-cli --start).
// Blank text (only bytes 0..32) gives 1; otherwise a lenient scan: leading blanks, an optional
// '-' or '+', decimal digits, or '$', 'x', '0x' and hexadecimal digits. The scan stops at the first
// other character and keeps what it read (without the sign). It never fails: a number past the
// range wraps into it, as the box has always read it ("2147483648" gives -2147483648).
std::int32_t ReadStartNumber(std::string_view boxText);

// The number that text writes in one of the scan's forms, when the scan reads text to its end
// (leading blanks allowed, at least one digit, no other character) and the number lies in the
// range above: then it is what ReadStartNumber gives too. Nothing otherwise, "$80000000" and
// "-2147483649" included. For the command line, where a number that is not read completely, or
// not as it is written, is a mistake to be told.
std::optional<std::int32_t> ReadWholeStartNumber(std::string_view text);

}  // namespace halvern
