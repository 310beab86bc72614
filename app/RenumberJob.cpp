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

template <typename Pass>
void RenumberJob::Finish(Pass& run, std::string_view current, const Destination& destination, std::string* made) {
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

// Prepare has made sure that no run is refused; memory and the save can still fail. The events of
// each run are raised once the pass is done, between its RunStarting and RunFinished, as the runs
// one after the other raise them.
JobResult RenumberJob::ExecuteJointly(JointRuns& joint, std::string_view source, const Destination& destination) {
    JobResult result;
    std::string made;
    try {
        Finish(joint, source, destination, &made);
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            const JobRun& run = runs_[i];
            joint.RaiseEvents(i, listener_.RunStarting(run));
            result.countTexts.push_back(CountText(run.tag, joint.CountOf(i)));
            if (collectChanges_) result.changes.push_back(joint.Changes(i));
            listener_.RunFinished(run, joint.CountOf(i));
        }
    } catch (const std::bad_alloc&) {
        return JobResult{JobStatus::OutOfMemory, std::string(rsGeenGeheugen.text), {}, 0, {}, {}, 0};
    } catch (const IoError& error) {
        return JobResult{JobStatus::SaveFailed, TopLevelErrorText(error.what()), {}, error.code(), {}, {}, 0};
    }
    if (destination.result != nullptr) {
        const bool madeText = destination.output == nullptr || encoding_ != TextEncoding::kEightBit || joint.Count() > 0;
        if (madeText) {
            destination.result->swap(made);
        } else if (destination.result->data() != source.data()) {
            destination.result->assign(source);
        }
    }
    return result;
}

JobResult RenumberJob::Execute(std::string_view source, const std::function<void()>& releaseSource,
                               const Destination& destination) {
    const auto started = std::chrono::steady_clock::now();
    if (runs_.size() > 1) {
        std::vector<RunRequest> requests;
        for (const JobRun& run : runs_) requests.push_back(RunRequest{run.tag, run.form, run.startNumber});
        std::unique_ptr<JointRuns> joint;
        try {
            joint = JointRuns::Prepare(source, requests);
        } catch (const std::bad_alloc&) {
            // Nothing is heard or changed yet: one run after the other needs less at a time.
        }
        if (joint) {
            JobResult result = ExecuteJointly(*joint, source, destination);
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
            if (result.Succeeded()) result.elapsedMilliseconds = static_cast<std::uint32_t>(elapsed.count());
            return result;
        }
    }
    JobResult result;
    std::string text;  // the text the runs so far have made; empty while they changed nothing
    std::string made;  // the last run's text, when it is to be kept
    std::string_view current = source;
    bool lastRunMadeText = false;
    try {
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            const JobRun& run = runs_[i];
            RenumberSink& sink = listener_.RunStarting(run);
            PreparedRun prepared(current, run.tag, run.form, run.startNumber, sink);
            const bool last = i + 1 == runs_.size();
            std::string next;
            if (last) {
                Finish(prepared, current, destination, &made);
                lastRunMadeText =
                    destination.output == nullptr || encoding_ != TextEncoding::kEightBit || prepared.Count() > 0;
            } else if (prepared.Count() > 0) {
                ReserveLarge(next, prepared.LengthBound());
                prepared.AppendTo(next);
            }
            result.countTexts.push_back(CountText(run.tag, prepared.Count()));
            // The run's changes name the text it read: taken before that text may go.
            if (collectChanges_) result.changes.push_back(prepared.Changes());
            if (!last && prepared.Count() > 0) {
                // The text this run read goes at the end of this block, once the new one is whole.
                text.swap(next);
                if (current.data() == source.data() && releaseSource) releaseSource();
                current = text;
            }
            listener_.RunFinished(run, prepared.Count());
        }
    } catch (const IdentifierCollisionError& error) {
        return JobResult{JobStatus::Collides, std::string(rsNummerBezet.text), error.identifier(), 0, {}, {}, 0};
    } catch (const DuplicateSerialError&) {
        return JobResult{JobStatus::Refused, std::string(rsNummersDubbel.text), {}, 0, {}, {}, 0};
    } catch (const std::bad_alloc&) {
        return JobResult{JobStatus::OutOfMemory, std::string(rsGeenGeheugen.text), {}, 0, {}, {}, 0};
    } catch (const IoError& error) {
        return JobResult{JobStatus::SaveFailed, TopLevelErrorText(error.what()), {}, error.code(), {}, {}, 0};
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
