// The system calls of core on Windows, through its C runtime (wide-character names throughout).
#include "core/SystemCalls.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>

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
