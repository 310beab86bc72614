// How a run's progress reaches the status bar, and how often it is painted.
#include <cstdint>

#include "tests/ui/windows/WindowTestSupport.h"
#include "ui/ProgressDisplay.h"
#include "ui/uFuncties.h"

namespace halvern::testing {
namespace {

using ProgressDisplayTest = ProgramWindowsTest;

// Events of a run with `count` identifiers and `cleaned` markers.
void Feed(ProgressDisplay& display, std::size_t count, std::size_t cleaned) {
    display.OnCollected(count);
    for (std::size_t i = 1; i <= count; ++i) display.OnRenumbered(i);
    for (std::size_t k = 1; k <= cleaned; ++k) display.OnCleaned(k);
    display.Finish();
}

TEST_F(ProgressDisplayTest, FastRunsShowTheFirstAndLastTextOfEachPhaseOnly) {
    CreateWindows();
    const HWND bar = main->sbarHalvern;
    std::uint32_t now = 5000;
    ProgressDisplay display(bar, [&] { return now; });  // a clock that stands still
    display.RunStarting(JobRun{"INDI", {"I"}, 1});

    display.OnCollected(1000);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Count), "aantal INDI : 1000");
    display.OnRenumbered(1);
    display.OnRenumbered(2);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "bezig met 1") << "2 would be replaced unseen";
    for (std::size_t i = 3; i <= 1000; ++i) display.OnRenumbered(i);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "bezig met 1000");
    for (std::size_t k = 1; k <= 2500; ++k) display.OnCleaned(k);
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "schonen 1");
    display.Finish();
    EXPECT_EQ(StatusPanelText(bar, StatusPanel::Message), "schonen 2500");
    // The count, first and last identifier, first marker, and the end.
    EXPECT_EQ(display.RepaintCount(), 5u);
}

TEST_F(ProgressDisplayTest, SlowerRunsArePaintedAtMostOncePerInterval) {
    CreateWindows();
    std::uint32_t now = 0xFFFFFF00u;  // wraps during the runs
    ProgressDisplay slow(main->sbarHalvern, [&] { return now += 20; });
    slow.RunStarting(JobRun{"FAM", {"F"}, 1});
    Feed(slow, 10, 30);
    EXPECT_EQ(slow.RepaintCount(), 1u + 10u + 30u + 1u) << "20 ms apart: every event painted";

    ProgressDisplay steady(main->sbarHalvern, [&] { return now += 5; });
    steady.RunStarting(JobRun{"NOTE", {"N"}, 1});
    Feed(steady, 300, 0);
    // 5 ms apart, 1500 ms in all: about every third event, never more often than every 15 ms.
    EXPECT_GE(steady.RepaintCount(), 95u);
    EXPECT_LE(steady.RepaintCount(), 105u);
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
