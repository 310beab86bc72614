#include "ui/FileDialogs.h"

#include <commdlg.h>

#include <vector>

#include "base/WideText.h"

namespace halvern {

namespace {

// One entry: its description, then its pattern, the list ended by an empty entry.
constexpr wchar_t kGedcomFilter[] = L"GedCom bestanden (*.ged)\0*.ged\0";
// The longest name Windows takes (the "\\?\" form), and its final 0.
constexpr DWORD kNameBufferSize = 32768;

std::optional<std::string> AskFileName(HWND owner, const wchar_t* title, DWORD flags, bool save) {
    std::vector<wchar_t> name(kNameBufferSize, L'\0');  // starts empty: no name is suggested
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kGedcomFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kNameBufferSize;
    dialog.lpstrTitle = title;
    dialog.Flags = flags;
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return Utf8FromWide(name.data());
}

}  // namespace

std::optional<std::string> AskOpenFileName(HWND owner) {
    return AskFileName(owner, L"Openen GedCom bestand", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, false);
}

std::optional<std::string> AskSaveFileName(HWND owner) {
    return AskFileName(owner, L"Opslaan GedCom bestand", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, true);
}

}  // namespace halvern
