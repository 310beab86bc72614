// The one job both programs drive: runs in a row, the result saved or kept, and nothing changed
// by a refused run or a failed save.
#include "app/RenumberJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Document.h"
#include "tests/app/FamilyTexts.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

using testing::kFamily;
using testing::kIndiThenFam7;

const JobRun kIndi{"INDI", {"I"}, 1};
const JobRun kFam7{"FAM", {"F"}, 7};
const JobRun kSour{"SOUR", {"S"}, 1};

GedcomDocument Document(std::string text) {
    GedcomDocument document;
    document.Replace(std::move(text));
    return document;
}

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
        // In memory, the document spent as soon as a run has made a text.
        {
            Recorder listener;
            GedcomDocument document = Document(kFamily);
            const JobResult outcome = RenumberJob(c.runs, listener, true, DocumentUse::kSpend).Run(document);
            ASSERT_TRUE(outcome.Succeeded());
            EXPECT_EQ(document.Text(), c.expected);
            EXPECT_EQ(outcome.countTexts, c.counts);
        }
        // Saved, and kept in the document; and saved with the save left staged.
        {
            const testing::TempFolder folder;
            Recorder listener;
            GedcomDocument document = Document(kFamily);
            const JobResult outcome = RenumberJob(c.runs, listener).RunAndSave(document, folder / "uit.ged");
            ASSERT_TRUE(outcome.Succeeded());
            EXPECT_EQ(testing::ReadBytes(folder / "uit.ged"), c.expected);
            EXPECT_EQ(document.Text(), c.expected);
            std::unique_ptr<StagedSave> staged;
            document = Document(kFamily);
            ASSERT_TRUE(RenumberJob(c.runs, listener, false, DocumentUse::kSpend)
                            .RunAndStage(document, folder / "gestaged.ged", staged)
                            .Succeeded());
            staged->Commit();
            EXPECT_EQ(testing::ReadBytes(folder / "gestaged.ged"), c.expected);
        }
    }
}

TEST(RenumberJob, ARunChangesNoMapEntryOfAnother) {
    Recorder listener;
    GedcomDocument document = Document(kFamily);
    const JobResult outcome = RenumberJob({kIndi, kFam7}, listener, true).Run(document);
    EXPECT_EQ(outcome.map, "INDI\t@I7@\t@I00001@\t\nINDI\t@I3@\t@I00002@\t\nFAM\t@F2@\t@F00007@\t\n");
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
        GedcomDocument document = Document(many);
        const JobResult outcome = RenumberJob({kFam7, kIndi}, listener).RunAndSave(document, output);
        EXPECT_EQ(outcome.status, JobStatus::Refused);
        EXPECT_EQ(outcome.message, "De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.");
        EXPECT_EQ(document.Text(), many);
        EXPECT_EQ(testing::ReadBytes(output), "eerder");
    }
    {
        Recorder listener;
        GedcomDocument document = Document(kFamily);
        const JobResult outcome = RenumberJob({kIndi}, listener).RunAndSave(document, folder / "ontbreekt" / "uit.ged");
        EXPECT_EQ(outcome.status, JobStatus::SaveFailed);
        EXPECT_EQ(outcome.message, "File not found.");  // the folder is missing
        EXPECT_EQ(document.Text(), kFamily);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"}) << "no temporary file left";
}

}  // namespace
}  // namespace halvern
