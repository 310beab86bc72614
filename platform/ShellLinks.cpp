#include "platform/ShellLinks.h"

// Stand-in until the shell hand-over lands.
namespace halvern {
void OpenMailProgram(const std::string&) {}
void OpenHomepage(const std::string&) {}
}  // namespace halvern
