#include "platform/HelpFileName.h"

namespace halvern {
namespace {

// Only ASCII letters fold: the rest of a UTF-8 name compares byte for byte.
char FoldAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view HelpFileExtension(std::string_view fileName) {
    const std::size_t folderEnd = fileName.find_last_of("\\:");
    const std::size_t nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return {};
    return fileName.substr(dot);
}

bool HasHelpFileExtension(std::string_view fileName, std::string_view extension) {
    const std::string_view actual = HelpFileExtension(fileName);
    if (actual.size() != extension.size()) return false;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (FoldAsciiLetter(actual[i]) != FoldAsciiLetter(extension[i])) return false;
    }
    return true;
}

std::string HelpTopicSuffix(std::string_view topic) {
    if (topic.empty()) return {};
    std::string suffix = topic.front() == '/' ? "::" : "::/";
    suffix += topic;
    return suffix;
}

}  // namespace halvern
