#pragma once
#include <memory>
#include <string>

#include "platform/HelpInterfaces.h"

namespace halvern {

// The help system's WinHelp viewer. No version of Windows that the program runs on still has a
// WinHelp engine, so it shows nothing; what it does matter for is which requests it claims. It
// claims a request only when its tester allows it; without a tester it claims every request.
class WinHelpViewer final : public IExtendedHelpViewer {
public:
    // The single tester slot: a new tester replaces any earlier one.
    void SetTester(std::shared_ptr<IWinHelpTester> tester) { tester_ = std::move(tester); }
    const std::shared_ptr<IWinHelpTester>& Tester() const { return tester_; }
    int ViewerId() const { return viewerId_; }

    std::string ViewerTitle() override { return "WinHelp"; }
    int KeywordMatchCount(const std::string& keyword) override;
    HelpStrings GetHelpStrings(const std::string& keyword) override;
    bool HasContents() override { return false; }
    void OpenContents() override {}
    void OpenKeyword(const std::string&) override {}
    void TakeViewerId(int viewerId) override { viewerId_ = viewerId; }
    void CloseHelpWindows() override {}
    void Disconnect() override { manager_.reset(); }
    bool AcceptsTopic(const std::string& topic) override;
    void OpenTopic(const std::string&) override {}
    bool AcceptsContext(int context, const std::string& helpFile) override;
    void OpenContext(int, const std::string&) override {}

    // Called with what the manager's registration returns.
    void Connect(std::shared_ptr<IHelpManager> manager) { manager_ = std::move(manager); }

private:
    // The request's file, else the manager's current one, else the tester's fallback.
    std::string HelpFileFor(const std::string& requested) const;

    std::shared_ptr<IWinHelpTester> tester_;
    std::shared_ptr<IHelpManager> manager_;
    int viewerId_ = 0;
};

}  // namespace halvern
