// QuickSearchPos and RenumberRecords on generated GEDCOM texts, and beside the engine the literal
// three-phase run it replaces, so the difference in growth is visible.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/LargeBuffer.h"
#include "core/QuickSearch.h"
#include "core/RecordTypes.h"
#include "core/ReferenceReport.h"
#include "core/Renumber.h"
#include "tests/support/GedcomGenerator.h"
#include "tests/support/LiteralRenumber.h"

namespace {

using halvern::NullRenumberSink;

// One generated text per size, made once and shared by the benchmarks.
const std::string& Gedcom(std::size_t individuals) {
    static std::map<std::size_t, std::string> texts;
    auto found = texts.find(individuals);
    if (found == texts.end()) {
        halvern::testsupport::GedcomOptions options;
        options.individuals = individuals;
        options.crlf = true;
        found = texts.emplace(individuals, halvern::testsupport::GenerateGedcom(options)).first;
    }
    return found->second;
}

// The whole text searched for a pattern that is not in it: the cost of one full scan.
void BM_QuickSearchMissing(benchmark::State& state) {
    const std::string& text = Gedcom(100000);
    std::string pattern(static_cast<std::size_t>(state.range(0)), 'Q');
    pattern.front() = '@';
    pattern.back() = '@';
    for (auto _ : state) benchmark::DoNotOptimize(halvern::QuickSearchPos(text, pattern, 1, text.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_QuickSearchMissing)->Arg(4)->Arg(6)->Arg(12)->Arg(300)->Unit(benchmark::kMillisecond);

// Every definition found one after the other, as the collection does.
void BM_QuickSearchAllDefinitions(benchmark::State& state) {
    const std::string& text = Gedcom(100000);
    for (auto _ : state) {
        std::size_t found = 0;
        for (std::size_t at = halvern::QuickSearchPos(text, "@ INDI", 1, text.size()); at != 0;
             at = halvern::QuickSearchPos(text, "@ INDI", at + 6, text.size())) {
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_QuickSearchAllDefinitions)->Unit(benchmark::kMillisecond);

template <typename Renumber>
void RenumberCopies(benchmark::State& state, Renumber renumber) {
    const std::string& original = Gedcom(static_cast<std::size_t>(state.range(0)));
    NullRenumberSink sink;
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(renumber(text, sink));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * original.size()));
    state.counters["bytes"] = static_cast<double>(original.size());
}

void BM_RenumberRecords(benchmark::State& state) {
    RenumberCopies(state, [](std::string& text, NullRenumberSink& sink) {
        return halvern::RenumberRecords(text, "INDI", "I", 1, sink);
    });
}
BENCHMARK(BM_RenumberRecords)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every record type the text holds, one run after the other with its default prefix, as a run over
// all types does; to be read beside the individuals alone.
void BM_RenumberAllTypes(benchmark::State& state) {
    RenumberCopies(state, [](std::string& text, NullRenumberSink& sink) {
        std::size_t count = 0;
        for (const std::string& tag : halvern::RecordTags(text)) {
            count += halvern::RenumberRecords(text, tag, halvern::IdentifierForm{std::string(*halvern::DefaultPrefix(tag)), 5}, 1, sink);
        }
        return count;
    });
}
BENCHMARK(BM_RenumberAllTypes)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same runs in one collection walk and one replacement pass, as the job carries them out.
void BM_RenumberAllTypesJointly(benchmark::State& state) {
    RenumberCopies(state, [](std::string& text, NullRenumberSink& sink) {
        std::vector<halvern::RunRequest> runs;
        const std::vector<std::string> tags = halvern::RecordTags(text);
        for (const std::string& tag : tags) {
            runs.push_back(halvern::RunRequest{tag, halvern::IdentifierForm{std::string(*halvern::DefaultPrefix(tag)), 5}, 1});
        }
        const std::unique_ptr<halvern::PreparedRuns> joint = halvern::PreparedRuns::Together(text, runs, sink);
        if (!joint) throw std::logic_error("the runs of a generated file should go together");
        std::string renumbered;
        halvern::ReserveLarge(renumbered, joint->LengthBound());
        joint->AppendTo(renumbered);
        text.swap(renumbered);
        return joint->Count();
    });
}
BENCHMARK(BM_RenumberAllTypesJointly)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReferenceReport(benchmark::State& state) {
    const std::string& text = Gedcom(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(halvern::MakeReferenceReport(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReferenceReport)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LiteralRenumber(benchmark::State& state) {
    RenumberCopies(state, [](std::string& text, NullRenumberSink& sink) {
        return halvern::testsupport::LiteralRenumber(text, "INDI", "I", 1, sink);
    });
}
BENCHMARK(BM_LiteralRenumber)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
