#include "ui/zxInfoTool.h"

#include <array>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "base/UniqueRes.h"
#include "platform/zxReg.h"
#include "ui/Dpi.h"
#include "ui/zxInfoToolLayout.h"

namespace halvern {
namespace {

namespace box = layout::info_dialog;

constexpr char kDialogClass[] = "TfrmzxInfoTool";
constexpr char kPanelClass[] = "TzxInfoPanel";
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

// A panel's bevel: lowered outside, raised inside.
constexpr UINT kPanelBevel = BDR_SUNKENOUTER | BDR_RAISEDINNER;

using UniqueFont = UniqueRes<HFONT, &DeleteObject>;

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

[[noreturn]] void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

UniqueFont MakeFont(const char* face, int points, int dpi, int weight, bool italic, BYTE charset) {
    // A font that cannot be made leaves the control with the system font.
    return UniqueFont(CreateFontA(-layout::Scale(box::PointsToPixels(points), dpi), 0, 0, 0, weight, italic, FALSE,
                                  FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterClasses(HINSTANCE instance) {
    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    const auto registerClass = [&](const char* name, WNDPROC procedure) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = arrow;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = name;
        if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            ThrowLastError(name);
        }
    };
    registerClass(kDialogClass, DialogProcedure);
    registerClass(kPanelClass, PanelProcedure);
}

// The one information dialog of the program.
class InfoDialog {
public:
    explicit InfoDialog(HINSTANCE instance);
    ~InfoDialog();
    InfoDialog(const InfoDialog&) = delete;
    InfoDialog& operator=(const InfoDialog&) = delete;

    HWND Window() const { return window_; }
    HWND Control(InfoControl control) const;
    COLORREF LogoColour() const { return logoColour_; }
    int Dpi() const { return dpi_; }

    void ShowModal(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int Px(int pixels) const { return layout::Scale(pixels, dpi_); }
    HWND CreatePanel(HWND parent, bool bevelled, HINSTANCE instance) const;
    HWND CreateChild(const char* className, const char* text, DWORD style, HWND parent, InfoControl id) const;
    void Place(HWND control, const layout::Box& where) const;
    // Fonts, boxes and frame for dpi_; the frame moves to the top left corner of suggestedFrame
    // when there is one.
    void LayOut(const RECT* suggestedFrame);
    std::array<UniqueFont, static_cast<std::size_t>(FontKind::Count)> MakeFonts() const;
    void Remember(InfoControl id, HWND control) {
        controls_[static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(kFirstControl))] = control;
    }
    HFONT Font(FontKind kind) const { return fonts_[static_cast<std::size_t>(kind)].get(); }

    void CentreOnScreen() const;
    void FormActivate();
    void FillInformationLabels() const;
    void PlaceLogo(int top);
    void SetLogoFont(FontKind kind);
    void PauseAfterStep() const;
    void Close() { modalResult_ = IDCANCEL; }

    int dpi_;
    std::array<UniqueFont, static_cast<std::size_t>(FontKind::Count)> fonts_;
    UniqueFont buttonFont_;
    HWND window_ = nullptr;
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
    bool placed_ = false;
    bool showing_ = false;
    int modalResult_ = 0;
};

InfoDialog* DialogOf(HWND window) {
    return reinterpret_cast<InfoDialog*>(GetWindowLongPtrA(GetAncestor(window, GA_ROOT), GWLP_USERDATA));
}

InfoDialog::InfoDialog(HINSTANCE instance) : dpi_(ScreenDpi()) {
    RegisterClasses(instance);

    // Made at the screen's dots per inch, then laid out for those of the monitor it opened on.
    const SIZE frame = FrameSizeForClient(Px(box::kClientWidth), Px(box::kClientHeight), kDialogStyle,
                                          kDialogExStyle, dpi_);
    window_ = CreateWindowExA(kDialogExStyle, kDialogClass, kCaption, kDialogStyle, 0, 0, frame.cx, frame.cy, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr) ThrowLastError(kDialogClass);
    dpi_ = WindowDpi(window_);

    infoPanel_ = CreatePanel(window_, false, instance);
    programPanel_ = CreatePanel(infoPanel_, true, instance);
    makerPanel_ = CreatePanel(infoPanel_, true, instance);
    for (const LabelSpec& label : kLabels) {
        Remember(label.id, CreateChild("STATIC", label.caption, SS_CENTER | SS_NOPREFIX,
                                       label.inMakerPanel ? makerPanel_ : programPanel_, label.id));
    }
    logo_ = Control(InfoControl::Logo);
    closeButton_ = CreateChild("BUTTON", "Sluiten", BS_PUSHBUTTON | WS_TABSTOP, infoPanel_, InfoControl::CloseButton);
    Remember(InfoControl::CloseButton, closeButton_);
    LayOut(nullptr);
}

InfoDialog::~InfoDialog() {
    if (window_ != nullptr) DestroyWindow(window_);
}

std::array<UniqueFont, static_cast<std::size_t>(FontKind::Count)> InfoDialog::MakeFonts() const {
    std::array<UniqueFont, static_cast<std::size_t>(FontKind::Count)> fonts;
    fonts[static_cast<std::size_t>(FontKind::Label)] =
        MakeFont(box::kLabelFace, box::kLabelPoints, dpi_, FW_NORMAL, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::LabelBold)] =
        MakeFont(box::kLabelFace, box::kLabelPoints, dpi_, FW_BOLD, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::MakerName)] =
        MakeFont(box::kLabelFace, box::kMakerNamePoints, dpi_, FW_NORMAL, false, DEFAULT_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::LogoAtRest)] =
        MakeFont(box::kLogoRestFace, box::kLogoRestPoints, dpi_, FW_NORMAL, true, ANSI_CHARSET);
    fonts[static_cast<std::size_t>(FontKind::Logo)] =
        MakeFont(box::kLogoFace, box::kLogoPoints, dpi_, FW_BOLD, true, DEFAULT_CHARSET);
    return fonts;
}

void InfoDialog::LayOut(const RECT* suggestedFrame) {
    // The new fonts go to every control before the old ones are deleted.
    auto fonts = MakeFonts();
    UniqueFont buttonFont = MakeFont(box::kLabelFace, box::kLabelPoints, dpi_, FW_BOLD, false, DEFAULT_CHARSET);
    const auto fontOf = [&fonts](FontKind kind) { return fonts[static_cast<std::size_t>(kind)].get(); };
    for (const LabelSpec& label : kLabels) {
        const HWND control = Control(label.id);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control == logo_ ? logoFont_ : label.font)),
                     TRUE);
    }
    SendMessageA(closeButton_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont.get()), TRUE);
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

    FitFrameToClient(window_, Px(box::kClientWidth), Px(box::kClientHeight), dpi_, suggestedFrame);
    InvalidateRect(window_, nullptr, TRUE);
}

HWND InfoDialog::CreatePanel(HWND parent, bool bevelled, HINSTANCE instance) const {
    const HWND panel = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                       nullptr, instance, nullptr);
    if (panel == nullptr) ThrowLastError(kPanelClass);
    SetWindowLongPtrA(panel, GWLP_USERDATA, bevelled ? 1 : 0);
    return panel;
}

HWND InfoDialog::CreateChild(const char* className, const char* text, DWORD style, HWND parent,
                             InfoControl id) const {
    const HWND control =
        CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (control == nullptr) ThrowLastError(className);
    return control;
}

void InfoDialog::Place(HWND control, const layout::Box& where) const {
    SetWindowPos(control, nullptr, Px(where.left), Px(where.top), Px(where.width), Px(where.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND InfoDialog::Control(InfoControl control) const {
    const auto index = static_cast<std::size_t>(static_cast<int>(control) - static_cast<int>(kFirstControl));
    return index < controls_.size() ? controls_[index] : nullptr;
}

void InfoDialog::CentreOnScreen() const {
    RECT frame;
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InfoDialog::ShowModal(HWND owner) {
    if (showing_) return;
    showing_ = true;
    SetWindowLongPtrA(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (!placed_) {
        CentreOnScreen();
        placed_ = true;
    }
    // Made, or last shown, on another monitor than the one it now opens on.
    if (const int dpi = WindowDpi(window_); dpi != dpi_) {
        dpi_ = dpi;
        LayOut(nullptr);
    }
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);

    modalResult_ = 0;
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetFocus(closeButton_);
    FormActivate();

    MSG message{};
    bool quit = false;
    while (modalResult_ == 0) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1) break;
        if (!IsDialogMessageA(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // The owner is enabled before the dialog hides, so that it gets the activation back.
    if (disableOwner) EnableWindow(owner, TRUE);
    ShowWindow(window_, SW_HIDE);
    showing_ = false;
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
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
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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

LRESULT InfoDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == static_cast<WORD>(InfoControl::CloseButton) && HIWORD(wParam) == BN_CLICKED) {
            Close();  // bbtnSluitenClick
        } else if (LOWORD(wParam) == IDOK && GetFocus() == closeButton_) {
            Close();  // Enter on the focused button
        }
        return 0;
    case WM_CLOSE:
        return 0;  // "Sluiten" is the only way out
    case WM_HELP:
        return TRUE;  // no help context: F1 does nothing here
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(closeButton_);
        return 0;
    case WM_DPICHANGED:
        dpi_ = DpiOfChange(wParam);
        LayOut(reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

std::unique_ptr<InfoDialog>& Instance() {
    static std::unique_ptr<InfoDialog> dialog;  // frmzxInfoTool
    return dialog;
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    InfoDialog* const dialog = reinterpret_cast<InfoDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    // Until CreateWindowExA has returned, the object does not know its window yet.
    if (dialog == nullptr || dialog->Window() != window) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return SendMessageA(GetParent(panel), message, wParam, lParam);
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const InfoDialog* const dialog = DialogOf(panel);
        const bool isLogo = dialog != nullptr && reinterpret_cast<HWND>(lParam) == dialog->Control(InfoControl::Logo);
        SetTextColor(dc, isLogo ? dialog->LogoColour() : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(panel, &paint);
        if (GetWindowLongPtrA(panel, GWLP_USERDATA) != 0) {
            RECT area;
            GetClientRect(panel, &area);
            DrawEdge(dc, &area, kPanelBevel, BF_RECT);
        }
        EndPaint(panel, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

}  // namespace

void CreateInfoDialog(HINSTANCE instance) { Instance() = std::make_unique<InfoDialog>(instance); }

void ShowInfoDialog(HWND owner) {
    if (const auto& dialog = Instance()) dialog->ShowModal(owner);
}

void DestroyInfoDialog() { Instance().reset(); }

HWND InfoDialogWindow() {
    const auto& dialog = Instance();
    return dialog ? dialog->Window() : nullptr;
}

HWND InfoDialogControl(InfoControl control) {
    const auto& dialog = Instance();
    return dialog ? dialog->Control(control) : nullptr;
}

void SetLogoPauseForTesting(std::function<void(DWORD)> pause) { LogoPause() = std::move(pause); }

}  // namespace halvern
