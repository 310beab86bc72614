#include "platform/Win32FileProbe.h"

#include <windows.h>

#include <optional>

#include "base/UniqueRes.h"
#include "core/FileName.h"

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
    const HANDLE opened = CreateFileW(FilePath(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueFile file(opened);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

// The problem a Windows error of a look at a file stands for.
FileProblem ProblemFromWindowsError(DWORD error) {
    const int code = static_cast<int>(error);
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return {FileProblem::Kind::Missing, code};
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: return {FileProblem::Kind::AccessDenied, code};
        default: return {FileProblem::Kind::Other, code};
    }
}

}  // namespace

std::optional<FileProblem> Win32FileProbe::ProblemWith(const std::string& name) const {
    if (name.empty()) return FileProblem{FileProblem::Kind::Missing};
    const DWORD attributes = GetFileAttributesW(FilePath(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ProblemFromWindowsError(GetLastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileProblem{FileProblem::Kind::Folder};
    return std::nullopt;
}

bool Win32FileProbe::SameExistingFile(const std::string& first, const std::string& second) const {
    const std::optional<FileIdentity> firstIdentity = IdentityOf(first);
    if (!firstIdentity) return false;
    const std::optional<FileIdentity> secondIdentity = IdentityOf(second);
    return secondIdentity && *firstIdentity == *secondIdentity;
}

}  // namespace halvern
