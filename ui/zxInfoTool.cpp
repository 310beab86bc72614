#include "ui/zxInfoTool.h"

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "platform/zxReg.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/ModalLoop.h"
#include "ui/Panel.h"
#include "ui/Window.h"
#include "ui/zxInfoToolLayout.h"

namespace halvern {
namespace {

namespace box = layout::info_dialog;

constexpr char kDialogClass[] = "TfrmzxInfoTool";
constexpr char kCaption[] = "Informatie";

// A title bar without buttons or system menu, a single fixed border.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_CONTROLPARENT;

constexpr COLORREF kLogoRisingColour = RGB(0, 128, 128);  // teal
constexpr COLORREF kLogoFinalColour = RGB(0, 0, 255);     // blue

// Where the two records live; the value names are read in the order the labels are filled.
constexpr char kProgramBase[] = "Software\\Zandrix\\Halvern\\5.00\\";
constexpr char kProgramSubKey[] = "Programma";
constexpr char kMakerBase[] = "Software\\Zandrix\\";
constexpr char kMakerSubKey[] = "";

enum class FontKind { Label, LabelBold, MakerName, LogoAtRest, Logo, Count };

struct LabelSpec {
    InfoControl id;
    bool inMakerPanel;
    layout::Box box;
    FontKind font;
    const char* caption;
};

constexpr std::array<LabelSpec, 9> kLabels{{
    {InfoControl::ProgramName, false, box::kProgramName, FontKind::LabelBold, "Programma naam"},
    {InfoControl::VersionNumber, false, box::kVersionNumber, FontKind::Label, "Versie nummer"},
    {InfoControl::VersionDate, false, box::kVersionDate, FontKind::Label, "Versie datum"},
    {InfoControl::MakerHeading, true, box::kMakerHeading, FontKind::LabelBold, "Inlichtingen bij :"},
    {InfoControl::MakerName, true, box::kMakerName, FontKind::MakerName, ""},
    {InfoControl::MakerAddress, true, box::kMakerAddress, FontKind::Label, ""},
    {InfoControl::MakerPlace, true, box::kMakerPlace, FontKind::Label, ""},
    {InfoControl::MakerTelephone, true, box::kMakerTelephone, FontKind::Label, ""},
    {InfoControl::Logo, true, box::kLogoAtRest, FontKind::LogoAtRest, "Zandrix"},
}};

constexpr InfoControl kFirstControl = InfoControl::ProgramName;
constexpr std::size_t kControlCount =
    static_cast<std::size_t>(static_cast<int>(InfoControl::CloseButton) - static_cast<int>(kFirstControl) + 1);

std::function<void(DWORD)>& LogoPause() {
    static std::function<void(DWORD)> pause;
    return pause;
}

UniqueFont MakeFont(const char* face, int points, int dpi, int weight, bool italic, BYTE charset) {
    // A font that cannot be made leaves the control with the system font.
    return UniqueFont(CreateFontA(-layout::Scale(box::PointsToPixels(points), dpi), 0, 0, 0, weight, italic, FALSE,
                                  FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

// The one information dialog of the program (frmzxInfoTool).
class InfoDialog final : public Window {
public:
    explicit InfoDialog(HINSTANCE instance);

    HWND Control(InfoControl control) const;
    void ShowModal(HWND owner);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayOut(const RECT* suggestedFrame) override;

private:
    using Fonts = std::array<UniqueFont, static_cast<std::size_t>(FontKind::Count)>;

    void Place(HWND control, const layout::Box& where) const { PlaceControl(control, ScaledRect(where, Dpi())); }
    Fonts MakeFonts() const;
    void Remember(InfoControl id, HWND control) {
        controls_[static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(kFirstControl))] = control;
    }
    HFONT Font(FontKind kind) const { return fonts_[static_cast<std::size_t>(kind)].get(); }

    void FormActivate();
    void FillInformationLabels() const;
    void PlaceLogo(int top);
    void SetLogoFont(FontKind kind);
    void PauseAfterStep() const;
    LRESULT LabelColours(HDC dc, HWND label) const;

    Fonts fonts_;
    UniqueFont buttonFont_;
    HWND infoPanel_ = nullptr;     // pnlInfo, the whole client area
    HWND programPanel_ = nullptr;  // pnlProgramma
    HWND makerPanel_ = nullptr;    // pnlCopyRight
    std::array<HWND, kControlCount> controls_{};
    HWND logo_ = nullptr;
    // Where the logo stands (at 96 dots per inch) and its font: they change with the animation,
    // and a change of dots per inch must keep them.
    layout::Box logoBox_ = box::kLogoAtRest;
    FontKind logoFont_ = FontKind::LogoAtRest;
    HWND closeButton_ = nullptr;
    COLORREF logoColour_ = GetSysColor(COLOR_WINDOWTEXT);
    ModalLoop modal_;
};

InfoDialog::InfoDialog(HINSTANCE instance) {
    RegisterWindowClass(ProgramWindowClass(kDialogClass, instance));
    CreateHandle(kDialogExStyle, kDialogClass, kCaption, kDialogStyle, box::kClientWidth, box::kClientHeight, nullptr,
                 instance);

    // Every box and font is set by LayOut, for the dialog's dots per inch.
    constexpr RECT kLaidOutLater{};
    infoPanel_ = CreatePanel(Handle(), kLaidOutLater, instance, kNoBevel);
    programPanel_ = CreatePanel(infoPanel_, kLaidOutLater, instance, kLoweredFrameBevel);
    makerPanel_ = CreatePanel(infoPanel_, kLaidOutLater, instance, kLoweredFrameBevel);
    for (const LabelSpec& label : kLabels) {
        Remember(label.id, CreateControl("STATIC", label.caption, SS_CENTER | SS_NOPREFIX, 0, kLaidOutLater,
                                         label.inMakerPanel ? makerPanel_ : programPanel_, static_cast<int>(label.id),
                                         nullptr));
    }
    logo_ = Control(InfoControl::Logo);
    closeButton_ = CreateControl("BUTTON", "Sluiten", BS_PUSHBUTTON | WS_TABSTOP, 0, kLaidOutLater, infoPanel_,
                                 static_cast<int>(InfoControl::CloseButton), nullptr);
    Remember(InfoControl::CloseButton, closeButton_);
    LayOut(nullptr);
}

InfoDialog::Fonts InfoDialog::MakeFonts() const {
    const int dpi = Dpi();
    Fonts fonts;
    fonts[static_cast<std::size_t>(FontKind::Label)] =
        MakeFont(box::kLabelFace, box::kLabelPoints, dpi, FW_NORMAL, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::LabelBold)] =
        MakeFont(box::kLabelFace, box::kLabelPoints, dpi, FW_BOLD, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::MakerName)] =
        MakeFont(box::kLabelFace, box::kMakerNamePoints, dpi, FW_NORMAL, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::LogoAtRest)] =
        MakeFont(box::kLogoRestFace, box::kLogoRestPoints, dpi, FW_NORMAL, true, ANSI_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::Logo)] =
        MakeFont(box::kLogoFace, box::kLogoPoints, dpi, FW_BOLD, true, DEFAULT_CHARSET);
    return fonts;
}

void InfoDialog::LayOut(const RECT* suggestedFrame) {
    // The new fonts go to every control before the old ones are deleted.
    Fonts fonts = MakeFonts();
    UniqueFont buttonFont = MakeFont(box::kLabelFace, box::kLabelPoints, Dpi(), FW_BOLD, false, DEFAULT_CHARSET);
    for (const LabelSpec& label : kLabels) {
        const HWND control = Control(label.id);
        SetControlFont(control, fonts[static_cast<std::size_t>(control == logo_ ? logoFont_ : label.font)].get());
    }
    SetControlFont(closeButton_, buttonFont.get());
    fonts_ = std::move(fonts);
    buttonFont_ = std::move(buttonFont);

    Place(infoPanel_, {0, 0, box::kClientWidth, box::kClientHeight});
    Place(programPanel_, box::kProgramPanel);
    Place(makerPanel_, box::kMakerPanel);
    for (const LabelSpec& label : kLabels) {
        if (label.id != InfoControl::Logo) Place(Control(label.id), label.box);
    }
    Place(logo_, logoBox_);
    Place(closeButton_, box::kCloseButton);

    FitFrameToClient(Handle(), layout::Scale(box::kClientWidth, Dpi()), layout::Scale(box::kClientHeight, Dpi()),
                     Dpi(), suggestedFrame);
    InvalidateRect(Handle(), nullptr, TRUE);
}

HWND InfoDialog::Control(InfoControl control) const {
    const auto index = static_cast<std::size_t>(static_cast<int>(control) - static_cast<int>(kFirstControl));
    return index < controls_.size() ? controls_[index] : nullptr;
}

void InfoDialog::ShowModal(HWND owner) {
    if (modal_.Running()) return;
    SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    CentreOnScreenOnce();
    FollowMonitorDpi();
    modal_.Run(Handle(), owner,
               [this] {
                   UpdateWindow(Handle());
                   SetFocus(closeButton_);
                   FormActivate();
               },
               {});
}

// Runs once per showing, after the dialog has become visible and before it handles any input.
void InfoDialog::FormActivate() {
    FillInformationLabels();

    PlaceLogo(box::kLogoStart.top);
    SetLogoFont(FontKind::Logo);
    logoColour_ = kLogoRisingColour;

    // The thread stays here until the logo has risen: input waits in the queue, and only the
    // forced repaints reach the screen.
    for (int step = 1; step <= box::kLogoStepCount; ++step) {
        PlaceLogo(box::kLogoStart.top - step * box::kLogoStep);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PauseAfterStep();
    }

    logoColour_ = kLogoFinalColour;
    InvalidateRect(logo_, nullptr, TRUE);
}

void InfoDialog::FillInformationLabels() const {
    const TRegRead reader;
    const auto read = [&reader](const char* base, const char* subKey, const char* name) {
        std::string value;
        reader.ReadValue(HKEY_CURRENT_USER, base, subKey, name, value);
        return value;
    };
    const auto show = [this](InfoControl control, const std::string& text) {
        SetWindowTextA(Control(control), text.c_str());
    };

    show(InfoControl::ProgramName, read(kProgramBase, kProgramSubKey, "Naam"));
    show(InfoControl::VersionNumber, "versie " + read(kProgramBase, kProgramSubKey, "Versie"));
    show(InfoControl::VersionDate, read(kProgramBase, kProgramSubKey, "Datum"));
    show(InfoControl::MakerName, read(kMakerBase, kMakerSubKey, "Naam"));
    show(InfoControl::MakerAddress, read(kMakerBase, kMakerSubKey, "Adres"));
    const std::string postcode = read(kMakerBase, kMakerSubKey, "PostCode");
    const std::string place = read(kMakerBase, kMakerSubKey, "Plaats");
    show(InfoControl::MakerPlace, postcode + "  " + place);
    show(InfoControl::MakerTelephone, read(kMakerBase, kMakerSubKey, "Telefoon"));
    show(InfoControl::Logo, read(kMakerBase, kMakerSubKey, "Logo"));
}

void InfoDialog::PlaceLogo(int top) {
    logoBox_ = {box::kLogoStart.left, top, box::kLogoStart.width, box::kLogoStart.height};
    Place(logo_, logoBox_);
}

void InfoDialog::SetLogoFont(FontKind kind) {
    logoFont_ = kind;
    SendMessageA(logo_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(kind)), FALSE);
}

void InfoDialog::PauseAfterStep() const {
    if (const auto& pause = LogoPause()) {
        pause(box::kLogoPauseMs);
    } else {
        Sleep(box::kLogoPauseMs);
    }
}

LRESULT InfoDialog::LabelColours(HDC dc, HWND label) const {
    SetTextColor(dc, label == logo_ ? logoColour_ : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT InfoDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == static_cast<WORD>(InfoControl::CloseButton) && HIWORD(wParam) == BN_CLICKED) {
            modal_.End(IDCANCEL);  // bbtnSluitenClick
        } else if (LOWORD(wParam) == IDOK && GetFocus() == closeButton_) {
            modal_.End(IDCANCEL);  // Enter on the focused button
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        // From the labels, through their panels.
        return LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        return 0;  // "Sluiten" is the only way out
    case WM_HELP:
        return TRUE;  // no help context: F1 does nothing here
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(closeButton_);
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

std::unique_ptr<InfoDialog>& Instance() {
    static std::unique_ptr<InfoDialog> dialog;  // frmzxInfoTool
    return dialog;
}

}  // namespace

void CreateInfoDialog(HINSTANCE instance) { Instance() = std::make_unique<InfoDialog>(instance); }

void ShowInfoDialog(HWND owner) {
    if (const auto& dialog = Instance()) dialog->ShowModal(owner);
}

void DestroyInfoDialog() { Instance().reset(); }

HWND InfoDialogWindow() {
    const auto& dialog = Instance();
    return dialog ? dialog->Handle() : nullptr;
}

HWND InfoDialogControl(InfoControl control) {
    const auto& dialog = Instance();
    return dialog ? dialog->Control(control) : nullptr;
}

void SetLogoPauseForTesting(std::function<void(DWORD)> pause) { LogoPause() = std::move(pause); }

}  // namespace halvern
