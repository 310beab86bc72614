#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "app/FileProblem.h"
#include "app/tResStr.h"

namespace halvern {

class GedcomDocument;

// What the run's checks need to know of the file system; the Windows program and halvern-cli each
// answer through their own platform, and tests answer directly.
class FileProbe {
public:
    virtual ~FileProbe() = default;
    // Nothing when name names an existing file that is not a folder; otherwise why not.
    virtual std::optional<FileProblem> ProblemWith(const std::string& name) const = 0;
    // True when both names lead to the same existing file (links, letter case, ".." and the like).
    virtual bool SameExistingFile(const std::string& first, const std::string& second) const = 0;

    bool IsExistingFile(const std::string& name) const { return !ProblemWith(name); }
};

// A FileProbe over std::filesystem, names in UTF-8 (core/FileName.h).
class FilesystemProbe final : public FileProbe {
public:
    std::optional<FileProblem> ProblemWith(const std::string& name) const override;
    bool SameExistingFile(const std::string& first, const std::string& second) const override;
};

// True when text holds at least one byte above 32 (the trimmed text is not empty).
bool HasData(std::string_view text);

// A check before a job that failed: its catalogue entry, and the message to show, which is the
// entry's text, except when check 1 fails on a file named: then the message names the file and
// says why it cannot be opened (CannotOpenText).
struct FailedCheck {
    ResString check;
    std::string message;
};

// One end of a job as its checks see it: a file the user named, a standard stream ("-" on the
// command line), or a file of the page: the upload the user opened, the name a download gets.
struct JobEnd {
    enum class Kind { kFile, kStream, kPage };
    std::string_view name;
    Kind kind = Kind::kFile;
};

// The checks before a job, in order:
// 1. the input is there: a file exists (probe, the name untrimmed), a page's upload is loaded;
// 2. the output, unless there is none yet (the page's runs keep their result), has a name that
//    is not blank;
// 3. input and output differ: their trimmed names byte for byte, and for two files the existing
//    file they lead to; a stream differs from everything;
// 4. the document holds more than blanks.
// The first check that fails, or nothing when all pass. The probe is asked about files only, and
// may be null where neither end is one.
std::optional<FailedCheck> FirstFailingCheck(const JobEnd& input, const std::optional<JobEnd>& output,
                                             const GedcomDocument& document, const FileProbe* probe);

}  // namespace halvern
