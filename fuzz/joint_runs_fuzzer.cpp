// Several runs in one pass (PreparedRuns::Together) against the same runs one after the other on any bytes, for
// two to four runs whose tags, forms and start numbers come from the input. Wherever the joint
// pass is taken:
// - none of the runs one after the other is refused;
// - the text, made whole or written in pieces, is theirs, and no longer than its bound;
// - every run has their count, events and changes.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Renumber.h"
#include "fuzz/FuzzInput.h"

namespace {

using halvern::fuzz::Require;

// Tags that are prefixes of each other and whole words; prefixes that may spell alike.
constexpr std::string_view kTags[] = {"INDI", "FAM", "NOTE", "SOUR", "SOURCE", "SNOTE", "_X", "F@M"};
constexpr std::string_view kPrefixes[] = {"I", "F", "N", "S", "I0", "X_", "S0", "ab"};

// The events of each run as text; those of runs in one pass interleave, each run's stay in order.
class EventText final : public halvern::RenumberSink {
public:
    explicit EventText(std::size_t runs) : text(runs) {}
    void OnCollected(std::size_t run, std::size_t count) override { Add(run, 'C', count); }
    void OnRenumbered(std::size_t run, std::size_t index) override { Add(run, 'R', index); }
    void OnCleaned(std::size_t run, std::size_t k) override { Add(run, 'K', k); }
    std::vector<std::string> text;

private:
    void Add(std::size_t run, char kind, std::size_t number) {
        Require(run < text.size(), "an event of a run that is not there");
        text[run] += kind;
        text[run] += std::to_string(number) + ";";
    }
};

struct Run {
    std::string tag;
    halvern::IdentifierForm form;
    std::int32_t start = 1;
};

std::int32_t StartNumber(halvern::fuzz::FuzzInput& input) {
    switch (input.Byte() % 4) {
        case 0: return 1;
        case 1: return static_cast<std::int8_t>(input.Byte());
        case 2: return static_cast<std::int32_t>(input.Word32());
        default: return std::numeric_limits<std::int32_t>::max() - input.Byte() % 8;
    }
}

std::string ChangesText(const std::vector<halvern::Renumbering>& changes) {
    std::string text;
    for (const halvern::Renumbering& change : changes) text += change.oldId + ">" + change.newId + ";";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    halvern::fuzz::FuzzInput input(data, size);
    std::vector<Run> runs(2 + input.Byte() % 3);
    for (Run& run : runs) {
        const std::uint8_t typeByte = input.Byte();
        run.tag = std::string(kTags[typeByte % 8]);
        run.form.prefix = std::string(kPrefixes[(typeByte >> 3) % 8]);
        run.form.width = 1 + input.Byte() % 9;
        run.start = StartNumber(input);
    }
    const std::string original(input.Rest());

    // One after the other.
    std::string sequential = original;
    std::vector<std::size_t> counts;
    std::vector<std::string> events;
    std::vector<std::string> changes;
    bool refused = false;
    for (const Run& run : runs) {
        EventText sink(1);
        std::vector<halvern::Renumbering> renamed;
        try {
            counts.push_back(halvern::RenumberRecords(sequential, run.tag, run.form, run.start, sink, &renamed));
        } catch (const halvern::RunRefused&) {
            refused = true;
            break;
        }
        events.push_back(sink.text[0]);
        changes.push_back(ChangesText(renamed));
    }

    std::vector<halvern::RunRequest> requests;
    for (const Run& run : runs) requests.push_back(halvern::RunRequest{run.tag, run.form, run.start});
    EventText jointEvents(runs.size());
    const std::unique_ptr<halvern::PreparedRuns> joint = halvern::PreparedRuns::Together(original, requests, jointEvents);
    if (!joint) {
        for (const std::string& heard : jointEvents.text) Require(heard.empty(), "runs that went apart raised events");
        return 0;
    }
    Require(!refused, "runs taken together although one of them is refused");

    std::string together;
    joint->AppendTo(together);
    Require(together == sequential, "the joint pass made another text");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Require(joint->CountOf(i) == counts[i], "a run collected another number of identifiers");
        Require(jointEvents.text[i] == events[i], "a run raised other events");
        Require(ChangesText(joint->Changes(i)) == changes[i], "a run renamed other identifiers");
    }

    halvern::NullRenumberSink quiet;
    const std::unique_ptr<halvern::PreparedRuns> again = halvern::PreparedRuns::Together(original, requests, quiet);
    Require(again != nullptr, "the same runs on the same text were not taken together again");
    std::string streamed;
    again->WriteTo([&](std::string_view piece) { streamed.append(piece); });
    Require(streamed == sequential, "the text written in pieces differs");
    Require(streamed.size() <= again->LengthBound(), "the new text is longer than its bound");
    return 0;
}
