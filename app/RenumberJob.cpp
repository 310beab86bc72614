#include "app/RenumberJob.h"

#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <utility>

#include "app/KeptNumbering.h"
#include "app/MapText.h"
#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "core/Document.h"
#include "core/LargeBuffer.h"
#include "core/RecordLines.h"

namespace halvern {
namespace {

// The engine's events of the runs from runs[first] on, handed to the job's listener with the run
// they belong to.
class RunEvents final : public RenumberSink {
public:
    RunEvents(const std::vector<JobRun>& runs, std::size_t first, JobListener& listener)
        : runs_(runs), first_(first), listener_(listener) {}

    void OnCollected(std::size_t run, std::size_t count) override { listener_.OnCollected(runs_[first_ + run], count); }
    void OnRenumbered(std::size_t run, std::size_t index) override {
        listener_.OnRenumbered(runs_[first_ + run], index);
    }
    void OnCleaned(std::size_t run, std::size_t k) override { listener_.OnCleaned(runs_[first_ + run], k); }

private:
    const std::vector<JobRun>& runs_;
    std::size_t first_;
    JobListener& listener_;
};

}  // namespace

RunRequest RenumberJob::RequestFor(const JobRun& run) const {
    RunRequest request{run.tag, run.form, run.startNumber};
    const KeepList* const keep = keep_ != nullptr && keep_->Type(run.tag) != nullptr ? keep_ : nullptr;
    if (keep == nullptr && run.order == NumberingOrder::kDefinition) return request;
    request.numbering = [&run, keep, encoding = encoding_](std::string_view text, std::span<const std::string_view> ids) {
        // A record's own unique identifier counts only against a line that has one.
        const bool byUniqueId = keep != nullptr && keep->Type(run.tag)->HoldsUniqueIds();
        const LargeVector<std::string_view> uniqueIds = byUniqueId ? UniqueIdentifiers(text, ids) : LargeVector<std::string_view>();
        const std::vector<std::size_t> ranks =
            run.order == NumberingOrder::kDefinition
                ? std::vector<std::size_t>()
                : NumberingRanks(text, run.tag, ids, run.order, DetectCharacterSet(text, encoding));
        return NumberRun(RunRecords{run.tag, run.form, run.startNumber, ids, uniqueIds, ranks}, keep);
    };
    return request;
}

void RenumberJob::AppendMap(JobResult& result, const JobRun& run, const PreparedRuns& prepared, std::size_t r) const {
    const std::vector<Renumbering> changes = prepared.Changes(r);
    if (changes.empty()) return;
    const std::vector<std::string_view> identifiers = prepared.Identifiers(r);
    AppendMapLines(result.map, run.tag, changes, UniqueIdentifiers(prepared.Text(), identifiers), encoding_);
}

RenumberJob::RenumberJob(std::vector<JobRun> runs, JobListener& listener, bool makeMap, DocumentUse use)
    : runs_(std::move(runs)), listener_(listener), makeMap_(makeMap), use_(use) {}

JobResult RenumberJob::Run(GedcomDocument& document) { return Execute(document, Destination{nullptr, true}); }

JobResult RenumberJob::RunAndSave(GedcomDocument& document, const std::filesystem::path& output) {
    return Execute(document, Destination{&output, true});
}

JobResult RenumberJob::RunAndStage(GedcomDocument& document, const std::filesystem::path& output,
                                   std::unique_ptr<StagedSave>& staged) {
    return Execute(document, Destination{&output, false, &staged});
}

template <typename Content>
void RenumberJob::Save(const Destination& destination, const Content& content) {
    auto save = std::make_unique<StagedSave>(*destination.output, content);
    if (destination.staged != nullptr) {
        *destination.staged = std::move(save);
    } else {
        save->Commit();
    }
}

void RenumberJob::SaveText(const Destination& destination, std::string_view text) const {
    if (encoding_ == TextEncoding::kEightBit) {
        Save(destination, text);
    } else {
        Save(destination, FromWorkingText(text, encoding_));
    }
}

bool RenumberJob::FinishRuns(PreparedRuns& prepared, std::size_t first, std::string_view current,
                             const Destination& destination, std::string& made, JobResult& result) {
    bool madeText = false;
    if (prepared.Count() == 0) {  // the text stays as it is
        if (destination.output != nullptr) SaveText(destination, current);
    } else if (destination.output == nullptr || encoding_ != TextEncoding::kEightBit) {
        // In memory; a UTF-16 file is written from it whole.
        ReserveLarge(made, prepared.LengthBound());
        prepared.AppendTo(made);
        if (destination.output != nullptr) SaveText(destination, made);
        madeText = true;
    } else if (!destination.keep) {
        // The new text goes to the file as it is made and is never whole in memory.
        Save(destination, DocumentProducer([&prepared](const std::function<void(std::string_view)>& write) {
            prepared.WriteTo(write);
        }));
    } else {
        // Kept as well: each block goes to the file and into the text that is kept.
        ReserveLarge(made, prepared.LengthBound());
        Save(destination, DocumentProducer([&prepared, &made](const std::function<void(std::string_view)>& write) {
            prepared.WriteTo([&](std::string_view piece) {
                made.append(piece);
                write(piece);
            });
        }));
        madeText = true;
    }
    for (std::size_t i = first; i < runs_.size(); ++i) {
        const std::size_t count = prepared.CountOf(i - first);
        result.countTexts.push_back(CountText(runs_[i].tag, count));
        if (makeMap_) AppendMap(result, runs_[i], prepared, i - first);
        listener_.RunFinished(runs_[i], count);
    }
    return madeText;
}

JobResult RenumberJob::Execute(GedcomDocument& document, const Destination& destination) {
    const auto started = std::chrono::steady_clock::now();
    encoding_ = document.Encoding();
    const std::string_view source = document.Text();
    JobResult result;
    std::string text;  // the text the runs so far have made; empty while they changed nothing
    std::string made;  // the last run's text, when it is made in memory
    std::string_view current = source;
    bool lastRunMadeText = false;
    try {
        // The runs' events go through jointEvents during the pass too: it outlives together.
        RunEvents jointEvents(runs_, 0, listener_);
        NullRenumberSink unheard;
        const auto sinkFor = [&](RunEvents& events) -> RenumberSink& {
            return listener_.HearsEvents() ? static_cast<RenumberSink&>(events) : unheard;
        };
        std::unique_ptr<PreparedRuns> together;
        if (runs_.size() > 1) {
            std::vector<RunRequest> requests;
            for (const JobRun& run : runs_) requests.push_back(RequestFor(run));
            try {
                together = PreparedRuns::Together(source, requests, sinkFor(jointEvents));
            } catch (const std::bad_alloc&) {
                // Nothing is heard or changed yet: one run after the other needs less at a time.
            }
        }
        if (together) lastRunMadeText = FinishRuns(*together, 0, source, destination, made, result);
        // No runs at all: the document is saved as it is.
        if (runs_.empty() && destination.output != nullptr) SaveText(destination, source);
        for (std::size_t i = 0; !together && i < runs_.size(); ++i) {
            const JobRun& run = runs_[i];
            RunEvents events(runs_, i, listener_);
            PreparedRuns prepared(current, RequestFor(run), sinkFor(events));
            if (i + 1 == runs_.size()) {
                lastRunMadeText = FinishRuns(prepared, i, current, destination, made, result);
                break;
            }
            std::string next;
            if (prepared.Count() > 0) {
                ReserveLarge(next, prepared.LengthBound());
                prepared.AppendTo(next);
            }
            result.countTexts.push_back(CountText(run.tag, prepared.Count()));
            // The run's changes name the text it read: taken before that text may go.
            if (makeMap_) AppendMap(result, run, prepared, 0);
            if (prepared.Count() > 0) {
                // The text this run read goes at the end of this block, once the new one is whole.
                text.swap(next);
                if (current.data() == source.data() && use_ == DocumentUse::kSpend) document.Release();
                current = text;
            }
            listener_.RunFinished(run, prepared.Count());
        }
    } catch (const RunRefused& refused) {
        if (refused.code() == RunRefusal::kIdentifierTaken) {
            return {.status = JobStatus::Collides, .message = FillIn(rsMetNummer, {rsNummerBezet, refused.identifier()})};
        }
        return {.status = JobStatus::Refused, .message = std::string(rsNummersDubbel.text)};
    } catch (const std::bad_alloc&) {
        return {.status = JobStatus::OutOfMemory, .message = std::string(rsGeenGeheugen.text)};
    } catch (const IoError& error) {
        return {.status = JobStatus::SaveFailed, .message = TopLevelErrorText(error.what())};
    }

    // Everything succeeded: now the document becomes the result.
    if (destination.keep) {
        if (lastRunMadeText) {
            document.Replace(std::move(made));
        } else if (current.data() != source.data()) {
            document.Replace(std::move(text));
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    // Like the window's tick count: 32 bits of milliseconds.
    result.elapsedMilliseconds = static_cast<std::uint32_t>(elapsed.count());
    return result;
}

}  // namespace halvern
