#include "core/Renumber.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <stdexcept>

#include "core/CollectIdentifiers.h"
#include "core/GatherInBlocks.h"
#include "core/IdentifierTable.h"
#include "core/LargeBuffer.h"
#include "core/NewIdentifierShape.h"
#include "core/RunSerials.h"

namespace halvern {
namespace {

// Prefixes up to this length are put into a new identifier on the stack.
constexpr std::size_t kShortPrefix = 12;

// Adds the serial code of the stretch at at to codes when it has the shape. Kept out of line: the
// collection's loop over the text stays as small as it was, which is worth more than the call.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void NoteShaped(const NewIdentifierShape& shape, std::string_view text, std::size_t at,
                LargeVector<std::uint64_t>& codes) {
    if (const auto code = shape.SerialCodeAt(text, at)) codes.push_back(*code);
}

}  // namespace

DuplicateSerialError::DuplicateSerialError()
    : DuplicateSerialError(RunRefusal::kSerialsRepeat, "the new identifiers of this run would not all be different") {}

DuplicateSerialError::DuplicateSerialError(RunRefusal code, const std::string& what)
    : std::runtime_error(what), code_(code) {}

IdentifierCollisionError::IdentifierCollisionError(std::string identifier)
    : DuplicateSerialError(RunRefusal::kIdentifierTaken, "the new identifier " + identifier + " is in the text already"),
      identifier_(std::move(identifier)) {}

std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index) {
    const std::uint64_t wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(startNumber)) +
                               static_cast<std::uint64_t>(index);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

// What a prepared run holds between its preparation and the pass that writes the new text.
struct PreparedRun::State {
    State(std::string_view text, const IdentifierForm& form) : original(text), prefix(form.prefix), width(form.width) {
        identifiers.reserve(ExpectedDefinitions(text));
    }

    // A guess at the number of definitions, for making room at once: a record in every 256 bytes
    // is more than most family trees hold. Room not used is only reserved, never touched.
    static std::size_t ExpectedDefinitions(std::string_view text) { return text.size() / 256; }

    std::string_view original;
    std::string prefix;
    int width;
    IdentifierList identifiers;
    IdentifierTable table{identifiers, ExpectedDefinitions(original)};
    RunSerials serials;
    std::size_t atSigns = 0;
    std::vector<bool> replaces;

    std::size_t NewLength() const { return prefix.size() + static_cast<std::size_t>(width) + 2; }

    std::string NewIdentifier(std::size_t entry) const {
        return std::string("@").append(prefix).append(serials.Text(entry)).append("@");
    }

    // The pass: every occurrence replaced, everything else copied; out.Append(bytes) receives the
    // new text in order.
    template <typename Out>
    void Write(Out& out, RenumberSink& sink) {
        replaces.assign(identifiers.size(), false);
        std::size_t copiedUpTo = 0;
        std::size_t cleaned = 0;
        const std::size_t newLength = NewLength();
        // The new identifiers are put together in place: "@" + prefix stays, the serial text and
        // the closing "@" are written over for each one.
        char shortId[kShortPrefix + kMaxSerialWidth + 2];
        std::string longId;
        char* id = shortId;
        if (prefix.size() > kShortPrefix) {
            longId.resize(newLength);
            id = longId.data();
        }
        id[0] = '@';
        std::memcpy(id + 1, prefix.data(), prefix.size());
        id[newLength - 1] = '@';
        char* const serial = id + 1 + prefix.size();
        table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
            // An occurrence that starts with the closing "@" of the one before: that "@" is
            // written already.
            const bool sharesItsAt = position < copiedUpTo;
            if (!sharesItsAt) out.Append(original.substr(copiedUpTo, position - copiedUpTo));
            const std::size_t skip = sharesItsAt ? 1 : 0;
            serials.Write(entry, serial);
            out.Append(std::string_view(id, newLength).substr(skip));
            copiedUpTo = position + length;
            replaces[entry] = true;
            sink.OnCleaned(++cleaned);
        });
        out.Append(original.substr(copiedUpTo));
    }
};

PreparedRun::PreparedRun(std::string_view text, std::string_view tag, const IdentifierForm& form,
                         std::int32_t startNumber, RenumberSink& sink)
    : state_(IsValidForm(form) ? std::make_unique<State>(text, form)
                               : throw std::invalid_argument("a prefix of A-Z, a-z, 0-9 or _ and a width of 1 to 9")),
      sink_(sink) {
    State& run = *state_;
    // The stretches that have the shape of a new identifier are noted on the way, by the serial
    // code they spell; so are the collected identifiers of that shape. See CheckCollisions.
    const NewIdentifierShape shape(form.prefix, form.width);
    LargeVector<std::uint64_t> shapedStretches;
    LargeVector<std::uint64_t> shapedIdentifiers;
    // The table is filled during the collection, while each identifier's bytes are at hand.
    run.atSigns = ForEachDefinition(
        text, tag,
        [&](std::string_view id) {
            run.identifiers.push_back(id);
            const auto at = static_cast<std::size_t>(id.data() - text.data());
            run.table.Add(text.size() - at);
            if (id.size() == shape.Length()) {
                if (const auto code = shape.SerialCodeAt(text, at)) shapedIdentifiers.push_back(*code);
            }
        },
        shape.Length() - 1, form.prefix[0],
        [&](std::size_t at) {
            NoteShaped(shape, text, at, shapedStretches);
        });
    run.table.FinishAdding();
    const std::size_t count = run.identifiers.size();
    sink.OnCollected(count);
    if (count == 0) return;

    run.serials = RunSerials(startNumber, count, form.width);
    // Two entries that replace something must not get the same serial text: that would merge two
    // records. Only the first entry of an identifier can replace anything, so when their serial
    // texts all differ the run is safe; and failing that, a pass over the text settles which
    // entries do.
    if (!run.serials.IndexWritten([&](std::size_t i) { return run.table.IsFirstEntry(i); })) {
        std::vector<bool> replacing(count, false);
        run.table.ForEachOccurrence(text, [&](std::size_t, std::size_t, std::size_t entry) { replacing[entry] = true; });
        if (!run.serials.IndexWritten([&](std::size_t i) { return bool(replacing[i]); })) throw DuplicateSerialError();
    }
    CheckCollisions(shapedStretches, shapedIdentifiers);
    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);
}

PreparedRun::PreparedRun(std::string_view text, std::string_view tag, std::string_view letter,
                         std::int32_t startNumber, RenumberSink& sink)
    : PreparedRun(text, tag, IdentifierForm{std::string(letter), kDefaultSerialWidth}, startNumber, sink) {}

// A new identifier can only equal a stretch of the text that has its shape, so only those were
// noted during the collection, as the serial code they spell, and for each the entry whose new
// identifier it would be follows from that code in constant time (RunSerials::EntryOf). Such a
// stretch is harmless when some collected identifier has the same bytes (then the run replaces it
// too); the collected identifiers of the shape mark their entries first, then any stretch whose
// entry writes its new identifier but is not marked refuses the run. Linear in the text.
void PreparedRun::CheckCollisions(const LargeVector<std::uint64_t>& shapedStretches,
                                  const LargeVector<std::uint64_t>& shapedIdentifiers) const {
    if (shapedStretches.empty()) return;
    const State& run = *state_;
    std::vector<bool> collectedAlready(run.identifiers.size(), false);
    for (const std::uint64_t code : shapedIdentifiers) {
        if (const auto entry = run.serials.EntryOf(code)) collectedAlready[*entry] = true;
    }
    for (const std::uint64_t code : shapedStretches) {
        const auto entry = run.serials.EntryOf(code);
        if (entry && run.table.IsFirstEntry(*entry) && !collectedAlready[*entry]) {
            throw IdentifierCollisionError(run.NewIdentifier(*entry));
        }
    }
}

PreparedRun::~PreparedRun() = default;

std::size_t PreparedRun::Count() const { return state_->identifiers.size(); }

std::size_t PreparedRun::LengthBound() const {
    const State& run = *state_;
    return GrownLengthBound(run.original.size(), run.atSigns, run.identifiers, run.NewLength());
}

void PreparedRun::AppendTo(std::string& out) {
    if (Count() == 0) {
        out.append(state_->original);
        return;
    }
    AppendToString appender{out};
    state_->Write(appender, sink_);
}

void PreparedRun::WriteTo(const std::function<void(std::string_view)>& write) {
    if (Count() == 0) {
        write(state_->original);
        return;
    }
    GatherInBlocks blocks(write);
    state_->Write(blocks, sink_);
    blocks.Flush();
}

std::vector<Renumbering> PreparedRun::Changes() const {
    const State& run = *state_;
    std::vector<Renumbering> renamed;
    for (std::size_t i = 0; i < run.replaces.size(); ++i) {
        if (!run.replaces[i]) continue;
        renamed.push_back({std::string(run.identifiers[i]), run.NewIdentifier(i)});
    }
    return renamed;
}

std::size_t RenumberRecords(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink, std::vector<Renumbering>* changes) {
    return RenumberRecords(text, tag, IdentifierForm{std::string(letter), kDefaultSerialWidth}, startNumber, sink,
                           changes);
}

std::size_t RenumberRecords(std::string& text, std::string_view tag, const IdentifierForm& form,
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes) {
    PreparedRun run(text, tag, form, startNumber, sink);
    const std::size_t count = run.Count();
    if (count == 0) return 0;

    // The new text, built aside and swapped in only when complete. Its room is reserved up front
    // for the most it can grow to, so it is never copied while it grows.
    std::string renumbered;
    ReserveLarge(renumbered, run.LengthBound());
    run.AppendTo(renumbered);
    std::vector<Renumbering> renamed;
    if (changes != nullptr) renamed = run.Changes();
    text.swap(renumbered);
    if (changes != nullptr) *changes = std::move(renamed);
    return count;
}

}  // namespace halvern
