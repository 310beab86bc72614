#pragma once
#include <windows.h>

#include <system_error>

namespace halvern {

// Throws std::system_error with the calling thread's last error code; what names the failed call.
[[noreturn]] inline void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace halvern
