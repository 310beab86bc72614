// The three windows at other dots per inch than 96: as opened on a 144-dpi screen (this program
// runs in a Wine prefix of its own with LogPixels 144, see run-at-dpi.sh), and after WM_DPICHANGED
// tells them they are on a monitor with other dots per inch.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/resources/ResourceIds.h"
#include "ui/zxInfoTool.h"
#include "ui/zxInfoToolLayout.h"

namespace halvern::testing {
namespace {

namespace main_box = layout::main_window;
namespace choice_box = layout::choice_dialog;
namespace info_box = layout::info_dialog;

constexpr int kPrefixDpi = 144;

RECT Client(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

LONG FontHeight(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// Expects child at box (numbers at 96 dpi) scaled to dpi, within its parent.
void ExpectAt(HWND child, const layout::Box& box, int dpi, const char* what) {
    const RECT at = RectInParent(child);
    EXPECT_EQ(at.left, layout::Scale(box.left, dpi)) << what << " at " << dpi;
    EXPECT_EQ(at.top, layout::Scale(box.top, dpi)) << what << " at " << dpi;
    EXPECT_EQ(at.right - at.left, layout::Scale(box.width, dpi)) << what << " at " << dpi;
    EXPECT_EQ(at.bottom - at.top, layout::Scale(box.height, dpi)) << what << " at " << dpi;
}

void ExpectClient(HWND window, int width, int height, int dpi) {
    const RECT client = Client(window);
    EXPECT_EQ(client.right, layout::Scale(width, dpi)) << "client width at " << dpi;
    EXPECT_EQ(client.bottom, layout::Scale(height, dpi)) << "client height at " << dpi;
}

// Tells window it is now on a monitor with dpi dots per inch, suggesting a frame at (left, top).
void ChangeDpi(HWND window, int dpi, int left, int top) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const RECT suggested{left, top, left + (frame.right - frame.left) * dpi / 96,
                         top + (frame.bottom - frame.top) * dpi / 96};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

void ExpectFrameAt(HWND window, int left, int top) {
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, left);
    EXPECT_EQ(frame.top, top);
}

class DpiLayoutTest : public ProgramWindowsTest {
protected:
    void ExpectMainWindowAt(int dpi) {
        EXPECT_EQ(main->Dpi(), dpi);
        ExpectClient(main->Handle(), main_box::kClientWidth, main_box::kClientHeight, dpi);
        ExpectAt(main->pnlKnoppenBalk, main_box::kButtonBar, dpi, "pnlKnoppenBalk");
        ExpectAt(main->tbarHalvern, main_box::kToolbar, dpi, "tbarHalvern");
        ExpectAt(main->pnlHalvern, main_box::kWorkPanel, dpi, "pnlHalvern");
        ExpectAt(main->edtBestandOpenen, main_box::kEditOpen, dpi, "edtBestandOpenen");
        ExpectAt(main->edtBestandOpslaan, main_box::kEditSave, dpi, "edtBestandOpslaan");
        ExpectAt(main->pnlStatusBalk, main_box::kStatusPanel, dpi, "pnlStatusBalk");
        ExpectAt(main->sbarHalvern, main_box::kStatusBar, dpi, "sbarHalvern");

        EXPECT_EQ(FontHeight(main->lblBestandOpenen), -layout::Scale(layout::kFontHeight, dpi));
        EXPECT_EQ(FontHeight(main->tbarHalvern), -layout::Scale(layout::kFontHeight, dpi));
        // A label fits its text in the font of the moment.
        const auto font = reinterpret_cast<HFONT>(SendMessageA(main->lblBestandOpslaan, WM_GETFONT, 0, 0));
        const RECT label = RectInParent(main->lblBestandOpslaan);
        EXPECT_EQ(label.left, layout::Scale(main_box::kLabelSaveLeft, dpi));
        EXPECT_EQ(label.top, layout::Scale(main_box::kLabelSaveTop, dpi));
        EXPECT_EQ(label.right - label.left, TextWidth(font, WindowText(main->lblBestandOpslaan)));

        // Toolbar items, separators included, in their scaled widths.
        const std::array<int, 8> widths{8, 71, 18, 71, 18, 71, 18, 71};
        ASSERT_EQ(SendMessageA(main->tbarHalvern, TB_BUTTONCOUNT, 0, 0), 8);
        for (std::size_t i = 0; i < widths.size(); ++i) {
            RECT item{};
            SendMessageA(main->tbarHalvern, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(item.right - item.left, layout::Scale(widths[i], dpi)) << "toolbar item " << i << " at " << dpi;
            if (i % 2 == 1) {
                EXPECT_EQ(item.bottom - item.top, layout::Scale(main_box::kToolButtonHeight, dpi));
            }
        }
    }

    void ExpectChoiceDialogAt(int dpi) {
        EXPECT_EQ(keuze->Dpi(), dpi);
        ExpectClient(keuze->Handle(), choice_box::kClientWidth, choice_box::kClientHeight, dpi);
        ExpectAt(keuze->pnlKeuze, choice_box::kChoicePanel, dpi, "pnlKeuze");
        ExpectAt(keuze->rgrpKeuze, choice_box::kRadioGroup, dpi, "rgrpKeuze");
        ExpectAt(keuze->lblvlgNummer, choice_box::kNumberLabel, dpi, "lblvlgNummer");
        ExpectAt(keuze->edtvlgNummer, choice_box::kNumberEdit, dpi, "edtvlgNummer");
        ExpectAt(keuze->pnlKnoppen, choice_box::kButtonPanel, dpi, "pnlKnoppen");
        ExpectAt(keuze->bbtnUitvoeren, choice_box::kRunButton, dpi, "bbtnUitvoeren");
        ExpectAt(keuze->bbtnAnnuleren, choice_box::kCancelButton, dpi, "bbtnAnnuleren");
        EXPECT_EQ(FontHeight(keuze->bbtnUitvoeren), -layout::Scale(layout::kFontHeight, dpi));

        // The items share the frame below its caption line, one under the other, inside it.
        const RECT group = RectInParent(keuze->rgrpKeuze);
        RECT previous{};
        for (const HWND item : keuze->rgrpKeuzeItems) {
            const RECT box = RectInParent(item);
            EXPECT_EQ(box.left, group.left + layout::Scale(choice_box::kRadioItemLeft, dpi));
            EXPECT_GT(box.top, group.top);
            EXPECT_LE(box.bottom, group.bottom);
            if (previous.bottom != 0) {
                EXPECT_EQ(box.top, previous.bottom);
            }
            previous = box;
        }
    }

    static void ExpectInfoDialogAt(int dpi, const layout::Box& logo) {
        ExpectClient(InfoDialogWindow(), info_box::kClientWidth, info_box::kClientHeight, dpi);
        const HWND programName = InfoDialogControl(InfoControl::ProgramName);
        const HWND makerName = InfoDialogControl(InfoControl::MakerName);
        ExpectAt(GetParent(programName), info_box::kProgramPanel, dpi, "pnlProgramma");
        ExpectAt(GetParent(makerName), info_box::kMakerPanel, dpi, "pnlCopyRight");
        ExpectAt(programName, info_box::kProgramName, dpi, "lblProgrammaNaam");
        ExpectAt(InfoDialogControl(InfoControl::VersionDate), info_box::kVersionDate, dpi, "lblVersieDatum");
        ExpectAt(InfoDialogControl(InfoControl::MakerTelephone), info_box::kMakerTelephone, dpi, "lblTelefoon");
        ExpectAt(InfoDialogControl(InfoControl::CloseButton), info_box::kCloseButton, dpi, "bbtnSluiten");
        ExpectAt(InfoDialogControl(InfoControl::Logo), logo, dpi, "lblSoftware");
        EXPECT_EQ(FontHeight(programName), -layout::Scale(info_box::PointsToPixels(info_box::kLabelPoints), dpi));
        EXPECT_EQ(FontHeight(makerName), -layout::Scale(info_box::PointsToPixels(info_box::kMakerNamePoints), dpi));
    }
};

TEST_F(DpiLayoutTest, WindowsOpenLaidOutForTheScreensDotsPerInch) {
    CreateWindows();
    ASSERT_EQ(ScreenDpi(), kPrefixDpi) << "this test runs in a Wine prefix with LogPixels " << kPrefixDpi;
    EXPECT_EQ(WindowDpi(main->Handle()), kPrefixDpi);
    // 361 x 179 at 96 dpi, times 1.5, rounded half up.
    EXPECT_EQ(Client(main->Handle()).right, 542);
    EXPECT_EQ(Client(main->Handle()).bottom, 269);
    ExpectMainWindowAt(kPrefixDpi);
    ExpectChoiceDialogAt(kPrefixDpi);

    std::array<int, 3> edges{};
    SendMessageA(main->sbarHalvern, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    EXPECT_EQ(edges, (std::array<int, 3>{185, 370, 555}));  // 123 at 96 dpi
    ShowAndActivate();
    SendMessageA(main->sbarHalvern, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    EXPECT_EQ(edges, (std::array<int, 3>{179, 358, 537}));  // a third of the 539 wide status bar

    CreateInfoDialog(GetModuleHandleA(nullptr));
    EXPECT_EQ(Client(InfoDialogWindow()).right, 276);
    EXPECT_EQ(Client(InfoDialogWindow()).bottom, 359);
    ExpectInfoDialogAt(kPrefixDpi, info_box::kLogoAtRest);
    DestroyInfoDialog();
}

TEST_F(DpiLayoutTest, MainWindowFollowsAChangeOfDotsPerInch) {
    Start();
    for (const int dpi : {96, 192, kPrefixDpi}) {
        ChangeDpi(main->Handle(), dpi, 40 + dpi, 30 + dpi);
        ExpectMainWindowAt(dpi);
        ExpectFrameAt(main->Handle(), 40 + dpi, 30 + dpi);
        // Activated: the parts share the status bar's width.
        std::array<int, 3> edges{};
        SendMessageA(main->sbarHalvern, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        EXPECT_EQ(edges[0], layout::Scale(main_box::kStatusBar.width, dpi) * 3 / 9) << dpi;
    }
    // What the window shows stays.
    EXPECT_EQ(Panel(0), "berichten");
    EXPECT_EQ(WindowText(main->lblBestandOpenen), "Welk bestand moet geopend worden :");
}

TEST_F(DpiLayoutTest, ChoiceDialogFollowsAChangeOfDotsPerInchAndKeepsWhatWasTyped) {
    CreateWindows();
    keuze->SelectItem(2);
    SetWindowTextA(keuze->edtvlgNummer, "17");
    for (const int dpi : {120, 96, kPrefixDpi}) {
        ChangeDpi(keuze->Handle(), dpi, 10, 20);
        ExpectChoiceDialogAt(dpi);
        ExpectFrameAt(keuze->Handle(), 10, 20);
    }
    EXPECT_EQ(keuze->SelectedItem(), 2);
    EXPECT_EQ(keuze->NumberText(), "17");
}

TEST_F(DpiLayoutTest, InformationDialogFollowsAChangeOfDotsPerInchEvenWhileTheLogoRises) {
    CreateInfoDialog(GetModuleHandleA(nullptr));
    ChangeDpi(InfoDialogWindow(), 96, 0, 0);
    ExpectInfoDialogAt(96, info_box::kLogoAtRest);

    // Halfway up, the dialog moves to a 192-dpi monitor: the logo goes on rising from where it
    // was, in the logo font of the new size, and stops at its usual place.
    int steps = 0;
    SetLogoPauseForTesting([&steps](DWORD) {
        if (++steps == 7) ChangeDpi(InfoDialogWindow(), 192, 0, 0);
    });
    SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SendMessageA(InfoDialogControl(InfoControl::CloseButton), BM_CLICK, 0, 0);
    });
    ShowInfoDialog(nullptr);
    SetLogoPauseForTesting({});

    const layout::Box risen{info_box::kLogoStart.left,
                            info_box::kLogoStart.top - info_box::kLogoStepCount * info_box::kLogoStep,
                            info_box::kLogoStart.width, info_box::kLogoStart.height};
    ExpectInfoDialogAt(192, risen);
    EXPECT_EQ(FontHeight(InfoDialogControl(InfoControl::Logo)),
              -layout::Scale(info_box::PointsToPixels(info_box::kLogoPoints), 192));
    DestroyInfoDialog();
}

TEST_F(DpiLayoutTest, MainWindowClassCarriesTheProgramIcon) {
    CreateWindows();
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(main->Handle(), GCLP_HICON));
    const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrA(main->Handle(), GCLP_HICONSM));
    const HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(icon, LoadImageA(self, MAKEINTRESOURCEA(HALVERN_ICON_ID), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                               GetSystemMetrics(SM_CYICON), LR_SHARED));
    EXPECT_EQ(smallIcon, LoadImageA(self, MAKEINTRESOURCEA(HALVERN_ICON_ID), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    EXPECT_NE(icon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
}

}  // namespace
}  // namespace halvern::testing
