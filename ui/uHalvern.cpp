#include "ui/uHalvern.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <array>
#include <string>
#include <utility>

#include "app/RenumberJob.h"
#include "app/RunChecks.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "base/WideText.h"
#include "core/FileName.h"
#include "platform/InformationStore.h"
#include "platform/Win32FileProbe.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBoxes.h"
#include "ui/Panel.h"
#include "ui/ProgressDisplay.h"
#include "ui/resources/ResourceIds.h"
#include "ui/tInit.h"
#include "ui/tVars.h"
#include "ui/uFuncties.h"
#include "ui/uKeuze.h"

namespace halvern {

namespace {

namespace main = layout::main_window;

constexpr int kHelpContext = 1000;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// The program icon at the size of the system metrics given; Windows' own application icon for a
// program file without it.
HICON ProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    // Shared: Windows keeps the icon for as long as the module lives; nobody destroys it.
    const HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(HALVERN_ICON_ID), IMAGE_ICON,
                                   GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED);
    if (icon != nullptr) return static_cast<HICON>(icon);
    return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = ProgramWindowClass(TfrmHalvern::kClassName, instance);
    windowClass.hIcon = ProgramIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
    RegisterWindowClass(windowClass);
}

// The local time of day in the user's long time format ("14:03:27").
std::string TimeOfDayText() {
    std::array<char, 128> text{};
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text.data(),
                                      static_cast<int>(text.size()));
    return length > 0 ? std::string(text.data()) : std::string();
}

// Marks a window busy while it lives, and leaves the mark as it found it.
class BusyWhile {
public:
    explicit BusyWhile(bool& busy) noexcept : busy_(busy), before_(std::exchange(busy, true)) {}
    ~BusyWhile() { busy_ = before_; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool& busy_;
    bool before_;
};

TBBUTTON Separator(int width) {
    TBBUTTON button{};
    button.iBitmap = width;  // a separator's width stands where a button's picture would
    button.fsStyle = BTNS_SEP;
    return button;
}

TBBUTTON TextButton(int command, const char* caption) {
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    button.iString = reinterpret_cast<INT_PTR>(caption);
    return button;
}

}  // namespace

TfrmHalvern::TfrmHalvern(TfrmKeuze& choice) : seams(MainWindowSeams::RealCalls(choice)), choice_(choice) {}

// Destroyed while the object is whole: its WM_DESTROY ends the message loop.
TfrmHalvern::~TfrmHalvern() { Destroy(); }

void TfrmHalvern::Create(HINSTANCE instance) {
    RegisterMainClass(instance);

    const std::array<ACCEL, 4> shortcuts{{
        {FVIRTKEY, VK_F1, kIdHelp},
        {FVIRTKEY, VK_F10, kIdEmail},
        {FVIRTKEY, VK_F11, kIdHomepage},
        {FVIRTKEY, VK_F12, kIdInfo},
    }};
    accelerators_.reset(CreateAcceleratorTableA(const_cast<ACCEL*>(shortcuts.data()), static_cast<int>(shortcuts.size())));
    CreateContextMenu();

    CreateHandle(kExStyle, kClassName, ApplicationTitle, kStyle, main::kClientWidth, main::kClientHeight, nullptr,
                 instance);
    DragAcceptFiles(Handle(), TRUE);
    CreateComponents(instance);
    LayOut(nullptr);
    CentreOnScreenOnce();
}

void TfrmHalvern::CreateContextMenu() {
    pmnuHalvern.reset(CreatePopupMenu());
    const HMENU menu = pmnuHalvern.get();
    AppendMenuA(menu, MF_STRING, kIdHelp, "Help\tF1");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kIdEmail, "Email\tF10");
    AppendMenuA(menu, MF_STRING, kIdHomepage, "Homepage\tF11");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kIdInfo, "Info\tF12");
}

void TfrmHalvern::CreateComponents(HINSTANCE instance) {
    // Every box, font and toolbar button is set by LayOut, for the window's dots per inch.
    const HWND form = Handle();
    constexpr RECT kLaidOutLater{};
    pnlKnoppenBalk = CreatePanel(form, kLaidOutLater, instance);
    tbarHalvern = CreateControl(TOOLBARCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
                                kLaidOutLater, pnlKnoppenBalk, kIdToolbar, nullptr);
    SendMessageA(tbarHalvern, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(tbarHalvern, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageA(tbarHalvern, TB_SETPADDING, 0, MAKELPARAM(2, 2));

    pnlHalvern = CreatePanel(form, kLaidOutLater, instance);
    // Both names are shown only: the user never types one.
    constexpr DWORD kNameBoxStyle = ES_AUTOHSCROLL | WS_DISABLED;
    lblBestandOpenen = CreateControl("STATIC", "Welk bestand moet geopend worden :", SS_LEFT | SS_NOPREFIX, 0,
                                     kLaidOutLater, pnlHalvern, 0, nullptr);
    edtBestandOpenen = CreateControl("EDIT", "", kNameBoxStyle, WS_EX_CLIENTEDGE, kLaidOutLater, pnlHalvern, 0, nullptr);
    lblBestandOpslaan = CreateControl("STATIC", "Met welke naam moet het bestand opgeslagen worden :",
                                      SS_LEFT | SS_NOPREFIX, 0, kLaidOutLater, pnlHalvern, 0, nullptr);
    edtBestandOpslaan = CreateControl("EDIT", "", kNameBoxStyle, WS_EX_CLIENTEDGE, kLaidOutLater, pnlHalvern, 0, nullptr);

    pnlStatusBalk = CreatePanel(form, kLaidOutLater, instance);
    sbarHalvern = CreateControl(STATUSCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
                                kLaidOutLater, pnlStatusBalk, kIdStatusBar, nullptr);
    SetStatusPartWidths();
    SetStatusPanelText(sbarHalvern, StatusPanel::Message, rsBezigMet);
    SetStatusPanelText(sbarHalvern, StatusPanel::Time, rsTijdStandaard);
    SetStatusPanelText(sbarHalvern, StatusPanel::Count, rsAantalStandaard);
}

void TfrmHalvern::LayOut(const RECT* suggestedFrame) {
    const int dpi = Dpi();
    // The new fonts go to every control before the old ones are deleted.
    UniqueFont font = CreateProgramFont(dpi, false);
    UniqueFont boldFont = CreateProgramFont(dpi, true);
    for (const HWND control : {Handle(), lblBestandOpenen, edtBestandOpenen, lblBestandOpslaan, edtBestandOpslaan,
                               sbarHalvern}) {
        SetControlFont(control, font.get());
    }
    SetControlFont(tbarHalvern, boldFont.get());
    font_ = std::move(font);
    boldFont_ = std::move(boldFont);

    PlaceControl(pnlKnoppenBalk, ScaledRect(main::kButtonBar, dpi));
    PlaceControl(tbarHalvern, ScaledRect(main::kToolbar, dpi));
    FillToolbar();

    PlaceControl(pnlHalvern, ScaledRect(main::kWorkPanel, dpi));
    // A label fits its text.
    const auto placeLabel = [&](HWND label, int left, int top) {
        const int x = layout::Scale(left, dpi);
        const int y = layout::Scale(top, dpi);
        PlaceControl(label, {x, y, x + TextWidth(font_.get(), WindowText(label)), y + FontLineHeight(font_.get())});
    };
    placeLabel(lblBestandOpenen, main::kLabelOpenLeft, main::kLabelOpenTop);
    PlaceControl(edtBestandOpenen, ScaledRect(main::kEditOpen, dpi));
    placeLabel(lblBestandOpslaan, main::kLabelSaveLeft, main::kLabelSaveTop);
    PlaceControl(edtBestandOpslaan, ScaledRect(main::kEditSave, dpi));

    PlaceControl(pnlStatusBalk, ScaledRect(main::kStatusPanel, dpi));
    PlaceControl(sbarHalvern, ScaledRect(main::kStatusBar, dpi));
    SetStatusPartWidths();

    FitFrameToClient(Handle(), layout::Scale(main::kClientWidth, dpi), layout::Scale(main::kClientHeight, dpi),
                     dpi, suggestedFrame);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmHalvern::SetStatusPartWidths() {
    if (activated_) {
        // From the first activation on the parts share the status bar's width.
        SetStatusPanelWidths(sbarHalvern);
        return;
    }
    const int part = layout::Scale(main::kStatusPartWidth, Dpi());
    const std::array<int, 3> rightEdges{part, 2 * part, 3 * part};
    SendMessageA(sbarHalvern, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void TfrmHalvern::FillToolbar() {
    // Separator widths can only be given when a button is added: all eight are added afresh.
    while (SendMessageA(tbarHalvern, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(tbarHalvern, TB_DELETEBUTTON, 0, 0);

    const int dpi = Dpi();
    const auto separator = [&](std::size_t index) {
        return Separator(layout::Scale(main::kSeparatorWidths[index], dpi));
    };
    const std::array<TBBUTTON, 8> buttons{
        separator(0), TextButton(kIdOpenen, "Openen"),
        separator(1), TextButton(kIdOpslaan, "Opslaan"),
        separator(2), TextButton(kIdUitvoeren, " Uitvoeren "),
        separator(3), TextButton(kIdAfsluiten, "Afsluiten"),
    };
    SendMessageA(tbarHalvern, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));

    const int width = layout::Scale(main::kToolButtonWidth, dpi);
    const int height = layout::Scale(main::kToolButtonHeight, dpi);
    SendMessageA(tbarHalvern, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width, width));
    SendMessageA(tbarHalvern, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
}

bool TfrmHalvern::TranslateShortcut(MSG& message) {
    const HWND form = Handle();
    if (form == nullptr || (message.hwnd != form && !IsChild(form, message.hwnd))) return false;
    return TranslateAcceleratorA(form, accelerators_.get(), &message) != 0;
}

LRESULT TfrmHalvern::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !activationPosted_) {
            // The activation steps run once, from the queue: after the window is shown and before
            // any input of the user, which the queue hands out only after posted messages.
            activationPosted_ = true;
            PostMessageA(Handle(), kFirstActivationMessage, 0, 0);
        }
        return DefaultHandling(message, wParam, lParam);
    case kFirstActivationMessage:
        FormActivate();
        return 0;
    case WM_COMMAND:
        Command(LOWORD(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        // F10 comes as a system key; without this it would open the system menu.
        if (wParam == VK_F10) {
            pmnuHalvernEmailClick();
            return 0;
        }
        return DefaultHandling(message, wParam, lParam);
    case WM_CONTEXTMENU:
        ShowContextMenu(lParam);
        return 0;
    case WM_DROPFILES:
        FilesDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

void TfrmHalvern::ShowUncaughtError(const std::string& text) {
    seams.messageBox(Handle(), TopLevelErrorText(text), kErrorBoxStyle);
}

void TfrmHalvern::Command(int id) {
    const BusyWhile busy(busy_);
    switch (id) {
    case kIdOpenen: tbtnOpenenClick(); break;
    case kIdOpslaan: tbtnOpslaanClick(); break;
    case kIdUitvoeren: tbtnUitvoerenClick(); break;
    case kIdAfsluiten: tbtnAfsluitenClick(); break;
    case kIdHelp: pmnuHalvernHelpClick(); break;
    case kIdEmail: pmnuHalvernEmailClick(); break;
    case kIdHomepage: pmnuHalvernHomepageClick(); break;
    case kIdInfo: pmnuHalvernInfoClick(); break;
    default: break;
    }
}

void TfrmHalvern::ShowContextMenu(LPARAM screenPoint) {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: open it at the top left corner of the window's client area.
        at = {0, 0};
        ClientToScreen(Handle(), &at);
    }
    const int command = static_cast<int>(TrackPopupMenu(pmnuHalvern.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                        at.x, at.y, 0, Handle(), nullptr));
    if (command != 0) Command(command);
}

void TfrmHalvern::FormCreate() {
    if (programFile.empty()) programFile = ProgramFileName();
    WriteInformationStore(programFile);
}

void TfrmHalvern::FormActivate() {
    activated_ = true;
    InitialiseProgram(sbarHalvern, programFile);

    OutsideAddresses addresses = ReadOutsideAddresses();
    MailAddress = std::move(addresses.mailAddress);
    HomepageUrl = std::move(addresses.homepageUrl);

    if (commandLineFile) {
        const BusyWhile busy(busy_);
        SetWindowTextUtf8(edtBestandOpenen, *commandLineFile);
        // A name that is no file is only shown: the run's first check tells it.
        if (Win32FileProbe{}.IsExistingFile(*commandLineFile)) LoadInputFile(*commandLineFile);
    }
}

void TfrmHalvern::FilesDropped(HDROP drop) {
    // The system's record of the drop is given back on every way out.
    const UniqueRes<HDROP, &DragFinish> dropped(drop);
    if (busy_) return;
    const BusyWhile busy(busy_);
    // Of several files the first.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) return;
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, 0, name.data(), length + 1));
    ResetStatusPanels();
    OpenChosenFile(Utf8FromWide(name));
}

void TfrmHalvern::OpenChosenFile(const std::string& name) {
    SetWindowTextUtf8(edtBestandOpenen, name);
    LoadInputFile(name);
}

void TfrmHalvern::LoadInputFile(const std::string& name) {
    // A file that does not load leaves no document: the text of an earlier file must not be
    // renumbered and saved under this file's name.
    const std::optional<LoadFailure> failure = GedcomText.Load(name, Win32FileProbe{});
    if (!failure) return;
    // A file that could not be opened is named with the reason; one that is no text is told in the
    // status bar.
    if (failure->notOpened) {
        seams.messageBox(Handle(), failure->message, kStandardBoxStyle);
    } else {
        ShowStatusMessage(sbarHalvern, failure->message);
    }
}

void TfrmHalvern::ResetStatusPanels() {
    ShowStatusMessage(sbarHalvern, {});
    ShowStatusTime(sbarHalvern, {});
    ShowStatusCount(sbarHalvern, {});
}

void TfrmHalvern::tbtnOpenenClick() {
    ResetStatusPanels();
    const std::optional<std::string> name = seams.askOpenFile(Handle());
    if (name) OpenChosenFile(*name);
}

void TfrmHalvern::tbtnOpslaanClick() {
    const std::optional<std::string> name = seams.askSaveFile(Handle());
    if (name) SetWindowTextUtf8(edtBestandOpslaan, *name);
}

void TfrmHalvern::tbtnUitvoerenClick() {
    const std::string inputName = WindowText(edtBestandOpenen);
    const std::string outputName = WindowText(edtBestandOpslaan);
    const Win32FileProbe probe;
    if (const std::optional<FailedCheck> failed = FirstFailingCheck({inputName}, JobEnd{outputName}, GedcomText, &probe)) {
        seams.messageBox(Handle(), failed->message, kStandardBoxStyle);
        return;
    }
    if (seams.showChoice(Handle()) != TfrmKeuze::kResultRun) return;

    ApplyRecordChoice(choice_);
    const std::int32_t startNumber = ReadStartNumber(choice_);
    ResetStatusPanels();
    ShowStatusTime(sbarHalvern, StartText(TimeOfDayText()));
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    const JobResult result = RenumberAndSave(outputName, startNumber);
    if (!result.Succeeded()) {
        seams.messageBox(Handle(), result.message,
                         result.status == JobStatus::SaveFailed ? kErrorBoxStyle : kStandardBoxStyle);
        return;
    }
    ShowStatusTime(sbarHalvern, ElapsedTimeText(result.elapsedMilliseconds));
}

JobResult TfrmHalvern::RenumberAndSave(const std::string& outputName, std::int32_t startNumber) {
    const BusyCursor busy;
    ProgressDisplay display(sbarHalvern);
    ProgressThrottle progress(display, ProgressDisplay::kPace);
    RenumberJob job({RunFor(RecordChoice{RecordTag, RecordLetter}, startNumber)}, progress);
    // The text in memory becomes the result only once it has been saved, so a refused run or a
    // failed save leaves it as it was.
    return job.RunAndSave(GedcomText, FilePath(outputName));
}

void TfrmHalvern::tbtnAfsluitenClick() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void TfrmHalvern::pmnuHalvernHelpClick() { seams.askHelp(kHelpContext); }

void TfrmHalvern::pmnuHalvernEmailClick() { seams.openMail(MailAddress); }

void TfrmHalvern::pmnuHalvernHomepageClick() { seams.openHomepage(HomepageUrl); }

void TfrmHalvern::pmnuHalvernInfoClick() { seams.showInfo(Handle()); }

}  // namespace halvern
