#include "platform/ShellLinks.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "platform/ShellOpen.h"

namespace halvern {
namespace {

ShellOpenFunction& Replacement() {
    static ShellOpenFunction replacement;
    return replacement;
}

void OpenThroughShell(const std::string& file) {
    constexpr char kVerb[] = "Open";
    const HWND owner = GetDesktopWindow();
    if (const ShellOpenFunction& replacement = Replacement()) {
        replacement(owner, kVerb, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    ShellExecuteA(owner, kVerb, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void OpenMailProgram(const std::string& mailAddress) { OpenThroughShell("Mailto:" + mailAddress); }

void OpenHomepage(const std::string& homepageUrl) { OpenThroughShell(homepageUrl); }

ShellOpenFunction ReplaceShellOpenForTesting(ShellOpenFunction replacement) {
    return std::exchange(Replacement(), std::move(replacement));
}

}  // namespace halvern
