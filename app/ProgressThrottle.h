#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "app/RenumberJob.h"

namespace halvern {

// Where a run stands, as a front end draws it.
struct RunProgress {
    enum class Step { kNone, kRenumbering, kCleaning };

    std::string_view tag;
    std::size_t count = 0;  // identifiers collected
    Step step = Step::kNone;
    std::size_t value = 0;  // the index being renumbered, or the occurrences cleaned so far

    // "bezig met 17" or "schonen 5"; empty before either step.
    std::string StepText() const;
};

// A front end's drawing of a job's progress. A round of drawing calls ShowCount and ShowStep for
// what changed since the last round, then Drawn.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void ShowCount(const RunProgress& progress) = 0;
    virtual void ShowStep(const RunProgress& progress) = 0;
    virtual void Drawn() {}
    // The run's text is complete; the last round of it is drawn already.
    virtual void RunDone() {}
};

// How often a view is drawn: besides the rounds that always come (the count, the first and the
// last identifier renumbered, the first occurrence cleaned, the end of each run), at most one per
// interval; and nothing at all during the first silentPeriod of the job.
struct ProgressPace {
    std::chrono::milliseconds interval;
    std::chrono::milliseconds silentPeriod{0};
};

// Turns the engine's events, hundreds of thousands in a large run, into a few rounds of drawing:
// the window's status bar, the terminal's line and the page all go through it. The newest state is
// kept and drawn when a round comes; the clock is read once every kEventsPerClockRead events.
class ProgressThrottle final : public JobListener {
public:
    using Clock = std::function<std::chrono::milliseconds()>;
    static constexpr std::size_t kEventsPerClockRead = 1024;

    // clock: a steady clock by default.
    ProgressThrottle(ProgressView& view, ProgressPace pace, Clock clock = {});

    void OnCollected(const JobRun& run, std::size_t count) override;
    void OnRenumbered(const JobRun& run, std::size_t index) override;
    void OnCleaned(const JobRun& run, std::size_t k) override;
    void RunFinished(const JobRun& run, std::size_t count) override;

    // The rounds drawn so far.
    std::size_t Rounds() const { return rounds_; }

private:
    void Follow(const JobRun& run);
    void Note(RunProgress::Step step, std::size_t value, bool always);
    void Round(bool always);

    ProgressView& view_;
    ProgressPace pace_;
    Clock clock_;
    std::chrono::milliseconds started_;
    std::chrono::milliseconds lastRound_{0};
    const JobRun* run_ = nullptr;  // the run of the newest event
    RunProgress progress_;
    bool countPending_ = false;
    bool stepPending_ = false;
    bool silent_;
    std::size_t eventsSinceClock_ = 0;
    std::size_t rounds_ = 0;
};

}  // namespace halvern
