#pragma once
#include <string>
#include <string_view>

namespace halvern {

// The comparable form of a record version text: the first "." removed, "0" appended up to three
// characters, then the whole number that remains written without leading zeros and padded with
// "0" in front up to three characters. "6" gives "600", "5.9" "590", "10" "100", the empty text
// "000". A text that is not a whole number then (only the digits 0-9 count) gives the empty text:
// "1.2.3", "5a", " 6", "-1".
std::string NormaliseVersionText(std::string_view text);

// True when both texts give a number and the stored one is lower than the current one. A stored
// version that gives no number is not older: it most likely comes from a newer program, and a
// record we cannot read is not ours to overwrite.
bool IsOlderVersion(std::string_view storedVersion, std::string_view currentVersion);

}  // namespace halvern
