// The main window as the user first sees it: frame, panels, toolbar, names, status bar, menu.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/Controls.h"
#include "ui/Layout.h"
#include "ui/tVars.h"

namespace halvern::testing {
namespace {

using MainWindowLayoutTest = ProgramWindowsTest;

bool IsBold(HWND control) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    GetObjectA(font, sizeof description, &description);
    return description.lfWeight >= FW_BOLD;
}

std::string FaceOf(HWND control) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    GetObjectA(font, sizeof description, &description);
    return description.lfFaceName;
}

TEST_F(MainWindowLayoutTest, FrameIsFixedWithMinimiseOnlyAndCentred) {
    Start();
    const HWND form = main->Handle();
    EXPECT_EQ(WindowText(form), "Halvern");

    const auto style = static_cast<DWORD>(GetWindowLongPtrA(form, GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the user must not be able to resize it";

    RECT box{};
    GetWindowRect(form, &box);
    EXPECT_NEAR((box.left + box.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(FaceOf(main->lblBestandOpenen), "MS Sans Serif");
}

TEST_F(MainWindowLayoutTest, ThreePanelsFillTheClientAreaFromTopToBottom) {
    Start();
    ExpectStackedPanels({main->pnlKnoppenBalk, main->pnlHalvern, main->pnlStatusBalk});

    // Toolbar and status bar fill their panels inside the bevel.
    const int bevel = Px(layout::kPanelBevel);
    for (const HWND bar : {main->tbarHalvern, main->sbarHalvern}) {
        RECT inside{};
        GetClientRect(GetParent(bar), &inside);
        InflateRect(&inside, -bevel, -bevel);
        const RECT box = RectInParent(bar);
        EXPECT_TRUE(EqualRect(&box, &inside));
    }
    EXPECT_EQ(GetParent(main->tbarHalvern), main->pnlKnoppenBalk);
    EXPECT_EQ(GetParent(main->sbarHalvern), main->pnlStatusBalk);
    EXPECT_EQ(GetParent(main->edtBestandOpenen), main->pnlHalvern);
}

TEST_F(MainWindowLayoutTest, EachNameBoxHasItsLabelAboveItAndBothLieInTheirPanel) {
    CreateWindows();
    ExpectInsideAndApart({main->lblBestandOpenen, main->edtBestandOpenen, main->lblBestandOpslaan,
                          main->edtBestandOpslaan});
    const auto font = reinterpret_cast<HFONT>(SendMessageA(main->lblBestandOpenen, WM_GETFONT, 0, 0));
    struct Pair {
        HWND label;
        const char* caption;
        HWND box;
    };
    LONG previousBottom = 0;
    for (const Pair& pair : {Pair{main->lblBestandOpenen, "Welk bestand moet geopend worden :", main->edtBestandOpenen},
                             Pair{main->lblBestandOpslaan, "Met welke naam moet het bestand opgeslagen worden :",
                                  main->edtBestandOpslaan}}) {
        SCOPED_TRACE(pair.caption);
        EXPECT_EQ(WindowText(pair.label), pair.caption);
        const RECT label = RectInParent(pair.label);
        const RECT box = RectInParent(pair.box);
        EXPECT_EQ(label.right - label.left, TextWidth(font, pair.caption)) << "a label fits its text";
        EXPECT_EQ(label.bottom - label.top, FontLineHeight(font));
        EXPECT_EQ(label.left, box.left);
        EXPECT_GT(label.top, previousBottom) << "the pairs stand one below the other";
        EXPECT_LE(label.bottom, box.top) << "the label above its box";
        previousBottom = box.bottom;

        EXPECT_FALSE(IsWindowEnabled(pair.box)) << "the user never types a name";
        EXPECT_EQ(WindowText(pair.box), "");
    }
}

TEST_F(MainWindowLayoutTest, ToolbarHoldsFourBoldTextButtonsBetweenSeparators) {
    Start();
    const HWND toolbar = main->tbarHalvern;
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 8);
    struct Expected {
        int command;  // 0 for a separator
        const char* caption;
    };
    const std::array<Expected, 8> expected{{
        {0, ""},
        {TfrmHalvern::kIdOpenen, "Openen"},
        {0, ""},
        {TfrmHalvern::kIdOpslaan, "Opslaan"},
        {0, ""},
        {TfrmHalvern::kIdUitvoeren, " Uitvoeren "},
        {0, ""},
        {TfrmHalvern::kIdAfsluiten, "Afsluiten"},
    }};
    RECT bar{};
    GetClientRect(toolbar, &bar);
    RECT firstButton{};
    SendMessageA(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&firstButton));
    int left = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        RECT box{};
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box));
        if (i > 0) {
            EXPECT_EQ(box.left, left) << "items follow each other without gaps, item " << i;
        }
        left = box.right;
        EXPECT_LE(box.right, bar.right) << "inside the toolbar, item " << i;
        const bool separator = expected[i].command == 0;
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, separator) << "item " << i;
        if (separator) {
            EXPECT_LT(box.right - box.left, firstButton.right - firstButton.left) << "item " << i;
            continue;
        }

        EXPECT_EQ(box.right - box.left, firstButton.right - firstButton.left) << "buttons of one size";
        EXPECT_EQ(box.bottom - box.top, firstButton.bottom - firstButton.top) << expected[i].caption;
        EXPECT_LT(box.bottom - box.top, bar.bottom) << "lower than the toolbar";
        EXPECT_EQ(button.idCommand, expected[i].command);
        char caption[64] = {};
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_TEXT | TBIF_IMAGE;
        info.pszText = caption;
        info.cchText = sizeof caption;
        SendMessageA(toolbar, TB_GETBUTTONINFOA, button.idCommand, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(caption, expected[i].caption);
        EXPECT_EQ(info.iImage, I_IMAGENONE) << "captions only, no pictures";
    }
    EXPECT_TRUE(IsBold(toolbar));
}

TEST_F(MainWindowLayoutTest, StatusBarShowsLayoutTextsUntilTheFirstActivation) {
    CreateWindows();
    const HWND bar = main->sbarHalvern;
    std::array<int, 3> edges{};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data())), 3);
    EXPECT_GT(edges[0], 0);
    EXPECT_EQ(edges, (std::array<int, 3>{edges[0], 2 * edges[0], 3 * edges[0]})) << "three parts of one width";
    EXPECT_EQ(Panel(0), "bezig met");
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");
    EXPECT_EQ(Panel(2), "aantal");
    EXPECT_FALSE(main->Activated());

    ShowAndActivate();
    SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    RECT barArea{};
    GetClientRect(bar, &barArea);
    const int part = barArea.right / 3;  // from now on a third of the status bar each
    EXPECT_EQ(edges, (std::array<int, 3>{part, 2 * part, 3 * part}));
    EXPECT_EQ(Panel(0), "berichten");
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");
    EXPECT_EQ(Panel(2), "aantal");

    char raw[64] = {};
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(raw));
    EXPECT_EQ(raw[0], '\t') << "panel texts are centred";
}

TEST_F(MainWindowLayoutTest, ContextMenuListsTheFourCommandsWithTheirKeys) {
    Start();
    const HMENU menu = main->pmnuHalvern.get();
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    const std::array<std::pair<const char*, int>, 6> items{{
        {"Help\tF1", TfrmHalvern::kIdHelp},
        {nullptr, 0},
        {"Email\tF10", TfrmHalvern::kIdEmail},
        {"Homepage\tF11", TfrmHalvern::kIdHomepage},
        {nullptr, 0},
        {"Info\tF12", TfrmHalvern::kIdInfo},
    }};
    for (int i = 0; i < 6; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        const auto& [caption, id] = items[static_cast<std::size_t>(i)];
        if (caption == nullptr) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "item " << i;
            continue;
        }
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, caption);
        EXPECT_EQ(static_cast<int>(info.wID), id);
    }
}

TEST_F(MainWindowLayoutTest, ShortcutKeysReachTheirCommands) {
    Start();
    MailAddress = "post@example.nl";
    HomepageUrl = "https://example.nl/";
    const HWND form = main->Handle();
    PostMessageA(form, WM_KEYDOWN, VK_F1, 0);
    PostMessageA(form, WM_SYSKEYDOWN, VK_F10, 0);  // F10 arrives as a system key
    PostMessageA(form, WM_KEYDOWN, VK_F11, 0);
    PostMessageA(form, WM_KEYDOWN, VK_F12, 0);
    PumpMessages(main.get());

    EXPECT_EQ(log.helpContexts, std::vector<int>{1000});
    EXPECT_EQ(log.mailAddresses, std::vector<std::string>{"post@example.nl"});
    EXPECT_EQ(log.homepages, std::vector<std::string>{"https://example.nl/"});
    EXPECT_EQ(log.infoOwners, std::vector<HWND>{form});

    // Without the loop's shortcut translation F10 still reaches its command, not the system menu.
    SendMessageA(form, WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_EQ(log.mailAddresses.size(), 2u);
}

TEST_F(MainWindowLayoutTest, RightClickOpensTheContextMenu) {
    Start();
    bool menuSeen = false;
    const ModalDriver closer([&] {
        const HWND popup = FindThreadWindow("#32768", "");  // the window of a popup menu
        if (popup == nullptr) return false;
        menuSeen = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0))) == 6;
        EndMenu();
        return true;
    });
    RECT box{};
    GetWindowRect(main->pnlHalvern, &box);
    SendMessageA(main->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main->pnlHalvern),
                 MAKELPARAM(box.left + 5, box.top + 5));
    EXPECT_TRUE(menuSeen);
    EXPECT_TRUE(log.helpContexts.empty()) << "closing the menu chose nothing";
}

}  // namespace
}  // namespace halvern::testing
