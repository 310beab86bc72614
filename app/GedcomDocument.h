#pragma once
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/DocumentBuffer.h"
#include "core/Utf16Text.h"

namespace halvern {

class FileProbe;

// Why a file did not become the document: it could not be opened (message names the file and
// says why, CannotOpenText), or it was read but holds no GEDCOM text (message: rsVerkeerdFormaat).
struct LoadFailure {
    bool notOpened = false;
    std::string message;
};

// The document a program works on (the window, halvern-cli and the page each hold one): the text
// of a GEDCOM file and how the file is written, loaded once, renumbered by RenumberJob, and saved
// in its own encoding. Its text is what the engine runs on: an 8-bit file's bytes, read straight
// into their buffer without a copy, or a UTF-16 file's working text (core/Utf16Text.h).
class GedcomDocument {
public:
    // Loads the file named (UTF-8); a name that probe finds no file to open is not tried. Nothing
    // when it loaded; else why not, and the document is empty.
    std::optional<LoadFailure> Load(const std::string& name, const FileProbe& probe);
    // The same for a stream (standard input), read to its end.
    std::optional<LoadFailure> Load(std::FILE* stream);

    // For bytes that come from elsewhere (the page's upload): empties the document and gives the
    // room for size bytes, which the caller fills before FinishLoad takes them. False, and an empty
    // document, for bytes that are no GEDCOM text; std::bad_alloc when a UTF-16 file's working text
    // does not fit.
    char* PrepareLoad(std::size_t size);
    bool FinishLoad();

    // True from a load that succeeded until the document is emptied.
    bool IsLoaded() const { return loaded_; }
    TextEncoding Encoding() const { return encoding_; }
    std::string_view Text() const { return text_.empty() ? bytes_.Text() : std::string_view(text_); }

    // text, made from the document's text (a run's result, in the same encoding), becomes it.
    void Replace(std::string text);
    // Gives up the text's memory (a job that spends the document); Replace makes it whole again.
    void Release();
    // An empty document, as before any load.
    void Clear();

    // The document as its file is written: the text itself, or for a UTF-16 file the text in
    // UTF-16 again, made in storage.
    std::string_view FileBytes(std::string& storage) const;

private:
    // Empties the document, then loads it with read (LoadDocument into bytes_ and an encoding);
    // false, and an empty document, when it did not load.
    template <typename Reader>
    bool LoadWith(const Reader& read);
    // The bytes read become the document, a UTF-16 file's as its working text.
    void Settle(TextEncoding encoding);

    DocumentBuffer bytes_;  // an 8-bit file as it was read
    std::string text_;      // or, once it is not empty, the text: a working text or a run's result
    TextEncoding encoding_ = TextEncoding::kEightBit;
    bool loaded_ = false;
};

}  // namespace halvern
