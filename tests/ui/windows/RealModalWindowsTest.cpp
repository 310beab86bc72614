// The message box and the two file dialogs, each answered once through its real modal window.
#include <windows.h>

#include <commdlg.h>

#include <string>
#include <tuple>

#include "app/tResStr.h"
#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/ErrorBoxes.h"
#include "ui/FileDialogs.h"

namespace halvern::testing {
namespace {

constexpr int kFileNameCombo = 0x47c;  // cmb13: the file name box of the file dialogs
constexpr int kFileNameEdit = 0x480;   // edt1: the same in the older layout

// Types name into a file dialog's name box and presses its OK button.
void TypeNameAndConfirm(HWND dialog, const std::string& name) {
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    if (box == nullptr) box = GetDlgItem(dialog, kFileNameEdit);
    SetWindowTextUtf8(box, name);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

using RealModalWindowsTest = ProgramWindowsTest;

TEST_F(RealModalWindowsTest, FailedCheckShowsTheStandardMessageBox) {
    Start();
    main->seams.messageBox = MainWindowSeams::RealCalls(*keuze).messageBox;
    std::string shownText;
    bool hasIcon = true;
    const ModalDriver user([&] {
        const HWND box = FindThreadWindow("#32770", "Halvern");
        if (box == nullptr) return false;
        shownText = WindowText(GetDlgItem(box, 0xFFFF));
        hasIcon = GetDlgItem(box, 0x14) != nullptr && IsWindowVisible(GetDlgItem(box, 0x14));
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        return true;
    });
    Click(TfrmHalvern::kIdUitvoeren);
    EXPECT_TRUE(user.Finished());
    EXPECT_EQ(shownText, rsGeenInvoer.text);
    EXPECT_FALSE(hasIcon);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

TEST_F(RealModalWindowsTest, OpenDialogReturnsTheChosenFile) {
    folder.Write("stamboom.ged", "0 HEAD\n0 TRLR\n");
    CreateWindows();
    std::string title;
    const ModalDriver user([&] {
        const HWND dialog = FindThreadWindow("#32770", "Openen GedCom bestand");
        if (dialog == nullptr) return false;
        title = WindowText(dialog);
        TypeNameAndConfirm(dialog, folder.File("stamboom.ged"));
        return true;
    });
    const std::optional<std::string> chosen = AskOpenFileName(main->Handle());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder.File("stamboom.ged"));
    EXPECT_EQ(title, "Openen GedCom bestand");
}

TEST_F(RealModalWindowsTest, SaveDialogTakesANameAsTypedAndCancelGivesNothing) {
    CreateWindows();
    {
        const ModalDriver user([&] {
            const HWND dialog = FindThreadWindow("#32770", "Opslaan GedCom bestand");
            if (dialog == nullptr) return false;
            TypeNameAndConfirm(dialog, folder.File("uitvoer"));
            return true;
        });
        const std::optional<std::string> chosen = AskSaveFileName(main->Handle());
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(*chosen, folder.File("uitvoer")) << "no default extension is added";
    }
    {
        const ModalDriver user([&] {
            const HWND dialog = FindThreadWindow("#32770", "Opslaan GedCom bestand");
            if (dialog == nullptr) return false;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return true;
        });
        EXPECT_FALSE(AskSaveFileName(main->Handle()).has_value());
    }
}

TEST_F(RealModalWindowsTest, AUnicodeNameIsOpenedRenumberedAndSavedThroughTheRealDialogs) {
    const std::string leaf = "\u0141\u00F3d\u017A \u5BB6\u8C31.ged";  // Łódź 家谱.ged
    const std::string input = folder.File(leaf);
    const std::string output = folder.File("uit \u0141.ged");
    folder.Write(leaf, MakeGedcom(40));
    Start();
    main->seams.askOpenFile = &AskOpenFileName;
    main->seams.askSaveFile = &AskSaveFileName;
    for (const auto& [command, title, name] : {std::tuple{TfrmHalvern::kIdOpenen, "Openen GedCom bestand", input},
                                               std::tuple{TfrmHalvern::kIdOpslaan, "Opslaan GedCom bestand", output}}) {
        const ModalDriver user([&] {
            const HWND dialog = FindThreadWindow("#32770", title);
            if (dialog != nullptr) TypeNameAndConfirm(dialog, name);
            return dialog != nullptr;
        });
        Click(command);
        EXPECT_TRUE(user.Finished()) << title;
    }
    RunWith(0, "");  // INDI from 1
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ReadBytes(output), MakeGedcom(40, true));
}

}  // namespace
}  // namespace halvern::testing
