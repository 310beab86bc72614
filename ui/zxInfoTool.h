#pragma once
#include <windows.h>

#include <functional>

namespace halvern {

// The information dialog: created hidden once at start-up, shown modally by the "Info" command,
// destroyed when the program ends. Each showing reads the program and maker records afresh and
// lets the maker's logo rise into view; "Sluiten" is the only way to close it.
void CreateInfoDialog(HINSTANCE instance);
void ShowInfoDialog(HWND owner);
void DestroyInfoDialog();

// The dialog's controls, by their control ids.
enum class InfoControl : int {
    ProgramName = 101,   // lblProgrammaNaam
    VersionNumber,       // lblVersieNummer
    VersionDate,         // lblVersieDatum
    MakerHeading,        // lblCopyRight
    MakerName,           // lblNaam
    MakerAddress,        // lblAdres
    MakerPlace,          // lblWoonplaats
    MakerTelephone,      // lblTelefoon
    Logo,                // lblSoftware
    CloseButton,         // bbtnSluiten
};

// The dialog window and one of its controls; null while the dialog does not exist.
HWND InfoDialogWindow();
HWND InfoDialogControl(InfoControl control);

// For tests: the pause after each step of the logo animation (Sleep when empty).
void SetLogoPauseForTesting(std::function<void(DWORD milliseconds)> pause);

}  // namespace halvern
