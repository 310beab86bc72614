#include "app/RunChecks.h"

#include <filesystem>
#include <system_error>

#include "app/GedcomDocument.h"
#include "base/AsciiText.h"
#include "core/FileName.h"

namespace halvern {

std::optional<FileProblem> FilesystemProbe::ProblemWith(const std::string& name) const {
    if (name.empty()) return FileProblem{FileProblem::Kind::Missing};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(FilePath(name), error);
    if (error) {
        const std::error_condition condition = error.default_error_condition();
        if (condition.category() == std::generic_category()) return FileProblemFromErrno(condition.value());
        return FileProblem{FileProblem::Kind::Other, error.value()};
    }
    if (!std::filesystem::exists(status)) return FileProblem{FileProblem::Kind::Missing};
    if (std::filesystem::is_directory(status)) return FileProblem{FileProblem::Kind::Folder};
    return std::nullopt;
}

bool FilesystemProbe::SameExistingFile(const std::string& first, const std::string& second) const {
    if (first.empty() || second.empty()) return false;
    std::error_code error;
    const bool same = std::filesystem::equivalent(FilePath(first), FilePath(second), error);
    return !error && same;
}

bool HasData(std::string_view text) { return !Trimmed(text).empty(); }

std::optional<FailedCheck> FirstFailingCheck(const JobEnd& input, const std::optional<JobEnd>& output,
                                             const GedcomDocument& document, const FileProbe* probe) {
    using Kind = JobEnd::Kind;
    const auto failed = [](const ResString& check) { return FailedCheck{check, std::string(check.text)}; };
    if (input.kind == Kind::kFile) {
        if (const std::optional<FileProblem> problem = probe->ProblemWith(std::string(input.name))) {
            return FailedCheck{rsGeenInvoer, CannotOpenText(input.name, *problem)};
        }
    } else if (input.kind == Kind::kPage && !document.IsLoaded()) {
        return failed(rsGeenInvoer);
    }
    if (output) {
        const std::string_view trimmedOutput = Trimmed(output->name);
        if (trimmedOutput.empty()) return failed(rsGeenUitvoer);
        // Equal names are refused as typed; different names are refused too when they reach the
        // same file, so that the output can never be written over the input it was made from.
        const bool streamEnd = input.kind == Kind::kStream || output->kind == Kind::kStream;
        const bool twoFiles = input.kind == Kind::kFile && output->kind == Kind::kFile;
        if (!streamEnd && (Trimmed(input.name) == trimmedOutput ||
                           (twoFiles && probe->SameExistingFile(std::string(input.name), std::string(output->name))))) {
            return failed(rsZelfdeNaam);
        }
    }
    if (!HasData(document.Text())) return failed(rsGeenGegevens);
    return std::nullopt;
}

}  // namespace halvern
