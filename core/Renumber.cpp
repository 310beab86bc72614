#include "core/Renumber.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <stdexcept>
#include <utility>

#include "core/CollectIdentifiers.h"
#include "core/GatherInBlocks.h"
#include "core/IdentifierTable.h"
#include "core/LargeBuffer.h"
#include "core/NewIdentifierShape.h"

// When runs may go together
//
// Run k, one after the other, reads the text that runs 1 .. k-1 made. Those runs change nothing
// but the bytes between two "@": a stretch from one "@" to the next that holds a collected
// identifier becomes a new identifier, whose byte after the "@" is a letter, digit or "_". So
// every "@" stays where it was among the others, and run k sees the same stretches in the same
// order, each as it was or as a new identifier of an earlier run. Its result is the joint one when
//
// 1. no tag holds an "@", and no collected identifier begins with "@ ": then every "@ " + tag that
//    run k finds stood in the original text too, with the same "@" before it, and the other way
//    round, so it collects the stretches it would collect from the original;
// 2. no identifier is collected by two runs: then those stretches are still as they were when run
//    k reads them, and its list is the list it has in the original text;
// 3. no run would be refused, checked as if each ran by itself on the original text (its serial
//    texts differ; none of its new identifiers stands in the text beside its own identifiers),
//    and no two runs can make the same new identifier (the same length, and one prefix the
//    beginning of the other): then no new identifier of an earlier run is a stretch that run k
//    replaces or refuses, since such a stretch would have refused the earlier run, and the
//    stretches run k reads of its own shape are a part of those in the original.
//
// Then every stretch of the original that holds an identifier of run k gets run k's new
// identifier, and no other stretch changes: what the one pass over the original writes. Each run
// counts, renames and replaces what it would by itself, so its events and changes are the same.
// The check of 3 may turn away runs that would go through one after the other (a stretch of a
// run's shape that another run replaces first); they then go one after the other.
//
// A run numbered otherwise (RunRequest::numbering) never goes together with others: its numbers
// come from the lines of its records (a name, a unique identifier), whose values may hold a
// stretch that an earlier run replaces, so that it reads other keys one after the other; and an
// identifier it keeps may have any shape, so 3 no longer follows from the forms.

namespace halvern {
namespace {

// Runs that can go together at most: the masks of the collection have a bit per run.
constexpr std::size_t kMostRuns = 32;

// A guess at the number of definitions, for making room at once: a record in every 256 bytes is
// more than most family trees hold of one type, and every 128 bytes of several; and a few more, so
// that a short text does not grow its lists step by step. Room not used is only reserved, never
// touched.
std::size_t ExpectedDefinitions(std::string_view text, std::size_t runs) {
    return text.size() / (runs == 1 ? 256 : 128) + 16;
}

// True when two forms can spell the same identifier.
bool FormsMayMeet(const IdentifierForm& a, const IdentifierForm& b) {
    if (a.prefix.size() + static_cast<std::size_t>(a.width) != b.prefix.size() + static_cast<std::size_t>(b.width)) {
        return false;
    }
    const std::size_t common = std::min(a.prefix.size(), b.prefix.size());
    return a.prefix.compare(0, common, b.prefix, 0, common) == 0;
}

// Adds the serial code of the stretch at at to codes when it has the shape. Kept out of line: the
// collection's loop over the text stays as small as it was, which is worth more than the call.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void NoteShaped(const NewIdentifierShape& shape, std::string_view text, std::size_t at,
                LargeVector<std::uint64_t>& codes) {
    if (const auto code = shape.SerialCodeAt(text, at)) codes.push_back(*code);
}

// Which run an entry of the list belongs to, and its index in that run's list.
struct EntryOwner {
    std::uint32_t run;
    std::uint32_t index;
};

}  // namespace

RunRefused::RunRefused(RunRefusal code, std::string identifier)
    : std::runtime_error(code == RunRefusal::kSerialsRepeat
                             ? std::string("the new identifiers of this run would not all be different")
                             : "the new identifier " + identifier + " is in the text already"),
      code_(code), identifier_(std::move(identifier)) {}

// One run, with what it collected.
struct CollectedRun {
    explicit CollectedRun(const RunRequest& run) : request(run) {}

    RunRequest request;
    std::size_t count = 0;
    LargeVector<std::uint32_t> entries;  // its entries in the list of all runs; empty for a run alone
    RunNumbering numbering;
    LargeVector<std::uint64_t> shapedIdentifiers;  // serial codes of its identifiers of its own shape
    LargeVector<std::uint64_t> shapedStretches;    // and of every stretch of that shape
    std::size_t replaced = 0;                      // occurrences replaced by the pass
};

struct PreparedRuns::State {
    State(std::string_view text, const std::vector<RunRequest>& requests, RenumberSink& events)
        : original(text), sink(events), runs(requests.begin(), requests.end()) {
        identifiers.reserve(ExpectedDefinitions(text, runs.size()));
        if (runs.size() > 1) owners.reserve(ExpectedDefinitions(text, runs.size()));
    }

    std::string_view original;
    RenumberSink& sink;
    std::vector<CollectedRun> runs;
    IdentifierList identifiers;  // of all runs, in the order of the text
    LargeVector<EntryOwner> owners;  // per entry of identifiers; empty for a run alone
    IdentifierTable table{identifiers, ExpectedDefinitions(original, runs.size())};
    std::size_t atSigns = 0;
    bool identifierOpensWithBlank = false;
    LargeVector<char> replaces;  // per entry: replaced by the pass (a byte each: set once per occurrence)

    EntryOwner OwnerOf(std::size_t entry) const {
        return owners.empty() ? EntryOwner{0, static_cast<std::uint32_t>(entry)} : owners[entry];
    }
    std::size_t EntryOf(const CollectedRun& run, std::size_t index) const {
        return run.entries.empty() ? index : run.entries[index];
    }

    void CollectRun();
    void CollectRuns();
    bool MayGoTogether();
    std::optional<RunRefused> Check(CollectedRun& run);
    void Settle(std::size_t r);
    template <typename Out>
    void Write(Out& out);
};

// A run alone: the walk that looks only at the places where "@ " stands.
void PreparedRuns::State::CollectRun() {
    CollectedRun& run = runs.front();
    const std::string_view text = original;
    const NewIdentifierShape shape(run.request.form.prefix, run.request.form.width);
    // The table is filled during the collection, while each identifier's bytes are at hand; the
    // stretches that have the shape of a new identifier are noted on the way (see FirstTaken).
    atSigns = ForEachDefinition(
        text, run.request.tag,
        [&](std::string_view id) {
            identifiers.push_back(id);
            const auto at = static_cast<std::size_t>(id.data() - text.data());
            table.Add(text.size() - at);
            if (id.size() == shape.Length()) {
                if (const auto code = shape.SerialCodeAt(text, at)) run.shapedIdentifiers.push_back(*code);
            }
        },
        shape.Length() - 1, run.request.form.prefix[0],
        [&](std::size_t at) { NoteShaped(shape, text, at, run.shapedStretches); });
    table.FinishAdding();
    run.count = identifiers.size();
}

// Several runs: one walk over the "@" collects the definitions of every run into one list and
// table, and notes for each run the stretches that have the shape of its new identifiers.
void PreparedRuns::State::CollectRuns() {
    std::vector<std::string_view> tags;
    std::vector<NewIdentifierShape> shapes;
    // By the byte after the "@": the lengths of the runs' new identifiers (bit per length), and the
    // runs whose new identifiers begin with it.
    std::array<std::uint64_t, 256> lengthsAfter{};
    std::array<std::uint32_t, 256> runsAfter{};
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const IdentifierForm& form = runs[r].request.form;
        tags.push_back(runs[r].request.tag);
        shapes.emplace_back(form.prefix, form.width);
        const auto first = static_cast<unsigned char>(form.prefix[0]);
        lengthsAfter[first] |= std::uint64_t{1} << shapes[r].Length();
        runsAfter[first] |= std::uint32_t{1} << r;
    }
    const std::string_view text = original;
    atSigns = ForEachDefinitionOfTags(
        text, tags,
        [&](std::size_t r, std::string_view id) {
            CollectedRun& run = runs[r];
            const std::size_t entry = identifiers.size();
            const auto at = static_cast<std::size_t>(id.data() - text.data());
            identifiers.push_back(id);
            owners.push_back(EntryOwner{static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(run.entries.size())});
            run.entries.push_back(static_cast<std::uint32_t>(entry));
            table.Add(text.size() - at);
            identifierOpensWithBlank |= id[1] == ' ';
            if (id.size() == shapes[r].Length()) {
                if (const auto code = shapes[r].SerialCodeAt(text, at)) run.shapedIdentifiers.push_back(*code);
            }
        },
        [&](std::size_t at, std::size_t length) {
            const auto first = static_cast<unsigned char>(text[at + 1]);
            if (length >= 64 || ((lengthsAfter[first] >> length) & 1U) == 0) return;
            for (std::uint32_t mask = runsAfter[first]; mask != 0; mask &= mask - 1) {
                const auto r = static_cast<std::size_t>(std::countr_zero(mask));
                if (shapes[r].Length() != length) continue;
                if (const auto code = shapes[r].SerialCodeAt(text, at)) runs[r].shapedStretches.push_back(*code);
            }
        });
    table.FinishAdding();
    for (CollectedRun& run : runs) run.count = run.entries.size();
}

// Points 1 to 3 at the top of this file, on what the walk collected.
bool PreparedRuns::State::MayGoTogether() {
    if (identifierOpensWithBlank) return false;
    for (std::size_t entry = 0; entry < identifiers.size(); ++entry) {
        if (table.IsFirstEntry(entry)) continue;
        const std::size_t first = table.FirstEntryOf(identifiers[entry]);
        if (first == IdentifierTable::kNotFound || owners[first].run != owners[entry].run) return false;
    }
    return std::none_of(runs.begin(), runs.end(), [&](CollectedRun& run) { return Check(run).has_value(); });
}

// The run's numbering, and why it is refused, if it is: on the original text, as if it ran alone.
std::optional<RunRefused> PreparedRuns::State::Check(CollectedRun& run) {
    run.numbering = RunNumbering(run.request.form, run.request.startNumber, run.count);
    if (run.count == 0) return std::nullopt;
    if (run.request.numbering) {  // a run alone: its entries are the list
        const RunNumbers numbers = run.request.numbering(original, std::span<const std::string_view>(identifiers));
        if (numbers.repeats) return RunRefused(RunRefusal::kSerialsRepeat, {});
        if (!numbers.entries.empty()) {
            if (numbers.entries.size() != run.count) throw std::invalid_argument("one number per identifier");
            run.numbering = RunNumbering(run.request.form, numbers.entries);
        }
    }
    const auto writes = [&](std::size_t i) { return table.IsFirstEntry(EntryOf(run, i)); };
    // Two entries that replace something must not get the same new identifier: that would merge
    // two records. Only the first entry of an identifier can replace anything, so when theirs all
    // differ the run is safe; and failing that, a pass over the text settles which entries do.
    if (!run.numbering.AllDiffer(writes)) {
        std::vector<bool> replacing(identifiers.size(), false);
        table.ForEachOccurrence(original, [&](std::size_t, std::size_t, std::size_t entry) { replacing[entry] = true; });
        if (!run.numbering.AllDiffer([&](std::size_t i) { return bool(replacing[EntryOf(run, i)]); })) {
            return RunRefused(RunRefusal::kSerialsRepeat, {});
        }
    }
    if (const auto taken = run.numbering.FirstTaken(run.shapedStretches, run.shapedIdentifiers, writes)) {
        return RunRefused(RunRefusal::kIdentifierTaken, run.numbering.NewIdentifier(*taken));
    }
    const auto collected = [&](std::string_view stretch) {
        return table.FirstEntryOf(stretch) != IdentifierTable::kNotFound;
    };
    if (const auto taken = run.numbering.FirstTakenElsewhere(original, collected, writes)) {
        return RunRefused(RunRefusal::kIdentifierTaken, run.numbering.NewIdentifier(*taken));
    }
    return std::nullopt;
}

void PreparedRuns::State::Settle(std::size_t r) {
    runs[r].numbering.Settle([&](std::size_t i) { sink.OnRenumbered(r, i + 1); });
}

// The pass: every occurrence of a collected identifier replaced by its run's new identifier,
// everything else copied; out.Append(bytes) receives the new text in order.
template <typename Out>
void PreparedRuns::State::Write(Out& out) {
    replaces.assign(identifiers.size(), 0);
    std::size_t copiedUpTo = 0;
    table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
        // An occurrence that starts with the closing "@" of the one before: that "@" is written
        // already.
        const bool sharesItsAt = position < copiedUpTo;
        if (!sharesItsAt) out.Append(original.substr(copiedUpTo, position - copiedUpTo));
        const EntryOwner owner = OwnerOf(entry);
        CollectedRun& run = runs[owner.run];
        out.Append(run.numbering.Spell(owner.index).substr(sharesItsAt ? 1 : 0));
        copiedUpTo = position + length;
        replaces[entry] = 1;
        sink.OnCleaned(owner.run, ++run.replaced);
    });
    out.Append(original.substr(copiedUpTo));
}

PreparedRuns::PreparedRuns(std::string_view text, const RunRequest& run, RenumberSink& sink)
    : state_(IsValidForm(run.form) ? std::make_unique<State>(text, std::vector<RunRequest>{run}, sink)
                                   : throw std::invalid_argument("a prefix of A-Z, a-z, 0-9 or _ and a width of 1 to 9")) {
    State& state = *state_;
    state.CollectRun();
    sink.OnCollected(0, state.runs.front().count);
    if (std::optional<RunRefused> refused = state.Check(state.runs.front())) throw std::move(*refused);
    state.Settle(0);
}

std::unique_ptr<PreparedRuns> PreparedRuns::Together(std::string_view text, const std::vector<RunRequest>& runs,
                                                     RenumberSink& sink) {
    if (runs.empty() || runs.size() > kMostRuns) return nullptr;
    for (std::size_t a = 0; a < runs.size(); ++a) {
        if (!IsValidForm(runs[a].form) || runs[a].tag.find('@') != std::string_view::npos || runs[a].numbering) {
            return nullptr;
        }
        for (std::size_t b = a + 1; b < runs.size(); ++b) {
            if (FormsMayMeet(runs[a].form, runs[b].form)) return nullptr;
        }
    }
    auto state = std::make_unique<State>(text, runs, sink);
    state->CollectRuns();
    if (!state->MayGoTogether()) return nullptr;
    // Only now is it known that these counts stand: one after the other, the runs would count the
    // same.
    for (std::size_t r = 0; r < runs.size(); ++r) {
        sink.OnCollected(r, state->runs[r].count);
        state->Settle(r);
    }
    return std::unique_ptr<PreparedRuns>(new PreparedRuns(std::move(state)));
}

PreparedRuns::PreparedRuns(std::unique_ptr<State> state) : state_(std::move(state)) {}

PreparedRuns::~PreparedRuns() = default;

std::size_t PreparedRuns::Count() const { return state_->identifiers.size(); }

std::size_t PreparedRuns::CountOf(std::size_t run) const { return state_->runs[run].count; }

std::size_t PreparedRuns::LengthBound() const {
    std::size_t longestNew = 0;
    for (const CollectedRun& run : state_->runs) longestNew = std::max(longestNew, run.numbering.LongestLength());
    return GrownLengthBound(state_->original.size(), state_->atSigns, state_->identifiers, longestNew);
}

void PreparedRuns::AppendTo(std::string& out) {
    if (Count() == 0) {
        out.append(state_->original);
        return;
    }
    AppendToString appender{out};
    state_->Write(appender);
}

void PreparedRuns::WriteTo(const std::function<void(std::string_view)>& write) {
    if (Count() == 0) {
        write(state_->original);
        return;
    }
    GatherInBlocks blocks(write, LengthBound());
    state_->Write(blocks);
    blocks.Flush();
}

std::vector<Renumbering> PreparedRuns::Changes(std::size_t r) const {
    const State& state = *state_;
    const CollectedRun& run = state.runs[r];
    std::vector<Renumbering> renamed;
    if (state.replaces.empty()) return renamed;
    for (std::size_t i = 0; i < run.count; ++i) {
        const std::size_t entry = state.EntryOf(run, i);
        if (state.replaces[entry] != 0) renamed.push_back({std::string(state.identifiers[entry]), run.numbering.NewIdentifier(i), i});
    }
    return renamed;
}

std::string_view PreparedRuns::Text() const { return state_->original; }

std::vector<std::string_view> PreparedRuns::Identifiers(std::size_t r) const {
    const State& state = *state_;
    const CollectedRun& run = state.runs[r];
    std::vector<std::string_view> identifiers;
    identifiers.reserve(run.count);
    for (std::size_t i = 0; i < run.count; ++i) identifiers.push_back(state.identifiers[state.EntryOf(run, i)]);
    return identifiers;
}

std::size_t RenumberRecords(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink, std::vector<Renumbering>* changes) {
    return RenumberRecords(text, tag, IdentifierForm{std::string(letter), kDefaultSerialWidth}, startNumber, sink,
                           changes);
}

std::size_t RenumberRecords(std::string& text, std::string_view tag, const IdentifierForm& form,
                            std::int32_t startNumber, RenumberSink& sink, std::vector<Renumbering>* changes) {
    PreparedRuns run(text, RunRequest{tag, form, startNumber}, sink);
    const std::size_t count = run.Count();
    if (count == 0) return 0;
    // The new text, built aside and swapped in only when complete. Its room is reserved up front
    // for the most it can grow to, so it is never copied while it grows.
    std::string renumbered;
    ReserveLarge(renumbered, run.LengthBound());
    run.AppendTo(renumbered);
    std::vector<Renumbering> renamed;
    if (changes != nullptr) renamed = run.Changes(0);
    text.swap(renumbered);
    if (changes != nullptr) *changes = std::move(renamed);
    return count;
}

}  // namespace halvern
