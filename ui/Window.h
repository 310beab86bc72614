#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/Layout.h"

namespace halvern {

// The base of the program's top-level windows. A window class registered with WindowProcedure
// finds its object through GWLP_USERDATA (set when WM_NCCREATE arrives) and hands every message
// to HandleMessage, except WM_DPICHANGED, which the base turns into LayOut for the new dots per
// inch. No exception leaves the window procedure: one that reaches it is shown by
// ShowUncaughtError, and the window goes on.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys a window that is still there, cut loose from this object first (see Window.cpp).
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // The dots per inch the window is laid out for.
    int Dpi() const noexcept { return dpi_; }

    // Ends the window now, with every message on the way out handled by this object (the object
    // stays and could create a new one).
    void Destroy() noexcept;

    // The procedure to register for a window class whose windows are created by CreateHandle.
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Creates the window of a class registered with WindowProcedure, bound to this object, with a
    // client area of clientWidth x clientHeight (pixels at 96 dots per inch) at the screen's dots
    // per inch. Afterwards Dpi() is that of the monitor it opened on; the caller makes the
    // controls and lays them out. Throws std::system_error when the window cannot be created.
    void CreateHandle(DWORD exStyle, const char* className, const char* caption, DWORD style, int clientWidth,
                      int clientHeight, HWND owner, HINSTANCE instance);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Fonts, boxes and frame for Dpi(); the frame moves to the top left corner of suggestedFrame
    // when there is one. Called on WM_DPICHANGED and by FollowMonitorDpi.
    virtual void LayOut(const RECT* suggestedFrame);

    // Lays the window out again when it now stands on a monitor with other dots per inch than it
    // was laid out for (made, or last shown, on another monitor).
    void FollowMonitorDpi();

    // Centres the frame on the screen the first time it is called; later calls leave the window
    // where the user put it.
    void CentreOnScreenOnce();

    // Shows the text of an exception that no handler caught: the program's top-level error box.
    virtual void ShowUncaughtError(const std::string& text);

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

private:
    LRESULT GuardedHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void ReportUncaught(const char* text) noexcept;

    HWND hwnd_ = nullptr;
    int dpi_ = layout::kDesignDpi;
    bool centred_ = false;
};

// A window class of the program: the procedure given, the arrow cursor and the button-face
// background; the caller adds what else it needs and registers it.
WNDCLASSEXA ProgramWindowClass(const char* className, HINSTANCE instance,
                               WNDPROC procedure = &Window::WindowProcedure) noexcept;

// Registers a window class once per process; later calls with the same name do nothing.
// Throws std::system_error when registering fails for another reason.
void RegisterWindowClass(const WNDCLASSEXA& windowClass);

// The text of a window (caption or control text) in UTF-8, and setting it from UTF-8: through the
// wide API, so a control made with it (CreateControl) holds any character.
std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

}  // namespace halvern
