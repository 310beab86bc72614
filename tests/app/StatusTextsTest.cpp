#include "app/StatusTexts.h"

#include <gtest/gtest.h>

namespace halvern {
namespace {

TEST(ElapsedTimeText, FieldsCarryDownAndDropLeftoverMilliseconds) {
    const struct {
        std::uint32_t ms;
        const char* text;
    } cases[] = {
        {0, "00:00:00:00"},           {999, "00:00:00:00"},         {1000, "00:00:00:01"},
        {59'999, "00:00:00:59"},      {60'000, "00:00:01:00"},      {3'599'999, "00:00:59:59"},
        {3'600'000, "00:01:00:00"},   {86'399'999, "00:23:59:59"},  {86'400'000, "01:00:00:00"},
        {90'061'000, "01:01:01:01"},  {4'294'967'295u, "49:17:02:47"},
    };
    for (const auto& c : cases) EXPECT_EQ(ElapsedTimeText(c.ms), c.text) << c.ms;
}

TEST(StatusPanelWidth, ThreeNinthsWithoutRemainder) {
    EXPECT_EQ(StatusPanelWidth(359), 119);
    EXPECT_EQ(StatusPanelWidth(360), 120);
    EXPECT_EQ(StatusPanelWidth(2), 0);
    EXPECT_EQ(StatusPanelWidth(0), 0);
    EXPECT_EQ(StatusPanelWidth(2147483647), 715827882);
}

TEST(StatusTexts, BuiltFromCatalogueWithPlainDecimals) {
    EXPECT_EQ(StartText("14:03:27"), "gestart om 14:03:27");
    EXPECT_EQ(CountText("INDI", 1234), "aantal INDI : 1234");
    EXPECT_EQ(CountText("FAM", 0), "aantal FAM : 0");
    EXPECT_EQ(CountText("SOUR", 1'000'000), "aantal SOUR : 1000000");
    EXPECT_EQ(RenumberProgressText(17), "bezig met 17");
    EXPECT_EQ(CleanProgressText(5), "schonen 5");
    EXPECT_EQ(CleanProgressText(100000), "schonen 100000");
}

TEST(StripTrailingBackslashes, RemovesOnlyBackslashesAtTheEnd) {
    EXPECT_EQ(StripTrailingBackslashes("C:\\Tools\\"), "C:\\Tools");
    EXPECT_EQ(StripTrailingBackslashes("C:\\"), "C:");
    EXPECT_EQ(StripTrailingBackslashes("\\\\\\"), "");
    EXPECT_EQ(StripTrailingBackslashes("C:\\Tools"), "C:\\Tools");
    EXPECT_EQ(StripTrailingBackslashes("C:\\Tools\\\\\\"), "C:\\Tools");
    EXPECT_EQ(StripTrailingBackslashes("C:/Tools/"), "C:/Tools/");
    EXPECT_EQ(StripTrailingBackslashes("C:\\Tools\\ "), "C:\\Tools\\ ");
    EXPECT_EQ(StripTrailingBackslashes(""), "");
}

TEST(TopLevelErrorText, FullStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(TopLevelErrorText("File not found"), "File not found.");
    EXPECT_EQ(TopLevelErrorText("I/O error 17"), "I/O error 17.");
    EXPECT_EQ(TopLevelErrorText("Disk full."), "Disk full.");
    EXPECT_EQ(TopLevelErrorText(""), "");
    EXPECT_EQ(TopLevelErrorText("klaar!"), "klaar!");   // '!' sorts before '.'
    EXPECT_EQ(TopLevelErrorText("(fout)"), "(fout)");
    EXPECT_EQ(TopLevelErrorText("fout "), "fout ");
    EXPECT_EQ(TopLevelErrorText("a-"), "a-");
    EXPECT_EQ(TopLevelErrorText("pad/"), "pad/.");     // '/' sorts just after '.'
    EXPECT_EQ(TopLevelErrorText("caf\xe9"), "caf\xe9.");  // bytes beyond ASCII sort after it too
}

}  // namespace
}  // namespace halvern
