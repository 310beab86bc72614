#pragma once
// The few rules about ASCII that names, tags and typed numbers follow: bytes beyond ASCII (UTF-8,
// a code page) and UTF-16 units beyond it are never changed or taken for a blank.
#include <algorithm>
#include <string_view>

namespace halvern {

// A blank or a control character: every unit up to 32, as a typed name or number is trimmed.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// The text without the blanks and control characters at both ends.
constexpr std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

// An ASCII letter in the other case; any other unit (char or wchar_t) as it is.
template <typename Unit>
constexpr Unit AsciiUpper(Unit c) {
    return c >= 'a' && c <= 'z' ? static_cast<Unit>(c - 'a' + 'A') : c;
}
template <typename Unit>
constexpr Unit AsciiLower(Unit c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Unit>(c - 'A' + 'a') : c;
}

// True when the two texts differ at most in the case of ASCII letters ("Fam" and "FAM").
constexpr bool EqualsIgnoringAsciiCase(std::string_view first, std::string_view second) {
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

}  // namespace halvern
