// The one job both programs drive: runs in a row, the result saved or kept, and nothing changed
// by a refused run or a failed save.
#include "app/RenumberJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

constexpr char kFamily[] =
    "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @I3@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n"
    "1 HUSB @I7@\r\n1 WIFE @I3@\r\n0 TRLR\r\n";
constexpr char kIndiThenFam7[] =
    "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F00007@\r\n0 @I00002@ INDI\r\n1 FAMS @F00007@\r\n0 @F00007@ FAM\r\n"
    "1 HUSB @I00001@\r\n1 WIFE @I00002@\r\n0 TRLR\r\n";

const JobRun kIndi{"INDI", {"I"}, 1};
const JobRun kFam7{"FAM", {"F"}, 7};
const JobRun kSour{"SOUR", {"S"}, 1};

// Records what a front end hears.
class Recorder final : public JobListener {
public:
    void OnCollected(const JobRun& run, std::size_t count) override {
        heard += "collected " + run.tag + " " + std::to_string(count) + ";";
    }
    void OnRenumbered(const JobRun&, std::size_t) override {}
    void OnCleaned(const JobRun&, std::size_t) override {}
    void RunFinished(const JobRun& run, std::size_t count) override {
        heard += "end " + run.tag + " " + std::to_string(count) + ";";
    }
    std::string heard;
};


TEST(RenumberJob, RunsInARowEachOnTheResultOfTheOneBefore) {
    // Every combination of runs that change the text and runs that find nothing, first and last.
    const struct {
        std::vector<JobRun> runs;
        std::string expected;
        std::vector<std::string> counts;
    } cases[] = {
        {{kIndi, kFam7}, kIndiThenFam7, {"aantal INDI : 2", "aantal FAM : 1"}},
        {{kSour, kIndi, kFam7}, kIndiThenFam7, {"aantal SOUR : 0", "aantal INDI : 2", "aantal FAM : 1"}},
        {{kIndi, kFam7, kSour}, kIndiThenFam7, {"aantal INDI : 2", "aantal FAM : 1", "aantal SOUR : 0"}},
        {{kSour}, kFamily, {"aantal SOUR : 0"}},
    };
    for (const auto& c : cases) {
        // In memory, with the source given up after the first run that made a text.
        {
            Recorder listener;
            std::string source = kFamily;
            std::string result;
            int released = 0;
            const JobResult outcome = RenumberJob(c.runs, listener, true).RunInMemory(source, result, [&] {
                ++released;
                source = std::string(source.size(), '#');  // gone: nothing may read it any more
            });
            ASSERT_TRUE(outcome.Succeeded());
            EXPECT_EQ(result, c.expected);
            EXPECT_EQ(outcome.countTexts, c.counts);
            EXPECT_EQ(outcome.changes.size(), c.runs.size());
            EXPECT_LE(released, 1);
        }
        // Saved, and kept in the text it was made from.
        {
            const testing::TempFolder folder;
            Recorder listener;
            std::string document = kFamily;
            const JobResult outcome = RenumberJob(c.runs, listener).RunAndSave(document, folder / "uit.ged", &document);
            ASSERT_TRUE(outcome.Succeeded());
            EXPECT_EQ(testing::ReadBytes(folder / "uit.ged"), c.expected);
            EXPECT_EQ(document, c.expected);
        }
    }
}

TEST(RenumberJob, ARunChangesNoMapEntryOfAnother) {
    Recorder listener;
    std::string result;
    const JobResult outcome = RenumberJob({kIndi, kFam7}, listener, true).RunInMemory(kFamily, result);
    ASSERT_EQ(outcome.changes.size(), 2u);
    ASSERT_EQ(outcome.changes[0].size(), 2u);
    EXPECT_EQ(outcome.changes[0][0].oldId, "@I7@");
    EXPECT_EQ(outcome.changes[0][1].newId, "@I00002@");
    ASSERT_EQ(outcome.changes[1].size(), 1u);
    EXPECT_EQ(outcome.changes[1][0].oldId, "@F2@");
    // The two runs went through one pass.
    EXPECT_EQ(listener.heard, "collected INDI 2;collected FAM 1;end INDI 2;end FAM 1;");
}

TEST(RenumberJob, ARefusedRunOrAFailedSaveChangesNothing) {
    const testing::TempFolder folder;
    const std::filesystem::path output = folder / "uit.ged";
    testing::WriteBytes(output, "eerder");
    // 150,000 individuals: their five-digit serial texts would repeat.
    std::string many = "0 HEAD\n";
    for (int i = 1; i <= 150000; ++i) many += "0 @P" + std::to_string(i) + "@ INDI\n";
    {
        Recorder listener;
        std::string document = many;
        const JobResult outcome = RenumberJob({kFam7, kIndi}, listener).RunAndSave(document, output, &document);
        EXPECT_EQ(outcome.status, JobStatus::Refused);
        EXPECT_EQ(outcome.message, "De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.");
        EXPECT_EQ(document, many);
        EXPECT_EQ(testing::ReadBytes(output), "eerder");
    }
    {
        Recorder listener;
        std::string document = kFamily;
        const JobResult outcome =
            RenumberJob({kIndi}, listener).RunAndSave(document, folder / "ontbreekt" / "uit.ged", &document);
        EXPECT_EQ(outcome.status, JobStatus::SaveFailed);
        EXPECT_EQ(outcome.ioCode, 2);  // File not found: the folder is missing
        EXPECT_FALSE(outcome.message.empty());
        EXPECT_EQ(document, kFamily);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"}) << "no temporary file left";
}

}  // namespace
}  // namespace halvern
