#pragma once
#include <windows.h>

// The dots per inch the program's windows are laid out for. The program declares itself aware of
// each monitor's dots per inch, so every window asks for its own and lays itself out again when
// Windows moves it to a monitor with other dots per inch (WM_DPICHANGED).
namespace halvern {

// The dots per inch of the screen as a whole (the system setting); 96 when it cannot be told.
int ScreenDpi();

// The dots per inch of the monitor window is on. Uses GetDpiForWindow, looked up at run time so
// that the program still starts on Windows versions without it; there, and for a null window,
// the screen's dots per inch.
int WindowDpi(HWND window);

// The dots per inch a WM_DPICHANGED message announces (its wParam holds them twice, x and y).
constexpr int DpiOfChange(WPARAM wParam) { return static_cast<int>(HIWORD(wParam)); }

// The size of a window frame (style and exStyle) around a client area of clientWidth x
// clientHeight, with the frame parts measured at dpi where Windows can tell them
// (AdjustWindowRectExForDpi), otherwise at the screen's dots per inch.
SIZE FrameSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// Gives window the frame size for its client area of clientWidth x clientHeight at dpi. With a
// suggested rectangle (the lParam of WM_DPICHANGED) the frame moves to its top left corner;
// without one it stays where it is.
void FitFrameToClient(HWND window, int clientWidth, int clientHeight, int dpi, const RECT* suggested);

}  // namespace halvern
