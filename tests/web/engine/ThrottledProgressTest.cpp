// The page hears a large run's progress a few times, not once per identifier, and always its last
// state.
#include "web/engine/ThrottledProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace halvern::web {
namespace {

struct Shown {
    std::vector<std::pair<int, std::string>> texts;
    double now = 0;
};

ThrottledProgress Progress(Shown& shown) {
    return ThrottledProgress([&shown](int panel, const std::string& text) { shown.texts.emplace_back(panel, text); },
                             [&shown] { return shown.now; }, 50);
}

TEST(ThrottledProgressTest, ALargeRunSendsCountFirstOfEachPhaseAndLastState) {
    Shown shown;
    ThrottledProgress progress = Progress(shown);
    const JobRun run{"FAM", {"F"}, 1};
    RenumberSink& sink = progress.RunStarting(run);
    sink.OnCollected(100000);
    for (std::size_t i = 1; i <= 100000; ++i) sink.OnRenumbered(i);  // the clock stands still
    for (std::size_t k = 1; k <= 250000; ++k) sink.OnCleaned(k);
    progress.RunFinished(run, 100000);

    const std::vector<std::pair<int, std::string>> expected{
        {kCountPanel, "aantal FAM : 100000"}, {kMessagePanel, "bezig met 1"}, {kMessagePanel, "schonen 1"},
        {kMessagePanel, "schonen 250000"}};
    EXPECT_EQ(shown.texts, expected);
    EXPECT_EQ(progress.LastMessage(), "schonen 250000");
}

TEST(ThrottledProgressTest, ProgressGoesOutAgainOnceTheIntervalHasPassed) {
    Shown shown;
    ThrottledProgress progress = Progress(shown);
    const JobRun run{"INDI", {"I"}, 1};
    RenumberSink& sink = progress.RunStarting(run);
    sink.OnCollected(20000);
    for (std::size_t i = 1; i <= 20000; ++i) {
        if (i == 5000) shown.now = 60;
        sink.OnRenumbered(i);
    }
    progress.RunFinished(run, 20000);
    ASSERT_EQ(shown.texts.size(), 4u);
    EXPECT_EQ(shown.texts[2].second, "bezig met 8193");  // the first clock reading after 60 ms
    EXPECT_EQ(shown.texts[3].second, "bezig met 20000");
}

TEST(ThrottledProgressTest, ARunThatFindsNothingLeavesTheMessagePanelAlone) {
    Shown shown;
    ThrottledProgress progress = Progress(shown);
    const JobRun run{"NOTE", {"N"}, 1};
    progress.RunStarting(run).OnCollected(0);
    progress.RunFinished(run, 0);
    EXPECT_EQ(shown.texts, (std::vector<std::pair<int, std::string>>{{kCountPanel, "aantal NOTE : 0"}}));
    EXPECT_EQ(progress.LastMessage(), "");
}

}  // namespace
}  // namespace halvern::web
