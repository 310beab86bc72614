#pragma once
#include <memory>
#include <string>

#include "platform/HelpInterfaces.h"
#include "platform/HtmlHelpApi.h"

namespace halvern {

class HelpManager;
class WinHelpViewer;

// Shows compiled HTML help files (".chm") through HTML Help. It takes a request only when the
// manager's current help file is one; every HTML Help call goes with the manager's owner window
// (null) and the current help file, except a context request, which names its own file.
class THTMLHelpViewer final : public IExtendedHelpViewer,
                              public std::enable_shared_from_this<THTMLHelpViewer> {
public:
    std::string ViewerTitle() override { return "HTMLHelp Viewer"; }
    int KeywordMatchCount(const std::string& keyword) override;
    HelpStrings GetHelpStrings(const std::string& keyword) override;
    bool HasContents() override { return IsHtmlHelpFile(); }
    void OpenContents() override;
    void OpenKeyword(const std::string& keyword) override;
    void TakeViewerId(int viewerId) override { viewerId_ = viewerId; }
    void CloseHelpWindows() override;
    void Disconnect() override;
    bool AcceptsTopic(const std::string&) override { return IsHtmlHelpFile(); }
    void OpenTopic(const std::string& topic) override;
    bool AcceptsContext(int, const std::string&) override { return IsHtmlHelpFile(); }
    void OpenContext(int context, const std::string& helpFile) override;

    // True when the manager's current help file has the extension ".chm" (case ignored).
    bool IsHtmlHelpFile() const;
    int ViewerId() const { return viewerId_; }
    bool HoldsHelpManager() const { return manager_ != nullptr; }

    // Registration with a manager (the viewer must be owned by a std::shared_ptr): the id arrives
    // through TakeViewerId, the manager that registration returns is kept.
    void RegisterWith(HelpManager& manager);
    // The closing code: closes all HTML Help windows and, while it still holds its manager, asks it
    // to release this viewer by its id.
    void TakeDown();

private:
    HWND Owner() const;
    std::string CurrentHelpFile() const;
    HWND CallHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data);

    int viewerId_ = 0;
    std::shared_ptr<IHelpManager> manager_;
    HtmlHelpLibrary library_;
};

// Keeps the WinHelp viewer to ".hlp" files, so that requests for every other help file, ".chm"
// among them, go on to the next viewer.
class TWinHelpMakeBehave final : public IWinHelpTester {
public:
    bool AllowsKeyword(const std::string&, const std::string& helpFile) override;
    bool AllowsTopic(const std::string&, const std::string& helpFile) override;
    bool AllowsContext(int, const std::string& helpFile) override;
    HelpStrings GetHelpStrings(const std::string&) override { return {}; }
    std::string HelpFolder() override { return {}; }
    std::string FallbackHelpFile() override { return {}; }
};

// Start-up: creates the viewer, registers it with the manager and puts a new TWinHelpMakeBehave
// into the WinHelp viewer's tester slot. The viewer returned is the one to take down at the end.
std::shared_ptr<THTMLHelpViewer> SetUpHtmlHelpViewer(HelpManager& manager, WinHelpViewer& winHelp);

}  // namespace halvern
