#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/RenumberJob.h"
#include "app/tResStr.h"
#include "core/Utf16Text.h"

namespace halvern::web {

// The one document of the page, kept by its worker: the bytes of the file that was opened, the
// runs on it one after the other (each on the result of the one before, a refused one changing
// nothing), the text to download in the file's own encoding, and the map of every identifier the
// runs renamed. At most the document, the text a run makes and the run's tables are in memory.
class DocumentSession {
public:
    // Drops the document there was and makes room for the bytes of a file of size bytes, which the
    // caller copies to the place returned, then hands over with FinishLoad. name is the file's.
    char* PrepareLoad(std::size_t size, std::string name);
    // The bytes copied in become the document: an 8-bit text as it is, a UTF-16 file as its
    // working text. False, and no document, for bytes that hold a byte 0 and are no UTF-16.
    bool FinishLoad();

    bool HasDocument() const { return loaded_; }
    TextEncoding Encoding() const { return encoding_; }
    // The document as the engine sees it (a UTF-16 file's working text).
    std::string_view Text() const { return text_; }

    // The checks before a run: a file was opened, and it holds more than blanks.
    std::optional<ResString> CheckRun() const;
    // The window's checks before its save, the output being a download named outputName.
    std::optional<ResString> CheckSave(const std::string& outputName) const;

    // One run on the document; on success the document is its result and the map grows by the
    // identifiers it renamed. A refusal leaves both as they were.
    JobResult Run(const JobRun& run, JobListener& listener);

    // The document as its file was written: the text itself, or for a UTF-16 file the text in
    // UTF-16 again, made here and kept until ReleaseOutput.
    std::string_view Output();
    void ReleaseOutput();

    // Tab-separated: type, old identifier, new identifier, one line per renamed identifier of
    // every run since the file was opened (as halvern-cli -m writes it).
    std::string_view MapText() const { return map_; }

private:
    std::string name_;
    std::string text_;
    std::string output_;
    std::string map_;
    TextEncoding encoding_ = TextEncoding::kEightBit;
    bool loaded_ = false;
};

}  // namespace halvern::web
