#include "web/engine/ThrottledProgress.h"

#include <utility>

#include "app/StatusTexts.h"

namespace halvern::web {

ThrottledProgress::ThrottledProgress(Show show, Clock clock, double intervalMs)
    : show_(std::move(show)), clock_(std::move(clock)), intervalMs_(intervalMs) {}

RenumberSink& ThrottledProgress::RunStarting(const JobRun& run) {
    tag_ = run.tag;
    phase_ = Phase::kNone;
    pending_ = false;
    lastShown_.clear();
    return *this;
}

void ThrottledProgress::RunFinished(const JobRun&, std::size_t) {
    if (pending_) ShowPending();
}

void ThrottledProgress::OnCollected(std::size_t count) { show_(kCountPanel, CountText(tag_, count)); }

void ThrottledProgress::OnRenumbered(std::size_t index) { Note(Phase::kRenumbering, index); }

void ThrottledProgress::OnCleaned(std::size_t k) { Note(Phase::kCleaning, k); }

void ThrottledProgress::Note(Phase phase, std::size_t value) {
    const bool phaseBegins = phase != phase_;
    phase_ = phase;
    value_ = value;
    pending_ = true;
    if (phaseBegins) {
        ShowPending();
        return;
    }
    if (++eventsSinceClock_ < kEventsPerClockRead) return;
    eventsSinceClock_ = 0;
    if (clock_() - lastSent_ >= intervalMs_) ShowPending();
}

void ThrottledProgress::ShowPending() {
    lastShown_ = phase_ == Phase::kRenumbering ? RenumberProgressText(value_) : CleanProgressText(value_);
    show_(kMessagePanel, lastShown_);
    pending_ = false;
    eventsSinceClock_ = 0;
    lastSent_ = clock_();
}

}  // namespace halvern::web
