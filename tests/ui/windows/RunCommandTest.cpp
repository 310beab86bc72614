// The " Uitvoeren " command: its four checks, the choice, the renumbering and what it leaves behind.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <regex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/tResStr.h"
#include "base/UniqueRes.h"
#include "base/WideText.h"
#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/ErrorBoxes.h"
#include "ui/tVars.h"
#include "ui/uFuncties.h"

namespace halvern::testing {
namespace {

// The worked example: two individuals and the family that names them.
constexpr char kExample[] =
    "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @I3@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n"
    "1 HUSB @I7@\r\n1 WIFE @I3@\r\n0 TRLR\r\n";
constexpr char kExampleIndi[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F2@\r\n0 @I00002@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n"
    "1 HUSB @I00001@\r\n1 WIFE @I00002@\r\n0 TRLR\r\n";
constexpr char kExampleIndiThenFam[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F00007@\r\n0 @I00002@ INDI\r\n1 FAMS @F00007@\r\n0 @F00007@ FAM\r\n"
    "1 HUSB @I00001@\r\n1 WIFE @I00002@\r\n0 TRLR\r\n";

constexpr int kIndividual = 0;
constexpr int kFamily = 1;

class RunCommandTest : public ProgramWindowsTest {
protected:
    // Started, with the example file as input and an output name in the same folder.
    void StartWithExample() {
        folder.Write("in.ged", kExample);
        input = folder.File("in.ged");
        output = folder.File("uit.ged");
        Start();
        ChooseFiles(input, output);
    }

    void ExpectStoppedWith(std::string_view text) {
        const auto messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].style, kStandardBoxStyle) << "standard box: OK button, no icon";
        EXPECT_EQ(log.choiceShowings, 0);
    }

    std::string input;
    std::string output;
};

TEST_F(RunCommandTest, ChecksStopTheRunInOrderWithTheirMessages) {
    folder.Write("in.ged", kExample);
    folder.Write("leeg.ged", " \t\r\n  \r\n");
    Start();
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Message, "vorige");

    // 1: no input; a folder, named as it is opened and again by the run.
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenInvoer);
    log.openAnswer = folder.Name();
    Click(TfrmHalvern::kIdOpenen);
    const std::string isAFolder = "Het bestand \"" + folder.Name() + "\" kan niet geopend worden: het is een map.";
    ExpectStoppedWith(isAFolder);
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(isAFolder);

    // 2: no output name, or only blanks.
    log.openAnswer = folder.File("in.ged");
    Click(TfrmHalvern::kIdOpenen);
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Message, "vorige");
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenUitvoer);
    log.saveAnswer = "   ";
    Click(TfrmHalvern::kIdOpslaan);
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenUitvoer);

    // 3: the same name, also with blanks around it.
    log.saveAnswer = " " + folder.File("in.ged") + " ";
    Click(TfrmHalvern::kIdOpslaan);
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsZelfdeNaam);

    // 4: a text of blanks and line breaks only.
    log.openAnswer = folder.File("leeg.ged");
    Click(TfrmHalvern::kIdOpenen);
    log.saveAnswer = folder.File("uit.ged");
    Click(TfrmHalvern::kIdOpslaan);
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Message, "vorige");
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenGegevens);

    EXPECT_EQ(Panel(0), "vorige") << "a failed check leaves the panels alone";
    EXPECT_FALSE(Exists(folder.File("uit.ged")));
}

TEST_F(RunCommandTest, TwoNamesOfOneFileAreRefusedButOtherFilesPassWhateverTheirCase) {
    folder.Write("In.ged", kExample);
    Start();
    const std::string sameFileOtherSpelling = folder.File("sub\\..\\IN.GED");
    CreateDirectoryA(folder.File("sub").c_str(), nullptr);
    ChooseFiles(folder.File("In.ged"), sameFileOtherSpelling);
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsZelfdeNaam);
    EXPECT_EQ(ReadBytes(folder.File("In.ged")), kExample) << "the input was not written over";

    log.saveAnswer = folder.File("IN-UIT.GED");
    Click(TfrmHalvern::kIdOpslaan);
    RunWith(kIndividual, "");
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ReadBytes(folder.File("in-uit.ged")), kExampleIndi);
}

TEST_F(RunCommandTest, CancelledChoiceEndsQuietly) {
    StartWithExample();
    RecordTag = "NOTE";
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Time, "vorige");
    log.choiceAnswer = [](TfrmKeuze& dialog) {
        dialog.SelectItem(kFamily);
        return TfrmKeuze::kResultCancel;
    };
    Click(TfrmHalvern::kIdUitvoeren);
    EXPECT_EQ(log.choiceShowings, 1);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_FALSE(Exists(output));
    EXPECT_EQ(RecordTag, "NOTE");
    EXPECT_EQ(Panel(1), "vorige");
    EXPECT_EQ(GedcomText.Text(), kExample);
}

// Counts the texts that reach a status bar.
LRESULT CALLBACK CountPanelTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR counter) {
    if (message == SB_SETTEXTA || message == SB_SETTEXTW) ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(RunCommandTest, RunRenumbersWritesAndReportsInTheStatusBar) {
    constexpr int kPeople = 10000;
    folder.Write("groot.ged", MakeGedcom(kPeople));
    Start();
    ChooseFiles(folder.File("groot.ged"), folder.File("uit.ged"));
    int panelTexts = 0;
    SetWindowSubclass(main->sbarHalvern, &CountPanelTexts, 1, reinterpret_cast<DWORD_PTR>(&panelTexts));
    RunWith(kIndividual, "");
    RemoveWindowSubclass(main->sbarHalvern, &CountPanelTexts, 1);

    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ReadBytes(folder.File("uit.ged")), MakeGedcom(kPeople, true));
    EXPECT_EQ(GedcomText.Text(), MakeGedcom(kPeople, true)) << "the text in memory keeps the result";
    EXPECT_EQ(RecordTag, "INDI");
    EXPECT_EQ(RecordLetter, "I");
    EXPECT_EQ(Panel(2), "aantal INDI : 10000");
    EXPECT_EQ(Panel(0), "schonen 20000") << "each individual: its definition and its family's reference";
    EXPECT_TRUE(std::regex_match(Panel(1), std::regex("\\d\\d:\\d\\d:\\d\\d:\\d\\d"))) << Panel(1);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    // 30,001 progress events; a text reaches the status bar only when it is about to be painted.
    EXPECT_LT(panelTexts, 300);
}

TEST_F(RunCommandTest, SecondRunWorksOnTheFirstRunsResult) {
    StartWithExample();
    RunWith(kIndividual, "");
    EXPECT_EQ(ReadBytes(output), kExampleIndi);

    // The input file changes on disk: the run goes on with the text in memory all the same.
    folder.Write("in.ged", "0 HEAD\r\n0 TRLR\r\n");
    RunWith(kFamily, "7");
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ReadBytes(output), kExampleIndiThenFam);
    EXPECT_EQ(Panel(2), "aantal FAM : 1");
    EXPECT_EQ(Panel(0), "schonen 3");
    EXPECT_EQ(RecordTag, "FAM");
    EXPECT_EQ(RecordLetter, "F");
}

TEST_F(RunCommandTest, RunThatFindsNothingStillWritesTheText) {
    StartWithExample();
    RunWith(3, "");  // SOURce
    EXPECT_EQ(ReadBytes(output), kExample);
    EXPECT_EQ(Panel(2), "aantal SOUR : 0");
    EXPECT_EQ(Panel(0), "berichten");
}

TEST_F(RunCommandTest, FailedSaveShowsTheErrorAndKeepsTheText) {
    StartWithExample();
    log.saveAnswer = folder.File("bestaat-niet\\uit.ged");
    Click(TfrmHalvern::kIdOpslaan);
    RunWith(kIndividual, "");

    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].style, kErrorBoxStyle);
    EXPECT_FALSE(messages[0].text.empty());
    EXPECT_EQ(messages[0].text.back(), '.');
    EXPECT_EQ(GedcomText.Text(), kExample) << "not renumbered in memory when it was not saved";
    EXPECT_EQ(Panel(1).rfind("gestart om ", 0), 0u) << "no elapsed time: " << Panel(1);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));

    // With a good name the same text is renumbered once, not twice.
    log.saveAnswer = output;
    Click(TfrmHalvern::kIdOpslaan);
    RunWith(kIndividual, "");
    EXPECT_EQ(ReadBytes(output), kExampleIndi);
}

TEST_F(RunCommandTest, RunWhoseNumbersWouldRepeatOrAreTakenIsRefused) {
    // From -10000 the serial texts of 20001 records run from "10000" back round to "10000".
    folder.Write("veel.ged", MakeGedcom(20001));
    Start();
    ChooseFiles(folder.File("veel.ged"), folder.File("uit.ged"));
    RunWith(kIndividual, "-10000");

    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, rsNummersDubbel.text);
    EXPECT_EQ(messages[0].style, kStandardBoxStyle);
    EXPECT_FALSE(Exists(folder.File("uit.ged")));
    EXPECT_EQ(GedcomText.Text(), MakeGedcom(20001));

    // A new identifier that the file holds already is named, as halvern-cli and the page name it.
    folder.Write("bezet.ged", "0 @X@ INDI\r\n0 @I00002@ NOTE\r\n");
    ChooseFiles(folder.File("bezet.ged"), folder.File("uit.ged"));
    RunWith(kIndividual, "2");
    const auto taken = TakeMessages();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].text, std::string(rsNummerBezet.text) + " (@I00002@)");
    EXPECT_FALSE(Exists(folder.File("uit.ged")));
}

TEST_F(RunCommandTest, OpenenResetsThePanelsAndLoadsTheChosenFile) {
    StartWithExample();
    EXPECT_EQ(InputBox(), input);
    EXPECT_EQ(GedcomText.Text(), kExample);

    // Cancelled: panels back to their defaults, the rest as it was.
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Message, "x");
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Time, "y");
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Count, "z");
    log.openAnswer.reset();
    Click(TfrmHalvern::kIdOpenen);
    EXPECT_EQ(Panel(0), "berichten");
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");
    EXPECT_EQ(Panel(2), "aantal");
    EXPECT_EQ(InputBox(), input);
    EXPECT_EQ(OutputBox(), output) << "the output name is not touched";
    EXPECT_EQ(GedcomText.Text(), kExample);
}

TEST_F(RunCommandTest, FailedLoadLeavesNoOldTextToRenumber) {
    StartWithExample();
    folder.Write("plaatje.ged", std::string("GIF89a\0\x01\x02\x03", 10));  // a byte 0, and no UTF-16
    log.openAnswer = folder.File("plaatje.ged");
    Click(TfrmHalvern::kIdOpenen);
    EXPECT_EQ(Panel(0), "Verkeert bestandsformaat.");
    EXPECT_EQ(InputBox(), folder.File("plaatje.ged"));
    EXPECT_TRUE(GedcomText.Text().empty());

    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenGegevens);
    EXPECT_FALSE(Exists(output)) << "the previous file's text must not be saved under the new name";
}

// Drops files as the shell does, a WM_DROPFILES of UTF-16 names; true when the window freed it.
bool DropFiles(HWND window, const std::vector<std::string>& names) {
    std::wstring list;  // each name ended by a 0, the list by one more (the allocation is zeroed)
    for (const std::string& name : names) list += WideFromUtf8(name) + L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
    auto* const drop = static_cast<DROPFILES*>(GlobalLock(memory));
    *drop = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};  // the names follow it, in UTF-16
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    return GlobalSize(memory) == 0;
}

TEST_F(RunCommandTest, ADroppedFileOpensAsOpenenWouldOpenIt) {
    StartWithExample();
    const std::string unicode = folder.File("\u0141\u00F3d\u017A \u5BB6\u8C31.ged");  // Łódź 家谱
    folder.Write("\u0141\u00F3d\u017A \u5BB6\u8C31.ged", kExampleIndi);
    folder.Write("tweede.ged", kExampleIndiThenFam);
    SetStatusPanelText(main->sbarHalvern, StatusPanel::Time, "vorige");

    // Several files: the first, with the panels reset and the output name as it was.
    EXPECT_TRUE(DropFiles(main->Handle(), {unicode, folder.File("tweede.ged")}));
    EXPECT_EQ(InputBox(), unicode);
    EXPECT_EQ(GedcomText.Text(), kExampleIndi);
    EXPECT_EQ(OutputBox(), output);
    EXPECT_EQ(Panel(1), "dd:uu:mm:ss");

    // While a run is busy (here: its choice dialog is open) a drop does nothing.
    log.choiceAnswer = [&](TfrmKeuze&) {
        EXPECT_TRUE(DropFiles(main->Handle(), {folder.File("tweede.ged")}));
        return TfrmKeuze::kResultCancel;
    };
    Click(TfrmHalvern::kIdUitvoeren);
    EXPECT_EQ(InputBox(), unicode);

    // A folder, a file another program holds: the message of "Openen", and no text left to renumber.
    const UniqueRes<HANDLE, &CloseHandle> held(
        CreateFileW(WideFromUtf8(folder.File("tweede.ged")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    for (const auto& [name, reason] : {std::pair{folder.Name(), "het is een map."},
                                       std::pair{folder.File("tweede.ged"), "de toegang is geweigerd."}}) {
        EXPECT_TRUE(DropFiles(main->Handle(), {name}));
        log.choiceShowings = 0;
        ExpectStoppedWith("Het bestand \"" + name + "\" kan niet geopend worden: " + reason);
        EXPECT_TRUE(GedcomText.Text().empty());
    }
}

TEST_F(RunCommandTest, CancelledOpslaanKeepsTheEarlierOutputName) {
    StartWithExample();
    log.saveAnswer.reset();
    Click(TfrmHalvern::kIdOpslaan);
    EXPECT_EQ(OutputBox(), output);
    RunWith(kIndividual, "");
    EXPECT_EQ(ReadBytes(output), kExampleIndi);
}

TEST_F(RunCommandTest, ToolbarClickReachesTheWindowThroughItsPanel) {
    StartWithExample();
    RECT button{};
    SendMessageA(main->tbarHalvern, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button));  // "Openen"
    const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(main->tbarHalvern, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageA(main->tbarHalvern, WM_LBUTTONUP, 0, centre);
    PumpMessages(main.get());
    EXPECT_EQ(log.openShowings, 2);
}

TEST_F(RunCommandTest, UncaughtErrorIsShownAndTheWindowGoesOn) {
    Start();
    main->seams.askOpenFile = [](HWND) -> std::optional<std::string> { throw std::runtime_error("Schijf kapot"); };
    Click(TfrmHalvern::kIdOpenen);
    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Schijf kapot.");
    EXPECT_EQ(messages[0].style, kErrorBoxStyle);
    EXPECT_TRUE(IsWindow(main->Handle()));
    Click(TfrmHalvern::kIdUitvoeren);
    ExpectStoppedWith(rsGeenInvoer);
}

TEST_F(RunCommandTest, AfsluitenClosesTheWindowAndEndsTheLoop) {
    Start();
    Click(TfrmHalvern::kIdAfsluiten);
    EXPECT_EQ(main->Handle(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace halvern::testing
