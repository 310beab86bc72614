#pragma once
#include <windows.h>

namespace halvern {

// Shows the hourglass while it lives; when it goes, on every way out, the default arrow
// comes back (not whatever cursor was there before).
class BusyCursor {
public:
    BusyCursor() noexcept { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }
    ~BusyCursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace halvern
