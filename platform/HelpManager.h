#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/HelpInterfaces.h"

namespace halvern {

// The program's help manager: keeps the registered viewers, the current help file, and hands a
// context request to the first extended viewer that accepts it. Create it with std::make_shared.
class HelpManager final : public IHelpManager, public std::enable_shared_from_this<HelpManager> {
public:
    // Appends the viewer to the list of viewers (and of extended viewers when it is one), gives
    // it its id at once (1 for the first, counting up) and returns the manager for it to keep.
    std::shared_ptr<IHelpManager> RegisterViewer(const std::shared_ptr<ICustomHelpViewer>& viewer);

    HWND OwnerWindow() const override { return nullptr; }
    std::string CurrentHelpFile() const override { return helpFile_; }
    void Release(int viewerId) override;

    // Context help: a non-empty file name becomes the current help file; then the extended viewers
    // are asked in the order of registration and the first that accepts opens the context.
    // Nothing happens when none does.
    void ContextHelp(int context, const std::string& helpFile);

    // Disconnects every viewer and empties the lists.
    void ShutDown();

    // Ids of the registered viewers and of the extended ones, in the order of registration.
    std::vector<int> ViewerIds() const;
    std::vector<int> ExtendedViewerIds() const;

private:
    template <typename Viewer>
    struct Entry {
        int id;
        std::shared_ptr<Viewer> viewer;
    };
    std::vector<Entry<ICustomHelpViewer>> viewers_;
    std::vector<Entry<IExtendedHelpViewer>> extendedViewers_;
    int nextId_ = 1;
    std::string helpFile_;
};

}  // namespace halvern
