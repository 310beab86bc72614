#pragma once
#include <string>

namespace halvern {

// Records the program and its maker under HKEY_CURRENT_USER\Software\Zandrix. programFile is the
// full path of the running program file in UTF-8; the registry keeps its values in the ANSI code
// page, as it always has. Never reports a failure.
void WriteInformationStore(const std::string& programFile) noexcept;

// The two outside addresses read at the main window's first activation.
struct OutsideAddresses {
    std::string mailAddress;  // program record "Email"
    std::string homepageUrl;  // maker record "Homepage"
};
OutsideAddresses ReadOutsideAddresses() noexcept;

}  // namespace halvern
