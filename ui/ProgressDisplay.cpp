#include "ui/ProgressDisplay.h"

#include <utility>

#include "ui/StatusTexts.h"
#include "ui/uFuncties.h"

namespace halvern {

ProgressDisplay::ProgressDisplay(HWND statusBar, std::string tag, std::function<std::uint32_t()> clock)
    : statusBar_(statusBar), tag_(std::move(tag)), clock_(std::move(clock)) {}

void ProgressDisplay::OnCollected(std::size_t count) {
    count_ = count;
    ShowStatusCount(statusBar_, CountText(tag_, count), Repaint::Later);
    Repaint(true);
}

void ProgressDisplay::OnRenumbered(std::size_t index) {
    ShowStatusMessage(statusBar_, RenumberProgressText(index), Repaint::Later);
    Repaint(index == 1 || index == count_);
}

void ProgressDisplay::OnCleaned(std::size_t k) {
    ShowStatusMessage(statusBar_, CleanProgressText(k), Repaint::Later);
    Repaint(k == 1);
}

void ProgressDisplay::Finish() { Repaint(true); }

void ProgressDisplay::Repaint(bool force) {
    const std::uint32_t now = clock_();
    // Unsigned difference: right across a wrap of the clock.
    if (!force && repaints_ > 0 && now - lastRepaint_ < kMinimumRepaintInterval) return;
    RepaintStatusBar(statusBar_);
    lastRepaint_ = now;
    ++repaints_;
}

}  // namespace halvern
