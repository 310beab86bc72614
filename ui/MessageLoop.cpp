#include "ui/MessageLoop.h"

#include "ui/uHalvern.h"

namespace halvern {

void DispatchProgramMessage(MSG& message, TfrmHalvern& mainWindow) {
    if (mainWindow.TranslateShortcut(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int RunMessageLoop(TfrmHalvern& mainWindow) {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        DispatchProgramMessage(message, mainWindow);
    }
}

}  // namespace halvern
