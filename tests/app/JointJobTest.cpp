// A job of several runs against the same runs as one-run jobs in a row (a single run never goes
// through the joint pass): on random texts and run lists the status, texts, counts, map,
// result and everything the listener hears must be the same, refusals included.
#include "app/RenumberJob.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/core/RandomRuns.h"
#include "tests/core/RecordingSink.h"

namespace halvern {
namespace {

// Writes down every event of each run and its end, by run: runs in one pass clean in turns, but
// each run's own events must be those it raises by itself. Every run begins with OnCollected, in
// the order of the runs.
class EventLog final : public JobListener {
public:
    void OnCollected(const JobRun& run, std::size_t count) override {
        index_[&run] = heard.size();
        heard.emplace_back();
        Of(run).push_back(testing::Event('C', count));
    }
    void OnRenumbered(const JobRun& run, std::size_t index) override { Of(run).push_back(testing::Event('R', index)); }
    void OnCleaned(const JobRun& run, std::size_t k) override { Of(run).push_back(testing::Event('K', k)); }
    void RunFinished(const JobRun& run, std::size_t count) override {
        Of(run).push_back("end " + run.tag + " " + std::to_string(count));
    }
    std::vector<std::vector<std::string>> heard;

private:
    std::vector<std::string>& Of(const JobRun& run) { return heard.at(index_.at(&run)); }
    std::map<const JobRun*, std::size_t> index_;
};

struct Observed {
    JobResult result;
    std::string text;
    std::vector<std::vector<std::string>> heard;
};

Observed OneJob(const std::vector<JobRun>& runs, const std::string& source) {
    Observed observed;
    EventLog log;
    GedcomDocument document;
    document.Replace(source);
    observed.result = RenumberJob(runs, log, true).Run(document);
    if (observed.result.Succeeded()) observed.text = document.Text();
    observed.heard = log.heard;
    return observed;
}

// One-run jobs in a row; the first refusal ends them, as it ends a job, with nothing kept.
Observed JobsInARow(const std::vector<JobRun>& runs, const std::string& source) {
    Observed observed;
    EventLog log;
    GedcomDocument document;
    document.Replace(source);
    for (const JobRun& run : runs) {
        const JobResult single = RenumberJob({run}, log, true).Run(document);
        if (!single.Succeeded()) {
            observed.result = single;
            observed.heard = log.heard;
            return observed;
        }
        observed.result.countTexts.push_back(single.countTexts.at(0));
        observed.result.map += single.map;
    }
    observed.text = document.Text();
    observed.heard = log.heard;
    return observed;
}

TEST(JointJob, SameAsOneRunAfterTheOtherOnRandomTexts) {
    std::mt19937 random(99);
    std::size_t refused = 0;
    for (int round = 0; round < 8000; ++round) {
        const std::string source = testing::RandomSoup(random);
        std::vector<JobRun> runs;
        for (const testing::RandomRun& run : testing::RandomRunList(random)) {
            runs.push_back(JobRun{run.tag, run.form, run.startNumber});
        }
        const Observed joint = OneJob(runs, source);
        const Observed apart = JobsInARow(runs, source);
        SCOPED_TRACE(source);
        ASSERT_EQ(joint.result.status, apart.result.status);
        ASSERT_EQ(joint.result.message, apart.result.message);
        ASSERT_EQ(joint.result.countTexts, apart.result.countTexts);
        ASSERT_EQ(joint.result.map, apart.result.map);
        if (!joint.result.Succeeded()) ++refused;
        ASSERT_EQ(joint.text, apart.text);
        ASSERT_EQ(joint.heard, apart.heard);
    }
    EXPECT_GT(refused, 100u);
}

}  // namespace
}  // namespace halvern
