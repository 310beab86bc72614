#pragma once
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace halvern {

// How the bytes of a file encode its text, as far as the renumbering cares.
enum class TextEncoding {
    kEightBit,  // ASCII, ANSEL, UTF-8, a code page: the engine runs on the bytes as they are
    kUtf16Le,   // UTF-16, little-endian
    kUtf16Be,   // UTF-16, big-endian
};

// kUtf16Le or kUtf16Be for bytes that start with that byte order mark (FF FE or FE FF), or without
// a mark with "0 HEAD" written in 16-bit units (every other byte 0); kEightBit otherwise.
TextEncoding DetectTextEncoding(std::string_view bytes);

// How the bytes of a document are written (DetectTextEncoding), or nothing when they are no text
// at all: they hold a byte 0 (holdsZero, which the caller has seen) and are no UTF-16 (binary).
std::optional<TextEncoding> TextEncodingOf(std::string_view bytes, bool holdsZero);

// The working text of a UTF-16 file: an 8-bit text on which the engine runs unchanged. Each 16-bit
// code unit is written on its own: 1 to 127 as that byte, every other unit (0, the byte order
// mark, surrogates paired or not) as 2 or 3 bytes from 0x80 up, the way UTF-8 writes a code point
// (0 as C0 80). So every "@", blank and line end of the file stands in the working text as the
// same single byte, no other unit can be mistaken for one, and no byte 0 appears. An odd last byte
// of the file is kept at the end as F8 followed by two bytes from 0x80 up. For kEightBit the text
// is bytes itself.
std::string ToWorkingText(std::string_view bytes, TextEncoding encoding);

// A working text made by ToWorkingText, with any ASCII put in (a renumbering replaces whole
// stretches from "@" to "@" by ASCII), back into the file's encoding: every unit not replaced comes
// back as the bytes it was, every ASCII byte becomes one unit. WorkingTextError when text is no
// such working text.
std::string FromWorkingText(std::string_view text, TextEncoding encoding);

// A piece of a working text, the identifiers of a map or a report, as a user reads it: for
// kEightBit the bytes as they are; for UTF-16 in UTF-8, each code point as the file has it (a
// surrogate pair as the one character it makes, unit 0 as byte 0), a surrogate without its
// partner (or the odd last byte) as U+FFFD. WorkingTextError when text is no such piece.
std::string ShownText(std::string_view text, TextEncoding encoding);

// The other way: UTF-8 text (a field of a map) as the working text of a UTF-16 file writes it, so
// that it compares with the file's identifiers byte for byte. A byte that is no part of a valid
// UTF-8 sequence becomes U+FFFD, as ShownText shows a lone surrogate.
std::string WorkingTextOfShown(std::string_view utf8);

// A working text that ToWorkingText cannot have made. offset() is where the bad sequence starts.
class WorkingTextError : public std::runtime_error {
public:
    explicit WorkingTextError(std::size_t offset);
    std::size_t offset() const noexcept { return offset_; }

private:
    std::size_t offset_;
};

}  // namespace halvern
