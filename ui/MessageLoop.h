#pragma once
#include <windows.h>

namespace halvern {

class TfrmHalvern;

// Hands one message of the program's main loop on: the main window's shortcut keys first, then
// the usual translation and dispatch.
void DispatchProgramMessage(MSG& message, TfrmHalvern& mainWindow);

// Runs the program's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop(TfrmHalvern& mainWindow);

}  // namespace halvern
