#include "core/TemporaryFile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/Document.h"
#include "core/IoErrorCode.h"
#include "core/SystemCalls.h"
#include "core/WriteAll.h"

namespace halvern {
namespace fs = std::filesystem;
namespace {

using NameText = fs::path::string_type;
using NameUnit = fs::path::value_type;

// At most this much of the target's name goes into the temporary name, so that the 26 characters
// around it still fit where names may be 255 long.
constexpr std::size_t kMaxTargetUnits = 200;
constexpr std::size_t kRandomDigits = 16;
constexpr char kSuffix[] = ".halvern";

// A unit that continues a character (UTF-8 on POSIX, a low surrogate in Windows' UTF-16): a name
// cut before it would end in half a character.
template <typename Unit>
bool ContinuesACharacter(Unit unit) {
    if constexpr (sizeof(Unit) == 1) {
        return (static_cast<unsigned char>(unit) & 0xC0) == 0x80;
    } else {
        return unit >= 0xDC00 && unit <= 0xDFFF;
    }
}

bool IsLowerHexDigit(NameUnit unit) { return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f'); }

// ".uit.ged.": what every temporary name of target starts with.
NameText NamePrefix(const fs::path& target) {
    NameText name = target.filename().native();
    if (name.size() > kMaxTargetUnits) {
        std::size_t cut = kMaxTargetUnits;
        while (cut > 0 && ContinuesACharacter(name[cut])) --cut;
        name.resize(cut);
    }
    fs::path prefix = ".";
    prefix += name;
    prefix += ".";
    return prefix.native();
}

const NameText& NameSuffix() {
    static const NameText suffix = fs::path(kSuffix).native();
    return suffix;
}

bool IsTemporaryName(const NameText& name, const NameText& prefix) {
    const NameText& suffix = NameSuffix();
    if (name.size() != prefix.size() + kRandomDigits + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    for (std::size_t at = prefix.size(); at < prefix.size() + kRandomDigits; ++at) {
        if (!IsLowerHexDigit(name[at])) return false;
    }
    return true;
}

fs::path TemporaryName(const fs::path& target, std::uint64_t number) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits;
    for (int shift = 60; shift >= 0; shift -= 4) digits += kHex[(number >> shift) & 0xF];
    fs::path name = NamePrefix(target);
    name += digits + kSuffix;
    return target.parent_path() / name;
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
        fd_ = UniqueFd(os::CreateGuardedFile(path_));
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
    guard_.reset();
}

void TemporaryFile::Write(std::string_view bytes) {
    if (!WriteAll(fd_.get(), bytes)) ThrowErrno(errno);
}

void TemporaryFile::Close() {
    guard_ = UniqueFd(os::KeepGuard(fd_.get()));
    if (os::Close(fd_.release()) != 0) ThrowErrno(errno);
}

void RemoveAbandonedTemporaryFiles(const fs::path& target) {
    const NameText prefix = NamePrefix(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Collected first: the folder is not changed while it is read.
    std::vector<fs::path> abandoned;
    try {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
            if (IsTemporaryName(entry->path().filename().native(), prefix)) abandoned.push_back(entry->path());
        }
    } catch (const std::exception&) {  // memory exhausted: the leftovers wait for the next save
    }
    for (const fs::path& file : abandoned) os::RemoveIfUnguarded(file);
}

}  // namespace halvern
