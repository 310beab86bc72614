// halvern-cli.exe on names from every script, as Windows holds them: the files made with the wide
// API, the program started with CreateProcessW, its output compared byte for byte with the
// renumbering of the input.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/UniqueRes.h"
#include "base/WideText.h"

namespace {

using halvern::Utf8FromWide;
using halvern::WideFromUtf8;
using UniqueHandle = halvern::UniqueRes<HANDLE, &CloseHandle>;

// An opened file's handle, or null when it could not be opened.
HANDLE Opened(HANDLE file) { return file != INVALID_HANDLE_VALUE ? file : nullptr; }

constexpr char kInput[] =
    "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @I3@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n1 WIFE @I3@\r\n"
    "0 TRLR\r\n";
constexpr char kRenumbered[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F2@\r\n0 @I00002@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I00001@\r\n"
    "1 WIFE @I00002@\r\n0 TRLR\r\n";

// The test's own calls take every name in the "\\?\" form, which Windows needs beyond MAX_PATH.
std::wstring LongForm(const std::wstring& full) { return L"\\\\?\\" + full; }

void WriteBytes(const std::wstring& full, const std::string& bytes) {
    const UniqueHandle file(Opened(CreateFileW(LongForm(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    ASSERT_TRUE(file) << GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string ReadBytes(const std::wstring& full) {
    const UniqueHandle file(Opened(CreateFileW(LongForm(full).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr)));
    if (!file) return "(missing)";
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes;
}

struct Outcome {
    DWORD status = 255;
    std::string err;  // standard error, the bytes as written
};

class CliNames : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"halvern-cli-names-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << GetLastError();
    }
    void TearDown() override {
        // Leaves are removed deepest first: a folder goes once it is empty.
        for (auto name = made_.rbegin(); name != made_.rend(); ++name) {
            if (!DeleteFileW(LongForm(*name).c_str())) RemoveDirectoryW(LongForm(*name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring In(const std::wstring& name) {
        made_.push_back(folder_ + L"\\" + name);
        return made_.back();
    }
    std::wstring Folder(const std::wstring& name) {
        const std::wstring full = In(name);
        EXPECT_TRUE(CreateDirectoryW(LongForm(full).c_str(), nullptr)) << GetLastError();
        return full;
    }

    // halvern-cli.exe, beside this test program, started in folder with the arguments given.
    Outcome Run(const std::wstring& folder, const std::vector<std::wstring>& arguments) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program = self;
        program.replace(program.find_last_of(L'\\') + 1, std::wstring::npos, L"halvern-cli.exe");
        std::wstring commandLine = L"\"" + program + L"\"";
        for (const std::wstring& argument : arguments) commandLine += L" \"" + argument + L"\"";

        const std::wstring errName = In(L"stderr.txt");
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        Outcome outcome;
        {
            const UniqueHandle err(
                Opened(CreateFileW(errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr)));
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = err.get();
            startup.hStdError = err.get();
            PROCESS_INFORMATION child{};
            if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                &startup, &child)) {
                ADD_FAILURE() << "cannot start " << Utf8FromWide(program) << ": " << GetLastError();
                return outcome;
            }
            const UniqueHandle process(child.hProcess);
            const UniqueHandle thread(child.hThread);
            WaitForSingleObject(child.hProcess, 60000);
            GetExitCodeProcess(child.hProcess, &outcome.status);
        }
        outcome.err = ReadBytes(errName);
        return outcome;
    }

    std::wstring folder_;
    std::vector<std::wstring> made_;
};

// The name with "uit " before its last part.
std::wstring OutputFor(const std::wstring& name) {
    const std::size_t leaf = name.find_last_of(L'\\') + 1;  // 0 when there is no folder part
    return name.substr(0, leaf) + L"uit " + name.substr(leaf);
}

TEST_F(CliNames, EveryNameIsReadAndWrittenAsWindowsHoldsIt) {
    // Two folders whose names take the full names of the last two cases beyond MAX_PATH.
    const std::wstring outer(120, L'd');
    const std::wstring inner(110, L'e');
    const std::wstring outerFolder = Folder(outer);
    Folder(outer + L"\\" + inner);
    const struct {
        std::wstring startIn;
        std::wstring input;  // as given to the program: a full name, or one relative to startIn
    } cases[] = {
        {folder_, folder_ + L"\\stamboom.ged"},
        {folder_, folder_ + L"\\Zoë Müller.ged"},         // Windows-1252
        {folder_, folder_ + L"\\Łódź stamboom.ged"},      // Polish
        {folder_, folder_ + L"\\Οικογένεια.ged"},         // Greek
        {folder_, L"Семья Иванов.ged"},                    // Cyrillic
        {folder_, folder_ + L"\\家谱 张.ged"},            // Chinese
        {folder_, L"\U0001F333 boom.ged"},                 // an emoji: a surrogate pair in UTF-16
        {folder_, outerFolder + L"\\" + inner + L"\\Łódź lang.ged"},  // beyond MAX_PATH
        {outerFolder, inner + L"\\Семья lang.ged"},        // beyond it, relative
    };
    for (const auto& c : cases) {
        const std::wstring full = c.input[1] == L':' ? c.input : c.startIn + L"\\" + c.input;
        made_.push_back(full);
        made_.push_back(OutputFor(full));
        SCOPED_TRACE(Utf8FromWide(c.input) + " (" + std::to_string(full.size()) + " units)");
        WriteBytes(full, kInput);
        const Outcome run = Run(c.startIn, {L"-q", L"-t", L"INDI", c.input, OutputFor(c.input)});
        EXPECT_EQ(run.status, 0u) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(ReadBytes(OutputFor(full)), kRenumbered);
    }
}

TEST_F(CliNames, AFileThatCannotBeOpenedIsNamedInTheMessage) {
    const std::wstring held = In(L"Łódź bezet.ged");
    WriteBytes(held, kInput);
    const UniqueHandle holder(Opened(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    ASSERT_TRUE(holder);
    const struct {
        std::wstring input;
        std::string message;
    } cases[] = {
        {L"Łódź weg.ged", "Het bestand \"Łódź weg.ged\" kan niet geopend worden: het bestaat niet."},
        {L"Łódź bezet.ged", "Het bestand \"Łódź bezet.ged\" kan niet geopend worden: de toegang is geweigerd."},
    };
    for (const auto& c : cases) {
        const Outcome run = Run(folder_, {c.input, L"uit.ged"});
        EXPECT_EQ(run.status, 2u);
        // The UTF-8 bytes where standard error is no console, the line ended as text is on Windows.
        EXPECT_EQ(run.err, "halvern-cli: " + c.message + "\r\n");
    }
    EXPECT_EQ(ReadBytes(folder_ + L"\\uit.ged"), "(missing)");
}

}  // namespace
