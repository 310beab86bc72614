#include "ui/FileDialogs.h"

#include <commdlg.h>

#include <vector>

namespace halvern {

namespace {

// One entry: its description, then its pattern, the list ended by an empty entry.
constexpr char kGedcomFilter[] = "GedCom bestanden (*.ged)\0*.ged\0";
constexpr DWORD kNameBufferSize = 32768;

std::optional<std::string> AskFileName(HWND owner, const char* title, DWORD flags, bool save) {
    std::vector<char> name(kNameBufferSize, '\0');  // starts empty: no name is suggested
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kGedcomFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kNameBufferSize;
    dialog.lpstrTitle = title;
    dialog.Flags = flags;
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen) return std::nullopt;
    return std::string(name.data());
}

}  // namespace

std::optional<std::string> AskOpenFileName(HWND owner) {
    return AskFileName(owner, "Openen GedCom bestand", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, false);
}

std::optional<std::string> AskSaveFileName(HWND owner) {
    return AskFileName(owner, "Opslaan GedCom bestand", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, true);
}

}  // namespace halvern
