// The system calls of core on POSIX systems (Linux, macOS, the BSDs).
#include "core/SystemCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/FileName.h"

namespace halvern {

// POSIX names are bytes: UTF-8 where the system's names are, any other bytes as they are.
std::filesystem::path FilePath(std::string_view name) { return std::filesystem::path(std::string(name)); }

}  // namespace halvern

namespace halvern::os {
namespace {

// True when path still names the file that fd has open: a guard taken on a file that was removed
// meanwhile guards nothing.
bool StillNamed(int fd, const std::filesystem::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

std::FILE* OpenForReading(const std::filesystem::path& path) { return std::fopen(path.c_str(), "rb"); }

void UseBinaryMode(std::FILE*) {}

int OpenForWriting(const std::filesystem::path& path) { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC); }

std::ptrdiff_t WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int Close(int fd) { return ::close(fd); }

int CheckWritable(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK); }

// The guard is an exclusive flock, which the system drops when the last descriptor of the file
// closes, also when the process is killed.
int CreateGuardedFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // A file system without flock: the file stays unguarded (and RemoveIfUnguarded cannot
        // lock it either, so it leaves it alone).
        if (errno != EWOULDBLOCK) return fd;
    } else if (StillNamed(fd, path)) {
        return fd;
    }
    // Between the creation and the lock, another save's clean-up took the new file for a leftover
    // and holds or has removed it: the name counts as taken.
    ::close(fd);
    errno = EEXIST;
    return -1;
}

int KeepGuard(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

void RemoveIfUnguarded(const std::filesystem::path& path) {
    // Opened for writing, because flock over NFS locks like fcntl and needs that. Never through a
    // link, and without waiting for a pipe's other end.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return;
    struct stat opened {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        StillNamed(fd, path)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
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
