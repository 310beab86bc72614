#include "platform/HelpSystem.h"

#include <memory>
#include <utility>

#include "platform/HTMLHelpViewer.h"
#include "platform/HelpManager.h"
#include "platform/WinHelpViewer.h"

namespace halvern {
namespace {

// The application's help system: its manager with the WinHelp viewer registered first, the HTML
// viewer while it is installed, and the application's help file.
struct ApplicationHelp {
    ApplicationHelp()
        : manager(std::make_shared<HelpManager>()), winHelp(std::make_shared<WinHelpViewer>()) {
        winHelp->Connect(manager->RegisterViewer(winHelp));
    }
    std::shared_ptr<HelpManager> manager;
    std::shared_ptr<WinHelpViewer> winHelp;
    std::shared_ptr<THTMLHelpViewer> htmlViewer;
    std::string helpFile = "Halvern.chm";
};

// Created at the first use. The manager and its viewers refer to one another, so when static
// objects are destroyed at exit only counts drop: no viewer code runs that late.
ApplicationHelp& Help() {
    static ApplicationHelp help;
    return help;
}

}  // namespace

void InstallHelpViewer() {
    ApplicationHelp& help = Help();
    help.htmlViewer = SetUpHtmlHelpViewer(*help.manager, *help.winHelp);
}

void RemoveHelpViewer() {
    ApplicationHelp& help = Help();
    if (!help.htmlViewer) return;
    help.htmlViewer->TakeDown();
    help.htmlViewer.reset();
}

void SetApplicationHelpFile(std::string fileName) { Help().helpFile = std::move(fileName); }

const std::string& ApplicationHelpFile() { return Help().helpFile; }

void ApplicationHelpContext(int context) {
    ApplicationHelp& help = Help();
    help.manager->ContextHelp(context, help.helpFile);
}

}  // namespace halvern
