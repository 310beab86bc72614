#include "ui/uKeuze.h"

#include <string_view>
#include <utility>

#include "app/RecordChoice.h"
#include "app/StartNumber.h"
#include "platform/HelpSystem.h"
#include "ui/Panel.h"
#include "ui/tVars.h"

namespace halvern {

namespace {

namespace dlg = layout::choice_dialog;

constexpr int kHelpContext = 1000;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr std::array<const char*, TfrmKeuze::kItemCount> kItemCaptions{"INDIvidual", "FAMily", "NOTE", "SOURce"};

bool IsOrIsWithin(HWND window, HWND ancestor) { return window == ancestor || IsChild(ancestor, window); }

}  // namespace

void TfrmKeuze::Create(HINSTANCE instance, HWND owner) {
    RegisterWindowClass(ProgramWindowClass(kClassName, instance));
    if (!askHelp) askHelp = &ApplicationHelpContext;

    ACCEL help{FVIRTKEY, VK_F1, kIdHelp};
    accelerators_.reset(CreateAcceleratorTableA(&help, 1));

    CreateHandle(kExStyle, kClassName, "Keuze", kStyle, dlg::kClientWidth, dlg::kClientHeight, owner, instance);
    CreateComponents(instance);
    LayOut(nullptr);
}

void TfrmKeuze::CreateComponents(HINSTANCE instance) {
    // Every box and font is set by LayOut, for the dialog's dots per inch.
    const HWND form = Handle();
    constexpr RECT kLaidOutLater{};
    pnlKeuze = CreatePanel(form, kLaidOutLater, instance);
    rgrpKeuze = CreateControl("BUTTON", " maak een keuze ", BS_GROUPBOX, 0, kLaidOutLater, pnlKeuze, 0, nullptr);
    for (int item = 0; item < kItemCount; ++item) {
        // Plain radio buttons, checked by this dialog itself: one that only gets the focus is not
        // selected by it, so "no item selected" lasts until the user picks one.
        const DWORD style = BS_RADIOBUTTON | (item == 0 ? WS_GROUP | WS_TABSTOP : 0);
        rgrpKeuzeItems[static_cast<std::size_t>(item)] =
            CreateControl("BUTTON", kItemCaptions[static_cast<std::size_t>(item)], style, 0, kLaidOutLater, pnlKeuze,
                          kIdFirstItem + item, nullptr);
    }
    lblvlgNummer = CreateControl("STATIC", "begin hernummeren bij :", SS_LEFT | SS_NOPREFIX, 0, kLaidOutLater,
                                 pnlKeuze, 0, nullptr);
    edtvlgNummer = CreateControl("EDIT", "", ES_AUTOHSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE, kLaidOutLater,
                                 pnlKeuze, kIdNumberEdit, nullptr);

    pnlKnoppen = CreatePanel(form, kLaidOutLater, instance);
    bbtnUitvoeren = CreateControl("BUTTON", "Uitvoeren", BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, kLaidOutLater,
                                  pnlKnoppen, kIdRun, nullptr);
    bbtnAnnuleren = CreateControl("BUTTON", "Annuleren", BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, kLaidOutLater,
                                  pnlKnoppen, kIdCancel, nullptr);
}

void TfrmKeuze::LayOut(const RECT* suggestedFrame) {
    const int dpi = Dpi();
    // The new fonts go to every control before the old ones are deleted.
    UniqueFont font = CreateProgramFont(dpi, false);
    UniqueFont boldFont = CreateProgramFont(dpi, true);
    SetControlFont(Handle(), font.get());
    SetControlFont(rgrpKeuze, font.get());
    for (const HWND item : rgrpKeuzeItems) SetControlFont(item, font.get());
    SetControlFont(lblvlgNummer, font.get());
    SetControlFont(edtvlgNummer, font.get());
    SetControlFont(bbtnUitvoeren, boldFont.get());
    SetControlFont(bbtnAnnuleren, boldFont.get());
    font_ = std::move(font);
    boldFont_ = std::move(boldFont);

    PlaceControl(pnlKeuze, ScaledRect(dlg::kChoicePanel, dpi));
    const RECT groupBox = ScaledRect(dlg::kRadioGroup, dpi);
    PlaceControl(rgrpKeuze, groupBox);
    const layout::Box group{groupBox.left, groupBox.top, groupBox.right - groupBox.left, groupBox.bottom - groupBox.top};
    const int lineHeight = FontLineHeight(font_.get());
    for (int item = 0; item < kItemCount; ++item) {
        const layout::Box itemBox = layout::RadioItemBox(group, lineHeight, kItemCount, item, dpi);
        PlaceControl(rgrpKeuzeItems[static_cast<std::size_t>(item)],
                     {group.left + itemBox.left, group.top + itemBox.top, group.left + itemBox.left + itemBox.width,
                      group.top + itemBox.top + itemBox.height});
    }
    PlaceControl(lblvlgNummer, ScaledRect(dlg::kNumberLabel, dpi));
    PlaceControl(edtvlgNummer, ScaledRect(dlg::kNumberEdit, dpi));

    PlaceControl(pnlKnoppen, ScaledRect(dlg::kButtonPanel, dpi));
    PlaceControl(bbtnUitvoeren, ScaledRect(dlg::kRunButton, dpi));
    PlaceControl(bbtnAnnuleren, ScaledRect(dlg::kCancelButton, dpi));

    FitFrameToClient(Handle(), layout::Scale(dlg::kClientWidth, dpi), layout::Scale(dlg::kClientHeight, dpi), dpi,
                     suggestedFrame);
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TfrmKeuze::ShowModal(HWND owner) {
    const HWND dialog = Handle();
    if (dialog == nullptr || modal_.Running()) return kResultCancel;
    CentreOnScreenOnce();
    FollowMonitorDpi();
    const auto shown = [dialog] {
        SetActiveWindow(dialog);
        if (const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);
    };
    return modal_.Run(dialog, owner, shown, [this](MSG& message) { return TranslateDialogKeys(message); });
}

bool TfrmKeuze::TranslateDialogKeys(MSG& message) {
    const HWND dialog = Handle();
    if (IsOrIsWithin(message.hwnd, dialog) && TranslateAcceleratorA(dialog, accelerators_.get(), &message)) return true;
    return IsDialogMessageA(dialog, &message) != FALSE;
}

void TfrmKeuze::Close(int result) {
    if (modal_.Running()) {
        modal_.End(result);
    } else {
        ShowWindow(Handle(), SW_HIDE);
    }
}

int TfrmKeuze::SelectedItem() const {
    for (int item = 0; item < kItemCount; ++item) {
        if (SendMessageA(rgrpKeuzeItems[static_cast<std::size_t>(item)], BM_GETCHECK, 0, 0) == BST_CHECKED) return item;
    }
    return kNoItem;
}

void TfrmKeuze::SelectItem(int item) {
    for (int other = 0; other < kItemCount; ++other) {
        SendMessageA(rgrpKeuzeItems[static_cast<std::size_t>(other)], BM_SETCHECK,
                     other == item ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::string TfrmKeuze::NumberText() const { return WindowText(edtvlgNummer); }

LRESULT TfrmKeuze::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id >= kIdFirstItem && id < kIdFirstItem + kItemCount &&
            (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
            SelectItem(id - kIdFirstItem);
        } else if (id == kIdRun && code == BN_CLICKED) {
            Close(kResultRun);
        } else if (id == kIdCancel && code == BN_CLICKED) {
            Close(kResultCancel);
        } else if (id == kIdHelp) {
            askHelp(kHelpContext);
        } else if (id == IDOK) {
            // Enter: neither button is the default, so it presses only the button that has the
            // focus. Escape (IDCANCEL) closes nothing.
            const HWND focus = GetFocus();
            if (focus == bbtnUitvoeren) Close(kResultRun);
            if (focus == bbtnAnnuleren) Close(kResultCancel);
        }
        return 0;
    }
    case WM_CLOSE:
        Close(kResultCancel);
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

void ApplyRecordChoice(const TfrmKeuze& dialog) {
    const RecordChoice choice = RecordChoiceForItem(dialog.SelectedItem());
    RecordTag = choice.tag;
    RecordLetter = choice.letter;
}

std::int32_t ReadStartNumber(const TfrmKeuze& dialog) { return ReadStartNumber(std::string_view(dialog.NumberText())); }

}  // namespace halvern
