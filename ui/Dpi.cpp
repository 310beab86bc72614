#include "ui/Dpi.h"

#include "ui/GdiScopes.h"
#include "ui/Layout.h"

namespace halvern {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A function of user32 that older Windows versions lack; null there. Looked up at each use: the
// uses are few (window creation and a change of monitor), and nothing has to be kept.
template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return nullptr;
    // Through void(*)(), the one function pointer type that converts to any other without a
    // warning about the types.
    const auto any = reinterpret_cast<void (*)()>(GetProcAddress(user32, name));
    return reinterpret_cast<Function>(any);
}

}  // namespace

int ScreenDpi() {
    const ScreenDc screen = GetScreenDc();
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : layout::kDesignDpi;
    return dpi > 0 ? dpi : layout::kDesignDpi;
}

int WindowDpi(HWND window) {
    if (window != nullptr) {
        if (const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
            const UINT dpi = getDpiForWindow(window);
            if (dpi > 0) return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}

SIZE FrameSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, clientWidth, clientHeight};
    const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        frame = {0, 0, clientWidth, clientHeight};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void FitFrameToClient(HWND window, int clientWidth, int clientHeight, int dpi, const RECT* suggested) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    const SIZE frame = FrameSizeForClient(clientWidth, clientHeight, style, exStyle, dpi);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (suggested == nullptr) flags |= SWP_NOMOVE;
    const int left = suggested != nullptr ? suggested->left : 0;
    const int top = suggested != nullptr ? suggested->top : 0;
    SetWindowPos(window, nullptr, left, top, frame.cx, frame.cy, flags);

    // The frame measured at dpi is a guess where the window's real frame differs (a theme, an
    // older Windows); the client area itself must come out at its exact size. A minimised window
    // has no client area to measure.
    if (IsIconic(window)) return;
    RECT client{};
    GetClientRect(window, &client);
    const int missingWidth = clientWidth - client.right;
    const int missingHeight = clientHeight - client.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        SetWindowPos(window, nullptr, 0, 0, frame.cx + missingWidth, frame.cy + missingHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace halvern
