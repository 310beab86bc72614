#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/HelpSystem.h"
#include "ui/CommandLine.h"
#include "ui/ErrorBoxes.h"
#include "ui/MessageLoop.h"
#include "ui/uHalvern.h"
#include "ui/uKeuze.h"
#include "ui/zxInfoTool.h"

namespace {

// The first argument of the command line; nothing without one.
std::optional<std::string> FirstArgument() {
    const std::vector<std::string> arguments = halvern::CommandLineArguments();
    if (arguments.empty()) return std::nullopt;
    return arguments.front();
}

int RunProgram(HINSTANCE instance, int showCommand) {
    using namespace halvern;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SetApplicationHelpFile("Halvern.chm");

    TfrmKeuze frmKeuze;
    TfrmHalvern frmHalvern(frmKeuze);
    frmHalvern.commandLineFile = FirstArgument();
    frmHalvern.Create(instance);
    frmKeuze.Create(instance, frmHalvern.Handle());
    CreateInfoDialog(instance);

    ShowWindow(frmHalvern.Handle(), showCommand);
    UpdateWindow(frmHalvern.Handle());
    const int exitCode = RunMessageLoop(frmHalvern);

    DestroyInfoDialog();
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    halvern::InstallHelpViewer();
    int exitCode = 1;
    try {
        exitCode = RunProgram(instance, showCommand);
    } catch (const std::exception& error) {
        // Only a failure to build the windows comes here; what goes wrong later is shown by the
        // window it happens in.
        halvern::ShowErrorBox(nullptr, error.what());
    }
    halvern::RemoveHelpViewer();
    return exitCode;
}
