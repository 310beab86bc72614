#pragma once
#include <filesystem>
#include <string_view>

#include "core/FileHandles.h"

namespace halvern {

// The file a save writes before it is renamed over its target: a new file beside the target,
// named after it (".uit.ged.<16 hex digits>.halvern" beside "uit.ged"), guarded while the save
// runs (os::CreateGuardedFile) and removed again unless it is kept. Failures throw IoError.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::filesystem::path& path() const { return path_; }

    void Write(std::string_view bytes);
    // Closing can report a write the system had delayed, so its result counts. The file stays
    // guarded where the system allows that, until this object goes.
    void Close();
    // The file was renamed into place: it is no longer removed.
    void Keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    UniqueFd fd_;
    UniqueFd guard_;
    bool kept_ = false;
};

// Removes the temporary files that earlier saves to target left behind when they were killed
// half-way (power loss, kill -9). Only names of exactly target's pattern are looked at, and the
// file of a save that is still running is guarded and stays. Fails quietly.
void RemoveAbandonedTemporaryFiles(const std::filesystem::path& target);

}  // namespace halvern
