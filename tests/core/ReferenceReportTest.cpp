// The reference report: records per type, dangling references, identifiers defined twice, and
// records nothing refers to.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/ReferenceReport.h"
#include "tests/support/GedcomGenerator.h"

namespace halvern {
namespace {

TEST(ReferenceReport, FindsWhatDoesNotAddUp) {
    const std::string text =
        "0 HEAD\r\n1 SUBM @U1@\r\n"                          // 2
        "0 @I1@ INDI\r\n1 FAMS @F1@ \r\n1 FAMC  @F9@\r"     // 3-5: blanks around; @F9@ is nowhere
        "0 @I2@ INDI\n1 NOTE see @I1@ and a@b.example\n"     // 6-7: running text, no reference
        "2 DATE @#DJULIAN@ 1700\n1 ASSO @VOID@\n"           // 8-9: an escape and the null pointer
        "0 @F1@ FAM\r\n1 HUSB @I1@\r\n"                      // 10-11
        "0 @N1@ NOTE nobody's\r\n"                           // 12
        "0 @N1@ SNOTE twice\r\n"                             // 13
        "0 @U1@ SUBM\r\n"                                    // 14
        "  0 @L1@ _LOC\r\n1 _LOC @L2@\r\n"                   // 15-16: @L2@ is nowhere
        "0 TRLR\r\n";
    const ReferenceReport report = MakeReferenceReport(text);
    ASSERT_EQ(report.counts.size(), 6u);
    const std::string order[] = {"INDI", "FAM", "NOTE", "SNOTE", "SUBM", "_LOC"};
    const std::size_t records[] = {2, 1, 1, 1, 1, 1};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(report.counts[i].tag, order[i]);
        EXPECT_EQ(report.counts[i].records, records[i]);
    }
    ASSERT_EQ(report.dangling.size(), 2u);
    EXPECT_EQ(report.dangling[0].identifier, "@F9@");
    EXPECT_EQ(report.dangling[0].line, 5u);
    EXPECT_EQ(report.dangling[1].identifier, "@L2@");
    EXPECT_EQ(report.dangling[1].line, 16u);
    ASSERT_EQ(report.repeated.size(), 1u);
    EXPECT_EQ(report.repeated[0].identifier, "@N1@");
    EXPECT_EQ(report.repeated[0].lines, (std::vector<std::size_t>{12, 13}));
    // I2 stands alone but is an individual; F1 and U1 are referred to.
    ASSERT_EQ(report.unreferenced.size(), 3u);
    EXPECT_EQ(report.unreferenced[0].identifier, "@N1@");
    EXPECT_EQ(report.unreferenced[1].tag, "SNOTE");
    EXPECT_EQ(report.unreferenced[2].identifier, "@L1@");
    EXPECT_EQ(report.unreferenced[2].line, 15u);
}

TEST(ReferenceReport, AGeneratedFileAddsUpAndIsReadInOnePass) {
    testsupport::GedcomOptions options;
    options.individuals = 100000;
    options.crlf = true;
    const std::string text = testsupport::GenerateGedcom(options);
    const auto started = std::chrono::steady_clock::now();
    const ReferenceReport report = MakeReferenceReport(text);
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started);
    std::printf("reference report of %zu bytes: %.1f ms\n", text.size(), took.count());
    ASSERT_FALSE(report.counts.empty());
    EXPECT_EQ(report.counts[0].tag, "INDI");
    EXPECT_EQ(report.counts[0].records, 100000u);
    EXPECT_TRUE(report.dangling.empty());
    EXPECT_TRUE(report.repeated.empty());
}

}  // namespace
}  // namespace halvern
