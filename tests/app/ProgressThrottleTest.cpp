// The one throttle of progress that the window, the terminal and the page draw through: which
// rounds it draws, and what each round shows.
#include "app/ProgressThrottle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace halvern {
namespace {

using std::chrono::milliseconds;

// Writes down every round: the texts shown, then "|".
class Drawing final : public ProgressView {
public:
    void ShowCount(const RunProgress& p) override { shown.push_back("count " + std::string(p.tag) + " " + std::to_string(p.count)); }
    void ShowStep(const RunProgress& p) override { shown.push_back(std::string(p.tag) + " " + p.StepText()); }
    void Drawn() override { shown.push_back("|"); }
    void RunDone() override { shown.push_back("done"); }
    std::vector<std::string> shown;
};

// A run of count identifiers and cleaned occurrences; clock moves on by step per event.
void Feed(ProgressThrottle& throttle, const JobRun& run, std::size_t count, std::size_t cleaned, milliseconds& now,
          milliseconds step) {
    throttle.OnCollected(run, count);
    for (std::size_t i = 1; i <= count; ++i, now += step) throttle.OnRenumbered(run, i);
    for (std::size_t k = 1; k <= cleaned; ++k, now += step) throttle.OnCleaned(run, k);
    throttle.RunFinished(run, count);
}

TEST(ProgressThrottle, AFastRunDrawsTheCountTheFirstAndLastOfEachStepAndTheEnd) {
    Drawing drawing;
    milliseconds now{5000};  // a clock that stands still
    ProgressThrottle throttle(drawing, ProgressPace{milliseconds(15)}, [&] { return now; });
    Feed(throttle, JobRun{"INDI", {"I"}, 1}, 100000, 250000, now, milliseconds(0));
    const std::vector<std::string> expected{"count INDI 100000", "|", "INDI bezig met 1", "|", "INDI bezig met 100000",
                                            "|", "INDI schonen 1", "|", "INDI schonen 250000", "|", "done"};
    EXPECT_EQ(drawing.shown, expected);
    EXPECT_EQ(throttle.Rounds(), 5u);

    // A run that finds nothing draws its count and its end, and no step.
    drawing.shown.clear();
    Feed(throttle, JobRun{"NOTE", {"N"}, 1}, 0, 0, now, milliseconds(0));
    EXPECT_EQ(drawing.shown, (std::vector<std::string>{"count NOTE 0", "|", "|", "done"}));
}

TEST(ProgressThrottle, SlowerRunsAreDrawnAtMostOncePerInterval) {
    for (const milliseconds interval : {milliseconds(15), milliseconds(50), milliseconds(100)}) {
        Drawing drawing;
        milliseconds now{0};
        ProgressThrottle throttle(drawing, ProgressPace{interval}, [&] { return now; });
        // One event per 1/64 ms: 40 s in all, read every kEventsPerClockRead events (16 ms).
        const std::size_t events = 2'560'000;
        throttle.OnCollected(JobRun{"FAM", {"F"}, 1}, events);
        milliseconds lastRound = now;
        std::size_t rounds = throttle.Rounds();
        for (std::size_t i = 1; i <= events; ++i) {
            if (i % 64 == 0) now += milliseconds(1);
            throttle.OnRenumbered(JobRun{"FAM", {"F"}, 1}, i);
            if (throttle.Rounds() == rounds) continue;
            rounds = throttle.Rounds();
            if (i != 1 && i != events) {
                EXPECT_GE(now - lastRound, interval) << i;
            }
            lastRound = now;
        }
        // About one round per interval, or per clock reading where that is longer.
        const long long perRound = (interval.count() + 15) / 16 * 16;
        const auto expected = static_cast<std::size_t>(40000 / perRound);
        EXPECT_GE(rounds, expected * 9 / 10) << interval.count();
        EXPECT_LE(rounds, expected + 4) << interval.count();
    }
}

TEST(ProgressThrottle, NothingDuringTheSilentPeriodThenTheNewestStateOfTheRunLastHeard) {
    Drawing drawing;
    milliseconds now{0};
    ProgressThrottle throttle(drawing, ProgressPace{milliseconds(100), milliseconds(1000)}, [&] { return now; });
    const JobRun indi{"INDI", {"I"}, 1};
    const JobRun fam{"FAM", {"F"}, 1};
    Feed(throttle, indi, 3000, 0, now, milliseconds(0));
    EXPECT_EQ(drawing.shown, (std::vector<std::string>{"done"}));
    now = milliseconds(1000);
    // Runs in one pass clean in turns: the newest event's run is the one drawn.
    drawing.shown.clear();
    throttle.OnCollected(fam, 7);
    throttle.OnCleaned(indi, 1);
    throttle.OnCleaned(fam, 1);
    EXPECT_EQ(drawing.shown,
              (std::vector<std::string>{"count FAM 7", "|", "INDI schonen 1", "|", "FAM schonen 1", "|"}));
}

}  // namespace
}  // namespace halvern
