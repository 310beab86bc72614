#include "platform/HelpFileName.h"

#include "base/AsciiText.h"

namespace halvern {

std::string_view HelpFileExtension(std::string_view fileName) {
    const std::size_t folderEnd = fileName.find_last_of("\\:");
    const std::size_t nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return {};
    return fileName.substr(dot);
}

bool HasHelpFileExtension(std::string_view fileName, std::string_view extension) {
    // Only ASCII letters fold: the rest of a UTF-8 name compares byte for byte.
    return EqualsIgnoringAsciiCase(HelpFileExtension(fileName), extension);
}

std::string HelpTopicSuffix(std::string_view topic) {
    if (topic.empty()) return {};
    std::string suffix = topic.front() == '/' ? "::" : "::/";
    suffix += topic;
    return suffix;
}

}  // namespace halvern
