// Several runs in one pass against the same runs one after the other: wherever the joint pass is
// taken, the text, the counts, the events and the changes of every run must be the same, and it
// must never be taken where one of the runs would be refused.
#include "core/Renumber.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/CollectIdentifiers.h"
#include "tests/core/RandomRuns.h"
#include "tests/core/RecordingSink.h"
#include "tests/support/GedcomGenerator.h"

namespace halvern {
namespace {

using testing::RandomRun;
using testing::RecordingSink;

std::vector<RunRequest> Requests(const std::vector<RandomRun>& runs) {
    std::vector<RunRequest> requests;
    for (const RandomRun& run : runs) requests.push_back(RunRequest{run.tag, run.form, run.startNumber});
    return requests;
}

// What the runs one after the other give: per run its count, events and changes, and the text;
// refused when any run is.
struct Outcome {
    bool refused = false;
    std::string text;
    std::vector<std::size_t> counts;
    std::vector<std::vector<std::string>> events;
    std::vector<std::vector<Renumbering>> changes;
};

Outcome OneAfterTheOther(std::string text, const std::vector<RandomRun>& runs) {
    Outcome outcome;
    for (const RandomRun& run : runs) {
        RecordingSink sink;
        std::vector<Renumbering> changes;
        try {
            outcome.counts.push_back(RenumberRecords(text, run.tag, run.form, run.startNumber, sink, &changes));
        } catch (const RunRefused&) {
            outcome.refused = true;
            return outcome;
        }
        outcome.events.push_back(sink.events);
        outcome.changes.push_back(changes);
    }
    outcome.text = text;
    return outcome;
}

// The pass of runs prepared together, whose events went to sink.
Outcome Jointly(PreparedRuns& joint, RecordingSink& sink, std::size_t runs) {
    Outcome outcome;
    joint.AppendTo(outcome.text);
    for (std::size_t i = 0; i < runs; ++i) {
        outcome.counts.push_back(joint.CountOf(i));
        outcome.events.push_back(sink.Of(i));
        outcome.changes.push_back(joint.Changes(i));
    }
    return outcome;
}

void ExpectSame(const Outcome& joint, const Outcome& sequential) {
    ASSERT_EQ(joint.text, sequential.text);
    ASSERT_EQ(joint.counts, sequential.counts);
    ASSERT_EQ(joint.events, sequential.events);
    ASSERT_EQ(joint.changes.size(), sequential.changes.size());
    for (std::size_t i = 0; i < joint.changes.size(); ++i) {
        ASSERT_EQ(joint.changes[i].size(), sequential.changes[i].size());
        for (std::size_t j = 0; j < joint.changes[i].size(); ++j) {
            ASSERT_EQ(joint.changes[i][j].oldId, sequential.changes[i][j].oldId);
            ASSERT_EQ(joint.changes[i][j].newId, sequential.changes[i][j].newId);
        }
    }
}

TEST(JointRuns, OneWalkFindsWhatEachTypesOwnWalkFinds) {
    std::mt19937 random(2024);
    const std::vector<std::string_view> tags{"INDI", "SOUR", "SOURCE", "_X", "FAM", ""};
    for (int round = 0; round < 5000; ++round) {
        const std::string text = testing::RandomSoup(random);
        std::vector<std::vector<std::string_view>> joint(tags.size());
        std::vector<std::size_t> stretches;
        std::size_t lastAt = 0;
        const std::size_t atSigns = ForEachDefinitionOfTags(
            text, tags,
            [&](std::size_t tag, std::string_view id) {
                ASSERT_GE(static_cast<std::size_t>(id.data() - text.data()), lastAt) << "not in the order of the text";
                lastAt = static_cast<std::size_t>(id.data() - text.data());
                joint[tag].push_back(id);
            },
            [&](std::size_t at, std::size_t length) {
                ASSERT_EQ(text[at], '@');
                ASSERT_EQ(text.find('@', at + 1), at + length - 1);
                stretches.push_back(at);
            });
        for (std::size_t i = 0; i < tags.size(); ++i) {
            std::vector<std::string_view> alone;
            ForEachDefinition(text, tags[i], [&](std::string_view id) { alone.push_back(id); });
            ASSERT_EQ(joint[i].size(), alone.size()) << text << " " << tags[i];
            for (std::size_t j = 0; j < alone.size(); ++j) ASSERT_EQ(joint[i][j].data(), alone[j].data()) << text;
        }
        const auto expectedAts = static_cast<std::size_t>(std::count(text.begin(), text.end(), '@'));
        ASSERT_EQ(atSigns, expectedAts);
        ASSERT_EQ(stretches.size(), expectedAts == 0 ? 0 : expectedAts - 1);
    }
}

TEST(JointRuns, SameAsOneAfterTheOtherOnRandomTexts) {
    std::mt19937 random(77);
    std::size_t joint = 0;
    std::size_t jointWithChanges = 0;
    std::size_t apart = 0;
    constexpr int kRounds = 30000;
    for (int round = 0; round < kRounds; ++round) {
        const std::string original = testing::RandomSoup(random);
        const std::vector<RandomRun> runs = testing::RandomRunList(random);
        const Outcome sequential = OneAfterTheOther(original, runs);
        RecordingSink sink;
        const std::unique_ptr<PreparedRuns> prepared = PreparedRuns::Together(original, Requests(runs), sink);
        if (!prepared) {
            ASSERT_TRUE(sink.byRun.size() == 1 && sink.events.empty()) << "events of runs that did not go together";
            ++apart;
            continue;
        }
        ASSERT_FALSE(sequential.refused) << "taken together although a run is refused: " << original;
        const Outcome together = Jointly(*prepared, sink, runs.size());
        SCOPED_TRACE(original);
        ExpectSame(together, sequential);
        ++joint;
        if (together.text != original) ++jointWithChanges;

        NullRenumberSink quiet;
        const std::unique_ptr<PreparedRuns> again = PreparedRuns::Together(original, Requests(runs), quiet);
        std::string streamed;
        again->WriteTo([&](std::string_view piece) { streamed.append(piece); });
        ASSERT_EQ(streamed, sequential.text);
        ASSERT_LE(streamed.size(), again->LengthBound());
    }
    std::printf("random run lists: %zu together (%zu changed the text), %zu one after the other\n", joint,
                jointWithChanges, apart);
    EXPECT_GT(jointWithChanges, kRounds / 10u);
    EXPECT_GT(apart, kRounds / 10u);
}

// Where the runs one after the other could give another result, or be refused, they go apart.
TEST(JointRuns, GoTogetherOnlyWhereTheResultCannotDiffer) {
    const RunRequest indi{"INDI", {"I", 5}, 1};
    const RunRequest fam{"FAM", {"F", 5}, 1};
    std::string elevenIndividuals = "0 @c@ FAM\n";
    for (int i = 0; i < 11; ++i) elevenIndividuals += "0 @i" + std::to_string(i) + "@ INDI\n";
    const struct {
        const char* what;
        std::string text;
        std::vector<RunRequest> runs;
        bool together;
    } cases[] = {
        {"two types", "0 @a@ INDI\n0 @b@ FAM\n1 HUSB @a@\n", {indi, fam}, true},
        {"a type without records", "0 @a@ INDI\n", {indi, fam, {"SOUR", {"S", 5}, 1}}, true},
        {"one identifier in two types", "0 @a@ INDI\n0 @a@ FAM\n", {indi, fam}, false},
        {"a type whose pattern begins another's", "0 @a@ SOURCE\n", {{"SOUR", {"S", 5}, 1}, {"SOURCE", {"R", 5}, 1}},
         false},
        {"an identifier that begins with a blank", "0 @ x@ INDI\n0 @b@ FAM\n", {indi, fam}, false},
        {"the same prefix", "0 @a@ INDI\n0 @b@ FAM\n", {indi, {"FAM", {"I", 5}, 100}}, false},
        {"forms that spell alike", "0 @a@ INDI\n0 @b@ FAM\n", {indi, {"FAM", {"I0", 4}, 100}}, false},
        {"the same prefix at another length", "0 @a@ INDI\n0 @b@ FAM\n", {indi, {"FAM", {"I", 4}, 1}}, true},
        {"a new identifier taken by another type", "0 @a@ INDI\n0 @I00001@ FAM\n", {indi, fam}, false},
        {"a new identifier taken by a reference", "0 @a@ INDI\n0 @b@ FAM\n1 NOTE @F00001@\n", {indi, fam}, false},
        {"serial texts that repeat", elevenIndividuals, {{"INDI", {"I", 1}, 1}, fam}, false},
        {"ten serial texts", elevenIndividuals.substr(0, elevenIndividuals.rfind("0 @i")), {{"INDI", {"I", 1}, 1}, fam},
         true},
        {"a tag with an @", "0 @a@ INDI\n0 @b@ F@M\n", {indi, {"F@M", {"F", 5}, 1}}, false},
        {"an invalid form", "0 @a@ INDI\n", {indi, {"FAM", {"F", 0}, 1}}, false},
    };
    for (const auto& c : cases) {
        NullRenumberSink quiet;
        EXPECT_EQ(PreparedRuns::Together(c.text, c.runs, quiet) != nullptr, c.together) << c.what;
    }
}

TEST(JointRuns, AGeneratedFamilyTreeGoesTogether) {
    testsupport::GedcomOptions options;
    options.individuals = 500;
    const std::string original = testsupport::GenerateGedcom(options);
    const std::vector<RandomRun> runs{
        {"INDI", {"I", 5}, 1}, {"FAM", {"F", 5}, 1}, {"NOTE", {"N", 5}, 1}, {"SOUR", {"S", 5}, 1}};
    RecordingSink sink;
    const std::unique_ptr<PreparedRuns> prepared = PreparedRuns::Together(original, Requests(runs), sink);
    ASSERT_NE(prepared, nullptr);
    ExpectSame(Jointly(*prepared, sink, runs.size()), OneAfterTheOther(original, runs));
}

}  // namespace
}  // namespace halvern
