#include "ui/Win32FileProbe.h"

#include <windows.h>

#include <optional>

#include "base/UniqueRes.h"

namespace halvern {

namespace {

using UniqueFile = UniqueRes<HANDLE, &CloseHandle>;

struct FileIdentity {
    DWORD volumeSerial;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of an existing file (not a folder), or nothing.
std::optional<FileIdentity> IdentityOf(const std::string& name) {
    if (name.empty()) return std::nullopt;
    // No access rights are asked for: this only looks at the file, whoever has it open.
    const HANDLE opened = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueFile file(opened);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

}  // namespace

bool Win32FileProbe::IsExistingFile(const std::string& name) const {
    if (name.empty()) return false;
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileProbe::SameExistingFile(const std::string& first, const std::string& second) const {
    const std::optional<FileIdentity> firstIdentity = IdentityOf(first);
    if (!firstIdentity) return false;
    const std::optional<FileIdentity> secondIdentity = IdentityOf(second);
    return secondIdentity && *firstIdentity == *secondIdentity;
}

}  // namespace halvern
