#include "ui/tInit.h"

#include <system_error>
#include <vector>

#include "app/StatusTexts.h"
#include "base/WideText.h"
#include "platform/HelpSystem.h"
#include "platform/StoreRecords.h"
#include "platform/Win32FileProbe.h"
#include "ui/tVars.h"
#include "ui/uFuncties.h"

namespace halvern {

namespace {
constexpr char kHelpFileName[] = "Halvern.chm";
constexpr DWORD kLongestPath = 32768;
}  // namespace

void InitialiseProgram(HWND statusBar, const std::string& programFile) {
    SetStatusPanelWidths(statusBar);
    ShowStatusMessage(statusBar, {});
    ShowStatusTime(statusBar, {});
    ShowStatusCount(statusBar, {});

    ProgramDir = StripTrailingBackslashes(FolderWithSeparator(programFile));
    const std::string besideProgram = ProgramDir + "\\" + kHelpFileName;
    if (Win32FileProbe{}.IsExistingFile(besideProgram)) SetApplicationHelpFile(besideProgram);
}

std::string ProgramFileName() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "GetModuleFileNameW");
        }
        if (length < name.size() || name.size() >= kLongestPath) return Utf8FromWide({name.data(), length});
        name.resize(name.size() * 2);
    }
}

}  // namespace halvern
