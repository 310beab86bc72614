#include "ui/AnsiPath.h"

#include <windows.h>

#include <string>
#include <system_error>

namespace halvern {

std::filesystem::path PathFromAnsi(std::string_view name) {
    if (name.empty()) return {};
    const int length = static_cast<int>(name.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "MultiByteToWideChar");
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), length, wide.data(), wideLength);
    return std::filesystem::path(std::move(wide));
}

}  // namespace halvern
