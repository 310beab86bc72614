#pragma once
#include <array>

// Every size and position of the program's two windows, in pixels at 96 dots per inch. Positions
// are left and top within the parent window. Nothing here is used unscaled: each number goes
// through Scale() with the dots per inch of the window it is used in.
namespace halvern::layout {

// The dots per inch at which the numbers below hold.
inline constexpr int kDesignDpi = 96;

// A number of pixels at kDesignDpi turned into pixels at dpi (rounded to the nearest pixel).
constexpr int Scale(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDesignDpi : -((-scaled + half) / kDesignDpi));
}

struct Box {
    int left;
    int top;
    int width;
    int height;
};

// The dialog font, "MS Sans Serif" 8 point: 11 pixels high.
inline constexpr int kFontHeight = 11;
inline constexpr char kFontFace[] = "MS Sans Serif";

// A panel paints a one-pixel raised bevel along its edges; what fills a panel lies inside it.
inline constexpr int kPanelBevel = 1;

namespace main_window {
inline constexpr int kClientWidth = 361;
inline constexpr int kClientHeight = 179;

inline constexpr Box kButtonBar{0, 0, 361, 34};       // pnlKnoppenBalk
inline constexpr Box kToolbar{1, 1, 359, 32};          // tbarHalvern, fills the bar inside its bevel
inline constexpr int kToolButtonWidth = 71;
inline constexpr int kToolButtonHeight = 21;
// Separator widths, left to right: before "Openen", "Opslaan", " Uitvoeren " and "Afsluiten".
inline constexpr std::array<int, 4> kSeparatorWidths{8, 18, 18, 18};

inline constexpr Box kWorkPanel{0, 34, 361, 115};      // pnlHalvern
inline constexpr int kLabelOpenLeft = 15;              // lblBestandOpenen (fits its text)
inline constexpr int kLabelOpenTop = 15;
inline constexpr Box kEditOpen{15, 30, 334, 21};       // edtBestandOpenen
inline constexpr int kLabelSaveLeft = 15;              // lblBestandOpslaan (fits its text)
inline constexpr int kLabelSaveTop = 69;
inline constexpr Box kEditSave{15, 84, 334, 21};       // edtBestandOpslaan

inline constexpr Box kStatusPanel{0, 149, 361, 30};    // pnlStatusBalk
inline constexpr Box kStatusBar{1, 1, 359, 28};        // sbarHalvern, fills the panel inside its bevel
inline constexpr int kStatusPartWidth = 123;           // each part until the first activation
}  // namespace main_window

namespace choice_dialog {
inline constexpr int kClientWidth = 168;
inline constexpr int kClientHeight = 202;

inline constexpr Box kChoicePanel{0, 0, 168, 167};     // pnlKeuze
inline constexpr Box kRadioGroup{9, 12, 152, 100};     // rgrpKeuze
inline constexpr Box kNumberLabel{9, 120, 112, 13};    // lblvlgNummer
inline constexpr Box kNumberEdit{9, 135, 152, 21};     // edtvlgNummer

inline constexpr Box kButtonPanel{0, 167, 168, 35};    // pnlKnoppen
inline constexpr Box kRunButton{6, 6, 75, 25};         // bbtnUitvoeren
inline constexpr Box kCancelButton{87, 6, 75, 25};     // bbtnAnnuleren

// The items of the radio group stand in one column inside its frame: 8 from its left edge and 10
// narrower than the frame; the height below the caption line, less 5, is shared out evenly.
inline constexpr int kRadioItemLeft = 8;
inline constexpr int kRadioItemWidthLoss = 10;
inline constexpr int kRadioBottomMargin = 5;
}  // namespace choice_dialog

// The items of a radio group of itemCount items under a caption line textHeight high (all
// numbers already scaled): the box of item index, relative to the group's frame.
constexpr Box RadioItemBox(const Box& group, int textHeight, int itemCount, int index, int dpi) {
    const int spare = group.height - textHeight - Scale(choice_dialog::kRadioBottomMargin, dpi);
    const int itemHeight = spare / itemCount;
    const int top = textHeight + 1 + (spare % itemCount) / 2;
    return {Scale(choice_dialog::kRadioItemLeft, dpi), top + index * itemHeight,
            group.width - Scale(choice_dialog::kRadioItemWidthLoss, dpi), itemHeight};
}

}  // namespace halvern::layout
