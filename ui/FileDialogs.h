#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace halvern {

// The open dialog of the "Openen" command: title "Openen GedCom bestand", the GEDCOM filter,
// folder and file must exist. Returns the chosen name in UTF-8, or nothing when the user cancels.
std::optional<std::string> AskOpenFileName(HWND owner);

// The save dialog of the "Opslaan" command: title "Opslaan GedCom bestand", the GEDCOM filter,
// the folder must exist, ask before replacing a file; no default extension.
std::optional<std::string> AskSaveFileName(HWND owner);

}  // namespace halvern
