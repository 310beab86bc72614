#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/FileHandles.h"
#include "core/SystemCalls.h"
#include "core/Utf16Text.h"

namespace halvern {
namespace {

// Reading goes in chunks small enough for each to be checked while it is still in the cache.
constexpr std::size_t kChunkSize = std::size_t{1} << 20;

// Reads the rest of stream into buffer. expected is the likely number of bytes (the file's size, 0
// when unknown): room for them and one more is made at once, so the end of a file that did not
// change is seen without growing. False on a read error, or when the bytes hold a byte 0 and are
// no UTF-16: such a file is no text, and the caller keeps its old text rather than a mangled one.
// Otherwise how the bytes are written.
std::optional<TextEncoding> ReadAll(std::FILE* stream, std::size_t expected, DocumentBuffer& buffer) {
    bool sawZero = false;
    buffer.Reserve(expected < SIZE_MAX ? expected + 1 : expected);
    for (;;) {
        std::size_t room = buffer.Capacity() - buffer.Text().size();
        if (room == 0) {
            if (buffer.Capacity() > SIZE_MAX / 2) throw std::bad_alloc();
            buffer.Reserve(std::max(2 * buffer.Capacity(), kChunkSize));
            room = buffer.Capacity() - buffer.Text().size();
        }
        const std::size_t wanted = std::min(room, kChunkSize);
        const std::size_t n = std::fread(buffer.End(), 1, wanted, stream);
        // Each chunk is looked at while it is still in the cache.
        sawZero = sawZero || std::memchr(buffer.End(), 0, n) != nullptr;
        buffer.Extend(n);
        if (n < wanted) break;
    }
    if (std::ferror(stream) != 0) return std::nullopt;
    return TextEncodingOf(buffer.Text(), sawZero);
}

}  // namespace

bool LoadDocument(const std::filesystem::path& fileName, DocumentBuffer& buffer, TextEncoding& encoding,
                  int* openError) {
    if (openError != nullptr) *openError = 0;
    try {
        errno = 0;
        UniqueStream file(os::OpenForReading(fileName));
        if (!file) {
            if (openError != nullptr) *openError = errno != 0 ? errno : EIO;
            return false;
        }
        // The stream's own buffer would only add a copy: the chunks are large.
        std::setvbuf(file.get(), nullptr, _IONBF, 0);

        std::error_code sizeError;
        const std::uintmax_t size = std::filesystem::file_size(fileName, sizeError);
        DocumentBuffer fresh;
        const std::optional<TextEncoding> found =
            ReadAll(file.get(), !sizeError && size < SIZE_MAX ? static_cast<std::size_t>(size) : 0, fresh);
        if (!found || std::fclose(file.release()) != 0) return false;
        buffer = std::move(fresh);
        encoding = *found;
        return true;
    } catch (const std::exception&) {  // memory exhausted: the old bytes stay
        return false;
    }
}

bool LoadDocument(std::FILE* stream, DocumentBuffer& buffer, TextEncoding& encoding) {
    if (stream == nullptr) return false;
    // Standard input starts in text mode on Windows, which would turn CR LF into LF.
    os::UseBinaryMode(stream);
    try {
        DocumentBuffer fresh;
        const std::optional<TextEncoding> found = ReadAll(stream, 0, fresh);
        if (!found) return false;
        buffer = std::move(fresh);
        encoding = *found;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace halvern
