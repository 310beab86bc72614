#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace halvern {

class TfrmKeuze;

// Everything the main window hands to a modal window or to the world outside. Each hook is the
// real call unless replaced (tests answer the dialogs through them without a user).
struct MainWindowSeams {
    // A message box with the application's title; style is kStandardBoxStyle or kErrorBoxStyle.
    std::function<int(HWND owner, const std::string& text, UINT style)> messageBox;
    // The open and save dialogs: the chosen name, or nothing when cancelled.
    std::function<std::optional<std::string>(HWND owner)> askOpenFile;
    std::function<std::optional<std::string>(HWND owner)> askSaveFile;
    // The choice dialog, shown modally; its result (1 run, 2 cancel).
    std::function<int(HWND owner)> showChoice;
    // The context-menu commands.
    std::function<void(int context)> askHelp;
    std::function<void(const std::string& mailAddress)> openMail;
    std::function<void(const std::string& homepageUrl)> openHomepage;
    std::function<void(HWND owner)> showInfo;

    // The real calls; the choice dialog shown is choice.
    static MainWindowSeams RealCalls(TfrmKeuze& choice);
};

}  // namespace halvern
