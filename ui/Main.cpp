#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <exception>
#include <optional>
#include <string>

#include "platform/HelpSystem.h"
#include "ui/ErrorBoxes.h"
#include "ui/MessageLoop.h"
#include "ui/uHalvern.h"
#include "ui/uKeuze.h"
#include "ui/zxInfoTool.h"

namespace {

// The first argument of the command line, as the C runtime split it; nothing without one.
std::optional<std::string> FirstArgument() {
    if (__argc < 2 || __argv == nullptr || __argv[1] == nullptr) return std::nullopt;
    return std::string(__argv[1]);
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
