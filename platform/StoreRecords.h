#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// What the information store keeps in the per-user registry: where its two records live and the
// values they hold, in the order in which they are written.

// The maker record: the key Software\Zandrix itself. Rewritten only while it is missing or older
// than kMakerRecordVersion.
inline constexpr std::string_view kMakerBasePath = "Software\\Zandrix\\";
inline constexpr std::string_view kMakerSubKey = "";
inline constexpr std::string_view kMakerRecordVersion = "6";
inline constexpr std::string_view kVersionValue = "Versie";

// The program record: Software\Zandrix\Halvern\5.00\Programma, rewritten at every start. The
// version folder stays "5.00" for all 5.0x versions.
inline constexpr std::string_view kProgramBasePath = "Software\\Zandrix\\Halvern\\5.00\\";
inline constexpr std::string_view kProgramSubKey = "Programma\\";

// Where earlier versions kept the program record; removed at every start.
inline constexpr std::string_view kOldProgramSubKey = "Programma";

struct StoreValue {
    std::string_view name;
    std::string text;
};

// The ten maker values, "Versie" last.
std::vector<StoreValue> MakerRecord();

// The seven program values for the program file at programFile (its full path).
std::vector<StoreValue> ProgramRecord(std::string_view programFile);

// The folder of a file path with its final separator: the path cut after its last "\" or ":".
// "C:\Tools\Halvern.exe" gives "C:\Tools\", "C:Halvern.exe" "C:", a bare name the empty text.
std::string FolderWithSeparator(std::string_view path);

}  // namespace halvern
