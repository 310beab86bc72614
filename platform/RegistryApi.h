#pragma once
#include <windows.h>

namespace halvern {

// The registry calls the helpers of zxReg.h make, behind one seam so that a test can make any of
// them fail. Every key is opened with all access rights. Closing a key is not part of the seam:
// each opened key is owned by a UniqueRes that calls RegCloseKey.
class RegistryApi {
public:
    // RegOpenKeyExA: open an existing key; an empty path gives a new handle to parent itself.
    virtual LONG OpenKey(HKEY parent, const char* path, HKEY* key) const = 0;
    // RegCreateKeyExA: open the key, creating it and every missing key above it (non-volatile).
    virtual LONG CreateKey(HKEY parent, const char* path, HKEY* key) const = 0;
    // RegQueryValueExA: type and size of a value, and its data when data is not null.
    virtual LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) const = 0;
    // RegSetValueExA.
    virtual LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) const = 0;
    // RegQueryInfoKeyA: number of sub-keys and the length of the longest sub-key name.
    virtual LONG QueryKeyInfo(HKEY key, DWORD* subKeyCount, DWORD* longestSubKeyName) const = 0;
    // RegEnumKeyExA: name of the sub-key at index; nameLength is the buffer's size in, the name's
    // length (without its NUL) out.
    virtual LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) const = 0;
    // RegDeleteKeyA: delete a key that has no sub-keys.
    virtual LONG DeleteKey(HKEY parent, const char* path) const = 0;

protected:
    RegistryApi() = default;
    RegistryApi(const RegistryApi&) = default;
    RegistryApi& operator=(const RegistryApi&) = default;
    ~RegistryApi() = default;
};

// The system's registry (advapi32, ANSI forms). The object has no state.
const RegistryApi& SystemRegistry() noexcept;

}  // namespace halvern
