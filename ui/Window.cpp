#include "ui/Window.h"

#include <exception>
#include <system_error>

#include "ui/ErrorBoxes.h"

namespace halvern {

Window::~Window() { Destroy(); }

void Window::Destroy() noexcept {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

void Window::CreateHandle(DWORD exStyle, const char* className, const char* caption, DWORD style,
                          const RECT& box, HWND owner, HINSTANCE instance) {
    const HWND created = CreateWindowExA(exStyle, className, caption, style, box.left, box.top,
                                         box.right - box.left, box.bottom - box.top, owner, nullptr, instance, this);
    if (created == nullptr) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), className);
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

void Window::ShowUncaughtError(const std::string& text) { ShowErrorBox(hwnd_, text); }

LRESULT Window::GuardedHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        try {
            ShowUncaughtError(error.what());
        } catch (...) {
            // Nothing more can be told; the window goes on.
        }
    } catch (...) {
        try {
            ShowUncaughtError({});
        } catch (...) {
        }
    }
    return 0;
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

void RegisterWindowClass(const WNDCLASSEXA& windowClass) {
    if (RegisterClassExA(&windowClass) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) {
            throw std::system_error(static_cast<int>(error), std::system_category(), windowClass.lpszClassName);
        }
    }
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace halvern
