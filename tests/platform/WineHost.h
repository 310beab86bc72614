#pragma once
#include <windows.h>

#include <string>

namespace halvern::test {

// True when the tests run under Wine rather than on Windows itself.
inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A Unix path as Wine's Z: drive shows it.
inline std::string WindowsPathOfUnixPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

// The folder of the running test program, without its final backslash.
inline std::string ProgramFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/"));
}

}  // namespace halvern::test
