#pragma once
#include <windows.h>

namespace halvern {

// The information dialog: created hidden once at start-up, shown modally by the "Info" command,
// destroyed when the program ends.
void CreateInfoDialog(HINSTANCE instance);
void ShowInfoDialog(HWND owner);
void DestroyInfoDialog();

}  // namespace halvern
