#pragma once
// Windows only: the programs hold every text as UTF-8, and the wide Windows API takes and gives
// UTF-16. This is the one place where the one becomes the other.
#include <windows.h>

#include <string>
#include <string_view>

namespace halvern {

// UTF-8 text as UTF-16 for a wide Windows call. A byte that is no UTF-8 becomes U+FFFD.
inline std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength > 0 ? wideLength : 0), L'\0');
    if (wideLength > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

// UTF-16 from a wide Windows call in a code page: CP_UTF8, or CP_ACP where a value must stay in
// the ANSI form (a character the code page lacks becomes what Windows makes of it there).
inline std::string NarrowFromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int textLength = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(textLength > 0 ? textLength : 0), '\0');
    if (textLength > 0) WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), textLength, nullptr, nullptr);
    return text;
}

// UTF-16 from a wide Windows call as UTF-8. A lone surrogate becomes U+FFFD.
inline std::string Utf8FromWide(std::wstring_view wide) { return NarrowFromWide(wide, CP_UTF8); }

}  // namespace halvern
