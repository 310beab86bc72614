#include "ui/MainWindowSeams.h"

#include "platform/HelpSystem.h"
#include "platform/ShellLinks.h"
#include "ui/ErrorBoxes.h"
#include "ui/FileDialogs.h"
#include "ui/uKeuze.h"
#include "ui/zxInfoTool.h"

namespace halvern {

MainWindowSeams MainWindowSeams::RealCalls(TfrmKeuze& choice) {
    MainWindowSeams seams;
    seams.messageBox = [](HWND owner, const std::string& text, UINT style) {
        return ProgramMessageBox(owner, text, style);
    };
    seams.askOpenFile = &AskOpenFileName;
    seams.askSaveFile = &AskSaveFileName;
    seams.showChoice = [&choice](HWND owner) { return choice.ShowModal(owner); };
    seams.askHelp = &ApplicationHelpContext;
    seams.openMail = &OpenMailProgram;
    seams.openHomepage = &OpenHomepage;
    seams.showInfo = &ShowInfoDialog;
    return seams;
}

}  // namespace halvern
