#include "ui/ModalLoop.h"

namespace halvern {

namespace {

// One modal showing of window over owner; what it changed is undone when it goes, in this order:
// owner enabled, window hidden, owner activated.
class ModalShowing {
public:
    ModalShowing(HWND window, HWND owner, bool& running) noexcept
        : window_(window),
          owner_(owner),
          disabledOwner_(owner != nullptr && IsWindowEnabled(owner) ? owner : nullptr),
          running_(running) {
        running_ = true;
        if (disabledOwner_ != nullptr) EnableWindow(disabledOwner_, FALSE);
        ShowWindow(window_, SW_SHOW);
    }
    ~ModalShowing() {
        if (disabledOwner_ != nullptr) EnableWindow(disabledOwner_, TRUE);
        if (IsWindow(window_)) ShowWindow(window_, SW_HIDE);
        if (owner_ != nullptr) SetActiveWindow(owner_);
        running_ = false;
    }
    ModalShowing(const ModalShowing&) = delete;
    ModalShowing& operator=(const ModalShowing&) = delete;

private:
    HWND window_;
    HWND owner_;
    HWND disabledOwner_;
    bool& running_;
};

}  // namespace

int ModalLoop::Run(HWND window, HWND owner, const std::function<void()>& shown, const KeyboardHandling& keyboard) {
    if (window == nullptr || running_) return IDCANCEL;
    result_ = 0;
    const ModalShowing showing(window, owner, running_);
    if (shown) shown();

    MSG message{};
    while (result_ == 0 && IsWindow(window)) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the loop outside gets the quit as well.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        const bool taken = keyboard ? keyboard(message) : IsDialogMessageA(window, &message) != FALSE;
        if (taken) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return result_ != 0 ? result_ : IDCANCEL;
}

}  // namespace halvern
