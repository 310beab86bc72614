#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/Document.h"
#include "core/DocumentBuffer.h"

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
// LoadDocument for a file or stream whose bytes are to be an 8-bit text: false, and text as it
// was, also for UTF-16.
template <typename From>
bool LoadText(From&& from, std::string& text) {
    DocumentBuffer buffer;
    TextEncoding encoding = TextEncoding::kEightBit;
    if (!LoadDocument(from, buffer, encoding) || encoding != TextEncoding::kEightBit) return false;
    text.assign(buffer.Text());
    return true;
}
std::string ReadBytes(const std::filesystem::path& file);

// True when the process runs as root (POSIX), where file permissions do not stop it.
bool RunningAsRoot();

}  // namespace halvern::testing
