#include "ui/Panel.h"

#include "ui/GdiScopes.h"
#include "ui/LastError.h"
#include "ui/Window.h"

namespace halvern {

namespace {

constexpr char kPanelClass[] = "THalvernPanel";

LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
        return SendMessageA(GetParent(panel), message, wParam, lParam);
    case WM_PAINT: {
        const PaintScope paint(panel);
        // The bevel was stored with the panel when it was made.
        if (const auto bevel = static_cast<UINT>(GetWindowLongPtrA(panel, GWLP_USERDATA)); bevel != kNoBevel) {
            RECT area;
            GetClientRect(panel, &area);
            DrawEdge(paint.Dc(), &area, bevel, BF_RECT);
        }
        return 0;
    }
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

}  // namespace

HWND CreatePanel(HWND parent, const RECT& box, HINSTANCE instance, UINT bevel) {
    RegisterWindowClass(ProgramWindowClass(kPanelClass, instance, PanelProcedure));
    // Not clipping its children: a group box paints only its frame and relies on the panel
    // having painted the background beneath it.
    const HWND panel = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_VISIBLE, box.left, box.top,
                                       box.right - box.left, box.bottom - box.top, parent, nullptr, instance, nullptr);
    if (panel == nullptr) ThrowLastError(kPanelClass);
    SetWindowLongPtrA(panel, GWLP_USERDATA, static_cast<LONG_PTR>(bevel));
    return panel;
}

}  // namespace halvern
