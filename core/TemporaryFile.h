#pragma once
#include <filesystem>
#include <string_view>

#include "core/FileHandles.h"

namespace halvern {

// The file a save writes before it is renamed over its target: a new file beside the target
// that nobody else has, removed again unless it is kept. Failures throw IoError.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::filesystem::path& path() const { return path_; }

    void Write(std::string_view bytes);
    // Closing can report a write the system had delayed, so its result counts.
    void Close();
    // The file was renamed into place: it is no longer removed.
    void Keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    UniqueFd fd_;
    bool kept_ = false;
};

}  // namespace halvern
