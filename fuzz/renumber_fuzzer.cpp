// The renumbering engine on any bytes, for any record type and start number. Beyond "no crash",
// every run must keep these promises:
// - it collects what a plain reading of the definition rule collects;
// - its events come in order: OnCollected(count), OnRenumbered(1..count), OnCleaned(1..K);
// - the output differs from the input only where an occurrence of a collected identifier stood,
//   each replaced by "@" + letter + the serial text of its first list entry + "@", and no two
//   identifiers end up with the same new one;
// - the number of "@" stays the same;
// - renumbering the output again with the same start number gives the same text;
// - written piece by piece it is the same text;
// - a refused run (serial texts would repeat) changes nothing, and is refused only when two serial
//   texts of the run are indeed alike;
// - a run is refused for a collision exactly when one of its new identifiers equals a stretch of
//   the text from one "@" to the next that it does not replace, and names that identifier; so an
//   accepted run never gives a record's identifier to anything else.
// The record type, the prefix and the width of the new identifiers come from the input too, and
// whether the run is numbered otherwise (RunRequest::numbering: serials in another order, kept
// identifiers of any shape), for which the same promises hold, the new identifiers being its own.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <span>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/FixedWidthNumber.h"
#include "core/Renumber.h"
#include "fuzz/FuzzInput.h"

namespace {

using halvern::fuzz::Require;

struct RecordType {
    std::string_view tag;
    std::string letter;  // the prefix of the run
    int width = 5;
};
constexpr std::string_view kTags[] = {"INDI", "FAM", "NOTE", "SOUR", "SNOTE", "_X"};
constexpr std::string_view kPrefixes[] = {"I", "F", "N", "S", "X_", "ab"};

// True for the bytes of a record tag: A-Z, a-z, 0-9 and "_".
bool TagByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// Every occurrence of "@ " + tag (for tags other than the four oldest not followed by another byte
// of a tag), the identifier running back to the nearest "@" but not before the end of the previous
// definition. An occurrence that is no definition moves only the search on. definitionStarts
// receives where each identifier begins.
std::vector<std::string> PlainCollection(std::string_view text, std::string_view tag,
                                         std::vector<std::size_t>& definitionStarts) {
    const std::string pattern = std::string("@ ").append(tag);
    const bool prefixOnly = tag == "INDI" || tag == "FAM" || tag == "NOTE" || tag == "SOUR";
    std::vector<std::string> identifiers;
    std::size_t previousEnd = 0;
    for (std::size_t closing = text.find(pattern); closing != std::string_view::npos;
         closing = text.find(pattern, closing + 1)) {
        if (closing < previousEnd) continue;
        const std::size_t after = closing + pattern.size();
        if (!prefixOnly && after < text.size() && TagByte(text[after])) continue;
        for (std::size_t k = closing; k > previousEnd; --k) {
            if (text[k - 1] == '@') {
                identifiers.emplace_back(text.substr(k - 1, closing - k + 2));
                definitionStarts.push_back(k - 1);
                break;
            }
        }
        previousEnd = after;
    }
    return identifiers;
}

// Records the events and checks their order as they come.
class OrderCheckingSink final : public halvern::RenumberSink {
public:
    void OnCollected(std::size_t run, std::size_t count) override {
        Require(run == 0, "an event of another run");
        Require(!collected_, "OnCollected twice");
        collected_ = true;
        count_ = count;
    }
    void OnRenumbered(std::size_t run, std::size_t index) override {
        Require(run == 0, "an event of another run");
        Require(collected_ && cleaned_ == 0 && index == renumbered_ + 1 && index <= count_, "OnRenumbered out of order");
        renumbered_ = index;
    }
    void OnCleaned(std::size_t run, std::size_t k) override {
        Require(run == 0, "an event of another run");
        Require(renumbered_ == count_ && count_ > 0 && k == cleaned_ + 1, "OnCleaned out of order");
        cleaned_ = k;
    }
    std::size_t cleaned() const { return cleaned_; }
    bool complete(std::size_t count) const { return collected_ && count_ == count && renumbered_ == count; }

private:
    bool collected_ = false;
    std::size_t count_ = 0;
    std::size_t renumbered_ = 0;
    std::size_t cleaned_ = 0;
};

std::string NewIdentifier(const RecordType& type, std::int32_t start, std::size_t entry) {
    return std::string("@").append(type.letter).append(halvern::FixedWidthNumber(halvern::SerialNumber(start, entry), type.width)).append("@");
}

// What the plain reading gives a run: the identifiers collected, the first entry of each, and the
// new identifier of every entry.
struct Model {
    Model(const std::vector<std::string>& collected, std::vector<std::string> fresh)
        : ids(collected), newIds(std::move(fresh)) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (firstEntry.emplace(ids[i], i).second) written.emplace(newIds[i], i);
        }
    }
    const std::vector<std::string>& ids;
    std::vector<std::string> newIds;
    std::unordered_map<std::string_view, std::size_t> firstEntry;  // identifier -> its first entry
    std::unordered_map<std::string_view, std::size_t> written;     // new identifier of a first entry -> entry
};

// Walks input and output side by side: equal bytes, or a collected identifier in the input where
// its new identifier stands in the output. Returns where the replaced occurrences began, in order.
std::vector<std::size_t> CheckOnlyIdentifiersChanged(std::string_view in, std::string_view out, const Model& model,
                                                     const std::vector<halvern::Renumbering>& changes) {
    std::unordered_map<std::string_view, std::string_view> renamed;    // old -> new
    std::unordered_map<std::string_view, std::string_view> renamedTo;  // new -> old
    std::vector<std::size_t> replaced;
    std::size_t i = 0;
    std::size_t j = 0;
    bool atWritten = false;  // in[i] is the closing "@" of a replaced identifier, written with it
    while (i < in.size()) {
        if (in[i] == '@') {
            const std::size_t next = in.find('@', i + 1);
            if (next != std::string_view::npos) {
                const std::string_view segment = in.substr(i, next - i + 1);
                const auto entry = model.firstEntry.find(segment);
                if (entry != model.firstEntry.end()) {
                    const std::string_view fresh = model.newIds[entry->second];
                    // Two occurrences that share an "@" share it in the new text too.
                    const std::string_view expected = fresh.substr(atWritten ? 1 : 0);
                    Require(out.substr(j, expected.size()) == expected, "a collected identifier was not replaced by its new one");
                    const auto [old, added] = renamedTo.emplace(fresh, segment);
                    Require(added || old->second == segment, "two identifiers got the same new identifier");
                    renamed.emplace(segment, fresh);
                    replaced.push_back(i);
                    i = next;
                    j += expected.size();
                    atWritten = true;
                    continue;
                }
            }
        }
        if (atWritten) {
            atWritten = false;
            ++i;
            continue;
        }
        Require(j < out.size() && out[j] == in[i], "a byte that is no identifier changed");
        ++i;
        ++j;
    }
    Require(j == out.size(), "the output has bytes the input had not");

    Require(changes.size() == renamed.size(), "the list of changes misses or repeats an identifier");
    for (const halvern::Renumbering& change : changes) {
        const auto hit = renamed.find(change.oldId);
        Require(hit != renamed.end() && hit->second == change.newId, "a change that the text does not show");
    }
    return replaced;
}

// Every definition's identifier is replaced: a definition always changes with its references.
void RequireDefinitionsReplaced(const std::vector<std::size_t>& definitionStarts, const std::vector<std::size_t>& replaced) {
    for (const std::size_t at : definitionStarts) {
        Require(std::binary_search(replaced.begin(), replaced.end(), at), "a definition kept its old identifier");
    }
}

std::int32_t StartNumber(halvern::fuzz::FuzzInput& input) {
    const std::uint8_t mode = input.Byte();
    switch (mode % 4) {
        case 0: return 1;
        case 1: return static_cast<std::int8_t>(input.Byte());
        case 2: return static_cast<std::int32_t>(input.Word32());
        default:  // just below the largest number, where the serial texts wrap round and repeat
            return std::numeric_limits<std::int32_t>::max() - input.Byte() % 8;
    }
}

}  // namespace

// The new identifier that some stretch of text, not a collected identifier, would share with a
// record of the run; empty when there is none. Every stretch from one "@" to the next is compared
// with the new identifiers of the first entries of the collected identifiers.
std::string FirstCollision(std::string_view text, const Model& model) {
    std::string_view first;
    std::size_t firstEntry = SIZE_MAX;
    for (std::size_t at = text.find('@'); at != std::string_view::npos;) {
        const std::size_t next = text.find('@', at + 1);
        if (next == std::string_view::npos) break;
        const std::string_view stretch = text.substr(at, next - at + 1);
        const auto hit = model.written.find(stretch);
        if (hit != model.written.end() && model.firstEntry.count(stretch) == 0 && hit->second < firstEntry) {
            first = hit->first;
            firstEntry = hit->second;
        }
        at = next;
    }
    return std::string(first);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    halvern::fuzz::FuzzInput input(data, size);
    const std::uint8_t typeByte = input.Byte();
    RecordType type{kTags[typeByte % 6], std::string(kPrefixes[typeByte % 6]), 5};
    // Half the runs keep the usual form; the others take a prefix and a width of their own.
    const std::uint8_t formByte = input.Byte();
    if (formByte & 1) {
        type.letter = kPrefixes[(formByte >> 1) % 6];
        type.width = 1 + (formByte >> 4) % 9;
    }
    const std::int32_t start = StartNumber(input);
    const std::string original(input.Rest());

    std::vector<std::size_t> definitionStarts;
    const std::vector<std::string> ids = PlainCollection(original, type.tag, definitionStarts);
    std::vector<std::string> fresh;
    for (std::size_t i = 0; i < ids.size(); ++i) fresh.push_back(NewIdentifier(type, start, i));
    std::string text = original;
    std::vector<halvern::Renumbering> changes;
    OrderCheckingSink sink;
    std::size_t count = 0;
    const halvern::IdentifierForm form{type.letter, type.width};
    halvern::RunRequest request{type.tag, form, start};
    // Some runs are numbered otherwise, as an order or a kept map numbers them: each entry a serial
    // near the start, or a kept identifier (another one of the run, one of its shape, or one of a
    // shape of its own), drawn from the text's first bytes.
    const bool numbered = (formByte & 2) != 0;
    std::vector<halvern::EntryNumber> numbers(ids.size());
    if (numbered) {
        const std::string_view choices = std::string_view(original).substr(0, 64);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const std::uint8_t pick = choices.empty() ? 0 : static_cast<std::uint8_t>(choices[i % choices.size()] + i);
            switch (pick % 4) {
                case 0: fresh[i] = ids[(pick >> 2) % ids.size()]; break;
                case 1: fresh[i] = "@" + type.letter + halvern::FixedWidthNumber(pick >> 2, type.width) + "@"; break;
                case 2: fresh[i] = "@K" + std::to_string(pick >> 3) + "@"; break;
                default: numbers[i].serial = halvern::SerialNumber(start, (pick >> 2) + i); fresh[i] = NewIdentifier(type, numbers[i].serial, 0);
            }
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (fresh[i] != NewIdentifier(type, numbers[i].serial, 0)) numbers[i].kept = fresh[i];
        }
        request.numbering = [&](std::string_view, std::span<const std::string_view> collected) {
            Require(collected.size() == ids.size(), "the numbering was asked for other identifiers");
            return halvern::RunNumbers{{numbers.begin(), numbers.end()}, false};
        };
    }
    const Model model(ids, fresh);
    try {
        if (numbered) {
            halvern::PreparedRuns prepared(original, request, sink);
            count = prepared.Count();
            std::string made;
            prepared.AppendTo(made);
            text = made;
            changes = prepared.Changes(0);
        } else {
            count = halvern::RenumberRecords(text, type.tag, form, start, sink, &changes);
        }
    } catch (const halvern::RunRefused& error) {
        if (error.code() == halvern::RunRefusal::kSerialsRepeat) {
            Require(error.identifier().empty(), "a repeat named an identifier");
            Require(text == original, "a refused run changed the text");
            std::set<std::string> written;
            bool repeats = false;
            for (const auto& [id, entry] : model.firstEntry) repeats |= !written.insert(fresh[entry]).second;
            Require(repeats, "refused although no two new identifiers are alike");
            return 0;
        }
        Require(text == original, "a run refused for a collision changed the text");
        const std::string expected = FirstCollision(original, model);
        Require(!expected.empty(), "refused for a collision that is not there");
        Require(numbered ? model.written.count(error.identifier()) == 1 : error.identifier().size() == expected.size(),
                "the collision named is no new identifier of the run");
        return 0;
    }

    Require(count == ids.size(), "collected other identifiers than the definitions name");
    Require(FirstCollision(original, model).empty(), "a run went through that gives an identifier twice");
    Require(sink.complete(count), "events missing");
    const std::vector<std::size_t> replaced = CheckOnlyIdentifiersChanged(original, text, model, changes);
    Require(sink.cleaned() == replaced.size(), "OnCleaned does not count the replacements");
    Require(std::count(text.begin(), text.end(), '@') == std::count(original.begin(), original.end(), '@'),
            "the number of @ changed");

    // The same run written piece by piece, as a save straight into a file makes it.
    {
        halvern::NullRenumberSink quiet;
        halvern::PreparedRuns prepared(original, request, quiet);
        std::string streamed;
        prepared.WriteTo([&](std::string_view piece) { streamed.append(piece); });
        Require(streamed == text, "the text written in pieces differs from the text made whole");
        Require(streamed.size() <= prepared.LengthBound(), "the new text is longer than its bound");
    }

    RequireDefinitionsReplaced(definitionStarts, replaced);
    if (numbered) return 0;
    std::string again = text;
    halvern::NullRenumberSink quiet;
    try {
        halvern::RenumberRecords(again, type.tag, form, start, quiet);
    } catch (const halvern::RunRefused&) {
        halvern::fuzz::Broken("a second run refused what the first one did");
    }
    Require(again == text, "a second run with the same start number changed the text");
    return 0;
}
