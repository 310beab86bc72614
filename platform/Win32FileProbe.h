#pragma once
#include <optional>
#include <string>

#include "app/RunChecks.h"

namespace halvern {

// Answers the run's file questions through the Windows file system, names in UTF-8 through the wide
// API. "Same file" is decided by identity (volume serial number and file index), so two spellings of
// one file (letter case, "..", a short name, a hard link) are found out.
class Win32FileProbe final : public FileProbe {
public:
    std::optional<FileProblem> ProblemWith(const std::string& name) const override;
    bool SameExistingFile(const std::string& first, const std::string& second) const override;
};

}  // namespace halvern
