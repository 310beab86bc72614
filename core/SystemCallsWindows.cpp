// The system calls of core on Windows, through its C runtime (wide-character names throughout).
#include "core/SystemCalls.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

#include <string>

#include "base/WideText.h"
#include "core/FileName.h"

namespace halvern {
namespace {

// A full name at least this long goes to the system in its long form: the classic limit is
// MAX_PATH units with the final 0, and a save's temporary file beside its target has a name up to
// 26 units longer (".", ".", 16 digits, ".halvern").
constexpr std::size_t kLongFormFrom = MAX_PATH - 32;

// The name's full form (drive or share, folders, no "." or ".."), or nothing when the system
// cannot make one.
std::wstring FullName(const std::wstring& name) {
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

}  // namespace

std::filesystem::path FilePath(std::string_view name) {
    std::wstring wide = WideFromUtf8(name);
    // A name in the system's own forms ("\\?\", "\\.\") is taken as it is.
    if (wide.empty() || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\")) return wide;
    const std::wstring full = FullName(wide);
    if (full.size() < kLongFormFrom) return wide;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share\...
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return wide;
}

}  // namespace halvern

namespace halvern::os {

std::FILE* OpenForReading(const std::filesystem::path& path) { return _wfopen(path.c_str(), L"rb"); }

void UseBinaryMode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

int OpenForWriting(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}

std::ptrdiff_t WriteSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size));
}

int Close(int fd) { return _close(fd); }

int CheckWritable(const std::filesystem::path& path) { return _waccess(path.c_str(), 2); }

// The C runtime opens a file shared for reading and writing but not for deleting, so while the
// descriptor is open nobody can remove the file: that is the guard.
int CreateGuardedFile(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int KeepGuard(int) { return -1; }

// A file that a running save has open cannot be removed, nor can a folder: the removal fails,
// quietly.
void RemoveIfUnguarded(const std::filesystem::path& path) { _wremove(path.c_str()); }

void RequestLargePages(void*, std::size_t) noexcept {}

}  // namespace halvern::os
