#include "cli/Console.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "base/WideText.h"
#endif

namespace halvern::cli {

namespace {

// Writes text to stream at once. A Windows console shows its text as UTF-16 (bytes would be read
// in its code page, and a name would come out garbled); anything else gets the UTF-8 bytes.
void WriteNow(std::FILE* stream, std::string_view text) {
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring wide = WideFromUtf8(text);
        DWORD written = 0;
        if (WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) return;
    }
#endif
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void WriteText(std::FILE* stream, std::string_view text) { WriteNow(stream, text); }

void WriteLine(std::FILE* stream, std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text).push_back('\n');
    WriteNow(stream, line);
}

}  // namespace halvern::cli
