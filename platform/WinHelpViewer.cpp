#include "platform/WinHelpViewer.h"

namespace halvern {

std::string WinHelpViewer::HelpFileFor(const std::string& requested) const {
    if (!requested.empty()) return requested;
    if (manager_) {
        std::string current = manager_->CurrentHelpFile();
        if (!current.empty()) return current;
    }
    return tester_ ? tester_->FallbackHelpFile() : std::string();
}

int WinHelpViewer::KeywordMatchCount(const std::string& keyword) {
    if (tester_ && !tester_->AllowsKeyword(keyword, HelpFileFor({}))) return 0;
    return static_cast<int>(GetHelpStrings(keyword).size());
}

HelpStrings WinHelpViewer::GetHelpStrings(const std::string& keyword) {
    if (tester_) return tester_->GetHelpStrings(keyword);
    return {keyword};
}

bool WinHelpViewer::AcceptsTopic(const std::string& topic) {
    return !tester_ || tester_->AllowsTopic(topic, HelpFileFor({}));
}

bool WinHelpViewer::AcceptsContext(int context, const std::string& helpFile) {
    return !tester_ || tester_->AllowsContext(context, HelpFileFor(helpFile));
}

}  // namespace halvern
