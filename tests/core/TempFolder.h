#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace halvern::testing {

// A fresh, empty folder for one test, removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // The names of the entries directly in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

// True when the process runs as root (POSIX), where file permissions do not stop it.
bool RunningAsRoot();

}  // namespace halvern::testing
