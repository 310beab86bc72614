#pragma once
#include <windows.h>

#include "base/UniqueRes.h"

// Owners for the device contexts and GDI selections of the program's windows: each pair of calls
// (GetDC and ReleaseDC, SelectObject and back, BeginPaint and EndPaint) is closed on every path.
namespace halvern {

inline void ReleaseScreenDc(HDC dc) noexcept { ReleaseDC(nullptr, dc); }

// The device context of the whole screen, for measuring text; empty when it cannot be had.
using ScreenDc = UniqueRes<HDC, &ReleaseScreenDc>;
inline ScreenDc GetScreenDc() noexcept { return ScreenDc(GetDC(nullptr)); }

// Selects an object (a font) into a device context and selects the previous one back when it goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// One WM_PAINT: BeginPaint when made, EndPaint when it goes.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace halvern
