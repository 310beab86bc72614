// Shows one window of the program alone for a few seconds, for the screenshots in docs/:
//   screenshot_demo info   the information dialog, after its animation
//   screenshot_demo help   the help file beside the program, at context 1000
#include <windows.h>

#include <string>

#include "platform/HelpSystem.h"
#include "platform/InformationStore.h"
#include "ui/tInit.h"
#include "ui/zxInfoTool.h"

namespace {

constexpr UINT kShowMs = 4000;

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "info";
    const std::string program = halvern::ProgramFileName();
    if (what == "help") {
        halvern::InstallHelpViewer();
        halvern::SetApplicationHelpFile(program.substr(0, program.find_last_of('\\')) + "\\Halvern.chm");
        halvern::ApplicationHelpContext(1000);
        PumpFor(kShowMs);
        halvern::RemoveHelpViewer();
        return 0;
    }
    halvern::WriteInformationStore(program);
    halvern::CreateInfoDialog(GetModuleHandleA(nullptr));
    SetTimer(nullptr, 0, kShowMs, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SendMessageA(halvern::InfoDialogControl(halvern::InfoControl::CloseButton), BM_CLICK, 0, 0);
    });
    halvern::ShowInfoDialog(nullptr);
    halvern::DestroyInfoDialog();
    return 0;
}
