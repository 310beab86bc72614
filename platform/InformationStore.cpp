#include "platform/InformationStore.h"

#include <windows.h>

#include "base/WideText.h"
#include "platform/StoreRecords.h"
#include "platform/VersionText.h"
#include "platform/zxReg.h"

namespace halvern {

namespace {

// A UTF-8 text in the ANSI code page, as the registry's values have always been written (a
// character the code page lacks becomes what Windows makes of it there, as GetModuleFileNameA gives).
std::string InAnsiCodePage(const std::string& text) {
    return NarrowFromWide(WideFromUtf8(text), CP_ACP);
}

}  // namespace

void WriteInformationStore(const std::string& programFile) noexcept {
    try {
        std::string storedVersion;
        TRegRead().ReadValue(HKEY_CURRENT_USER, kMakerBasePath, kMakerSubKey, kVersionValue, storedVersion);
        // Only a record older than ours is rewritten; one of our version or newer is left as it is,
        // also when somebody changed its other values by hand.
        if (IsOlderVersion(storedVersion, kMakerRecordVersion)) {
            const TRegWrite writer;
            for (const StoreValue& value : MakerRecord())
                writer.WriteValue(HKEY_CURRENT_USER, kMakerBasePath, kMakerSubKey, value.name, value.text);
        }

        // Usually there is nothing left to remove.
        TRegDeleteBool().DeleteKey(HKEY_CURRENT_USER, kMakerBasePath, kOldProgramSubKey);

        const TRegWrite writer;
        for (const StoreValue& value : ProgramRecord(InAnsiCodePage(programFile)))
            writer.WriteValue(HKEY_CURRENT_USER, kProgramBasePath, kProgramSubKey, value.name, value.text);
    } catch (...) {
        // Only building the records can throw (out of memory); the program starts all the same.
    }
}

OutsideAddresses ReadOutsideAddresses() noexcept {
    OutsideAddresses addresses;
    const TRegRead reader;
    // The names as the readers have always spelt them; the registry matches them without regard
    // to case and ignores the sub-key's missing final backslash.
    reader.ReadValue(HKEY_CURRENT_USER, kProgramBasePath, "Programma", "Email", addresses.mailAddress);
    reader.ReadValue(HKEY_CURRENT_USER, kMakerBasePath, kMakerSubKey, "Homepage", addresses.homepageUrl);
    return addresses;
}

}  // namespace halvern
