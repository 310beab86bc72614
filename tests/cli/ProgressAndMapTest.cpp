#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "cli/MapText.h"
#include "cli/TerminalProgress.h"

namespace halvern::cli {
namespace {

using namespace std::chrono_literals;

class TerminalProgressTest : public ::testing::Test {
protected:
    TerminalProgress Make(std::string_view tag) {
        return TerminalProgress(tag, [this](std::string_view text) { shown_ += text; }, [this] { return now_; });
    }
    std::chrono::steady_clock::time_point now_{};
    std::string shown_;
};

TEST_F(TerminalProgressTest, SilentDuringTheFirstSecond) {
    {
        TerminalProgress progress = Make("INDI");
        progress.OnCollected(20000);
        for (std::size_t i = 1; i <= 20000; ++i) progress.OnRenumbered(i);
        now_ += 999ms;
        for (std::size_t k = 1; k < 2 * TerminalProgress::kEventsPerClockCheck; ++k) progress.OnCleaned(k);
    }
    EXPECT_EQ(shown_, "");  // nothing shown, so nothing to wipe either
}

TEST_F(TerminalProgressTest, OneLineRewrittenEveryFewThousandEventsThenWiped) {
    const std::size_t every = TerminalProgress::kEventsPerClockCheck;
    TerminalProgress progress = Make("FAM");
    progress.OnCollected(3 * every);
    now_ += 1s;
    for (std::size_t i = 1; i < every; ++i) progress.OnRenumbered(i);
    EXPECT_EQ(shown_, "");
    progress.OnRenumbered(every);
    const std::string first =
        std::string("\rFAM: bezig met ").append(std::to_string(every)).append(" van ").append(std::to_string(3 * every));
    EXPECT_EQ(shown_, first);

    shown_.clear();
    for (std::size_t k = 1; k <= every; ++k) progress.OnCleaned(k);
    // The shorter text blanks out the tail of the longer one it replaces.
    const std::string second = "FAM: schonen " + std::to_string(every);
    EXPECT_EQ(shown_, std::string(1, '\r').append(second).append(first.size() - 1 - second.size(), ' '));

    shown_.clear();
    progress.Finish();
    EXPECT_EQ(shown_, std::string(1, '\r').append(first.size() - 1, ' ').append(1, '\r'));
    shown_.clear();
    progress.Finish();
    EXPECT_EQ(shown_, "");
}

TEST(MapText, OneTabSeparatedLinePerChange) {
    std::string map;
    AppendMapLines(map, "INDI", {{"@I7@", "@I00001@"}, {"@I3@", "@I00002@"}});
    AppendMapLines(map, "FAM", {});
    AppendMapLines(map, "FAM", {{"@F2@", "@F00007@"}});
    EXPECT_EQ(map, "INDI\t@I7@\t@I00001@\nINDI\t@I3@\t@I00002@\nFAM\t@F2@\t@F00007@\n");
}

TEST(MapText, IdentifiersFromMalformedFilesStayOnOneLine) {
    std::string map;
    AppendMapLines(map, "NOTE", {{std::string("@a\tb\r\nc\\d\x01\x7f\xe9@"), "@N00001@"}});
    EXPECT_EQ(map, "NOTE\t@a\\tb\\r\\nc\\\\d\\x01\\x7F\xe9@\t@N00001@\n");
}

}  // namespace
}  // namespace halvern::cli
