#include "app/ProgressThrottle.h"

#include <utility>

#include "app/StatusTexts.h"

namespace halvern {

std::string RunProgress::StepText() const {
    switch (step) {
        case Step::kRenumbering: return RenumberProgressText(value);
        case Step::kCleaning: return CleanProgressText(value);
        case Step::kNone: break;
    }
    return {};
}

ProgressThrottle::ProgressThrottle(ProgressView& view, ProgressPace pace, Clock clock)
    : view_(view), pace_(pace), clock_(clock ? std::move(clock) : Clock([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
              std::chrono::steady_clock::now().time_since_epoch());
      })),
      started_(clock_()), silent_(pace.silentPeriod.count() > 0) {}

void ProgressThrottle::OnCollected(const JobRun& run, std::size_t count) {
    Follow(run);
    progress_.count = count;
    progress_.step = RunProgress::Step::kNone;
    countPending_ = true;
    stepPending_ = false;
    Round(true);
}

void ProgressThrottle::OnRenumbered(const JobRun& run, std::size_t index) {
    Follow(run);
    Note(RunProgress::Step::kRenumbering, index, index == 1 || index == progress_.count);
}

void ProgressThrottle::OnCleaned(const JobRun& run, std::size_t k) {
    Follow(run);
    Note(RunProgress::Step::kCleaning, k, k == 1);
}

void ProgressThrottle::RunFinished(const JobRun& run, std::size_t) {
    Follow(run);
    Round(true);
    view_.RunDone();
}

// Runs that go through one pass together clean in turns: the newest event names the run shown.
void ProgressThrottle::Follow(const JobRun& run) {
    if (run_ == &run) return;
    run_ = &run;
    progress_.tag = run.tag;
}

void ProgressThrottle::Note(RunProgress::Step step, std::size_t value, bool always) {
    progress_.step = step;
    progress_.value = value;
    stepPending_ = true;
    if (always) {
        Round(true);
    } else if (++eventsSinceClock_ >= kEventsPerClockRead) {
        Round(false);
    }
}

void ProgressThrottle::Round(bool always) {
    eventsSinceClock_ = 0;
    const std::chrono::milliseconds now = clock_();
    if (silent_) {
        if (now - started_ < pace_.silentPeriod) return;
        silent_ = false;
    }
    if (!always && rounds_ > 0 && now - lastRound_ < pace_.interval) return;
    if (countPending_) view_.ShowCount(progress_);
    if (stepPending_) view_.ShowStep(progress_);
    countPending_ = false;
    stepPending_ = false;
    view_.Drawn();
    lastRound_ = now;
    ++rounds_;
}

}  // namespace halvern
