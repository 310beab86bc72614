#include "platform/zxReg.h"

#include <algorithm>
#include <optional>

#include "base/UniqueRes.h"

namespace halvern {
namespace {

using RegKey = UniqueRes<HKEY, &RegCloseKey>;

// Times a value read starts again when the value grew between asking its size and reading it.
constexpr int kReadAttempts = 4;

// basePath + subKey without trailing backslashes; nothing when a part holds a NUL byte, which
// would cut the path short and name another key.
std::optional<std::string> JoinKeyPath(std::string_view basePath, std::string_view subKey) {
    std::string path;
    path.reserve(basePath.size() + subKey.size());
    path.append(basePath).append(subKey);
    if (path.find('\0') != std::string::npos) return std::nullopt;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::optional<std::string> ValueName(std::string_view name) {
    if (name.find('\0') != std::string_view::npos) return std::nullopt;
    return std::string(name);
}

// The key handle on success, an empty owner otherwise. The raw handle is only taken over when the
// call succeeded: what a failing call leaves in its out argument is not a key.
RegKey OpenKey(const RegistryApi& registry, HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (registry.OpenKey(parent, path.c_str(), &key) != ERROR_SUCCESS) return RegKey{};
    return RegKey{key};
}

RegKey CreateKey(const RegistryApi& registry, HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (registry.CreateKey(parent, path.c_str(), &key) != ERROR_SUCCESS) return RegKey{};
    return RegKey{key};
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string ReadText(const RegistryApi& registry, HKEY key, const std::string& name) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (registry.QueryValue(key, name.c_str(), &type, nullptr, &size) != ERROR_SUCCESS) return {};
        if (size == 0) return {};
        std::string data(size, '\0');
        const LONG status =
            registry.QueryValue(key, name.c_str(), &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || !IsTextType(type)) return {};
        data.resize(std::min<std::size_t>(size, data.size()));
        const std::size_t nul = data.find('\0');
        if (nul != std::string::npos) data.resize(nul);
        return data;
    }
    return {};
}

// Deletes parent\name after emptying it depth first; sub-key names are relative to the key being
// emptied. A sub-key whose name cannot be fetched stays, and so does everything above it.
bool DeleteTree(const RegistryApi& registry, HKEY parent, const std::string& name) {
    if (const RegKey key = OpenKey(registry, parent, name)) {
        DWORD subKeyCount = 0;
        DWORD longestName = 0;
        if (registry.QueryKeyInfo(key.get(), &subKeyCount, &longestName) == ERROR_SUCCESS) {
            for (DWORD index = subKeyCount; index-- > 0;) {
                std::string child(std::size_t{longestName} + 1, '\0');
                DWORD length = longestName + 1;
                if (registry.EnumKey(key.get(), index, child.data(), &length) != ERROR_SUCCESS) continue;
                child.resize(std::min<std::size_t>(length, child.size()));
                // An empty name would open the key being emptied again, without end.
                if (child.empty() || child.find('\0') != std::string::npos) continue;
                DeleteTree(registry, key.get(), child);
            }
        }
    }  // closed before the key itself goes
    return registry.DeleteKey(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

void TRegWrite::WriteValue(HKEY root, std::string_view basePath, std::string_view subKey,
                           std::string_view valueName, std::string_view value) const noexcept {
    try {
        const auto path = JoinKeyPath(basePath, subKey);
        const auto name = ValueName(valueName);
        if (!path || !name || value.size() >= MAXDWORD) return;
        // An empty path is the root key itself, which is opened, never created.
        const RegKey key = path->empty() ? OpenKey(*registry_, root, *path) : CreateKey(*registry_, root, *path);
        if (!key) return;
        const std::string data(value);  // c_str() gives the terminating NUL that is stored with it
        registry_->SetValue(key.get(), name->c_str(), REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
    } catch (...) {
        // A failed write leaves the value as it was; callers are not told.
    }
}

void TRegRead::ReadValue(HKEY root, std::string_view basePath, std::string_view subKey,
                         std::string_view valueName, std::string& value) const noexcept {
    value.clear();
    try {
        const auto path = JoinKeyPath(basePath, subKey);
        const auto name = ValueName(valueName);
        if (!path || !name) return;
        const RegKey key = OpenKey(*registry_, root, *path);
        if (!key) return;
        std::string text = ReadText(*registry_, key.get(), *name);
        value.swap(text);
    } catch (...) {
        value.clear();
    }
}

bool TRegDeleteBool::DeleteKey(HKEY root, std::string_view basePath, std::string_view subKey) const noexcept {
    try {
        const auto path = JoinKeyPath(basePath, subKey);
        // An empty path names root itself: emptying it would take every key below root with it.
        if (!path || path->empty()) return false;
        return DeleteTree(*registry_, root, *path);
    } catch (...) {
        return false;
    }
}

}  // namespace halvern
