#include "app/RenumberJob.h"

#include <chrono>
#include <memory>
#include <new>
#include <utility>

#include "app/StatusTexts.h"
#include "app/tResStr.h"
#include "core/Document.h"
#include "core/LargeBuffer.h"

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

RunRequest RequestFor(const JobRun& run) { return RunRequest{run.tag, run.form, run.startNumber}; }

JobResult Failed(JobStatus status, std::string message, std::string identifier = {}, int ioCode = 0) {
    JobResult result;
    result.status = status;
    result.message = std::move(message);
    result.identifier = std::move(identifier);
    result.ioCode = ioCode;
    return result;
}

}  // namespace

RenumberJob::RenumberJob(std::vector<JobRun> runs, JobListener& listener, bool collectChanges, TextEncoding encoding)
    : runs_(std::move(runs)), listener_(listener), collectChanges_(collectChanges), encoding_(encoding) {}

JobResult RenumberJob::RunAndSave(std::string_view source, const std::filesystem::path& output, std::string* kept,
                                  const std::function<void()>& releaseSource) {
    return Execute(source, releaseSource, Destination{&output, kept});
}

JobResult RenumberJob::RunAndStage(std::string_view source, const std::filesystem::path& output,
                                   std::unique_ptr<StagedSave>& staged, const std::function<void()>& releaseSource) {
    return Execute(source, releaseSource, Destination{&output, nullptr, &staged});
}

JobResult RenumberJob::RunInMemory(std::string_view source, std::string& result,
                                   const std::function<void()>& releaseSource) {
    return Execute(source, releaseSource, Destination{nullptr, &result});
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

void RenumberJob::Finish(PreparedRuns& run, std::string_view current, const Destination& destination,
                         std::string* made) {
    if (destination.output == nullptr || encoding_ != TextEncoding::kEightBit) {
        // In memory: the result is what the caller gets; a UTF-16 file is written from it whole.
        if (run.Count() == 0) {
            made->assign(current);
        } else {
            ReserveLarge(*made, run.LengthBound());
            run.AppendTo(*made);
        }
        if (destination.output != nullptr) Save(destination, FromWorkingText(*made, encoding_));
        return;
    }
    if (run.Count() == 0) {
        Save(destination, current);
        return;
    }
    if (destination.result == nullptr) {
        // The new text goes to the file as it is made and is never whole in memory.
        Save(destination, DocumentProducer([&run](const std::function<void(std::string_view)>& write) {
            run.WriteTo(write);
        }));
        return;
    }
    // Kept as well: each block goes to the file and into the text that is kept.
    ReserveLarge(*made, run.LengthBound());
    Save(destination, DocumentProducer([&run, made](const std::function<void(std::string_view)>& write) {
        run.WriteTo([&](std::string_view piece) {
            made->append(piece);
            write(piece);
        });
    }));
}

bool RenumberJob::FinishRuns(PreparedRuns& prepared, std::size_t first, std::string_view current,
                             const Destination& destination, std::string& made, JobResult& result) {
    Finish(prepared, current, destination, &made);
    for (std::size_t i = first; i < runs_.size(); ++i) {
        const std::size_t count = prepared.CountOf(i - first);
        result.countTexts.push_back(CountText(runs_[i].tag, count));
        if (collectChanges_) result.changes.push_back(prepared.Changes(i - first));
        listener_.RunFinished(runs_[i], count);
    }
    return destination.output == nullptr || encoding_ != TextEncoding::kEightBit || prepared.Count() > 0;
}

JobResult RenumberJob::Execute(std::string_view source, const std::function<void()>& releaseSource,
                               const Destination& destination) {
    const auto started = std::chrono::steady_clock::now();
    JobResult result;
    std::string text;  // the text the runs so far have made; empty while they changed nothing
    std::string made;  // the last run's text, when it is to be kept
    std::string_view current = source;
    bool lastRunMadeText = false;
    try {
        // The runs' events go through jointEvents during the pass too: it outlives together.
        RunEvents jointEvents(runs_, 0, listener_);
        std::unique_ptr<PreparedRuns> together;
        if (runs_.size() > 1) {
            std::vector<RunRequest> requests;
            for (const JobRun& run : runs_) requests.push_back(RequestFor(run));
            try {
                together = PreparedRuns::Together(source, requests, jointEvents);
            } catch (const std::bad_alloc&) {
                // Nothing is heard or changed yet: one run after the other needs less at a time.
            }
        }
        if (together) lastRunMadeText = FinishRuns(*together, 0, source, destination, made, result);
        for (std::size_t i = 0; !together && i < runs_.size(); ++i) {
            const JobRun& run = runs_[i];
            RunEvents events(runs_, i, listener_);
            PreparedRuns prepared(current, RequestFor(run), events);
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
            if (collectChanges_) result.changes.push_back(prepared.Changes(0));
            if (prepared.Count() > 0) {
                // The text this run read goes at the end of this block, once the new one is whole.
                text.swap(next);
                if (current.data() == source.data() && releaseSource) releaseSource();
                current = text;
            }
            listener_.RunFinished(run, prepared.Count());
        }
    } catch (const RunRefused& refused) {
        if (refused.code() == RunRefusal::kIdentifierTaken) {
            return Failed(JobStatus::Collides, FillIn(rsMetNummer, {rsNummerBezet, refused.identifier()}),
                          refused.identifier());
        }
        return Failed(JobStatus::Refused, std::string(rsNummersDubbel.text));
    } catch (const std::bad_alloc&) {
        return Failed(JobStatus::OutOfMemory, std::string(rsGeenGeheugen.text));
    } catch (const IoError& error) {
        return Failed(JobStatus::SaveFailed, TopLevelErrorText(error.what()), {}, error.code());
    }

    // Everything succeeded: now the caller's text becomes the result.
    if (destination.result != nullptr) {
        if (lastRunMadeText) {
            destination.result->swap(made);
        } else if (current.data() != source.data()) {
            destination.result->swap(text);
        } else if (destination.result->data() != source.data()) {
            destination.result->assign(source);
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    // Like the window's tick count: 32 bits of milliseconds.
    result.elapsedMilliseconds = static_cast<std::uint32_t>(elapsed.count());
    return result;
}

}  // namespace halvern
