#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace halvern {

// The interfaces through which the program's help system and its viewers talk. Objects are shared
// through std::shared_ptr, which does the reference counting.

// A list of help strings that the caller owns.
using HelpStrings = std::vector<std::string>;

// What a viewer may ask of the help manager that it registered with.
class IHelpManager {
public:
    virtual ~IHelpManager() = default;
    // The window that help windows are opened for; null when the manager has none.
    virtual HWND OwnerWindow() const = 0;
    // The help file of the latest request that named one.
    virtual std::string CurrentHelpFile() const = 0;
    // Removes the viewer with this id from the manager's lists.
    virtual void Release(int viewerId) = 0;
};

// A help viewer as the help manager sees it.
class ICustomHelpViewer {
public:
    virtual ~ICustomHelpViewer() = default;
    virtual std::string ViewerTitle() = 0;
    virtual int KeywordMatchCount(const std::string& keyword) = 0;
    virtual HelpStrings GetHelpStrings(const std::string& keyword) = 0;
    virtual bool HasContents() = 0;
    virtual void OpenContents() = 0;
    virtual void OpenKeyword(const std::string& keyword) = 0;
    virtual void TakeViewerId(int viewerId) = 0;
    virtual void CloseHelpWindows() = 0;
    // The manager is going away: close what is open and drop the reference to it.
    virtual void Disconnect() = 0;
};

// A viewer that also takes topic and context requests.
class IExtendedHelpViewer : public ICustomHelpViewer {
public:
    virtual bool AcceptsTopic(const std::string& topic) = 0;
    virtual void OpenTopic(const std::string& topic) = 0;
    virtual bool AcceptsContext(int context, const std::string& helpFile) = 0;
    virtual void OpenContext(int context, const std::string& helpFile) = 0;
};

// The questions that the WinHelp viewer puts before it takes a request.
class IWinHelpTester {
public:
    virtual ~IWinHelpTester() = default;
    virtual bool AllowsKeyword(const std::string& keyword, const std::string& helpFile) = 0;
    virtual bool AllowsTopic(const std::string& topic, const std::string& helpFile) = 0;
    virtual bool AllowsContext(int context, const std::string& helpFile) = 0;
    virtual HelpStrings GetHelpStrings(const std::string& keyword) = 0;
    virtual std::string HelpFolder() = 0;
    virtual std::string FallbackHelpFile() = 0;
};

}  // namespace halvern
