#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/RenumberJob.h"
#include "core/Renumber.h"

namespace halvern::web {

// The status panels a run writes to: 0 messages and progress, 2 counts.
inline constexpr int kMessagePanel = 0;
inline constexpr int kCountPanel = 2;

// Hands a run's progress texts to the page without flooding it: a large run raises hundreds of
// thousands of events, and each text sent is a message from the worker to the page. The count
// goes at once; the newest progress text ("bezig met 17", "schonen 5") goes with the first event
// of each phase and then at most once per interval, and the last one when the run has finished.
// The clock is read only every few thousand events.
class ThrottledProgress final : public JobListener, public RenumberSink {
public:
    using Show = std::function<void(int panel, const std::string& text)>;
    using Clock = std::function<double()>;  // milliseconds

    ThrottledProgress(Show show, Clock clock, double intervalMs = 50);

    RenumberSink& RunStarting(const JobRun& run) override;
    void RunFinished(const JobRun& run, std::size_t count) override;

    void OnCollected(std::size_t count) override;
    void OnRenumbered(std::size_t index) override;
    void OnCleaned(std::size_t k) override;

    // What panel 0 shows after the run: the last progress text, empty when there was none.
    const std::string& LastMessage() const { return lastShown_; }

private:
    enum class Phase { kNone, kRenumbering, kCleaning };
    static constexpr std::uint32_t kEventsPerClockRead = 4096;

    void Note(Phase phase, std::size_t value);
    void ShowPending();

    Show show_;
    Clock clock_;
    double intervalMs_;
    std::string tag_;
    Phase phase_ = Phase::kNone;
    std::size_t value_ = 0;
    bool pending_ = false;
    std::uint32_t eventsSinceClock_ = 0;
    double lastSent_ = 0;
    std::string lastShown_;
};

}  // namespace halvern::web
