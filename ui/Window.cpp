#include "ui/Window.h"

#include <exception>
#include <utility>

#include "base/WideText.h"
#include "ui/Dpi.h"
#include "ui/ErrorBoxes.h"
#include "ui/LastError.h"
#include "ui/tVars.h"

namespace halvern {

// By the time this runs the derived part of the object is gone; a message handled now would
// reach a half-destroyed object. So the window is cut loose first: with GWLP_USERDATA cleared,
// WindowProcedure hands whatever the window hears on its way out (WM_DESTROY, WM_NCDESTROY, the
// end of its children) to DefWindowProc. A window that has to hear its own end (the main window
// ends the message loop on WM_DESTROY) calls Destroy() in its own destructor, while it is whole.
Window::~Window() {
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(hwnd_, nullptr));
}

void Window::Destroy() noexcept {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

void Window::CreateHandle(DWORD exStyle, const char* className, const char* caption, DWORD style, int clientWidth,
                          int clientHeight, HWND owner, HINSTANCE instance) {
    // Made at the screen's dots per inch, then laid out by the caller for those of the monitor it
    // opened on.
    dpi_ = ScreenDpi();
    const SIZE frame = FrameSizeForClient(layout::Scale(clientWidth, dpi_), layout::Scale(clientHeight, dpi_), style,
                                          exStyle, dpi_);
    const HWND created = CreateWindowExA(exStyle, className, caption, style, 0, 0, frame.cx, frame.cy, owner,
                                         nullptr, instance, this);
    if (created == nullptr) ThrowLastError(className);
    dpi_ = WindowDpi(created);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

void Window::LayOut(const RECT*) {}

void Window::FollowMonitorDpi() {
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
        dpi_ = dpi;
        LayOut(nullptr);
    }
}

void Window::CentreOnScreenOnce() {
    if (centred_) return;
    centred_ = true;
    RECT box{};
    GetWindowRect(hwnd_, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ShowUncaughtError(const std::string& text) { ShowErrorBox(hwnd_, text); }

LRESULT Window::GuardedHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_DPICHANGED) {
            // Moved to a monitor with other dots per inch (or the setting changed): fonts, boxes
            // and the frame follow, the frame at the place Windows suggests.
            dpi_ = DpiOfChange(wParam);
            LayOut(reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        return HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportUncaught(error.what());
    } catch (...) {
        ReportUncaught("");
    }
    return 0;
}

void Window::ReportUncaught(const char* text) noexcept {
    try {
        ShowUncaughtError(text);
        return;
    } catch (...) {
        // The window's own report failed (out of memory, say): the plain error box below.
    }
    MessageBoxA(hwnd_, text, ApplicationTitle, kErrorBoxStyle);
}

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);

    const LRESULT result = self->GuardedHandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

WNDCLASSEXA ProgramWindowClass(const char* className, HINSTANCE instance, WNDPROC procedure) noexcept {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return windowClass;
}

void RegisterWindowClass(const WNDCLASSEXA& windowClass) {
    if (RegisterClassExA(&windowClass) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) {
            throw std::system_error(static_cast<int>(error), std::system_category(), windowClass.lpszClassName);
        }
    }
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Utf8FromWide(text);
}

void SetWindowTextUtf8(HWND window, std::string_view text) { SetWindowTextW(window, WideFromUtf8(text).c_str()); }

}  // namespace halvern
