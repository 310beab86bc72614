#pragma once
#include <windows.h>

#include <functional>

namespace halvern {

// The signature of ShellExecuteA.
using ShellOpenFunction = std::function<HINSTANCE(HWND owner, const char* verb, const char* file,
                                                  const char* parameters, const char* folder, int show)>;

// For tests: while set, the hand-over of OpenMailProgram and OpenHomepage goes to this function
// instead of ShellExecuteA. An empty function restores the real one. Returns the function set before.
ShellOpenFunction ReplaceShellOpenForTesting(ShellOpenFunction replacement);

}  // namespace halvern
