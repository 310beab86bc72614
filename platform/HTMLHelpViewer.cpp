#include "platform/HTMLHelpViewer.h"

#include "platform/HelpFileName.h"
#include "platform/HelpManager.h"
#include "platform/WinHelpViewer.h"

namespace halvern {
namespace {

constexpr char kHtmlHelpExtension[] = ".chm";
constexpr char kWinHelpExtension[] = ".hlp";

}  // namespace

bool THTMLHelpViewer::IsHtmlHelpFile() const {
    return HasHelpFileExtension(CurrentHelpFile(), kHtmlHelpExtension);
}

int THTMLHelpViewer::KeywordMatchCount(const std::string&) { return IsHtmlHelpFile() ? 1 : 0; }

HelpStrings THTMLHelpViewer::GetHelpStrings(const std::string& keyword) {
    if (!IsHtmlHelpFile()) return {};
    return {keyword};
}

void THTMLHelpViewer::OpenContents() {
    const std::string file = CurrentHelpFile();
    CallHtmlHelp(Owner(), file.c_str(), kHhDisplayToc, 0);
}

void THTMLHelpViewer::OpenKeyword(const std::string& keyword) {
    const std::string file = CurrentHelpFile();
    HtmlHelpKeywordLink link = MakeKeywordLink(keyword.c_str());
    CallHtmlHelp(Owner(), file.c_str(), kHhKeywordLookup, reinterpret_cast<DWORD_PTR>(&link));
}

void THTMLHelpViewer::OpenTopic(const std::string& topic) {
    const std::string target = CurrentHelpFile() + HelpTopicSuffix(topic);
    CallHtmlHelp(Owner(), target.c_str(), kHhDisplayTopic, 0);
}

void THTMLHelpViewer::OpenContext(int context, const std::string& helpFile) {
    // The context number travels as its 32-bit pattern.
    CallHtmlHelp(Owner(), helpFile.c_str(), kHhHelpContext,
                 static_cast<DWORD_PTR>(static_cast<DWORD>(context)));
}

void THTMLHelpViewer::CloseHelpWindows() { CallHtmlHelp(nullptr, nullptr, kHhCloseAll, 0); }

void THTMLHelpViewer::Disconnect() {
    CallHtmlHelp(nullptr, nullptr, kHhCloseAll, 0);
    manager_.reset();
}

void THTMLHelpViewer::RegisterWith(HelpManager& manager) {
    manager_.reset();
    manager_ = manager.RegisterViewer(shared_from_this());
}

void THTMLHelpViewer::TakeDown() {
    CallHtmlHelp(nullptr, nullptr, kHhCloseAll, 0);
    if (manager_) manager_->Release(viewerId_);
}

HWND THTMLHelpViewer::Owner() const { return manager_ ? manager_->OwnerWindow() : nullptr; }

std::string THTMLHelpViewer::CurrentHelpFile() const {
    return manager_ ? manager_->CurrentHelpFile() : std::string();
}

HWND THTMLHelpViewer::CallHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    if (const HtmlHelpFunction& replacement = HtmlHelpReplacement()) {
        return replacement(owner, file, command, data);
    }
    return library_.Call(owner, file, command, data);
}

bool TWinHelpMakeBehave::AllowsKeyword(const std::string&, const std::string& helpFile) {
    return HasHelpFileExtension(helpFile, kWinHelpExtension);
}

bool TWinHelpMakeBehave::AllowsTopic(const std::string&, const std::string& helpFile) {
    return HasHelpFileExtension(helpFile, kWinHelpExtension);
}

bool TWinHelpMakeBehave::AllowsContext(int, const std::string& helpFile) {
    return HasHelpFileExtension(helpFile, kWinHelpExtension);
}

std::shared_ptr<THTMLHelpViewer> SetUpHtmlHelpViewer(HelpManager& manager, WinHelpViewer& winHelp) {
    auto viewer = std::make_shared<THTMLHelpViewer>();
    viewer->RegisterWith(manager);
    winHelp.SetTester(std::make_shared<TWinHelpMakeBehave>());
    return viewer;
}

}  // namespace halvern
