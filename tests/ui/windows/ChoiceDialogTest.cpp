// The choice dialog "Keuze": its layout and its real modal showings.
#include <array>
#include <string>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/tVars.h"

namespace halvern::testing {
namespace {

using ChoiceDialogTest = ProgramWindowsTest;

TEST_F(ChoiceDialogTest, LayoutAsCreated) {
    CreateWindows();
    const HWND dialog = keuze->Handle();
    EXPECT_EQ(WindowText(dialog), "Keuze");
    EXPECT_FALSE(IsWindowVisible(dialog));
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU) << "the close button";
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    ExpectStackedPanels({keuze->pnlKeuze, keuze->pnlKnoppen});
    // Top to bottom: the group, the label, the number box; the two buttons side by side.
    ExpectInsideAndApart({keuze->rgrpKeuze, keuze->lblvlgNummer, keuze->edtvlgNummer});
    EXPECT_LT(RectInParent(keuze->rgrpKeuze).bottom, RectInParent(keuze->lblvlgNummer).top);
    EXPECT_LT(RectInParent(keuze->lblvlgNummer).bottom, RectInParent(keuze->edtvlgNummer).top);
    ExpectInsideAndApart({keuze->bbtnUitvoeren, keuze->bbtnAnnuleren});
    EXPECT_LT(RectInParent(keuze->bbtnUitvoeren).right, RectInParent(keuze->bbtnAnnuleren).left);
    EXPECT_EQ(WindowText(keuze->rgrpKeuze), " maak een keuze ");
    EXPECT_EQ(WindowText(keuze->lblvlgNummer), "begin hernummeren bij :");
    EXPECT_EQ(keuze->NumberText(), "");

    const std::array<const char*, 4> items{"INDIvidual", "FAMily", "NOTE", "SOURce"};
    const RECT group = RectInParent(keuze->rgrpKeuze);
    int previousTop = group.top;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const HWND item = keuze->rgrpKeuzeItems[i];
        EXPECT_EQ(WindowText(item), items[i]);
        const RECT box = RectInParent(item);
        EXPECT_GT(box.top, previousTop) << "one column, top to bottom";
        EXPECT_GE(box.left, group.left);
        EXPECT_LE(box.bottom, group.bottom) << items[i] << " lies inside the frame";
        previousTop = box.top;
    }
    EXPECT_EQ(keuze->SelectedItem(), TfrmKeuze::kNoItem);

    for (const HWND button : {keuze->bbtnUitvoeren, keuze->bbtnAnnuleren}) {
        const auto font = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
        LOGFONTA description{};
        GetObjectA(font, sizeof description, &description);
        EXPECT_GE(description.lfWeight, FW_BOLD);
        EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE) & BS_DEFPUSHBUTTON, 0) << "neither button is the default";
    }
    EXPECT_EQ(WindowText(keuze->bbtnUitvoeren), "Uitvoeren");
    EXPECT_EQ(WindowText(keuze->bbtnAnnuleren), "Annuleren");
}

TEST_F(ChoiceDialogTest, FirstRunWithoutAChoiceRenumbersIndividualsFromOne) {
    CreateWindows();
    ApplyRecordChoice(*keuze);
    EXPECT_EQ(RecordTag, "INDI");
    EXPECT_EQ(RecordLetter, "I");
    EXPECT_EQ(ReadStartNumber(*keuze), 1);
}

TEST_F(ChoiceDialogTest, ModalShowingsKeepChoiceTextAndPlace) {
    Start();
    const HWND owner = main->Handle();
    bool ownerWasDisabled = false;
    RECT firstPlace{};
    {
        const ModalDriver user([&] {
            if (!IsWindowVisible(keuze->Handle())) return false;
            ownerWasDisabled = !IsWindowEnabled(owner);
            GetWindowRect(keuze->Handle(), &firstPlace);
            SendMessageA(keuze->rgrpKeuzeItems[2], BM_CLICK, 0, 0);  // NOTE
            SetWindowTextA(keuze->edtvlgNummer, " 25");
            PostMessageA(keuze->bbtnUitvoeren, BM_CLICK, 0, 0);
            return true;
        });
        EXPECT_EQ(keuze->ShowModal(owner), TfrmKeuze::kResultRun);
    }
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(keuze->Handle()));
    const int width = firstPlace.right - firstPlace.left;
    EXPECT_NEAR(firstPlace.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1) << "centred the first time";
    ApplyRecordChoice(*keuze);
    EXPECT_EQ(RecordTag, "NOTE");
    EXPECT_EQ(RecordLetter, "N");
    EXPECT_EQ(ReadStartNumber(*keuze), 25);

    // Moved by the user; the next showing comes back there, with the choice and the text kept.
    SetWindowPos(keuze->Handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    int keptItem = -2;
    std::string keptText;
    RECT secondPlace{};
    {
        const ModalDriver user([&] {
            if (!IsWindowVisible(keuze->Handle())) return false;
            keptItem = keuze->SelectedItem();
            keptText = keuze->NumberText();
            GetWindowRect(keuze->Handle(), &secondPlace);
            PostMessageA(keuze->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button
            return true;
        });
        EXPECT_EQ(keuze->ShowModal(owner), TfrmKeuze::kResultCancel);
    }
    EXPECT_EQ(keptItem, 2);
    EXPECT_EQ(keptText, " 25");
    EXPECT_EQ(secondPlace.left, 10);
    EXPECT_EQ(secondPlace.top, 20);
    EXPECT_TRUE(IsWindow(keuze->Handle())) << "closing only hides it";
}

TEST_F(ChoiceDialogTest, KeysEnterEscapeAndF1) {
    Start();
    int step = 0;
    bool stillOpen = false;
    const ModalDriver user([&] {
        if (!IsWindowVisible(keuze->Handle())) return false;
        switch (step++) {
        case 0:
            SetFocus(keuze->edtvlgNummer);
            PostMessageA(keuze->edtvlgNummer, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(keuze->edtvlgNummer, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageA(keuze->edtvlgNummer, WM_KEYDOWN, VK_F1, 0);
            return false;
        default:
            stillOpen = IsWindowVisible(keuze->Handle());
            SetFocus(keuze->bbtnAnnuleren);  // Enter presses the button that has the focus
            PostMessageA(keuze->bbtnAnnuleren, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        }
    });
    EXPECT_EQ(keuze->ShowModal(main->Handle()), TfrmKeuze::kResultCancel);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(log.helpContexts, std::vector<int>{1000});
}

TEST_F(ChoiceDialogTest, RunThroughTheRealDialog) {
    folder.Write("in.ged", "0 HEAD\n0 @F2@ FAM\n1 HUSB @I1@\n0 @I1@ INDI\n1 FAMS @F2@\n0 TRLR\n");
    Start();
    ChooseFiles(folder.File("in.ged"), folder.File("uit.ged"));
    main->seams.showChoice = MainWindowSeams::RealCalls(*keuze).showChoice;
    const ModalDriver user([&] {
        if (!IsWindowVisible(keuze->Handle())) return false;
        SendMessageA(keuze->rgrpKeuzeItems[1], BM_CLICK, 0, 0);  // FAMily
        SetWindowTextA(keuze->edtvlgNummer, "$1F");
        PostMessageA(keuze->bbtnUitvoeren, BM_CLICK, 0, 0);
        return true;
    });
    Click(TfrmHalvern::kIdUitvoeren);
    EXPECT_EQ(ReadBytes(folder.File("uit.ged")), "0 HEAD\n0 @F00031@ FAM\n1 HUSB @I1@\n0 @I1@ INDI\n1 FAMS @F00031@\n0 TRLR\n");
    EXPECT_EQ(Panel(2), "aantal FAM : 1");
}

}  // namespace
}  // namespace halvern::testing
