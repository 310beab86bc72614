// halvern-cli.exe on names from every script, as Windows holds them: started with CreateProcessW,
// its output compared byte for byte with the renumbering of the input.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/UniqueRes.h"
#include "base/WideText.h"
#include "core/FileName.h"

namespace halvern {
namespace {

using UniqueHandle = UniqueRes<HANDLE, &CloseHandle>;
constexpr char kInput[] = "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n0 TRLR\r\n";
constexpr char kRenumbered[] = "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I00001@\r\n0 TRLR\r\n";

HANDLE Opened(HANDLE file) { return file != INVALID_HANDLE_VALUE ? file : nullptr; }
std::string ReadBytes(const std::string& name) {
    std::ifstream in(FilePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// halvern-cli.exe, beside this program, started in folder: its exit status and standard error.
std::pair<DWORD, std::string> RunCli(const std::string& folder, const std::vector<std::string>& arguments) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring program = std::filesystem::path(self).replace_filename(L"halvern-cli.exe").native();
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::string& argument : arguments) commandLine += L" \"" + WideFromUtf8(argument) + L"\"";
    const std::string errName = folder + "\\stderr.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueHandle err(Opened(CreateFileW(FilePath(errName).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                              CREATE_ALWAYS, 0, nullptr)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = err.get();
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        WideFromUtf8(folder).c_str(), &startup, &child)) return {255, "not started"};
    DWORD status = 255;
    const UniqueHandle process(child.hProcess);
    const UniqueHandle thread(child.hThread);
    WaitForSingleObject(child.hProcess, 60000);
    GetExitCodeProcess(child.hProcess, &status);
    return {status, ReadBytes(errName)};
}

TEST(CliNames, EveryNameIsReadAndWrittenAndAFileThatCannotBeOpenedIsNamed) {
    const std::string folder = Utf8FromWide(std::filesystem::temp_directory_path().native()) + "\\halvern-cli-names-" +
                               std::to_string(GetCurrentProcessId());
    // Folders that take the last two names beyond MAX_PATH, the second from a folder of its own.
    const std::string outer = folder + "\\" + std::string(120, 'd');
    const std::string inner(110, 'e');
    std::filesystem::create_directories(FilePath(outer + "\\" + inner));
    const struct {
        std::string startIn;
        std::string input;  // a full name, or one relative to startIn
    } cases[] = {
        {folder, folder + "\\stamboom.ged"}, {folder, folder + "\\Zoë Müller.ged"}, {folder, "Семья Иванов.ged"},
        {folder, folder + "\\Łódź stamboom.ged"}, {folder, folder + "\\Οικογένεια.ged"}, {folder, "家谱 张.ged"},
        {folder, "\xF0\x9F\x8C\xB3 boom.ged"},  // an emoji: a surrogate pair in UTF-16
        {folder, outer + "\\" + inner + "\\Łódź lang.ged"}, {outer, inner + "\\Семья lang.ged"},
    };
    for (const auto& c : cases) {
        const std::string full = c.input[1] == ':' ? c.input : c.startIn + "\\" + c.input;
        SCOPED_TRACE(c.input + " (" + std::to_string(WideFromUtf8(full).size()) + " units)");
        std::ofstream(FilePath(full), std::ios::binary) << kInput;
        const auto [status, err] = RunCli(c.startIn, {"-q", "-t", "INDI", c.input, c.input + " uit.ged"});
        EXPECT_EQ(status, 0u) << err;
        EXPECT_EQ(ReadBytes(full + " uit.ged"), kRenumbered);
        for (const std::string& made : {full, full + " uit.ged"}) std::filesystem::remove(FilePath(made));
    }

    // In UTF-8 where standard error is no console, the line ended as text is on Windows.
    std::ofstream(FilePath(folder + "\\Łódź bezet.ged"), std::ios::binary) << kInput;
    {
        const UniqueHandle holder(Opened(CreateFileW(FilePath(folder + "\\Łódź bezet.ged").c_str(), GENERIC_READ, 0,
                                                     nullptr, OPEN_EXISTING, 0, nullptr)));
        for (const auto& [input, reason] : {std::pair{"Łódź weg.ged", "het bestaat niet."},
                                            std::pair{"Łódź bezet.ged", "de toegang is geweigerd."}}) {
            const auto [status, err] = RunCli(folder, {input, "uit.ged"});
            EXPECT_EQ(status, 2u);
            EXPECT_EQ(err, std::string("halvern-cli: Het bestand \"") + input + "\" kan niet geopend worden: " + reason +
                               "\r\n");
        }
    }
    std::filesystem::remove(FilePath(outer + "\\" + inner));  // the walk below cannot reach it by a long name
    std::filesystem::remove_all(FilePath(folder));
}

}  // namespace
}  // namespace halvern
