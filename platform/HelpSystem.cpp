#include "platform/HelpSystem.h"

#include <utility>

// Stand-in until the HTML Help viewer lands: keeps the help file name, shows nothing.
namespace halvern {
namespace {
std::string& HelpFile() {
    static std::string file = "Halvern.chm";
    return file;
}
}  // namespace
void InstallHelpViewer() {}
void RemoveHelpViewer() {}
void SetApplicationHelpFile(std::string fileName) { HelpFile() = std::move(fileName); }
const std::string& ApplicationHelpFile() { return HelpFile(); }
void ApplicationHelpContext(int) {}
}  // namespace halvern
