#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace halvern::test {

// Direct registry access for the tests, through advapi32 alone, so that the helpers are not
// checked with themselves. Paths are relative to HKEY_CURRENT_USER.

// HKCU\Software\HalvernTest\<suite>.<test>\ as a base path (with its final backslash).
inline std::string TestBasePath() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("Software\\HalvernTest\\") + info->test_suite_name() + "." + info->name() + "\\";
}

inline bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void DeleteTree(const std::string& path) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    EXPECT_FALSE(KeyExists(path)) << path;
}

// Creates the key when it is missing; data is stored exactly as given.
inline void WriteRaw(const std::string& path, const char* name, DWORD type, const std::string& data) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << path << " " << name;
}

// The text of a REG_SZ value: its stored bytes, read with RegQueryValueExA, without the
// terminating NUL that must end them.
inline std::optional<std::string> ReadSz(const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::string data(16384, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || size == 0 || data[size - 1] != '\0') return std::nullopt;
    return data.substr(0, size - 1);
}

}  // namespace halvern::test
