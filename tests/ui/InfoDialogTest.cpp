#include "ui/zxInfoTool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/InformationStore.h"

namespace halvern {
namespace {

constexpr char kMakerKey[] = "Software\\Zandrix";

std::string Text(InfoControl control) {
    char buffer[256] = {};
    GetWindowTextA(InfoDialogControl(control), buffer, sizeof buffer);
    return buffer;
}

// A control's place and size within its parent.
RECT PlaceInParent(HWND control) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// The height a font of points points has on this screen.
LONG PointHeight(int points) {
    const HDC screen = GetDC(nullptr);
    const LONG height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    GetObjectA(handle, sizeof font, &font);
    return font;
}

// The colour the logo is painted in: what its panel sets when the label asks.
COLORREF LogoColour() {
    const HWND logo = InfoDialogControl(InfoControl::Logo);
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(GetParent(logo), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(logo));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

void WriteMakerValue(const char* name, const char* text) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kMakerKey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1)),
              ERROR_SUCCESS);
}

// Presses "Sluiten" as soon as the dialog's own message loop runs, that is after the animation.
void PressCloseFromTheLoop() {
    SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SendMessageA(InfoDialogControl(InfoControl::CloseButton), BM_CLICK, 0, 0);
    });
}

// The store is written afresh for each test (the Wine prefix belongs to this build tree); the
// animation's pauses are recorded instead of slept, with the logo's top at each of them.
class InfoDialog : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        CreateInfoDialog(GetModuleHandleA(nullptr));
        SetLogoPauseForTesting([this](DWORD milliseconds) {
            pauses_.push_back(milliseconds);
            tops_.push_back(PlaceInParent(InfoDialogControl(InfoControl::Logo)).top);
            colours_.push_back(LogoColour());
        });
    }
    void TearDown() override {
        SetLogoPauseForTesting({});
        DestroyInfoDialog();
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
    }

    void ShowOnce() {
        pauses_.clear();
        tops_.clear();
        colours_.clear();
        PressCloseFromTheLoop();
        ShowInfoDialog(nullptr);
    }

    // 15 steps of 20 ms in teal, from below the panel up by equal steps into it, then blue.
    void ExpectLogoRoseAndTurnedBlue() {
        EXPECT_EQ(pauses_, std::vector<DWORD>(15, 20));
        EXPECT_EQ(colours_, std::vector<COLORREF>(15, RGB(0, 128, 128)));
        const HWND logo = InfoDialogControl(InfoControl::Logo);
        RECT panel;
        GetClientRect(GetParent(logo), &panel);
        ASSERT_EQ(tops_.size(), 15u);
        EXPECT_GE(tops_.front(), panel.bottom) << "out of sight at first";
        const LONG step = tops_[0] - tops_[1];
        EXPECT_GT(step, 0);
        for (std::size_t i = 1; i < tops_.size(); ++i) EXPECT_EQ(tops_[i - 1] - tops_[i], step) << i;

        const RECT place = PlaceInParent(logo);
        EXPECT_EQ(place.top, tops_.back());
        EXPECT_GE(place.left, 0);
        EXPECT_LE(place.right, panel.right);
        EXPECT_LE(place.bottom, panel.bottom) << "risen into its panel";
        const LOGFONTA font = FontOf(logo);
        EXPECT_STREQ(font.lfFaceName, "Comic Sans MS");
        EXPECT_EQ(font.lfHeight, PointHeight(21));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_TRUE(font.lfItalic);
        EXPECT_EQ(LogoColour(), RGB(0, 0, 255));
    }

    std::vector<DWORD> pauses_;
    std::vector<LONG> tops_;
    std::vector<COLORREF> colours_;
};

TEST_F(InfoDialog, IsLaidOutAsAFixedDialogWithoutTitleBarButtons) {
    const HWND dialog = InfoDialogWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Informatie");
    const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));

    // One panel fills the dialog; in it the program's and the maker's panels and the button.
    const HWND programPanel = GetParent(InfoDialogControl(InfoControl::ProgramName));
    const HWND makerPanel = GetParent(InfoDialogControl(InfoControl::MakerName));
    const HWND closeButton = InfoDialogControl(InfoControl::CloseButton);
    RECT client;
    GetClientRect(dialog, &client);
    const RECT whole = PlaceInParent(GetParent(programPanel));
    EXPECT_TRUE(EqualRect(&whole, &client));
    const RECT boxes[] = {PlaceInParent(programPanel), PlaceInParent(makerPanel), PlaceInParent(closeButton)};
    for (std::size_t i = 0; i < 3; ++i) {
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &boxes[i], &client) && EqualRect(&inside, &boxes[i])) << i;
        if (i > 0) {
            EXPECT_LT(boxes[i - 1].bottom, boxes[i].top) << "top to bottom, apart";
        }
    }

    // Before any showing the logo lies below its panel, out of sight, in its layout font.
    const HWND logo = InfoDialogControl(InfoControl::Logo);
    EXPECT_EQ(Text(InfoControl::Logo), "Zandrix");
    RECT panel;
    GetClientRect(GetParent(logo), &panel);
    EXPECT_GE(PlaceInParent(logo).top, panel.bottom);
    const LOGFONTA font = FontOf(logo);
    EXPECT_STREQ(font.lfFaceName, "Garamond");
    EXPECT_EQ(font.lfHeight, PointHeight(28));
    EXPECT_TRUE(font.lfItalic);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);

    EXPECT_EQ(Text(InfoControl::MakerHeading), "Inlichtingen bij :");
    EXPECT_EQ(FontOf(InfoDialogControl(InfoControl::ProgramName)).lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(InfoDialogControl(InfoControl::MakerName)).lfHeight, PointHeight(9));
    EXPECT_EQ(Text(InfoControl::CloseButton), "Sluiten");
}

TEST_F(InfoDialog, ShowsTheRecordsThatTheStoreWrote) {
    WriteInformationStore("C:\\Tools\\Halvern.exe");
    ShowOnce();
    EXPECT_EQ(Text(InfoControl::ProgramName), "Halvern");
    EXPECT_EQ(Text(InfoControl::VersionNumber), "versie 5.02");
    EXPECT_EQ(Text(InfoControl::VersionDate), "31 december 2021");
    EXPECT_EQ(Text(InfoControl::Logo), "Zandrix");
    EXPECT_EQ(Text(InfoControl::MakerHeading), "Inlichtingen bij :");
    EXPECT_FALSE(Text(InfoControl::MakerName).empty());
    EXPECT_FALSE(Text(InfoControl::MakerTelephone).empty());
    ExpectLogoRoseAndTurnedBlue();
}

TEST_F(InfoDialog, JoinsPostcodeAndPlaceWithTwoBlanks) {
    WriteMakerValue("Postcode", "1234 AB");  // written as "Postcode", read as "PostCode"
    WriteMakerValue("Plaats", "Dorp");
    ShowOnce();
    EXPECT_EQ(Text(InfoControl::MakerPlace), "1234 AB  Dorp");
}

TEST_F(InfoDialog, AMissingStoreLeavesEmptyLabelsAndTheAnimationRunsAllTheSame) {
    ShowOnce();
    EXPECT_EQ(Text(InfoControl::ProgramName), "");
    EXPECT_EQ(Text(InfoControl::VersionNumber), "versie ");
    EXPECT_EQ(Text(InfoControl::VersionDate), "");
    EXPECT_EQ(Text(InfoControl::MakerName), "");
    EXPECT_EQ(Text(InfoControl::MakerPlace), "  ");
    EXPECT_EQ(Text(InfoControl::Logo), "");
    ExpectLogoRoseAndTurnedBlue();
}

TEST_F(InfoDialog, ReadsTheStoreAgainAtEveryShowingAndAnimatesEachTime) {
    WriteInformationStore("C:\\Tools\\Halvern.exe");
    ShowOnce();
    ExpectLogoRoseAndTurnedBlue();
    EXPECT_EQ(Text(InfoControl::Logo), "Zandrix");

    // The maker's values removed by hand while the program runs.
    for (const char* name : {"Logo", "Naam", "Adres", "Postcode", "Plaats", "Telefoon"}) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kMakerKey, name);
    }
    ShowOnce();
    EXPECT_EQ(Text(InfoControl::ProgramName), "Halvern");
    EXPECT_EQ(Text(InfoControl::MakerName), "");
    EXPECT_EQ(Text(InfoControl::MakerAddress), "");
    EXPECT_EQ(Text(InfoControl::MakerPlace), "  ");
    EXPECT_EQ(Text(InfoControl::MakerTelephone), "");
    EXPECT_EQ(Text(InfoControl::Logo), "");
    ExpectLogoRoseAndTurnedBlue();  // from top 127 in teal again
}

TEST_F(InfoDialog, InputDuringTheAnimationWaitsUntilItHasEnded) {
    ShowOnce();
    const LONG risenTop = tops_.back();
    pauses_.clear();
    const HWND button = InfoDialogControl(InfoControl::CloseButton);
    SetLogoPauseForTesting([this, button](DWORD milliseconds) {
        if (pauses_.empty()) PostMessageA(button, BM_CLICK, 0, 0);  // a click early in the animation
        pauses_.push_back(milliseconds);
    });
    ShowInfoDialog(nullptr);  // ends through that click alone
    EXPECT_EQ(pauses_.size(), 15u);
    EXPECT_EQ(PlaceInParent(InfoDialogControl(InfoControl::Logo)).top, risenTop) << "the logo rose all the way";
}

TEST_F(InfoDialog, RealModalShowingClosesOnlyThroughSluiten) {
    SetLogoPauseForTesting({});  // the real 20 ms pauses
    const HWND owner = CreateWindowExA(0, "STATIC", "eigenaar", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);

    struct Seen {
        HWND owner;
        bool ownerEnabled = true;
        bool visible = false;
        bool survivedClose = false;
        int ticks = 0;
    };
    static Seen seen;
    seen = Seen{owner};
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR timer, DWORD) {
        const HWND dialog = InfoDialogWindow();
        if (++seen.ticks == 1) {
            seen.ownerEnabled = IsWindowEnabled(seen.owner) != FALSE;
            seen.visible = IsWindowVisible(dialog) != FALSE;
            SendMessageA(dialog, WM_CLOSE, 0, 0);             // Alt+F4 and the like
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);    // Escape
            return;
        }
        seen.survivedClose = IsWindowVisible(dialog) != FALSE;
        KillTimer(nullptr, timer);
        SendMessageA(InfoDialogControl(InfoControl::CloseButton), BM_CLICK, 0, 0);
    });
    ShowInfoDialog(owner);

    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(seen.visible);
    EXPECT_TRUE(seen.survivedClose);
    EXPECT_FALSE(IsWindowVisible(InfoDialogWindow()));
    EXPECT_TRUE(IsWindowEnabled(owner));

    // Centred at the first showing; shown again where it was left.
    RECT frame;
    GetWindowRect(InfoDialogWindow(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    SetWindowPos(InfoDialogWindow(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetLogoPauseForTesting([](DWORD) {});
    PressCloseFromTheLoop();
    ShowInfoDialog(owner);
    GetWindowRect(InfoDialogWindow(), &frame);
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.top, 20);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace halvern
