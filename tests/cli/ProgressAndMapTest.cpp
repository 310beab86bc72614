#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/MapText.h"
#include "cli/TerminalProgress.h"

namespace halvern::cli {
namespace {

using namespace std::chrono_literals;

// The line as the terminal shows it through the throttle: silent at first, then rewritten in place,
// and wiped at the end of the run.
TEST(TerminalProgress, OneLineRewrittenInPlaceThenWiped) {
    std::string shown;
    std::chrono::milliseconds now{0};
    TerminalProgress line([&](std::string_view text) { shown += text; });
    ProgressThrottle progress(line, TerminalProgress::kPace, [&] { return now; });
    const JobRun run{"FAM", {"F"}, 1};
    progress.OnCollected(run, 30000);
    for (std::size_t i = 1; i <= 20000; ++i) progress.OnRenumbered(run, i);
    EXPECT_EQ(shown, "") << "silent during the first second";

    now = 1s;
    progress.OnRenumbered(run, 30000);
    const std::string first = "\rFAM: bezig met 30000 van 30000";
    EXPECT_EQ(shown, first);
    shown.clear();
    progress.OnCleaned(run, 1);
    // The shorter text blanks out the tail of the longer one it replaces.
    const std::string second = "FAM: schonen 1";
    EXPECT_EQ(shown, std::string(1, '\r').append(second).append(first.size() - 1 - second.size(), ' '));

    shown.clear();
    progress.RunFinished(run, 30000);
    EXPECT_EQ(shown, std::string(1, '\r').append(first.size() - 1, ' ').append(1, '\r'));
}

TEST(MapText, OneTabSeparatedLinePerChange) {
    std::string map;
    const std::vector<std::string_view> uniqueIds{"", "{3F2A}"};
    AppendMapLines(map, "INDI", {{"@I7@", "@I00001@", 0}, {"@I3@", "@I00002@", 1}}, uniqueIds);
    AppendMapLines(map, "FAM", {});
    AppendMapLines(map, "FAM", {{"@F2@", "@F00007@"}});
    EXPECT_EQ(map, "INDI\t@I7@\t@I00001@\t\nINDI\t@I3@\t@I00002@\t{3F2A}\nFAM\t@F2@\t@F00007@\t\n");
}

TEST(MapText, IdentifiersFromMalformedFilesStayOnOneLine) {
    std::string map;
    AppendMapLines(map, "NOTE", {{std::string("@a\tb\r\nc\\d\x01\x7f\xe9@"), "@N00001@"}});
    EXPECT_EQ(map, "NOTE\t@a\\tb\\r\\nc\\\\d\\x01\\x7F\xe9@\t@N00001@\t\n");
}

}  // namespace
}  // namespace halvern::cli
