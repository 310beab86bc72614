// The three windows at other dots per inch than 96: as opened on a 144-dpi screen (this program
// runs in a Wine prefix of its own with LogPixels 144, see run-at-dpi.sh), and after WM_DPICHANGED
// tells them they are on a monitor with other dots per inch. What matters is the relation: every
// box and font at some dots per inch is the one at 96 scaled by dpi/96.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/resources/ResourceIds.h"
#include "ui/zxInfoTool.h"

namespace halvern::testing {
namespace {

constexpr int kPrefixDpi = 144;

LONG FontHeight(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// What a window looks like at one dots per inch: its client area, the boxes of the controls that
// are laid out by number (labels that fit their text are not) and the fonts' heights.
struct Look {
    std::vector<RECT> boxes;
    std::vector<LONG> fontHeights;
};

Look LookOf(HWND window, std::initializer_list<HWND> controls, std::initializer_list<HWND> fonts) {
    Look look;
    RECT client{};
    GetClientRect(window, &client);
    look.boxes.push_back(client);
    for (const HWND control : controls) look.boxes.push_back(RectInParent(control));
    for (const HWND control : fonts) look.fontHeights.push_back(FontHeight(control));
    return look;
}

// The toolbar items (separators included) as boxes of their own.
void AddToolbarItems(Look& look, HWND toolbar) {
    const auto count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        look.boxes.push_back({0, 0, item.right - item.left, item.bottom - item.top});
    }
}

void ExpectScaled(const Look& at96, const Look& now, int dpi) {
    ASSERT_EQ(now.boxes.size(), at96.boxes.size());
    for (std::size_t i = 0; i < now.boxes.size(); ++i) {
        const RECT& was = at96.boxes[i];
        const RECT& is = now.boxes[i];
        EXPECT_EQ(is.left, layout::Scale(was.left, dpi)) << "box " << i << " at " << dpi;
        EXPECT_EQ(is.top, layout::Scale(was.top, dpi)) << "box " << i << " at " << dpi;
        EXPECT_EQ(is.right - is.left, layout::Scale(was.right - was.left, dpi)) << "box " << i << " at " << dpi;
        EXPECT_EQ(is.bottom - is.top, layout::Scale(was.bottom - was.top, dpi)) << "box " << i << " at " << dpi;
    }
    ASSERT_EQ(now.fontHeights.size(), at96.fontHeights.size());
    for (std::size_t i = 0; i < now.fontHeights.size(); ++i) {
        EXPECT_EQ(now.fontHeights[i], layout::Scale(at96.fontHeights[i], dpi)) << "font " << i << " at " << dpi;
    }
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

std::array<int, 3> StatusEdges(HWND bar) {
    std::array<int, 3> edges{};
    SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

Look InfoDialogLook() {
    const auto control = [](InfoControl id) { return InfoDialogControl(id); };
    return LookOf(InfoDialogWindow(),
                  {GetParent(control(InfoControl::ProgramName)), GetParent(control(InfoControl::MakerName)),
                   control(InfoControl::ProgramName), control(InfoControl::VersionDate),
                   control(InfoControl::MakerTelephone), control(InfoControl::CloseButton), control(InfoControl::Logo)},
                  {control(InfoControl::ProgramName), control(InfoControl::MakerName), control(InfoControl::Logo)});
}

class DpiLayoutTest : public ProgramWindowsTest {
protected:
    Look MainWindowLook() const {
        Look look = LookOf(main->Handle(),
                           {main->pnlKnoppenBalk, main->tbarHalvern, main->pnlHalvern, main->edtBestandOpenen,
                            main->edtBestandOpslaan, main->pnlStatusBalk, main->sbarHalvern},
                           {main->lblBestandOpenen, main->tbarHalvern});
        AddToolbarItems(look, main->tbarHalvern);
        return look;
    }

    Look ChoiceDialogLook() const {
        return LookOf(keuze->Handle(),
                      {keuze->pnlKeuze, keuze->rgrpKeuze, keuze->lblvlgNummer, keuze->edtvlgNummer, keuze->pnlKnoppen,
                       keuze->bbtnUitvoeren, keuze->bbtnAnnuleren},
                      {keuze->bbtnUitvoeren, keuze->edtvlgNummer});
    }

    // What stays true at any dots per inch: labels fit their text in the font of the moment, and
    // the radio items stand one under the other inside the group's frame.
    void ExpectFittedLabelsAndItems() const {
        const auto font = reinterpret_cast<HFONT>(SendMessageA(main->lblBestandOpslaan, WM_GETFONT, 0, 0));
        const RECT label = RectInParent(main->lblBestandOpslaan);
        EXPECT_EQ(label.right - label.left, TextWidth(font, WindowText(main->lblBestandOpslaan)));
        EXPECT_EQ(label.left, RectInParent(main->edtBestandOpslaan).left);

        const RECT group = RectInParent(keuze->rgrpKeuze);
        LONG previousBottom = 0;
        for (const HWND item : keuze->rgrpKeuzeItems) {
            const RECT box = RectInParent(item);
            EXPECT_GT(box.left, group.left);
            EXPECT_GT(box.top, group.top);
            EXPECT_LE(box.bottom, group.bottom);
            if (previousBottom != 0) {
                EXPECT_EQ(box.top, previousBottom);
            }
            previousBottom = box.bottom;
        }
    }
};

TEST_F(DpiLayoutTest, WindowsOpenLaidOutForTheScreensDotsPerInch) {
    CreateWindows();
    ASSERT_EQ(ScreenDpi(), kPrefixDpi) << "this test runs in a Wine prefix with LogPixels " << kPrefixDpi;
    EXPECT_EQ(WindowDpi(main->Handle()), kPrefixDpi);
    EXPECT_EQ(main->Dpi(), kPrefixDpi);
    EXPECT_EQ(keuze->Dpi(), kPrefixDpi);
    const Look mainAsOpened = MainWindowLook();
    const Look choiceAsOpened = ChoiceDialogLook();
    const int partAsOpened = StatusEdges(main->sbarHalvern)[0];
    ExpectFittedLabelsAndItems();

    // The same windows at 96 dots per inch are the ones opened, scaled down.
    ChangeDpi(main->Handle(), 96, 0, 0);
    ChangeDpi(keuze->Handle(), 96, 0, 0);
    ExpectScaled(MainWindowLook(), mainAsOpened, kPrefixDpi);
    ExpectScaled(ChoiceDialogLook(), choiceAsOpened, kPrefixDpi);
    EXPECT_EQ(partAsOpened, layout::Scale(StatusEdges(main->sbarHalvern)[0], kPrefixDpi));

    CreateInfoDialog(GetModuleHandleA(nullptr));
    const Look infoAsOpened = InfoDialogLook();
    ChangeDpi(InfoDialogWindow(), 96, 0, 0);
    ExpectScaled(InfoDialogLook(), infoAsOpened, kPrefixDpi);
    DestroyInfoDialog();
}

TEST_F(DpiLayoutTest, MainWindowFollowsAChangeOfDotsPerInch) {
    Start();
    ChangeDpi(main->Handle(), 96, 0, 0);
    const Look at96 = MainWindowLook();
    for (const int dpi : {192, kPrefixDpi}) {
        ChangeDpi(main->Handle(), dpi, 40 + dpi, 30 + dpi);
        EXPECT_EQ(main->Dpi(), dpi);
        ExpectScaled(at96, MainWindowLook(), dpi);
        ExpectFrameAt(main->Handle(), 40 + dpi, 30 + dpi);
        ExpectFittedLabelsAndItems();
        // Activated: the parts share the status bar's width.
        RECT bar{};
        GetClientRect(main->sbarHalvern, &bar);
        EXPECT_EQ(StatusEdges(main->sbarHalvern)[0], bar.right / 3) << dpi;
    }
    // What the window shows stays.
    EXPECT_EQ(Panel(0), "berichten");
    EXPECT_EQ(WindowText(main->lblBestandOpenen), "Welk bestand moet geopend worden :");
}

TEST_F(DpiLayoutTest, ChoiceDialogFollowsAChangeOfDotsPerInchAndKeepsWhatWasTyped) {
    CreateWindows();
    keuze->SelectItem(2);
    SetWindowTextA(keuze->edtvlgNummer, "17");
    ChangeDpi(keuze->Handle(), 96, 10, 20);
    const Look at96 = ChoiceDialogLook();
    for (const int dpi : {120, kPrefixDpi}) {
        ChangeDpi(keuze->Handle(), dpi, 10, 20);
        EXPECT_EQ(keuze->Dpi(), dpi);
        ExpectScaled(at96, ChoiceDialogLook(), dpi);
        ExpectFrameAt(keuze->Handle(), 10, 20);
        ExpectFittedLabelsAndItems();
    }
    EXPECT_EQ(keuze->SelectedItem(), 2);
    EXPECT_EQ(keuze->NumberText(), "17");
}

TEST_F(DpiLayoutTest, InformationDialogFollowsAChangeOfDotsPerInchEvenWhileTheLogoRises) {
    CreateInfoDialog(GetModuleHandleA(nullptr));
    const auto closeFromTheLoop = [] {
        SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            SendMessageA(InfoDialogControl(InfoControl::CloseButton), BM_CLICK, 0, 0);
        });
    };
    // Where the risen logo stands at 96 dots per inch (a showing lays the dialog out for the
    // monitor it opens on, so the dialog is told 96 again after it).
    SetLogoPauseForTesting([](DWORD) {});
    closeFromTheLoop();
    ShowInfoDialog(nullptr);
    ChangeDpi(InfoDialogWindow(), 96, 0, 0);
    const Look risenAt96 = InfoDialogLook();

    // Halfway up, the dialog moves to a 192-dpi monitor: the logo goes on rising from where it
    // was, in the logo font of the new size, and stops at its usual place.
    int steps = 0;
    SetLogoPauseForTesting([&steps](DWORD) {
        if (++steps == 7) ChangeDpi(InfoDialogWindow(), 192, 0, 0);
    });
    closeFromTheLoop();
    ShowInfoDialog(nullptr);
    SetLogoPauseForTesting({});
    ExpectScaled(risenAt96, InfoDialogLook(), 192);
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
