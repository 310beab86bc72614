#include "ui/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include "base/UniqueRes.h"
#include "base/WideText.h"

namespace halvern {

std::vector<std::string> CommandLineArguments() {
    int count = 0;
    const UniqueRes<LPWSTR*, &LocalFree> split(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; split && i < count; ++i) arguments.push_back(Utf8FromWide(split.get()[i]));
    return arguments;
}

}  // namespace halvern
