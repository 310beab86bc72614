#include "ui/Controls.h"

#include <string>

#include "base/WideText.h"
#include "ui/GdiScopes.h"
#include "ui/LastError.h"

namespace halvern {

UniqueFont CreateProgramFont(int dpi, bool bold) {
    UniqueFont font(CreateFontA(-layout::Scale(layout::kFontHeight, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                                FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, layout::kFontFace));
    if (!font) ThrowLastError("CreateFontA");
    return font;
}

RECT ScaledRect(const layout::Box& box, int dpi) {
    const int left = layout::Scale(box.left, dpi);
    const int top = layout::Scale(box.top, dpi);
    return {left, top, left + layout::Scale(box.width, dpi), top + layout::Scale(box.height, dpi)};
}

void PlaceControl(HWND control, const RECT& box) {
    SetWindowPos(control, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

int FontLineHeight(HFONT font) {
    const ScreenDc screen = GetScreenDc();
    const SelectedObject selected(screen.get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.get(), &metrics);
    return metrics.tmHeight;
}

int TextWidth(HFONT font, std::string_view text) {
    const ScreenDc screen = GetScreenDc();
    const SelectedObject selected(screen.get(), font);
    SIZE size{};
    const std::wstring wide = WideFromUtf8(text);
    GetTextExtentPoint32W(screen.get(), wide.data(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

HWND CreateControl(const char* className, const char* text, DWORD style, DWORD exStyle, const RECT& box,
                   HWND parent, int id, HFONT font) {
    const HWND control = CreateWindowExW(exStyle, WideFromUtf8(className).c_str(), WideFromUtf8(text).c_str(),
                                         style | WS_CHILD | WS_VISIBLE, box.left, box.top, box.right - box.left,
                                         box.bottom - box.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                                         nullptr);
    if (control == nullptr) ThrowLastError(className);
    if (font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace halvern
