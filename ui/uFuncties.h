#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// The operations on the main window's status bar: three panels, 0 for messages and progress,
// 1 for times, 2 for counts, each with its text centred.
namespace halvern {

enum class StatusPanel { Message = 0, Time = 1, Count = 2 };

// Whether a panel setter repaints the status bar before it returns (so that the text is seen
// while a run keeps the window from handling its messages) or leaves that to a later repaint.
enum class Repaint { Now, Later };

// Gives each of the three panels StatusPanelWidth of the status bar's width.
void SetStatusPanelWidths(HWND statusBar);

// Set the text of panel 0, 1 or 2. An empty text shows the panel's default ("berichten",
// "dd:uu:mm:ss", "aantal"); any other text is shown unchanged, blanks included.
void ShowStatusMessage(HWND statusBar, std::string_view text, Repaint repaint = Repaint::Now);
void ShowStatusTime(HWND statusBar, std::string_view text, Repaint repaint = Repaint::Now);
void ShowStatusCount(HWND statusBar, std::string_view text, Repaint repaint = Repaint::Now);

// Sets a panel's text as it is (no default for an empty text), centred.
void SetStatusPanelText(HWND statusBar, StatusPanel panel, std::string_view text);

// The text a panel shows, without the mark that centres it.
std::string StatusPanelText(HWND statusBar, StatusPanel panel);

// Paints whatever has changed in the status bar now.
void RepaintStatusBar(HWND statusBar);

}  // namespace halvern
