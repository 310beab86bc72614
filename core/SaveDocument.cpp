#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "base/UniqueRes.h"
#include "core/Document.h"
#include "core/IoErrorCode.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace halvern {
namespace fs = std::filesystem;
namespace {

// ---- The few system calls a save needs, as plain file descriptors. ----

int CreateNewFile(const fs::path& path) {
#ifdef _WIN32
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

// Writes every byte; false with errno set when the system refuses. A write that makes no progress
// counts as a full disk.
bool WriteAll(int fd, std::string_view bytes) {
    constexpr std::size_t kMaxChunk = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const std::size_t chunk = bytes.size() < kMaxChunk ? bytes.size() : kMaxChunk;
#ifdef _WIN32
        const int written = _write(fd, bytes.data(), static_cast<unsigned>(chunk));
#else
        const ssize_t written = ::write(fd, bytes.data(), chunk);
#endif
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int CloseFile(int fd) {
#ifdef _WIN32
    return _close(fd);
#else
    return ::close(fd);
#endif
}

void CloseQuietly(int fd) noexcept { CloseFile(fd); }

using UniqueFd = UniqueRes<int, &CloseQuietly, -1>;

// False only when the system says plainly that this existing file may not be written.
bool MayWrite(const fs::path& path) {
#ifdef _WIN32
    const int result = _waccess(path.c_str(), 2);
#else
    const int result = ::access(path.c_str(), W_OK);
#endif
    return result == 0 || (errno != EACCES && errno != EROFS && errno != EPERM);
}

// ---- The save itself. ----

[[noreturn]] void ThrowErrno(int errorNumber) { throw IoError(IoCodeFromErrno(errorNumber)); }
[[noreturn]] void ThrowError(const std::error_code& error) { throw IoError(IoCodeFromError(error)); }

// The file that fileName finally stands for: a symbolic link is followed to what it points at
// (also when that does not exist yet), so the save replaces that file and the link stays a link.
fs::path FollowLinks(fs::path path) {
    constexpr int kMaxLinks = 40;
    for (int hops = 0;; ++hops) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (error || !fs::is_symlink(status)) return path;
        if (hops == kMaxLinks) ThrowErrno(ELOOP);
        const fs::path next = fs::read_symlink(path, error);
        if (error) ThrowError(error);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
}

// A new file beside the target that nobody else has, removed again unless it is kept.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target) {
        std::mt19937_64 random(Seed());
        constexpr int kAttempts = 100;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            path_ = target.parent_path() / Name(random());
            fd_ = UniqueFd(CreateNewFile(path_));
            if (fd_) return;
            if (errno != EEXIST) ThrowErrno(errno);
        }
        ThrowErrno(EEXIST);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        fd_.reset();
        if (!kept_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }

    const fs::path& path() const { return path_; }

    void Write(std::string_view bytes) {
        if (!WriteAll(fd_.get(), bytes)) ThrowErrno(errno);
    }
    // Closing can report a write the system had delayed, so its result counts.
    void Close() {
        if (CloseFile(fd_.release()) != 0) ThrowErrno(errno);
    }
    void Keep() { kept_ = true; }

private:
    static std::uint64_t Seed() {
        const auto now = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        try {
            std::random_device device;
            return now ^ (static_cast<std::uint64_t>(device()) << 32) ^ device();
        } catch (const std::exception&) {
            return now;
        }
    }
    static std::string Name(std::uint64_t number) {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string name = ".halvern-";
        for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
        return name + ".tmp";
    }

    fs::path path_;
    UniqueFd fd_;
    bool kept_ = false;
};

// How the bytes of a document reach an open file: deliver calls writeBlock with each block.
using Delivery = std::function<void(const std::function<void(std::string_view)>& writeBlock)>;

void WriteInPlace(const fs::path& target, const Delivery& deliver) {
#ifdef _WIN32
    UniqueFd fd(_wopen(target.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT));
#else
    UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
#endif
    if (!fd) ThrowErrno(errno);
    deliver([&](std::string_view block) {
        if (!WriteAll(fd.get(), block)) ThrowErrno(errno);
    });
    if (CloseFile(fd.release()) != 0) ThrowErrno(errno);
}

// Saving proper, whatever the bytes come from.
void Save(const fs::path& fileName, const Delivery& deliver) {
    if (fileName.empty() || !fileName.has_filename()) ThrowErrno(EINVAL);

    // What the name stands for now, links followed by the system itself.
    std::error_code statusError;
    const fs::file_status earlier = fs::status(fileName, statusError);
    const bool replacing = !statusError && fs::exists(earlier);
    if (replacing && fs::is_directory(earlier)) ThrowErrno(EISDIR);
    // A device or a pipe cannot be replaced, only written to (saving to /dev/null must not turn
    // it into a file, nor /dev/stdout, a link to a pipe, fail).
    if (replacing && !fs::is_regular_file(earlier)) {
        WriteInPlace(fileName, deliver);
        return;
    }

    const fs::path target = FollowLinks(fileName);
    // A file the user may not write stays as it is, although the folder would let us replace it.
    if (replacing && !MayWrite(target)) ThrowErrno(EACCES);

    TemporaryFile temporary(target);
    deliver([&](std::string_view block) { temporary.Write(block); });
    temporary.Close();
    if (replacing) {
        std::error_code error;
        fs::permissions(temporary.path(), earlier.permissions(), fs::perm_options::replace, error);
        if (error) ThrowError(error);
    }
    std::error_code renameError;
    fs::rename(temporary.path(), target, renameError);
    if (renameError) ThrowError(renameError);
    temporary.Keep();
}

}  // namespace

void SaveDocument(const fs::path& fileName, std::string_view text) {
    Save(fileName, [text](const std::function<void(std::string_view)>& writeBlock) { writeBlock(text); });
}

void SaveDocument(const fs::path& fileName, const DocumentProducer& produce) {
    Save(fileName, [&produce](const std::function<void(std::string_view)>& writeBlock) { produce(writeBlock); });
}

}  // namespace halvern
