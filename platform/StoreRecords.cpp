#include "platform/StoreRecords.h"

#include "base/ProgramVersion.h"

namespace halvern {
namespace {

// The maker's contact details. The same address goes into both records.
constexpr std::string_view kMakerEmail = "info@zandrix.example";

}  // namespace

std::vector<StoreValue> MakerRecord() {
    return {
        {"Logo", "Zandrix"},
        {"Naam", "J. de Boer"},
        {"Adres", "Voorbeeldstraat 12"},
        {"Postcode", "1234 AB"},
        {"Plaats", "Dorp"},
        {"Telefoon", "012-3456789"},
        {"GiroNummer", "NL00 ZAND 0123 4567 89"},
        {"Email", std::string(kMakerEmail)},
        {"HomePage", "https://www.zandrix.example/"},
        {kVersionValue, std::string(kMakerRecordVersion)},
    };
}

std::vector<StoreValue> ProgramRecord(std::string_view programFile) {
    return {
        {"Naam", "Halvern"},
        {kVersionValue, std::string(kProgramVersion)},
        {"Datum", "31 december 2021"},
        {"Exe", "Halvern.exe"},
        {"Help", "Halvern.chm"},
        {"Email", std::string(kMakerEmail)},
        {"Path", FolderWithSeparator(programFile)},
    };
}

std::string FolderWithSeparator(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\:");
    if (separator == std::string_view::npos) return {};
    return std::string(path.substr(0, separator + 1));
}

}  // namespace halvern
