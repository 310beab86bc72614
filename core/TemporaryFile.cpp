#include "core/TemporaryFile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>

#include "core/Document.h"
#include "core/IoErrorCode.h"
#include "core/SystemCalls.h"
#include "core/WriteAll.h"

namespace halvern {
namespace fs = std::filesystem;
namespace {

fs::path TemporaryName(const fs::path& target, std::uint64_t number) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = ".halvern-";
    for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
    return target.parent_path() / (name + ".tmp");
}

std::uint64_t Seed() {
    const auto now =
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        return now ^ (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        return now;
    }
}

[[noreturn]] void ThrowErrno(int errorNumber) { throw IoError(IoCodeFromErrno(errorNumber)); }

}  // namespace

TemporaryFile::TemporaryFile(const fs::path& target) {
    std::mt19937_64 random(Seed());
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        path_ = TemporaryName(target, random());
        fd_ = UniqueFd(os::CreateNewFile(path_));
        if (fd_) return;
        if (errno != EEXIST) ThrowErrno(errno);
    }
    ThrowErrno(EEXIST);
}

TemporaryFile::~TemporaryFile() {
    fd_.reset();
    if (!kept_) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
}

void TemporaryFile::Write(std::string_view bytes) {
    if (!WriteAll(fd_.get(), bytes)) ThrowErrno(errno);
}

void TemporaryFile::Close() {
    if (os::Close(fd_.release()) != 0) ThrowErrno(errno);
}

}  // namespace halvern
