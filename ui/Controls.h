#pragma once
#include <windows.h>

#include <string_view>

#include "base/UniqueRes.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"

// Small helpers that build the child controls of the program's windows.
namespace halvern {

using UniqueFont = UniqueRes<HFONT, &DeleteObject>;

// The program's font, "MS Sans Serif" 8 point, at dpi; bold for toolbar and button captions.
// Throws std::system_error when the font cannot be made.
UniqueFont CreateProgramFont(int dpi, bool bold);

// A layout box scaled to dpi, as a RECT within the parent.
RECT ScaledRect(const layout::Box& box, int dpi);

// Moves and sizes a child control to box within its parent (after a change of dots per inch).
void PlaceControl(HWND control, const RECT& box);

// Gives control font and has it drawn again with it.
void SetControlFont(HWND control, HFONT font);

// The height of a line of text in font (the label height of a label that fits its text), and
// the width of text (UTF-8) in it.
int FontLineHeight(HFONT font);
int TextWidth(HFONT font, std::string_view text);

// A child window of a system control class ("STATIC", "EDIT", "BUTTON", a common control) at box
// within parent, with the control id and the font given. Made with the wide API, so it holds any
// text (an edit box any file name); text is UTF-8. Throws std::system_error on failure.
HWND CreateControl(const char* className, const char* text, DWORD style, DWORD exStyle, const RECT& box,
                   HWND parent, int id, HFONT font);

}  // namespace halvern
