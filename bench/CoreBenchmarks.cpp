// QuickSearchPos and RenumberRecords on generated GEDCOM texts, and beside the engine the literal
// three-phase run it replaces, so the difference in growth is visible; the unique identifiers, the
// orders of numbering and a run with a list of numbers to keep, beside the engine.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/KeepList.h"
#include "app/MapText.h"
#include "app/KeptNumbering.h"
#include "core/CharacterSet.h"
#include "core/CollectIdentifiers.h"
#include "core/FixedWidthNumber.h"
#include "core/LargeBuffer.h"
#include "core/NumberingOrder.h"
#include "core/QuickSearch.h"
#include "core/RecordLines.h"
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

// The unique identifier of every individual, in the generated file (0: which has none) and with a
// "1 _UID" line as the last line of every record (1), where each record is read to its end.
const std::string& WithUniqueIds() {
    static const std::string text = [] {
        const std::string& plain = Gedcom(100000);
        std::string with;
        std::size_t number = 0;
        for (std::size_t begin = 0; begin < plain.size();) {
            const std::size_t end = plain.find('\n', begin) + 1;
            if (plain.compare(begin, 3, "0 @") == 0 && number > 0) with.append("1 _UID ").append(std::to_string(number)).append("\r\n");
            number += plain.compare(begin, 3, "0 @") == 0;
            with.append(plain, begin, end - begin);
            begin = end;
        }
        return with;
    }();
    return text;
}

void BM_UniqueIdentifiers(benchmark::State& state) {
    const std::string& text = state.range(0) == 0 ? Gedcom(100000) : WithUniqueIds();
    const std::vector<std::string_view> ids = halvern::CollectIdentifiers(text, "INDI");
    for (auto _ : state) benchmark::DoNotOptimize(halvern::UniqueIdentifiers(text, ids));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_UniqueIdentifiers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The ranks of the individuals (0: by old number, 1: by name) and of the families by name (2),
// the character set found from the header included; the definitions are collected beforehand, as
// the engine has them.
void BM_NumberingRanks(benchmark::State& state) {
    const std::string& text = Gedcom(100000);
    const bool families = state.range(0) == 2;
    const std::vector<std::string_view> ids = halvern::CollectIdentifiers(text, families ? "FAM" : "INDI");
    const auto order = state.range(0) == 0 ? halvern::NumberingOrder::kOld : halvern::NumberingOrder::kName;
    for (auto _ : state) {
        const halvern::CharacterSet set = halvern::DetectCharacterSet(text, halvern::TextEncoding::kEightBit);
        benchmark::DoNotOptimize(halvern::NumberingRanks(text, families ? "FAM" : "INDI", ids, order, set));
    }
}
BENCHMARK(BM_NumberingRanks)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A full list of the individuals read (from a copy of its text, as a file is read into memory),
// and the run numbered with it: every record kept, by old identifier (0) or by unique identifier (1).
void BM_KeepListRun(benchmark::State& state) {
    const std::string& text = Gedcom(100000);
    const std::vector<std::string_view> ids = halvern::CollectIdentifiers(text, "INDI");
    const bool unique = state.range(0) == 1;
    std::vector<std::string> uniqueTexts;
    std::string map;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::string serial = halvern::FixedWidthNumber(static_cast<std::int64_t>(i) + 1, 5);
        uniqueTexts.push_back(unique ? std::string("0F3A9C2E7B").append(serial) : std::string());
        halvern::AppendMapLine(map, "INDI", ids[i], std::string("@I").append(serial).append("@"), uniqueTexts.back());
    }
    const std::vector<std::string_view> uniqueIds(uniqueTexts.begin(), uniqueTexts.end());
    for (auto _ : state) {
        const halvern::KeepList list = halvern::ReadKeepList(map);
        const halvern::RunRecords run{"INDI", halvern::IdentifierForm{"I", 5}, 1, ids, uniqueIds, {}};
        benchmark::DoNotOptimize(halvern::NumberRun(run, &list));
    }
    state.counters["lines"] = static_cast<double>(ids.size());
}
BENCHMARK(BM_KeepListRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LiteralRenumber(benchmark::State& state) {
    RenumberCopies(state, [](std::string& text, NullRenumberSink& sink) {
        return halvern::testsupport::LiteralRenumber(text, "INDI", "I", 1, sink);
    });
}
BENCHMARK(BM_LiteralRenumber)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
