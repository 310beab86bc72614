#pragma once
#include <windows.h>

#include <functional>

namespace halvern {

// The nested message loop of a modal showing, shared by the program's dialogs.
class ModalLoop {
public:
    // What the dialog does with a message before the loop dispatches it (its shortcut keys, the
    // dialog manager's keyboard handling); true when it has taken the message.
    using KeyboardHandling = std::function<bool(MSG& message)>;

    ModalLoop() = default;
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Shows window modally over owner (which may be null) and runs the loop until End is called
    // or the window is destroyed; returns End's result, IDCANCEL without one. The owner is
    // disabled while the window shows, unless it already was, and on every way out (an
    // exception included) enabled again before the window hides, so that it gets the activation
    // back. A WM_QUIT ends the showing with IDCANCEL and is posted again for the loop outside.
    // shown runs once the window is visible, before the loop; without keyboard the dialog
    // manager's handling (IsDialogMessage) is used. While it runs, a second Run returns IDCANCEL.
    int Run(HWND window, HWND owner, const std::function<void()>& shown, const KeyboardHandling& keyboard);

    // Ends the running loop with result (not 0).
    void End(int result) noexcept { result_ = result; }
    bool Running() const noexcept { return running_; }

private:
    int result_ = 0;
    bool running_ = false;
};

}  // namespace halvern
