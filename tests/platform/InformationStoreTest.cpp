#include "platform/InformationStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestRegistry.h"
#include "base/ProgramVersion.h"

namespace halvern {
namespace {

using namespace std::string_literals;
using test::KeyExists;
using test::ReadSz;
using test::WriteRaw;

// The store writes fixed keys: each test starts and ends without HKCU\Software\Zandrix (the Wine
// prefix belongs to this build tree alone).
constexpr const char* kMakerKey = "Software\\Zandrix";
constexpr const char* kProgramKey = "Software\\Zandrix\\Halvern\\5.00\\Programma";

class InformationStore : public ::testing::Test {
protected:
    void SetUp() override { test::DeleteTree(kMakerKey); }
    void TearDown() override { test::DeleteTree(kMakerKey); }

    // A mark in the maker record that survives only when the record is left alone.
    static void MarkMakerRecord() { WriteRaw(kMakerKey, "Naam", REG_SZ, "met de hand\0"s); }
    static bool MakerRecordKept() { return ReadSz(kMakerKey, "Naam") == "met de hand"; }
};

TEST_F(InformationStore, FirstStartWritesBothRecords) {
    WriteInformationStore("C:\\Tools\\Halvern.exe");

    EXPECT_TRUE(KeyExists("Software\\Zandrix\\Halvern\\5.00"));
    const std::pair<const char*, const char*> maker[] = {
        {"Logo", "Zandrix"},           {"Naam", "J. de Boer"},      {"Adres", "Voorbeeldstraat 12"},
        {"Postcode", "1234 AB"},       {"Plaats", "Dorp"},          {"Telefoon", "012-3456789"},
        {"GiroNummer", "NL00 ZAND 0123 4567 89"}, {"Email", "info@zandrix.example"},
        {"HomePage", "https://www.zandrix.example/"}, {"Versie", "6"},
    };
    for (const auto& [name, text] : maker) EXPECT_EQ(ReadSz(kMakerKey, name), text) << name;
    const std::pair<const char*, const char*> program[] = {
        {"Naam", "Halvern"}, {"Versie", HALVERN_VERSION_TEXT},{"Datum", "31 december 2021"}, {"Exe", "Halvern.exe"},
        {"Help", "Halvern.chm"}, {"Email", "info@zandrix.example"}, {"Path", "C:\\Tools\\"},
    };
    for (const auto& [name, text] : program) EXPECT_EQ(ReadSz(kProgramKey, name), text) << name;

    const OutsideAddresses addresses = ReadOutsideAddresses();
    EXPECT_EQ(addresses.mailAddress, "info@zandrix.example");
    EXPECT_EQ(addresses.homepageUrl, "https://www.zandrix.example/");
}

TEST_F(InformationStore, LaterStartKeepsTheMakerRecordAndRewritesTheProgramRecord) {
    // Left by an earlier version: the old program key, with keys and values below it.
    WriteRaw("Software\\Zandrix\\Programma\\Instellingen\\Vensters", "Breedte", REG_SZ, "640\0"s);
    WriteRaw("Software\\Zandrix\\ProgrammaLijst", "Naam", REG_SZ, "blijft\0"s);
    WriteInformationStore("C:\\Tools\\Halvern.exe");
    EXPECT_FALSE(KeyExists("Software\\Zandrix\\Programma"));
    EXPECT_EQ(ReadSz("Software\\Zandrix\\ProgrammaLijst", "Naam"), "blijft");

    MarkMakerRecord();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kMakerKey, "Adres");
    WriteRaw(kProgramKey, "Naam", REG_SZ, "met de hand\0"s);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kProgramKey, "Datum");

    WriteInformationStore("D:\\Elders\\Halvern.exe");  // moved to another folder
    EXPECT_TRUE(MakerRecordKept());
    EXPECT_EQ(ReadSz(kMakerKey, "Adres"), std::nullopt);
    EXPECT_EQ(ReadSz(kProgramKey, "Naam"), "Halvern");
    EXPECT_EQ(ReadSz(kProgramKey, "Datum"), "31 december 2021");
    EXPECT_EQ(ReadSz(kProgramKey, "Path"), "D:\\Elders\\");
}

TEST_F(InformationStore, StoredMakerVersionDecidesWhetherTheRecordIsRewritten) {
    const std::pair<std::string, bool> cases[] = {
        {"5", true},  {"5.9", true},  {"10", true},  {"", true},  {"6", false},
        {"6.1", false}, {"7", false},
        {"1.2.3", false},  // unreadable: most likely from a newer program, so left alone
    };
    for (const auto& [stored, rewritten] : cases) {
        SCOPED_TRACE(stored);
        MarkMakerRecord();
        WriteRaw(kMakerKey, "Versie", REG_SZ, stored + '\0');
        WriteInformationStore("C:\\Tools\\Halvern.exe");
        EXPECT_EQ(MakerRecordKept(), !rewritten);
        EXPECT_EQ(ReadSz(kMakerKey, "Versie"), rewritten ? "6" : stored);
        test::DeleteTree(kMakerKey);
    }
    // Without a version, or with one that is no text: rewritten.
    MarkMakerRecord();
    WriteInformationStore("C:\\Tools\\Halvern.exe");
    EXPECT_FALSE(MakerRecordKept());
    MarkMakerRecord();
    WriteRaw(kMakerKey, "Versie", REG_DWORD, "\x07\0\0\0"s);
    WriteInformationStore("C:\\Tools\\Halvern.exe");
    EXPECT_FALSE(MakerRecordKept());
}

// The registry's own text form of HKCU\Software\Zandrix, as the wineserver writes it into user.reg.
// Wine 8 does not write user.reg on RegFlushKey (only every half minute and when the server
// ends), so the key is saved through the same writer into a file of its own. Empty when not
// under Wine or when the save is refused (RegSaveKeyA needs the backup privilege).
std::string SavedRegistryText() {
    if (GetEnvironmentVariableA("WINEPREFIX", nullptr, 0) == 0) return {};
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES privileges{1, {{{}, SE_PRIVILEGE_ENABLED}}};
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return {};
    LookupPrivilegeValueA(nullptr, "SeBackupPrivilege", &privileges.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);

    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string file = folder + "halvern-zandrix.reg"s;
    DeleteFileA(file.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMakerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    const LONG saved = RegSaveKeyA(key, file.c_str(), nullptr);
    RegCloseKey(key);
    std::ostringstream text;
    if (saved == ERROR_SUCCESS) text << std::ifstream(file, std::ios::binary).rdbuf();
    DeleteFileA(file.c_str());
    return text.str();
}

TEST_F(InformationStore, RecordsReachTheRegistryAsPlainTexts) {
    WriteInformationStore("C:\\Tools\\Halvern.exe");

    // REG_SZ with its terminating NUL, size = length + 1 (read with RegQueryValueExA).
    EXPECT_EQ(ReadSz(kProgramKey, "Datum"), "31 december 2021");

    const std::string saved = SavedRegistryText();
    if (saved.empty()) GTEST_SKIP() << "not under Wine, or the key could not be saved";
    // "name"="text" is how Wine writes a REG_SZ value; other types carry a type prefix.
    const std::size_t program = saved.find("Halvern\\\\5.00\\\\Programma]");
    ASSERT_NE(program, std::string::npos) << saved;
    const std::string section = saved.substr(program, saved.find("\n[", program) - program);
    for (const char* line : {"\n\"Naam\"=\"Halvern\"", "\n\"Datum\"=\"31 december 2021\"", "\n\"Path\"=\"C:\\\\Tools\\\\\""})
        EXPECT_NE(section.find(line), std::string::npos) << line << section;
    for (const char* line : {"\n\"HomePage\"=\"https://www.zandrix.example/\"", "\n\"Versie\"=\"6\""})
        EXPECT_NE(saved.find(line), std::string::npos) << line << saved;
}

}  // namespace
}  // namespace halvern
