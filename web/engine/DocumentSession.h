#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/GedcomDocument.h"
#include "app/RenumberJob.h"
#include "app/RunChecks.h"

namespace halvern::web {

// The page's document, kept by its worker: the file that was opened (the upload), the runs on it
// one after the other (each on the result of the one before, a refused one changing nothing), the
// text to download in the file's own encoding, and the map of every identifier the runs renamed.
// At most the document, the text a run makes and the run's tables are in memory.
class DocumentSession {
public:
    // Drops the document there was and makes room for the bytes of a file of size bytes, which the
    // caller copies to the place returned, then hands over with FinishLoad. name is the file's.
    char* PrepareLoad(std::size_t size, std::string name);
    // The bytes copied in become the document (see GedcomDocument::FinishLoad).
    bool FinishLoad() { return document_.FinishLoad(); }

    const GedcomDocument& Document() const { return document_; }

    // The checks before a run (the upload is loaded and holds more than blanks), and those before
    // a save, the output being a download named outputName, as the window checks its save.
    std::optional<FailedCheck> CheckRun() const;
    std::optional<FailedCheck> CheckSave(const std::string& outputName) const;

    // One run on the document, keeping the numbers of keep when given (see RenumberJob::Keep); on
    // success the document is its result and the map grows by the identifiers it renamed. A
    // refusal leaves both as they were.
    JobResult Run(const JobRun& run, JobListener& listener, const KeepList* keep = nullptr);

    // The document as its file was written, made here once and kept until ReleaseOutput.
    std::string_view Output() { return output_.empty() ? document_.FileBytes(output_) : output_; }
    void ReleaseOutput() { std::string().swap(output_); }

    // Tab-separated: type, old identifier, new identifier, unique identifier, one line per renamed
    // identifier of every run since the file was opened (as halvern-cli -m writes it).
    std::string_view MapText() const { return map_; }

private:
    GedcomDocument document_;
    std::string name_;
    std::string output_;
    std::string map_;
};

}  // namespace halvern::web
