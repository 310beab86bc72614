// The system calls of core on POSIX systems (Linux, macOS, the BSDs).
#include "core/SystemCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace halvern::os {

std::FILE* OpenForReading(const std::filesystem::path& path) { return std::fopen(path.c_str(), "rb"); }

void UseBinaryMode(std::FILE*) {}

int OpenForWriting(const std::filesystem::path& path) { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC); }

std::ptrdiff_t WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int Close(int fd) { return ::close(fd); }

int CheckWritable(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK); }

int CreateNewFile(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

void RequestLargePages(void* start, std::size_t size) noexcept {
#ifdef MADV_HUGEPAGE
    ::madvise(start, size, MADV_HUGEPAGE);
#else
    (void)start;
    (void)size;
#endif
}

}  // namespace halvern::os
