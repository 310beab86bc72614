// The first activation: status bar, program folder, help file, addresses and the command line.
#include <filesystem>
#include <string>

#include "core/FileName.h"
#include "platform/HelpSystem.h"
#include "platform/StoreRecords.h"
#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/tInit.h"
#include "ui/tVars.h"
#include "ui/uFuncties.h"

namespace halvern::testing {
namespace {

using StartupTest = ProgramWindowsTest;

constexpr char kSmallGedcom[] = "0 HEAD\n0 @I1@ INDI\n0 TRLR\n";

TEST_F(StartupTest, WithoutArgumentNothingIsLoaded) {
    Start();
    EXPECT_EQ(Panel(0), "berichten");
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");
    EXPECT_EQ(Panel(2), "aantal");
    EXPECT_EQ(InputBox(), "");
    EXPECT_TRUE(GedcomText.Text().empty());
    EXPECT_EQ(ProgramDir, folder.Name()) << "the program file's folder without a backslash";
}

TEST_F(StartupTest, ExistingFileIsShownAsTypedAndLoaded) {
    folder.Write("Stamboom.ged", kSmallGedcom);
    // Named as a user might type it: other letter case, a detour through "..".
    const std::string typed = folder.File("x\\..\\STAMBOOM.GED");
    Start(typed);
    EXPECT_EQ(InputBox(), typed);
    EXPECT_EQ(GedcomText.Text(), kSmallGedcom);
    EXPECT_EQ(Panel(0), "berichten");
}

TEST_F(StartupTest, MissingFileOrFolderIsShownButNotLoaded) {
    for (const std::string& name : {folder.File("weg.ged"), folder.Name()}) {
        SCOPED_TRACE(name);
        Start(name);
        EXPECT_EQ(InputBox(), name);
        EXPECT_TRUE(GedcomText.Text().empty());
        EXPECT_EQ(Panel(0), "berichten") << "no message";
        TearDown();
        SetUp();
    }
}

TEST_F(StartupTest, UnloadableFileIsToldInThePanel) {
    folder.Write("binair.ged", std::string("0 HEAD\0\x01\x02", 9));
    Start(folder.File("binair.ged"));
    EXPECT_EQ(InputBox(), folder.File("binair.ged"));
    EXPECT_EQ(Panel(0), "Verkeert bestandsformaat.");
    EXPECT_TRUE(GedcomText.Text().empty());
}

TEST_F(StartupTest, ActivationRunsOnceOnly) {
    folder.Write("a.ged", kSmallGedcom);
    Start(folder.File("a.ged"));
    GedcomText.Replace("na de eerste run");
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Message, "blijft");

    // Away to another window and back, a dialog shown and closed: no second activation.
    const ModalDriver closer([&] {
        if (!IsWindowVisible(keuze->Handle())) return false;
        PostMessageA(keuze->bbtnAnnuleren, BM_CLICK, 0, 0);
        return true;
    });
    keuze->ShowModal(main->Handle());
    SetActiveWindow(main->Handle());
    PumpMessages(main.get());

    EXPECT_EQ(GedcomText.Text(), "na de eerste run") << "the command-line file is not loaded again";
    EXPECT_EQ(Panel(0), "blijft");
}

TEST_F(StartupTest, HelpFileBesideTheProgramIsUsedWhenItExists) {
    SetApplicationHelpFile("Halvern.chm");
    CreateWindows();
    InitialiseProgram(main->sbarHalvern, folder.File("Halvern.exe"));
    EXPECT_EQ(ApplicationHelpFile(), "Halvern.chm");

    folder.Write("Halvern.chm", "ITSF");
    InitialiseProgram(main->sbarHalvern, folder.File("Halvern.exe"));
    EXPECT_EQ(ApplicationHelpFile(), folder.File("Halvern.chm"));
    // Also in a folder whose name no 8-bit code page holds all of ("Łukasz 家").
    std::filesystem::create_directory(FilePath(folder.File("\u0141ukasz \u5BB6")));
    folder.Write("\u0141ukasz \u5BB6\\Halvern.chm", "ITSF");
    InitialiseProgram(main->sbarHalvern, folder.File("\u0141ukasz \u5BB6\\Halvern.exe"));
    EXPECT_EQ(ApplicationHelpFile(), folder.File("\u0141ukasz \u5BB6\\Halvern.chm"));
    SetApplicationHelpFile("Halvern.chm");

    // In the root folder of a drive the folder is "C:" and the help file "C:\Halvern.chm".
    InitialiseProgram(main->sbarHalvern, "C:\\Halvern.exe");
    EXPECT_EQ(ProgramDir, "C:");
}

TEST(FolderWithSeparatorTest, KeepsEverythingUpToTheLastBackslashOrColon) {
    EXPECT_EQ(FolderWithSeparator("C:\\Tools\\Halvern.exe"), "C:\\Tools\\");
    EXPECT_EQ(FolderWithSeparator("C:Halvern.exe"), "C:");
    EXPECT_EQ(FolderWithSeparator("\\\\server\\share\\Halvern.exe"), "\\\\server\\share\\");
    EXPECT_EQ(FolderWithSeparator("Halvern.exe"), "");
}

}  // namespace
}  // namespace halvern::testing
