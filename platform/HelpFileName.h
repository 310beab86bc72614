#pragma once
#include <string>
#include <string_view>

namespace halvern {

// The extension of a help file name: from the last "." that follows the last "\" or ":" to the
// end, dot included; empty when the name part has no ".". A "." in a folder name does not count.
std::string_view HelpFileExtension(std::string_view fileName);

// True when the help file name's extension equals the given one (".chm", ".hlp"), letters A to Z
// compared without regard to case.
bool HasHelpFileExtension(std::string_view fileName, std::string_view extension);

// The part that follows the help file name when one page is asked for: empty for an empty topic,
// "::" + topic when it starts with "/", else "::/" + topic.
std::string HelpTopicSuffix(std::string_view topic);

}  // namespace halvern
