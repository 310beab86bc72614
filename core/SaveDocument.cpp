#include <cerrno>
#include <functional>
#include <string_view>
#include <system_error>

#include "core/Document.h"
#include "core/FileHandles.h"
#include "core/IoErrorCode.h"
#include "core/SystemCalls.h"
#include "core/TemporaryFile.h"
#include "core/WriteAll.h"

namespace halvern {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void ThrowErrno(int errorNumber) { throw IoError(IoCodeFromErrno(errorNumber)); }
[[noreturn]] void ThrowError(const std::error_code& error) { throw IoError(IoCodeFromError(error)); }

// False only when the system says plainly that this existing file may not be written.
bool MayWrite(const fs::path& path) {
    return os::CheckWritable(path) == 0 || (errno != EACCES && errno != EROFS && errno != EPERM);
}

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

void WriteInPlace(const fs::path& target, const DocumentProducer& produce) {
    UniqueFd fd(os::OpenForWriting(target));
    if (!fd) ThrowErrno(errno);
    produce([&](std::string_view block) {
        if (!WriteAll(fd.get(), block)) ThrowErrno(errno);
    });
    if (os::Close(fd.release()) != 0) ThrowErrno(errno);
}

}  // namespace

StagedSave::StagedSave(const fs::path& fileName, std::string_view text)
    : StagedSave(fileName, [text](const std::function<void(std::string_view)>& writeBlock) { writeBlock(text); }) {}

StagedSave::StagedSave(const fs::path& fileName, const DocumentProducer& produce) {
    if (fileName.empty() || !fileName.has_filename()) ThrowErrno(EINVAL);

    // What the name stands for now, links followed by the system itself.
    std::error_code statusError;
    const fs::file_status earlier = fs::status(fileName, statusError);
    const bool replacing = !statusError && fs::exists(earlier);
    if (replacing && fs::is_directory(earlier)) ThrowErrno(EISDIR);
    // A device or a pipe cannot be replaced, only written to (saving to /dev/null must not turn
    // it into a file, nor /dev/stdout, a link to a pipe, fail).
    if (replacing && !fs::is_regular_file(earlier)) {
        WriteInPlace(fileName, produce);
        return;
    }

    target_ = FollowLinks(fileName);
    // A file the user may not write stays as it is, although the folder would let us replace it.
    if (replacing && !MayWrite(target_)) ThrowErrno(EACCES);

    RemoveAbandonedTemporaryFiles(target_);
    auto temporary = std::make_unique<TemporaryFile>(target_);
    produce([&](std::string_view block) { temporary->Write(block); });
    temporary->Close();
    if (replacing) {
        std::error_code error;
        fs::permissions(temporary->path(), earlier.permissions(), fs::perm_options::replace, error);
        if (error) ThrowError(error);
    }
    temporary_ = std::move(temporary);
}

StagedSave::~StagedSave() = default;

void StagedSave::Commit() {
    if (!temporary_) return;
    std::error_code renameError;
    fs::rename(temporary_->path(), target_, renameError);
    if (renameError) ThrowError(renameError);
    temporary_->Keep();
    temporary_.reset();
}

void SaveDocument(const fs::path& fileName, std::string_view text) { StagedSave(fileName, text).Commit(); }

void SaveDocument(const fs::path& fileName, const DocumentProducer& produce) { StagedSave(fileName, produce).Commit(); }

}  // namespace halvern
