#pragma once
#include <string>

namespace halvern {

// The program's help system: a help manager with the HTML Help viewer registered in it, and the
// application's help file ("Halvern.chm", or its full name beside the program once found).
void InstallHelpViewer();   // before any window exists
void RemoveHelpViewer();    // after the message loop has ended
void SetApplicationHelpFile(std::string fileName);
const std::string& ApplicationHelpFile();
// Context help, as F1 and the "Help" command ask for it (context 1000 in the application's help file).
void ApplicationHelpContext(int context);

}  // namespace halvern
