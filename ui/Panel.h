#pragma once
#include <windows.h>

namespace halvern {

// The edges a panel draws along its border (DrawEdge flags); kNoBevel draws none.
inline constexpr UINT kRaisedBevel = BDR_RAISEDINNER;
inline constexpr UINT kLoweredFrameBevel = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT kNoBevel = 0;

// A panel: a plain child area with a bevel along its edges that holds other controls. What its
// controls tell their parent (WM_COMMAND, WM_NOTIFY, and WM_CTLCOLORSTATIC, whose colours the
// window decides) goes on to the panel's own parent, so the window hears its controls through
// any depth of panels. Throws std::system_error when the panel cannot be made.
HWND CreatePanel(HWND parent, const RECT& box, HINSTANCE instance, UINT bevel = kRaisedBevel);

}  // namespace halvern
