#include "ui/ProgressDisplay.h"

#include <utility>

#include "app/StatusTexts.h"
#include "ui/uFuncties.h"

namespace halvern {

ProgressDisplay::ProgressDisplay(HWND statusBar, std::function<std::uint32_t()> clock)
    : statusBar_(statusBar), clock_(std::move(clock)) {}

RenumberSink& ProgressDisplay::RunStarting(const JobRun& run) {
    tag_ = run.tag;
    count_ = 0;
    countPending_ = false;
    phase_ = Phase::None;
    progressPending_ = false;
    return *this;
}

void ProgressDisplay::RunFinished(const JobRun&, std::size_t) { Finish(); }

void ProgressDisplay::OnCollected(std::size_t count) {
    count_ = count;
    countPending_ = true;
    Repaint(true);
}

void ProgressDisplay::OnRenumbered(std::size_t index) {
    phase_ = Phase::Renumbering;
    progress_ = index;
    progressPending_ = true;
    Repaint(index == 1 || index == count_);
}

void ProgressDisplay::OnCleaned(std::size_t k) {
    phase_ = Phase::Cleaning;
    progress_ = k;
    progressPending_ = true;
    Repaint(k == 1);
}

void ProgressDisplay::Finish() { Repaint(true); }

void ProgressDisplay::Repaint(bool force) {
    const std::uint32_t now = clock_();
    // Unsigned difference: right across a wrap of the clock.
    if (!force && repaints_ > 0 && now - lastRepaint_ < kMinimumRepaintInterval) return;
    ShowPending();
    RepaintStatusBar(statusBar_);
    lastRepaint_ = now;
    ++repaints_;
}

void ProgressDisplay::ShowPending() {
    if (countPending_) ShowStatusCount(statusBar_, CountText(tag_, count_), Repaint::Later);
    if (progressPending_) {
        const std::string text =
            phase_ == Phase::Cleaning ? CleanProgressText(progress_) : RenumberProgressText(progress_);
        ShowStatusMessage(statusBar_, text, Repaint::Later);
    }
    countPending_ = false;
    progressPending_ = false;
}

}  // namespace halvern
