#include "ui/Controls.h"

#include <string>
#include <system_error>

#include "ui/Window.h"

namespace halvern {

namespace {

constexpr char kPanelClass[] = "THalvernPanel";

[[noreturn]] void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageA(GetParent(panel), message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(panel, &paint);
        RECT area;
        GetClientRect(panel, &area);
        DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
        EndPaint(panel, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

void RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXA panelClass{};
    panelClass.cbSize = sizeof panelClass;
    panelClass.lpfnWndProc = PanelProcedure;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = kPanelClass;
    RegisterWindowClass(panelClass);
}

}  // namespace

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
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

int TextWidth(HFONT font, std::string_view text) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

HWND CreateControl(const char* className, const char* text, DWORD style, DWORD exStyle, const RECT& box,
                   HWND parent, int id, HFONT font) {
    const HWND control = CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, box.left, box.top,
                                         box.right - box.left, box.bottom - box.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                                         nullptr);
    if (control == nullptr) ThrowLastError(className);
    if (font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND CreatePanel(HWND parent, const RECT& box, HINSTANCE instance) {
    RegisterPanelClass(instance);
    // Not clipping its children: a group box paints only its frame and relies on the panel
    // having painted the background beneath it.
    const HWND panel = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "",
                                       WS_CHILD | WS_VISIBLE, box.left, box.top,
                                       box.right - box.left, box.bottom - box.top, parent, nullptr, instance, nullptr);
    if (panel == nullptr) ThrowLastError(kPanelClass);
    return panel;
}

}  // namespace halvern
