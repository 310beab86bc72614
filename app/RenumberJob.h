#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/RecordChoice.h"
#include "core/IdentifierForm.h"
#include "core/Renumber.h"
#include "core/Utf16Text.h"

namespace halvern {

class StagedSave;

// One run of a job: which records, the form of their new identifiers, and the serial number of
// the first of them.
struct JobRun {
    std::string tag;      // "INDI", "OBJE", "_PLAC"
    IdentifierForm form;  // prefix and serial width: "I" and 5 give "@I00001@"
    std::int32_t startNumber = 1;
};

// The run the choice dialog and "-t INDI" ask for: the type's letter and five digits.
inline JobRun RunFor(const RecordChoice& choice, std::int32_t startNumber) {
    return JobRun{std::string(choice.tag), IdentifierForm{std::string(choice.letter), kDefaultSerialWidth}, startNumber};
}

// What a front end hears of a job while it works (its progress display): the engine's events
// (see RenumberSink), each with the run it belongs to, as the work reaches them.
class JobListener {
public:
    virtual ~JobListener() = default;
    virtual void OnCollected(const JobRun& run, std::size_t count) = 0;
    virtual void OnRenumbered(const JobRun& run, std::size_t index) = 0;
    virtual void OnCleaned(const JobRun& run, std::size_t k) = 0;
    // The run's new text is complete (the last run of a save: written to the temporary file).
    virtual void RunFinished(const JobRun& run, std::size_t count) = 0;
};

// A listener that ignores everything.
class NullJobListener final : public JobListener {
public:
    void OnCollected(const JobRun&, std::size_t) override {}
    void OnRenumbered(const JobRun&, std::size_t) override {}
    void OnCleaned(const JobRun&, std::size_t) override {}
    void RunFinished(const JobRun&, std::size_t) override {}
};

// How a job ended.
enum class JobStatus {
    Done,
    Refused,      // the new identifiers of a run would repeat: nothing changed, nothing written
    Collides,     // a new identifier of a run stands in the text already: nothing changed, nothing written
    OutOfMemory,  // nothing changed, nothing written
    SaveFailed,   // the output could not be written; an earlier output file is as it was
};

struct JobResult {
    JobStatus status = JobStatus::Done;
    // Refused and OutOfMemory: the catalogue's text; Collides: that text with the identifier that
    // is taken ("... (@I00003@)"); SaveFailed: the error's description, as the program's error
    // handler shows it ("Disk full.").
    std::string message;
    // Collides: the new identifier that stands in the text already ("@I00003@").
    std::string identifier;
    // SaveFailed: the program's I/O code (see IoError).
    int ioCode = 0;
    // One count text per run done ("aantal INDI : 1234"), in the order of the runs.
    std::vector<std::string> countTexts;
    // Per run done, the identifiers it renamed, when the job was asked to collect them.
    std::vector<std::vector<Renumbering>> changes;
    // From the start of the first run to the end of the save.
    std::uint32_t elapsedMilliseconds = 0;

    bool Succeeded() const { return status == JobStatus::Done; }
};

// The program's one job, as both the window and halvern-cli carry it out: the runs one after the
// other on the same text, each working on the result of the one before, and only when all of them
// succeeded the result saved. A run that is refused, or memory that runs out, leaves everything as
// it was. At any moment the job holds at most the text a run reads, the text it makes and the
// run's tables.
//
// Several runs whose joint pass gives exactly that result (PreparedRuns::Together) are carried out
// in one collection and one replacement pass over the source instead; the listener then hears the
// cleaning of the runs interleaved, in the order of the text, and RunFinished of each once the new
// text is complete.
class RenumberJob {
public:
    // encoding: how the file the text came from was written; a UTF-16 file's text is its working
    // text (see core/Utf16Text.h), and it is saved in UTF-16 again.
    RenumberJob(std::vector<JobRun> runs, JobListener& listener, bool collectChanges = false,
                TextEncoding encoding = TextEncoding::kEightBit);

    // The runs on source, then the result saved to output through a temporary file beside it and
    // renamed into place; the last run's text goes to the file as it is made. When kept is given,
    // it receives the result too, but only once the save has succeeded (the window's document);
    // it may be the very text source views. releaseSource, when given, is called as soon as source
    // is no longer read, so that its memory can go before the next text is made.
    JobResult RunAndSave(std::string_view source, const std::filesystem::path& output, std::string* kept = nullptr,
                         const std::function<void()>& releaseSource = {});

    // The same without kept, but the save is left staged (see StagedSave): the output whole in its
    // temporary file, put in place only when the caller commits staged, so that another file can
    // be made whole first.
    JobResult RunAndStage(std::string_view source, const std::filesystem::path& output,
                          std::unique_ptr<StagedSave>& staged, const std::function<void()>& releaseSource = {});

    // The runs on source, the result in result (nothing is saved: a dry run, standard output). The
    // result is a working text for a UTF-16 file.
    JobResult RunInMemory(std::string_view source, std::string& result,
                          const std::function<void()>& releaseSource = {});

private:
    // Where the result goes: a file (output), or memory (result); a file's save is left to the
    // caller when staged is given.
    struct Destination {
        const std::filesystem::path* output;
        std::string* result;
        std::unique_ptr<StagedSave>* staged = nullptr;
    };

    JobResult Execute(std::string_view source, const std::function<void()>& releaseSource,
                      const Destination& destination);
    // The runs from runs_[first] on, prepared on current, all in one pass: the last text of the
    // job. True when the pass made a text of its own (in made) rather than leave current as it
    // was.
    bool FinishRuns(PreparedRuns& prepared, std::size_t first, std::string_view current,
                    const Destination& destination, std::string& made, JobResult& result);
    // Makes the last text and puts it where destination says; the text made goes to made when a
    // caller wants it kept.
    void Finish(PreparedRuns& pass, std::string_view current, const Destination& destination, std::string* made);
    // Saves content (a text, or a DocumentProducer) to the destination's file, or stages that save.
    template <typename Content>
    static void Save(const Destination& destination, const Content& content);

    std::vector<JobRun> runs_;
    JobListener& listener_;
    bool collectChanges_;
    TextEncoding encoding_;
};

}  // namespace halvern
