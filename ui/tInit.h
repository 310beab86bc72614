#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace halvern {

// The first part of the main window's first activation: sizes the status panels and shows their
// defaults, settles ProgramDir from programFile (the program file's full path), and makes the
// help file beside the program the application's help file when it exists.
void InitialiseProgram(HWND statusBar, const std::string& programFile);

// The full path of the running program file, in UTF-8.
std::string ProgramFileName();

}  // namespace halvern
