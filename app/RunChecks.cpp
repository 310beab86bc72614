#include "app/RunChecks.h"

#include <filesystem>
#include <system_error>

namespace halvern {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// The text without the blanks and control characters at both ends.
std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

bool FilesystemProbe::IsExistingFile(const std::string& name) const {
    if (name.empty()) return false;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(name), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool FilesystemProbe::SameExistingFile(const std::string& first, const std::string& second) const {
    if (first.empty() || second.empty()) return false;
    std::error_code error;
    const bool same =
        std::filesystem::equivalent(std::filesystem::path(first), std::filesystem::path(second), error);
    return !error && same;
}

bool HasData(std::string_view text) { return !Trimmed(text).empty(); }

std::optional<ResString> FirstFailingCheck(const std::string& inputName, const std::string& outputName,
                                           std::string_view text, const FileProbe& probe) {
    if (!probe.IsExistingFile(inputName)) return rsGeenInvoer;

    const std::string_view trimmedOutput = Trimmed(outputName);
    if (trimmedOutput.empty()) return rsGeenUitvoer;

    // Equal names are refused as typed; different names are refused too when they reach the same
    // file, so that the output can never be written over the input it was made from.
    if (Trimmed(inputName) == trimmedOutput || probe.SameExistingFile(inputName, outputName)) {
        return rsZelfdeNaam;
    }

    if (!HasData(text)) return rsGeenGegevens;
    return std::nullopt;
}

}  // namespace halvern
