#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace halvern {

inline constexpr int kDefaultSerialWidth = 5;
inline constexpr int kMinSerialWidth = 1;
inline constexpr int kMaxSerialWidth = 9;
// A new identifier is at most "@" + 20 + 9 + "@" bytes: short, and within the 64-byte window in
// which the collection finds the stretches that could collide with one.
inline constexpr std::size_t kMaxPrefixLength = 20;

// The form of the new identifiers of one run: "@" + prefix + serial text + "@", where the serial
// text is FixedWidthNumber(serial number, width): its last width characters, padded on the left
// with '0'. The default for a record type is its letter and width 5 ("@I00001@").
struct IdentifierForm {
    std::string prefix;
    int width = kDefaultSerialWidth;
};

// True for 1 to kMaxPrefixLength characters, each one of A-Z, a-z, 0-9 and "_".
bool IsValidPrefix(std::string_view prefix);

// True for kMinSerialWidth to kMaxSerialWidth.
bool IsValidSerialWidth(int width);

// Both of the above.
bool IsValidForm(const IdentifierForm& form);

// 10^width: how many serial texts of width digits there are, which is how many records in a row a
// run with a start number that never goes negative can number before its texts repeat.
std::uint64_t DigitTextCount(int width);

}  // namespace halvern
