// The main window as the user first sees it: frame, panels, toolbar, names, status bar, menu.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/Controls.h"
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
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, Px(361));
    EXPECT_EQ(client.bottom, Px(179));

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

TEST_F(MainWindowLayoutTest, ThreePanelsStackFromTopToBottom) {
    Start();
    ExpectBox(main->pnlKnoppenBalk, 0, 0, 361, 34, "pnlKnoppenBalk");
    ExpectBox(main->pnlHalvern, 0, 34, 361, 115, "pnlHalvern");
    ExpectBox(main->pnlStatusBalk, 0, 149, 361, 30, "pnlStatusBalk");
    ExpectBox(main->tbarHalvern, 1, 1, 359, 32, "tbarHalvern fills its panel");
    ExpectBox(main->sbarHalvern, 1, 1, 359, 28, "sbarHalvern fills its panel");
    EXPECT_EQ(GetParent(main->tbarHalvern), main->pnlKnoppenBalk);
    EXPECT_EQ(GetParent(main->sbarHalvern), main->pnlStatusBalk);
    EXPECT_EQ(GetParent(main->edtBestandOpenen), main->pnlHalvern);
}

TEST_F(MainWindowLayoutTest, NameBoxesAreDisabledAndLabelsFitTheirText) {
    CreateWindows();
    const std::array<std::pair<HWND, const char*>, 2> labels{{
        {main->lblBestandOpenen, "Welk bestand moet geopend worden :"},
        {main->lblBestandOpslaan, "Met welke naam moet het bestand opgeslagen worden :"},
    }};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(main->lblBestandOpenen, WM_GETFONT, 0, 0));
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(WindowText(label), caption);
        const RECT box = RectInParent(label);
        EXPECT_EQ(box.right - box.left, TextWidth(font, caption)) << caption;
        EXPECT_EQ(box.bottom - box.top, FontLineHeight(font)) << caption;
    }
    EXPECT_EQ(RectInParent(main->lblBestandOpenen).left, Px(15));
    EXPECT_EQ(RectInParent(main->lblBestandOpenen).top, Px(15));
    EXPECT_EQ(RectInParent(main->lblBestandOpslaan).top, Px(69));

    ExpectBox(main->edtBestandOpenen, 15, 30, 334, 21, "edtBestandOpenen");
    ExpectBox(main->edtBestandOpslaan, 15, 84, 334, 21, "edtBestandOpslaan");
    for (const HWND box : {main->edtBestandOpenen, main->edtBestandOpslaan}) {
        EXPECT_FALSE(IsWindowEnabled(box)) << "the user never types a name";
        EXPECT_EQ(WindowText(box), "");
    }
}

TEST_F(MainWindowLayoutTest, ToolbarHoldsFourBoldTextButtonsBetweenSeparators) {
    Start();
    const HWND toolbar = main->tbarHalvern;
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 8);
    struct Expected {
        bool separator;
        int width;
        int command;
        const char* caption;
    };
    const std::array<Expected, 8> expected{{
        {true, 8, 0, ""},
        {false, 71, TfrmHalvern::kIdOpenen, "Openen"},
        {true, 18, 0, ""},
        {false, 71, TfrmHalvern::kIdOpslaan, "Opslaan"},
        {true, 18, 0, ""},
        {false, 71, TfrmHalvern::kIdUitvoeren, " Uitvoeren "},
        {true, 18, 0, ""},
        {false, 71, TfrmHalvern::kIdAfsluiten, "Afsluiten"},
    }};
    int left = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        RECT box{};
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box));
        EXPECT_EQ(box.right - box.left, Px(expected[i].width)) << "item " << i;
        if (i > 0) {
            EXPECT_EQ(box.left, left) << "items follow each other without gaps, item " << i;
        }
        left = box.right;
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, expected[i].separator) << "item " << i;
        if (expected[i].separator) continue;

        EXPECT_EQ(box.bottom - box.top, Px(21)) << expected[i].caption;
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
    EXPECT_EQ(edges, (std::array<int, 3>{Px(123), 2 * Px(123), 3 * Px(123)}));
    EXPECT_EQ(Panel(0), "bezig met");
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");
    EXPECT_EQ(Panel(2), "aantal");
    EXPECT_FALSE(main->Activated());

    ShowAndActivate();
    SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    const int part = Px(359) * 3 / 9;  // 119 at 96 dpi
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
