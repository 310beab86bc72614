#pragma once
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Utf16Text.h"

namespace halvern {

// A failed save. code() is the program's I/O code: 2 file not found, 3 invalid file name,
// 4 too many open files, 5 access denied, 101 disk full, otherwise the system's own code.
// what() is the matching description ("File not found", ..., "I/O error 17").
class IoError : public std::runtime_error {
public:
    explicit IoError(int code);
    int code() const noexcept { return code_; }

private:
    int code_;
};

// The description that goes with an I/O code.
std::string IoErrorDescription(int code);

class DocumentBuffer;

// Reads the whole file into buffer, which is filled as the file is read (no copy, nothing set
// first). encoding becomes how the file is written: UTF-16 (buffer then holds its bytes, not its
// working text, see Utf16Text.h) or kEightBit for any other file. Returns false, and leaves buffer
// and encoding exactly as they were, when the file cannot be opened or read, or holds a byte 0
// without being UTF-16 (binary). With openError given, *openError becomes the C runtime's error
// number when the file could not be opened, and 0 otherwise (also when it opened but could not
// be read or is no text).
bool LoadDocument(const std::filesystem::path& fileName, DocumentBuffer& buffer, TextEncoding& encoding,
                  int* openError = nullptr);

// The same for an already opened stream (standard input), read to its end and left open. On
// Windows the stream is switched to binary mode first.
bool LoadDocument(std::FILE* stream, DocumentBuffer& buffer, TextEncoding& encoding);

// Writes text to fileName: into a new temporary file beside the target, then renamed over it, so a
// failure never leaves a half-written file where an earlier one stood. Throws IoError.
// A file that is replaced passes its permission bits on; a symbolic link is followed and the file
// it points at is replaced; a file the user may not write is refused (code 5) even where the folder
// would allow replacing it; a device or pipe is written to directly. Nothing is flushed to the
// disk beyond what closing the file does.
void SaveDocument(const std::filesystem::path& fileName, std::string_view text);

// Makes the text of a document piece by piece: calls write with each piece, in order. Each piece
// becomes one write to the file, so the pieces should be large (a run's WriteTo gives blocks).
using DocumentProducer = std::function<void(const std::function<void(std::string_view)>& write)>;

// The same for a text that is made while it is written, so it never has to be whole in memory.
// When produce throws, the target stays as it was, the temporary file is removed and the
// exception passes on.
void SaveDocument(const std::filesystem::path& fileName, const DocumentProducer& produce);

class TemporaryFile;

// A save held back before its last step, for files that must all be whole before any of them
// replaces what stood there: the constructor does what SaveDocument does up to the rename (the
// whole text in the temporary file beside the target), and Commit renames it into place. Without
// Commit, or when Commit fails, the temporary file goes with the object and the target stays as it
// was. A device or a pipe is written at once, and Commit has nothing left to do. Throws IoError.
class StagedSave {
public:
    StagedSave(const std::filesystem::path& fileName, std::string_view text);
    StagedSave(const std::filesystem::path& fileName, const DocumentProducer& produce);
    StagedSave(const StagedSave&) = delete;
    StagedSave& operator=(const StagedSave&) = delete;
    ~StagedSave();

    void Commit();

private:
    std::filesystem::path target_;
    std::unique_ptr<TemporaryFile> temporary_;  // none for a device or pipe, and once committed
};

}  // namespace halvern
