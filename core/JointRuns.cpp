#include "core/JointRuns.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "core/CollectIdentifiers.h"
#include "core/GatherInBlocks.h"
#include "core/IdentifierTable.h"
#include "core/LargeBuffer.h"
#include "core/NewIdentifierShape.h"
#include "core/RunSerials.h"

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

namespace halvern {
namespace {

// The run masks below have a bit per run.
constexpr std::size_t kMostRuns = 32;

// A guess at the number of definitions of all the runs, for making room at once: a record in every
// 128 bytes, twice what a single run expects of one type, as the types together are more.
std::size_t ExpectedDefinitions(std::string_view text) { return text.size() / 128; }

// True when two forms can spell the same identifier.
bool FormsMayMeet(const IdentifierForm& a, const IdentifierForm& b) {
    if (a.prefix.size() + static_cast<std::size_t>(a.width) != b.prefix.size() + static_cast<std::size_t>(b.width)) {
        return false;
    }
    const std::size_t common = std::min(a.prefix.size(), b.prefix.size());
    return a.prefix.compare(0, common, b.prefix, 0, common) == 0;
}

}  // namespace

// One of the runs, with what it collected.
struct JointRun {
    std::string prefix;
    int width = kDefaultSerialWidth;
    std::int32_t startNumber = 1;
    LargeVector<std::uint32_t> entries;  // its entries in the joint list, in the order of its records
    RunSerials serials;
    LargeVector<std::uint64_t> shapedIdentifiers;  // serial codes of its identifiers of its own shape
    LargeVector<std::uint64_t> shapedStretches;    // and of every stretch of that shape
    std::size_t replaced = 0;                      // occurrences replaced by the pass

    std::size_t NewLength() const { return prefix.size() + static_cast<std::size_t>(width) + 2; }
    std::string NewIdentifier(std::size_t index) const {
        return std::string("@").append(prefix).append(serials.Text(index)).append("@");
    }
};

// Which run an entry of the joint list belongs to, and its index in that run's list.
struct EntryOwner {
    std::uint32_t run;
    std::uint32_t index;
};

struct JointRuns::State {
    State(std::string_view text, const std::vector<RunRequest>& requests) : original(text) {
        identifiers.reserve(ExpectedDefinitions(text));
        owners.reserve(ExpectedDefinitions(text));
        runs.reserve(requests.size());
        for (const RunRequest& request : requests) {
            JointRun run;
            run.prefix = request.form.prefix;
            run.width = request.form.width;
            run.startNumber = request.startNumber;
            runs.push_back(std::move(run));
        }
    }

    std::string_view original;
    std::vector<JointRun> runs;
    IdentifierList identifiers;
    LargeVector<EntryOwner> owners;
    IdentifierTable table{identifiers, ExpectedDefinitions(original)};
    std::size_t atSigns = 0;
    bool identifierOpensWithBlank = false;
    std::vector<bool> replaces;

    void Collect(const std::vector<RunRequest>& requests);
    bool MayGoTogether();
    bool WouldCollide(const JointRun& run) const;

    template <typename Out>
    void Write(Out& out);
};

// One walk over the text: every run's definitions into the joint list and table, and the
// stretches that have the shape of a run's new identifiers noted for that run.
void JointRuns::State::Collect(const std::vector<RunRequest>& requests) {
    std::vector<std::string_view> tags;
    std::vector<NewIdentifierShape> shapes;
    // By the byte after the "@": the lengths of the runs' new identifiers (bit per length), and the
    // runs whose new identifiers begin with it.
    std::array<std::uint64_t, 256> lengthsAfter{};
    std::array<std::uint32_t, 256> runsAfter{};
    for (std::size_t r = 0; r < runs.size(); ++r) {
        tags.push_back(requests[r].tag);
        shapes.emplace_back(runs[r].prefix, runs[r].width);
        const auto first = static_cast<unsigned char>(runs[r].prefix[0]);
        lengthsAfter[first] |= std::uint64_t{1} << shapes[r].Length();
        runsAfter[first] |= std::uint32_t{1} << r;
    }
    const std::string_view text = original;
    atSigns = ForEachDefinitionOfTags(
        text, tags,
        [&](std::size_t r, std::string_view id) {
            JointRun& run = runs[r];
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
}

// Points 1 to 3 at the top of this file, on what the walk collected.
bool JointRuns::State::MayGoTogether() {
    if (identifierOpensWithBlank) return false;
    for (std::size_t entry = 0; entry < identifiers.size(); ++entry) {
        if (table.IsFirstEntry(entry)) continue;
        const std::size_t first = table.FirstEntryOf(identifiers[entry]);
        if (first == IdentifierTable::kNotFound || owners[first].run != owners[entry].run) return false;
    }
    for (JointRun& run : runs) {
        const std::size_t count = run.entries.size();
        run.serials = RunSerials(run.startNumber, count, run.width);
        if (count == 0) continue;
        if (!run.serials.IndexWritten([&](std::size_t i) { return table.IsFirstEntry(run.entries[i]); })) return false;
        if (WouldCollide(run)) return false;
    }
    return true;
}

// The collision check of a single run (PreparedRun::CheckCollisions) on the original text.
bool JointRuns::State::WouldCollide(const JointRun& run) const {
    if (run.shapedStretches.empty()) return false;
    std::vector<bool> collectedAlready(run.entries.size(), false);
    for (const std::uint64_t code : run.shapedIdentifiers) {
        if (const auto index = run.serials.EntryOf(code)) collectedAlready[*index] = true;
    }
    for (const std::uint64_t code : run.shapedStretches) {
        const auto index = run.serials.EntryOf(code);
        if (index && table.IsFirstEntry(run.entries[*index]) && !collectedAlready[*index]) return true;
    }
    return false;
}

// The pass: every occurrence of a collected identifier replaced by its run's new identifier,
// everything else copied, as a single run's pass does.
template <typename Out>
void JointRuns::State::Write(Out& out) {
    replaces.assign(identifiers.size(), false);
    // Per run "@" + prefix + room for the serial text + "@"; the serial text is written over for
    // each occurrence.
    std::vector<std::array<char, kMaxPrefixLength + kMaxSerialWidth + 2>> newIds(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        char* const id = newIds[r].data();
        id[0] = '@';
        std::memcpy(id + 1, runs[r].prefix.data(), runs[r].prefix.size());
        id[runs[r].NewLength() - 1] = '@';
    }
    std::size_t copiedUpTo = 0;
    table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
        // An occurrence that starts with the closing "@" of the one before: that "@" is written
        // already.
        const bool sharesItsAt = position < copiedUpTo;
        if (!sharesItsAt) out.Append(original.substr(copiedUpTo, position - copiedUpTo));
        const EntryOwner owner = owners[entry];
        JointRun& run = runs[owner.run];
        char* const id = newIds[owner.run].data();
        run.serials.Write(owner.index, id + 1 + run.prefix.size());
        out.Append(std::string_view(id, run.NewLength()).substr(sharesItsAt ? 1 : 0));
        copiedUpTo = position + length;
        replaces[entry] = true;
        ++run.replaced;
    });
    out.Append(original.substr(copiedUpTo));
}

std::unique_ptr<JointRuns> JointRuns::Prepare(std::string_view text, const std::vector<RunRequest>& runs) {
    if (runs.empty() || runs.size() > kMostRuns) return nullptr;
    for (std::size_t a = 0; a < runs.size(); ++a) {
        if (!IsValidForm(runs[a].form) || runs[a].tag.find('@') != std::string_view::npos) return nullptr;
        for (std::size_t b = a + 1; b < runs.size(); ++b) {
            if (FormsMayMeet(runs[a].form, runs[b].form)) return nullptr;
        }
    }
    auto state = std::make_unique<State>(text, runs);
    state->Collect(runs);
    if (!state->MayGoTogether()) return nullptr;
    return std::unique_ptr<JointRuns>(new JointRuns(std::move(state)));
}

JointRuns::JointRuns(std::unique_ptr<State> state) : state_(std::move(state)) {}

JointRuns::~JointRuns() = default;

std::size_t JointRuns::Count() const { return state_->identifiers.size(); }

std::size_t JointRuns::CountOf(std::size_t run) const { return state_->runs[run].entries.size(); }

std::size_t JointRuns::LengthBound() const {
    const State& joint = *state_;
    std::size_t longestNew = 0;
    for (const JointRun& run : joint.runs) longestNew = std::max(longestNew, run.NewLength());
    return GrownLengthBound(joint.original.size(), joint.atSigns, joint.identifiers, longestNew);
}

void JointRuns::AppendTo(std::string& out) {
    if (Count() == 0) {
        out.append(state_->original);
        return;
    }
    AppendToString appender{out};
    state_->Write(appender);
}

void JointRuns::WriteTo(const std::function<void(std::string_view)>& write) {
    if (Count() == 0) {
        write(state_->original);
        return;
    }
    GatherInBlocks blocks(write);
    state_->Write(blocks);
    blocks.Flush();
}

void JointRuns::RaiseEvents(std::size_t run, RenumberSink& sink) const {
    const JointRun& joint = state_->runs[run];
    const std::size_t count = joint.entries.size();
    sink.OnCollected(count);
    if (count == 0) return;
    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);
    for (std::size_t k = 1; k <= joint.replaced; ++k) sink.OnCleaned(k);
}

std::vector<Renumbering> JointRuns::Changes(std::size_t run) const {
    const State& joint = *state_;
    const JointRun& owner = joint.runs[run];
    std::vector<Renumbering> renamed;
    if (joint.replaces.empty()) return renamed;
    for (std::size_t i = 0; i < owner.entries.size(); ++i) {
        const std::uint32_t entry = owner.entries[i];
        if (joint.replaces[entry]) renamed.push_back({std::string(joint.identifiers[entry]), owner.NewIdentifier(i)});
    }
    return renamed;
}

}  // namespace halvern
