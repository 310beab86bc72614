#include <cstring>
#include <memory>
#include <new>

#include "core/Document.h"
#include "core/FileHandles.h"
#include "core/LargeBuffer.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace halvern {
namespace {

constexpr std::size_t kBlockSize = 65536;

// Appends the rest of stream to text, block by block. False on a read error, or when a block holds
// a byte 0: such a file is no 8-bit text (UTF-16 files are full of them), and the caller keeps its
// old text rather than a mangled one.
bool ReadAllBlocks(std::FILE* stream, std::string& text) {
    const auto block = std::make_unique<char[]>(kBlockSize);
    for (;;) {
        const std::size_t n = std::fread(block.get(), 1, kBlockSize, stream);
        if (std::memchr(block.get(), 0, n) != nullptr) return false;
        text.append(block.get(), n);
        if (n < kBlockSize) return std::ferror(stream) == 0;
    }
}

std::FILE* OpenForReading(const std::filesystem::path& fileName) {
#ifdef _WIN32
    return _wfopen(fileName.c_str(), L"rb");
#else
    return std::fopen(fileName.c_str(), "rb");
#endif
}

}  // namespace

bool LoadDocument(const std::filesystem::path& fileName, std::string& text) {
    try {
        UniqueStream file(OpenForReading(fileName));
        if (!file) return false;

        // Room for the whole file at once, so the text never has to grow (and for a moment exist
        // twice) while it is read.
        std::string fresh;
        std::error_code sizeError;
        const std::uintmax_t size = std::filesystem::file_size(fileName, sizeError);
        if (!sizeError && size < fresh.max_size()) ReserveLarge(fresh, static_cast<std::size_t>(size));

        if (!ReadAllBlocks(file.get(), fresh)) return false;
        if (std::fclose(file.release()) != 0) return false;
        text.swap(fresh);
        return true;
    } catch (const std::exception&) {  // memory exhausted: the old text stays
        return false;
    }
}

bool LoadDocument(std::FILE* stream, std::string& text) {
    if (stream == nullptr) return false;
#ifdef _WIN32
    // Standard input starts in text mode, which would turn CR LF into LF.
    _setmode(_fileno(stream), _O_BINARY);
#endif
    try {
        std::string fresh;
        if (!ReadAllBlocks(stream, fresh)) return false;
        text.swap(fresh);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace halvern
