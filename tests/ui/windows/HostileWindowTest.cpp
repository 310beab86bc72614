// The Windows program against a hostile world: a file name beyond ASCII on the command line, an
// output file another process holds locked, and folders and files it may not write. Each failure
// is shown in its message box, nothing is lost, and the program goes on.
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/tResStr.h"
#include "base/UniqueRes.h"
#include "base/WideText.h"
#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/CommandLine.h"
#include "ui/ErrorBoxes.h"
#include "ui/tVars.h"

namespace halvern::testing {
namespace {

constexpr char kInput[] = "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n0 TRLR\r\n";
constexpr char kRenumbered[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I00001@\r\n0 TRLR\r\n";
constexpr char kEarlier[] = "0 HEAD\r\n0 TRLR\r\n";
constexpr int kIndividual = 0;

// The names of the files in folder (an ANSI name), sorted as the system lists them.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

class HostileWindowTest : public ProgramWindowsTest {
protected:
    // The one message a failed run showed: the error box with the save's description.
    void ExpectErrorBox(const std::string& text) {
        const auto messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].style, kErrorBoxStyle);
    }

    // After a failure the same window renumbers and saves as usual.
    void ExpectTheProgramGoesOn() {
        EXPECT_EQ(GedcomText.Text(), kInput) << "not renumbered in memory when it was not saved";
        const std::string good = folder.File("goed.ged");
        log.saveAnswer = good;
        Click(TfrmHalvern::kIdOpslaan);
        RunWith(kIndividual, "");
        EXPECT_TRUE(TakeMessages().empty());
        EXPECT_EQ(ReadBytes(good), kRenumbered);
    }
};

// Latin-1 text as UTF-16 code units, little-endian, after the byte order mark.
std::string Utf16Le(std::string_view latin1) {
    std::string bytes = "\xFF\xFE";
    for (const char c : latin1) bytes += std::string{c, '\0'};
    return bytes;
}

TEST_F(HostileWindowTest, AUtf16FileIsRenumberedAndSavedInUtf16) {
    const std::string text = "0 HEAD\r\n0 @I7@ INDI\r\n1 NAME J\xFCrgen\n1 FAMS @F2@\r0 @F2@ FAM\r\n1 HUSB @I7@\r\n0 TRLR\r\n";
    const std::string renumbered =
        "0 HEAD\r\n0 @I00001@ INDI\r\n1 NAME J\xFCrgen\n1 FAMS @F00007@\r0 @F00007@ FAM\r\n1 HUSB @I00001@\r\n0 TRLR\r\n";
    folder.Write("utf16.ged", Utf16Le(text));
    Start(folder.File("utf16.ged"));
    EXPECT_EQ(Panel(0), "berichten") << "no message: the file was read";
    log.saveAnswer = folder.File("uit.ged");
    Click(TfrmHalvern::kIdOpslaan);
    RunWith(kIndividual, "");
    RunWith(1, "7");  // FAMily from 7, on the result of the first run
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ReadBytes(folder.File("uit.ged")), Utf16Le(renumbered));
}

TEST_F(HostileWindowTest, AnOutputLockedByAnotherProcessIsToldAndKept) {
    folder.Write("in.ged", kInput);
    folder.Write("uit.ged", kEarlier);
    Start();
    ChooseFiles(folder.File("in.ged"), folder.File("uit.ged"));
    {
        // Opened without any sharing, as a program that holds the file open for itself does.
        const HANDLE opened = CreateFileA(folder.File("uit.ged").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(opened, INVALID_HANDLE_VALUE) << GetLastError();
        const UniqueRes<HANDLE, &CloseHandle> lock(opened);
        RunWith(kIndividual, "");
        ExpectErrorBox("File access denied.");  // Windows' sharing violation
    }
    EXPECT_EQ(ReadBytes(folder.File("uit.ged")), kEarlier);
    EXPECT_EQ(Entries(folder.Name()), (std::vector<std::string>{"in.ged", "uit.ged"})) << "no temporary file left";
    ExpectTheProgramGoesOn();
}

TEST_F(HostileWindowTest, AReadOnlyOutputFileIsToldAndKept) {
    folder.Write("in.ged", kInput);
    folder.Write("uit.ged", kEarlier);
    ASSERT_TRUE(SetFileAttributesA(folder.File("uit.ged").c_str(), FILE_ATTRIBUTE_READONLY));
    Start();
    ChooseFiles(folder.File("in.ged"), folder.File("uit.ged"));
    RunWith(kIndividual, "");
    ExpectErrorBox("File access denied.");
    EXPECT_EQ(ReadBytes(folder.File("uit.ged")), kEarlier);
    SetFileAttributesA(folder.File("uit.ged").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Entries(folder.Name()), (std::vector<std::string>{"in.ged", "uit.ged"}));
    ExpectTheProgramGoesOn();
}

TEST_F(HostileWindowTest, AFolderWithoutWritePermissionIsTold) {
    // Under Wine on Linux, Z:\sys is a folder where not even the administrator may make a file.
    // Wine keeps no access lists on folders, so this is the one such folder it can show.
    const std::string closed = "Z:\\sys";
    const DWORD attributes = GetFileAttributesA(closed.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        GTEST_SKIP() << "no folder " << closed << " (not under Wine on Linux)";
    }
    folder.Write("in.ged", kInput);
    Start();
    ChooseFiles(folder.File("in.ged"), closed + "\\uit.ged");
    RunWith(kIndividual, "");
    ExpectErrorBox("File access denied.");
    EXPECT_EQ(GetFileAttributesA((closed + "\\uit.ged").c_str()), INVALID_FILE_ATTRIBUTES);
    ExpectTheProgramGoesOn();
}

// The name as the program's entry takes its first argument (CommandLineArguments): this test
// program started once more with the name on its command line.
constexpr wchar_t kChildVariable[] = L"HALVERN_EXPECTED_ARGUMENT";

TEST(HostileCommandLine, ChildSideSeesTheNameAsGiven) {
    wchar_t expected[MAX_PATH] = {};
    if (GetEnvironmentVariableW(kChildVariable, expected, MAX_PATH) == 0) GTEST_SKIP() << "started by the test below";
    EXPECT_EQ(CommandLineArguments().back(), Utf8FromWide(expected));
}

TEST(HostileCommandLine, ANameBeyondAnyCodePageReachesTheProgramIntact) {
    const std::wstring name = L"C:\\Mijn bestanden\\\u0141\u00F3d\u017A \u5BB6\u8C31 \U0001F333.ged";  // Łódź 家谱 🌳
    wchar_t program[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::wstring commandLine = std::wstring(L"\"") + program +
                               L"\" --gtest_brief=1 --gtest_filter=HostileCommandLine.ChildSideSeesTheNameAsGiven \"" +
                               name + L"\"";

    ASSERT_TRUE(SetEnvironmentVariableW(kChildVariable, name.c_str()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &child);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    ASSERT_TRUE(started) << GetLastError();
    const UniqueRes<HANDLE, &CloseHandle> process(child.hProcess);
    const UniqueRes<HANDLE, &CloseHandle> thread(child.hThread);
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "the program received another name than " << Utf8FromWide(name);
}

}  // namespace
}  // namespace halvern::testing
