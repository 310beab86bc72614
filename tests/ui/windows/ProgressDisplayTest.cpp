// How a run's progress reaches the status bar, and how often it is painted.
#include <chrono>
#include <cstdint>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/ProgressDisplay.h"
#include "ui/uFuncties.h"

namespace halvern::testing {
namespace {

using ProgressDisplayTest = ProgramWindowsTest;

TEST_F(ProgressDisplayTest, TheStatusBarShowsWhatTheThrottleHandsIt) {
    CreateWindows();
    const HWND bar = main->sbarHalvern;
    ProgressDisplay display(bar);
    std::chrono::milliseconds now{5000};  // a clock that stands still
    ProgressThrottle progress(display, ProgressDisplay::kPace, [&] { return now; });
    const JobRun run{"INDI", {"I"}, 1};

    progress.OnCollected(run, 1000);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Count), "aantal INDI : 1000");
    progress.OnRenumbered(run, 1);
    progress.OnRenumbered(run, 2);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "bezig met 1") << "2 would be replaced unseen";
    for (std::size_t i = 3; i <= 1000; ++i) progress.OnRenumbered(run, i);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "bezig met 1000");
    for (std::size_t k = 1; k <= 2500; ++k) progress.OnCleaned(run, k);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "schonen 1");
    progress.RunFinished(run, 1000);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "schonen 2500");
    EXPECT_EQ(progress.Rounds(), 5u);
}

TEST_F(ProgressDisplayTest, PanelSettersShowDefaultsForEmptyTextAndBlanksAsThey) {
    CreateWindows();
    const HWND bar = main->sbarHalvern;
    ShowStatusCount(bar, "");
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Count), "aantal");
    ShowStatusCount(bar, " ");
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Count), " ");
    ShowStatusTime(bar, "");
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Time), "dd:uu:mm:ss");
    ShowStatusMessage(bar, "");
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "berichten");
}

}  // namespace
}  // namespace halvern::testing
