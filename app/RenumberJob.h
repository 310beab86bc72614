#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/GedcomDocument.h"
#include "app/KeepList.h"
#include "app/RecordChoice.h"
#include "core/IdentifierForm.h"
#include "core/NumberingOrder.h"
#include "core/Renumber.h"

namespace halvern {

class StagedSave;

// One run of a job: which records, the form of their new identifiers, and the serial number of
// the first of them.
struct JobRun {
    std::string tag;      // "INDI", "OBJE", "_PLAC"
    IdentifierForm form;  // prefix and serial width: "I" and 5 give "@I00001@"
    std::int32_t startNumber = 1;
    NumberingOrder order = NumberingOrder::kDefinition;  // the order of its new numbers (with a list: of those not kept)
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
    // False for a listener that ignores the engine's events: the engine then raises them into a
    // sink that drops them, not through the job, one forwarded call less per identifier.
    virtual bool HearsEvents() const { return true; }
};

// A listener that ignores everything.
class NullJobListener final : public JobListener {
public:
    void OnCollected(const JobRun&, std::size_t) override {}
    void OnRenumbered(const JobRun&, std::size_t) override {}
    void OnCleaned(const JobRun&, std::size_t) override {}
    void RunFinished(const JobRun&, std::size_t) override {}
    bool HearsEvents() const override { return false; }
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
    std::string message{};
    // One count text per run done ("aantal INDI : 1234"), in the order of the runs.
    std::vector<std::string> countTexts{};
    // When the job was asked for it: the map of the identifiers the runs renamed (AppendMapLines).
    std::string map{};
    // From the start of the first run to the end of the save.
    std::uint32_t elapsedMilliseconds = 0;

    bool Succeeded() const { return status == JobStatus::Done; }
};

// What a job may do with its document's text before every run of it has succeeded.
enum class DocumentUse {
    kKeep,   // keep it: a refused run or a failed save leaves the document as it was (the window, the page)
    kSpend,  // give it up as soon as a run has made a text of its own, so that less is in memory at
             // once (halvern-cli, which ends on any failure)
};

// The program's one job, as the window, halvern-cli and the page carry it out: the runs one after
// the other on the document's text, each working on the result of the one before, and only when
// all of them succeeded the result saved or kept. A run that is refused, or memory that runs out,
// changes nothing. At any moment the job holds at most the text a run reads, the text it makes and
// the run's tables.
//
// Several runs whose joint pass gives exactly that result (PreparedRuns::Together) are carried out
// in one collection and one replacement pass over the source instead; the listener then hears the
// cleaning of the runs interleaved, in the order of the text, and RunFinished of each once the new
// text is complete.
class RenumberJob {
public:
    // makeMap: JobResult::map is made.
    RenumberJob(std::vector<JobRun> runs, JobListener& listener, bool makeMap = false,
                DocumentUse use = DocumentUse::kKeep);

    // The numbers to keep (see NumberRun, app/KeptNumbering.h): each run keeps those list gives
    // its type, read for the document's encoding. list must outlive the job's runs; none: nothing kept.
    void Keep(const KeepList* list) { keep_ = list; }

    // The runs on document; when they all succeeded the result replaces its text.
    JobResult Run(GedcomDocument& document);

    // The same, and the result saved to output, in the document's encoding, through a temporary
    // file beside it and renamed into place; the document becomes the result only once the save
    // has succeeded. An 8-bit text goes to the file block by block as it is made.
    JobResult RunAndSave(GedcomDocument& document, const std::filesystem::path& output);

    // The runs on document, the result saved as RunAndSave saves it but left staged (see
    // StagedSave): the output whole in its temporary file, put in place only when the caller
    // commits staged, so that another file can be made whole first. The document does not become
    // the result: an 8-bit result is never whole in memory.
    JobResult RunAndStage(GedcomDocument& document, const std::filesystem::path& output,
                          std::unique_ptr<StagedSave>& staged);

private:
    // Where the result goes: a file (output; a save left to the caller when staged is given), and
    // whether it replaces the document's text.
    struct Destination {
        const std::filesystem::path* output;
        bool keep;
        std::unique_ptr<StagedSave>* staged = nullptr;
    };

    JobResult Execute(GedcomDocument& document, const Destination& destination);
    // The runs from runs_[first] on, prepared on current, all in one pass: the last text of the
    // job, put where destination says. True when the pass made a text of its own in made.
    bool FinishRuns(PreparedRuns& prepared, std::size_t first, std::string_view current,
                    const Destination& destination, std::string& made, JobResult& result);
    // Saves content (a text, or a DocumentProducer) to the destination's file, or stages that save.
    template <typename Content>
    static void Save(const Destination& destination, const Content& content);
    // Saves text, a working text for a UTF-16 file, in the job's encoding.
    void SaveText(const Destination& destination, std::string_view text) const;

    // What the engine is asked for run: with its own numbering when it keeps numbers or has an order.
    RunRequest RequestFor(const JobRun& run) const;
    // The run's lines of the map: prepared's changes of run r, with their unique identifiers.
    void AppendMap(JobResult& result, const JobRun& run, const PreparedRuns& prepared, std::size_t r) const;

    std::vector<JobRun> runs_;
    const KeepList* keep_ = nullptr;
    JobListener& listener_;
    bool makeMap_;
    DocumentUse use_;
    TextEncoding encoding_ = TextEncoding::kEightBit;  // the document's, while the job runs
};

}  // namespace halvern
