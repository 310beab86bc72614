#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace halvern {

// "dd:uu:mm:ss" for a count of milliseconds: days, hours, minutes, seconds, two digits each.
std::string ElapsedTimeText(std::uint32_t milliseconds);

// The width of each of the three status panels: (status-bar width * 3) div 9.
int StatusPanelWidth(int statusBarWidth);

// The texts that the run shows in the status bar, built from the catalogue.
std::string StartText(std::string_view timeOfDay);                 // "gestart om 14:03:27"
std::string CountText(std::string_view tag, std::size_t count);    // "aantal INDI : 1234"
std::string RenumberProgressText(std::size_t index);               // "bezig met 17"
std::string CleanProgressText(std::size_t count);                  // "schonen 5"

// The text with every backslash at its end removed ("C:\Tools\" -> "C:\Tools", "C:\" -> "C:").
std::string StripTrailingBackslashes(std::string text);

// The text the top-level error handler shows: "." added when the text is not empty and its last
// character sorts after ".".
std::string TopLevelErrorText(std::string text);

}  // namespace halvern
