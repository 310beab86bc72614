#include "platform/HelpManager.h"

#include <algorithm>
#include <utility>

namespace halvern {
namespace {

template <typename Entries>
std::vector<int> IdsOf(const Entries& entries) {
    std::vector<int> ids;
    ids.reserve(entries.size());
    for (const auto& entry : entries) ids.push_back(entry.id);
    return ids;
}

}  // namespace

std::shared_ptr<IHelpManager> HelpManager::RegisterViewer(
    const std::shared_ptr<ICustomHelpViewer>& viewer) {
    const int id = nextId_++;
    viewers_.push_back({id, viewer});
    if (auto extended = std::dynamic_pointer_cast<IExtendedHelpViewer>(viewer)) {
        extendedViewers_.push_back({id, std::move(extended)});
    }
    viewer->TakeViewerId(id);
    return shared_from_this();
}

void HelpManager::Release(int viewerId) {
    const auto hasId = [viewerId](const auto& entry) { return entry.id == viewerId; };
    std::erase_if(viewers_, hasId);
    std::erase_if(extendedViewers_, hasId);
}

void HelpManager::ContextHelp(int context, const std::string& helpFile) {
    if (!helpFile.empty()) helpFile_ = helpFile;
    // A copy: a viewer may release itself while it is asked.
    const auto candidates = extendedViewers_;
    for (const auto& entry : candidates) {
        if (entry.viewer->AcceptsContext(context, helpFile_)) {
            entry.viewer->OpenContext(context, helpFile_);
            return;
        }
    }
}

void HelpManager::ShutDown() {
    const auto viewers = std::exchange(viewers_, {});
    extendedViewers_.clear();
    for (const auto& entry : viewers) entry.viewer->Disconnect();
}

std::vector<int> HelpManager::ViewerIds() const { return IdsOf(viewers_); }
std::vector<int> HelpManager::ExtendedViewerIds() const { return IdsOf(extendedViewers_); }

}  // namespace halvern
