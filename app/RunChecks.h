#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "app/FileProblem.h"
#include "app/tResStr.h"

namespace halvern {

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

// A check of the run that failed: its catalogue entry, and the message to show, which is the
// entry's text, except when check 1 fails on a name given: then the message names the file and
// says why it cannot be opened (CannotOpenText).
struct FailedCheck {
    ResString check;
    std::string message;
};

// The run's four checks in order: input file exists (untrimmed name), output name not blank,
// input and output differ (trimmed names byte for byte, and not the same existing file), data not
// blank. Returns the first check that fails, or nothing when all pass.
std::optional<FailedCheck> FirstFailingCheck(const std::string& inputName, const std::string& outputName,
                                             std::string_view text, const FileProbe& probe);

}  // namespace halvern
