#include "platform/RegistryApi.h"

namespace halvern {
namespace {

class SystemRegistryApi final : public RegistryApi {
public:
    LONG OpenKey(HKEY parent, const char* path, HKEY* key) const override {
        return RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, key);
    }
    LONG CreateKey(HKEY parent, const char* path, HKEY* key) const override {
        return RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                               key, nullptr);
    }
    LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) const override {
        return RegQueryValueExA(key, name, nullptr, type, data, size);
    }
    LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) const override {
        return RegSetValueExA(key, name, 0, type, data, size);
    }
    LONG QueryKeyInfo(HKEY key, DWORD* subKeyCount, DWORD* longestSubKeyName) const override {
        return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, subKeyCount, longestSubKeyName, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* nameLength) const override {
        return RegEnumKeyExA(key, index, name, nameLength, nullptr, nullptr, nullptr, nullptr);
    }
    LONG DeleteKey(HKEY parent, const char* path) const override { return RegDeleteKeyA(parent, path); }
};

}  // namespace

const RegistryApi& SystemRegistry() noexcept {
    static const SystemRegistryApi registry;
    return registry;
}

}  // namespace halvern
