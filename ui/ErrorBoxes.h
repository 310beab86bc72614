#pragma once
#include <windows.h>

#include <string_view>

namespace halvern {

// The two kinds of message box the program shows, both modal with the application's title as
// caption and one OK button: the standard box for a command that stops, and the error box of
// the top-level handler.
inline constexpr UINT kStandardBoxStyle = MB_OK;
inline constexpr UINT kErrorBoxStyle = MB_OK | MB_ICONERROR;

// A message box with the application's title, text in UTF-8 (a file name in it shows as it is);
// returns what MessageBoxW returns.
int ProgramMessageBox(HWND owner, std::string_view text, UINT style);

// The top-level error box for an error's text: "." added as TopLevelErrorText does.
int ShowErrorBox(HWND owner, std::string_view errorText);

}  // namespace halvern
