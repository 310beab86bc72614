// The page's document: runs in a row with their map, refusals that change nothing, the files it
// will not take, the checks before a run and a save, and UTF-16 files back in UTF-16.
#include "web/engine/DocumentSession.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/Renumber.h"
#include "tests/app/FamilyTexts.h"
#include "web/engine/RunRequest.h"

namespace halvern::web {
namespace {

using testing::kFamily;
using testing::kIndiThenFam7;

bool Load(DocumentSession& session, std::string_view bytes, std::string name = "stamboom.ged") {
    char* target = session.PrepareLoad(bytes.size(), std::move(name));
    if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
    return session.FinishLoad();
}

JobResult RunOn(DocumentSession& session, std::string_view tag, std::string_view box = "", int width = 5) {
    NullJobListener silent;
    return session.Run(*RunFromChoice(tag, "", width, box), silent);
}

// The message of a check that failed; empty when every check passed.
std::string Failed(const std::optional<FailedCheck>& check) { return check ? check->message : std::string(); }

std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) bytes.append({c, '\0'});
    return bytes;
}

TEST(DocumentSessionTest, RunsInARowWorkOnTheResultAndTheirMapGrows) {
    DocumentSession session;
    ASSERT_TRUE(Load(session, kFamily));
    ASSERT_TRUE(RunOn(session, "INDI").Succeeded());
    const JobResult fam = RunOn(session, "FAM", "7");
    ASSERT_TRUE(fam.Succeeded());
    EXPECT_EQ(fam.countTexts, std::vector<std::string>{"aantal FAM : 1"});
    EXPECT_EQ(session.Output(), kIndiThenFam7);
    EXPECT_EQ(session.MapText(), "INDI\t@I7@\t@I00001@\t\nINDI\t@I3@\t@I00002@\t\nFAM\t@F2@\t@F00007@\t\n");
}

TEST(DocumentSessionTest, RefusedRunsKeepTheEarlierResultAndMap) {
    DocumentSession session;
    std::string text;
    for (int i = 0; i < 11; ++i) text += "0 @P" + std::to_string(i) + "@ INDI\n1 FAMC @G@\n";
    text += "0 @G@ FAM\n";
    ASSERT_TRUE(Load(session, text));
    ASSERT_TRUE(RunOn(session, "FAM").Succeeded());
    const std::string afterFam(session.Document().Text());
    const std::string mapAfterFam(session.MapText());

    const JobResult repeated = RunOn(session, "INDI", "", 1);  // eleven serials of one digit
    EXPECT_EQ(repeated.status, JobStatus::Refused);
    EXPECT_EQ(repeated.message, rsNummersDubbel.text);
    EXPECT_EQ(session.Document().Text(), afterFam);
    EXPECT_EQ(session.MapText(), mapAfterFam);

    ASSERT_TRUE(Load(session, "0 @X@ INDI\n0 @I00002@ NOTE\n"));
    const JobResult taken = RunOn(session, "INDI", "2");
    EXPECT_EQ(taken.status, JobStatus::Collides);
    EXPECT_EQ(taken.message, std::string(rsNummerBezet.text) + " (@I00002@)");
    EXPECT_EQ(session.Document().Text(), "0 @X@ INDI\n0 @I00002@ NOTE\n");
    EXPECT_EQ(session.MapText(), "");
}

TEST(DocumentSessionTest, FilesThatAreNoGedcomTextAreRefusedAndLeaveNoDocument) {
    DocumentSession session;
    ASSERT_TRUE(Load(session, kFamily));
    EXPECT_FALSE(Load(session, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    EXPECT_FALSE(session.Document().IsLoaded());
    EXPECT_EQ(Failed(session.CheckRun()), rsGeenInvoer.text);

    ASSERT_TRUE(Load(session, " \t\r\n  \n"));
    EXPECT_EQ(Failed(session.CheckRun()), rsGeenGegevens.text);
    ASSERT_TRUE(Load(session, kFamily));
    EXPECT_EQ(Failed(session.CheckRun()), "");
}

TEST(DocumentSessionTest, SaveChecksTheNameAsTheWindowDoes) {
    DocumentSession session;
    EXPECT_EQ(Failed(session.CheckSave("uit.ged")), rsGeenInvoer.text);
    ASSERT_TRUE(Load(session, kFamily, "stamboom.ged"));
    EXPECT_EQ(Failed(session.CheckSave("  ")), rsGeenUitvoer.text);
    EXPECT_EQ(Failed(session.CheckSave(" stamboom.ged ")), rsZelfdeNaam.text);
    EXPECT_EQ(Failed(session.CheckSave("Stamboom.ged")), "");
}

TEST(DocumentSessionTest, Utf16FilesAreRenumberedAndComeBackInUtf16) {
    DocumentSession session;
    ASSERT_TRUE(Load(session, Utf16Le(kFamily)));
    EXPECT_EQ(session.Document().Encoding(), TextEncoding::kUtf16Le);
    ASSERT_TRUE(RunOn(session, "INDI").Succeeded());
    ASSERT_TRUE(RunOn(session, "FAM", "7").Succeeded());
    EXPECT_EQ(session.Output(), Utf16Le(kIndiThenFam7));
    EXPECT_EQ(session.Output().data(), session.Output().data()) << "the bytes stay where they are";
    EXPECT_EQ(session.MapText().substr(0, 16), "INDI\t@I7@\t@I0000");
}

TEST(RunRequestTest, BlankPrefixIsTheTypesOwnAndTheBoxIsReadAsTheWindowReadsIt) {
    const std::optional<JobRun> run = RunFromChoice("SUBN", " ", 3, "$1F");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->form.prefix, "B");
    EXPECT_EQ(run->form.width, 3);
    EXPECT_EQ(run->startNumber, 31);
    EXPECT_EQ(RunFromChoice("INDI", "P_1", 9, "")->startNumber, 1);
    EXPECT_FALSE(RunFromChoice("_LOC", "", 5, ""));
    EXPECT_FALSE(RunFromChoice("INDI", "a-b", 5, ""));
    EXPECT_FALSE(RunFromChoice("INDI", "", 10, ""));
}

}  // namespace
}  // namespace halvern::web
