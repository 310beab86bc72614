#include "core/Renumber.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/CollectIdentifiers.h"
#include "core/FixedWidthNumber.h"
#include "core/IdentifierTable.h"
#include "core/LargeBuffer.h"

namespace halvern {
namespace {

constexpr std::size_t kSerialWidth = 5;
// Letters up to this length are put into a new identifier on the stack.
constexpr std::size_t kShortLetter = 8;

// Remembers which serial texts a run has handed out. A serial text is five characters, each a digit
// or "-", so it is a number below 11^5 and a bit set of that size holds them all.
class SerialTextSet {
public:
    SerialTextSet() : seen_(161051, false) {}
    // False when text was there already.
    bool Insert(std::string_view text) {
        std::size_t code = 0;
        for (const char c : text) code = code * 11 + (c == '-' ? 10 : static_cast<std::size_t>(c - '0'));
        if (seen_[code]) return false;
        seen_[code] = true;
        return true;
    }

private:
    std::vector<bool> seen_;
};

// True when the serial texts of the entries that count all differ.
template <typename SerialText, typename Counts>
bool AllDifferent(std::size_t count, SerialText&& serialText, Counts&& counts) {
    SerialTextSet handedOut;
    for (std::size_t i = 0; i < count; ++i) {
        if (counts(i) && !handedOut.Insert(serialText(i))) return false;
    }
    return true;
}

}  // namespace

DuplicateSerialError::DuplicateSerialError()
    : std::runtime_error("the new identifiers of this run would not all be different") {}

std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index) {
    const std::uint64_t wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(startNumber)) +
                               static_cast<std::uint64_t>(index);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

// What a prepared run holds between its preparation and the pass that writes the new text.
struct PreparedRun::State {
    State(std::string_view text, std::string_view newLetter) : original(text), letter(newLetter) {
        identifiers.reserve(ExpectedDefinitions(text));
    }

    // A guess at the number of definitions, for making room at once: a record in every 256 bytes
    // is more than most family trees hold. Room not used is only reserved, never touched.
    static std::size_t ExpectedDefinitions(std::string_view text) { return text.size() / 256; }

    std::string_view original;
    std::string letter;
    IdentifierList identifiers;
    IdentifierTable table{identifiers, ExpectedDefinitions(original)};
    std::int32_t startNumber = 0;
    // Empty when no serial number of the run is negative (and none wraps past the largest): the
    // serial text of such a number is its last five digits, worked out when it is needed.
    // Otherwise the serial texts of all entries, kSerialWidth characters each.
    std::string serialTexts;
    std::size_t atSigns = 0;
    std::vector<bool> replaces;

    // Writes the serial text of entry, kSerialWidth characters, to out.
    void SerialText(std::size_t entry, char* out) const {
        if (!serialTexts.empty()) {
            std::memcpy(out, serialTexts.data() + entry * kSerialWidth, kSerialWidth);
            return;
        }
        std::uint64_t number = static_cast<std::uint64_t>(startNumber) + entry;
        for (std::size_t i = kSerialWidth; i-- > 0;) {
            out[i] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
    }

    std::string NewIdentifier(std::size_t entry) const {
        char serial[kSerialWidth];
        SerialText(entry, serial);
        return std::string("@").append(letter).append(serial, kSerialWidth).append("@");
    }

    // The pass: every occurrence replaced, everything else copied; out.Append(bytes) receives the
    // new text in order.
    template <typename Out>
    void Write(Out& out, RenumberSink& sink) {
        replaces.assign(identifiers.size(), false);
        std::size_t copiedUpTo = 0;
        std::size_t cleaned = 0;
        table.ForEachOccurrence(original, [&](std::size_t position, std::size_t length, std::size_t entry) {
            // An occurrence that starts with the closing "@" of the one before: that "@" is
            // written already.
            const bool sharesItsAt = position < copiedUpTo;
            if (!sharesItsAt) out.Append(original.substr(copiedUpTo, position - copiedUpTo));
            const std::size_t skip = sharesItsAt ? 1 : 0;
            if (letter.size() <= kShortLetter) {
                // The new identifier put together at once: one piece instead of four.
                char id[kShortLetter + kSerialWidth + 2];
                id[0] = '@';
                std::memcpy(id + 1, letter.data(), letter.size());
                SerialText(entry, id + 1 + letter.size());
                id[1 + letter.size() + kSerialWidth] = '@';
                out.Append(std::string_view(id, letter.size() + kSerialWidth + 2).substr(skip));
            } else {
                out.Append(std::string_view(NewIdentifier(entry)).substr(skip));
            }
            copiedUpTo = position + length;
            replaces[entry] = true;
            sink.OnCleaned(++cleaned);
        });
        out.Append(original.substr(copiedUpTo));
    }
};

namespace {

struct AppendToString {
    std::string& text;
    void Append(std::string_view bytes) { text.append(bytes); }
};

// Gathers the many small pieces of the pass into blocks and hands each full block on, so whoever
// receives them (a file) gets few large writes. A piece larger than a block by itself is handed on
// as it is.
class GatherInBlocks {
public:
    static constexpr std::size_t kBlockSize = std::size_t{256} << 10;

    explicit GatherInBlocks(const std::function<void(std::string_view)>& write)
        : write_(write), block_(std::make_unique_for_overwrite<char[]>(kBlockSize)) {}

    void Append(std::string_view bytes) {
        if (bytes.size() > kBlockSize - filled_) {
            Flush();
            if (bytes.size() >= kBlockSize) {
                write_(bytes);
                return;
            }
        }
        std::memcpy(block_.get() + filled_, bytes.data(), bytes.size());
        filled_ += bytes.size();
    }

    void Flush() {
        if (filled_ > 0) write_(std::string_view(block_.get(), filled_));
        filled_ = 0;
    }

private:
    const std::function<void(std::string_view)>& write_;
    std::unique_ptr<char[]> block_;
    std::size_t filled_ = 0;
};

}  // namespace

PreparedRun::PreparedRun(std::string_view text, std::string_view tag, std::string_view letter,
                         std::int32_t startNumber, RenumberSink& sink)
    : state_(std::make_unique<State>(text, letter)), sink_(sink) {
    State& run = *state_;
    // The table is filled during the collection, while each identifier's bytes are at hand.
    run.atSigns = ForEachDefinition(text, tag, [&](std::string_view id) {
        run.identifiers.push_back(id);
        run.table.Add(static_cast<std::size_t>(text.data() + text.size() - id.data()));
    });
    run.table.FinishAdding();
    const std::size_t count = run.identifiers.size();
    sink.OnCollected(count);
    if (count == 0) return;

    run.startNumber = startNumber;
    const bool neverNegative =
        startNumber >= 0 && count - 1 <= static_cast<std::size_t>(INT32_MAX - startNumber);
    if (!neverNegative) {
        run.serialTexts.reserve(count * kSerialWidth);
        for (std::size_t i = 0; i < count; ++i) {
            run.serialTexts.append(FixedWidthNumber(SerialNumber(startNumber, i), kSerialWidth));
        }
    }

    // Two entries that replace something must not get the same serial text: that would merge two
    // records. Up to 100,000 numbers in a row that are never negative all end differently. Else:
    // only the first entry of an identifier can replace anything, so when their serial texts all
    // differ the run is safe; and failing that, a pass over the text settles which entries do.
    if (!neverNegative || count > 100000) {
        char serial[kSerialWidth];
        const auto serialText = [&](std::size_t entry) {
            run.SerialText(entry, serial);
            return std::string_view(serial, kSerialWidth);
        };
        if (!AllDifferent(count, serialText, [&](std::size_t i) { return run.table.IsFirstEntry(i); })) {
            std::vector<bool> replacing(count, false);
            run.table.ForEachOccurrence(text, [&](std::size_t, std::size_t, std::size_t entry) { replacing[entry] = true; });
            if (!AllDifferent(count, serialText, [&](std::size_t i) { return bool(replacing[i]); })) {
                throw DuplicateSerialError();
            }
        }
    }
    for (std::size_t i = 1; i <= count; ++i) sink.OnRenumbered(i);
}

PreparedRun::~PreparedRun() = default;

std::size_t PreparedRun::Count() const { return state_->identifiers.size(); }

// An occurrence runs from one "@" to the next, so there are fewer than "@"; each grows by at most
// the new length less that of the shortest identifier.
std::size_t PreparedRun::LengthBound() const {
    const State& run = *state_;
    const std::size_t newLength = 2 + run.letter.size() + kSerialWidth;
    std::size_t shortest = SIZE_MAX;
    for (const std::string_view id : run.identifiers) shortest = std::min(shortest, id.size());
    const std::size_t growth = newLength > shortest ? newLength - shortest : 0;
    return run.original.size() + run.atSigns * growth;
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
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes) {
    PreparedRun run(text, tag, letter, startNumber, sink);
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
