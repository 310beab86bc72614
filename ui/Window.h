#pragma once
#include <windows.h>

#include <string>

namespace halvern {

// The base of the program's top-level windows. A window class registered with WindowProcedure
// finds its object through GWLP_USERDATA (set when WM_NCCREATE arrives) and hands every message
// to HandleMessage. No exception leaves the window procedure: one that reaches it is shown by
// ShowUncaughtError, and the window goes on.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // Ends the window now (the object stays and could create a new one).
    void Destroy() noexcept;

    // The procedure to register for a window class whose windows are created by CreateHandle.
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Creates the window of a class registered with WindowProcedure, bound to this object.
    // Throws std::system_error with the system's code when the window cannot be created.
    void CreateHandle(DWORD exStyle, const char* className, const char* caption, DWORD style, const RECT& box,
                      HWND owner, HINSTANCE instance);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Shows the text of an exception that no handler caught; the program's top-level error box.
    virtual void ShowUncaughtError(const std::string& text);

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

private:
    LRESULT GuardedHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_ = nullptr;
};

// Registers a window class once per process; later calls with the same name do nothing.
// Throws std::system_error when registering fails for another reason.
void RegisterWindowClass(const WNDCLASSEXA& windowClass);

// The text of a window (caption or control text), as 8-bit text.
std::string WindowText(HWND window);

}  // namespace halvern
