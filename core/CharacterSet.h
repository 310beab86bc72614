#pragma once
#include <string_view>

#include "core/Utf16Text.h"

namespace halvern {

// How the letters of a file are written, as far as comparing names cares.
enum class CharacterSet {
    kUtf8,         // UTF-8, and the working text of a UTF-16 file, which writes every unit like UTF-8
    kWindows1252,  // Windows-1252 (ANSI), and ISO-8859-1, whose letters are the same bytes
    kOther,        // any other (ANSEL, a DOS or Macintosh code page): only A-Z and a-z are known
};

// The character set of a text whose bytes are encoded as encoding (for UTF-16, text is the working
// text). In this order:
// - a UTF-16 file, or a text that starts with the UTF-8 mark EF BB BF: UTF-8;
// - the value of the first "1 CHAR" line of the header (the record of the text's first line when
//   that is "0 HEAD"), in any letter case: UTF-8 or UTF8 is UTF-8; ANSI, WINDOWS-1252, CP1252,
//   ISO-8859-1, ISO8859-1, LATIN1 and IBM WINDOWS are Windows-1252; ASCII, UNICODE (which an 8-bit
//   file cannot be) and an empty value say nothing of the bytes above 127 and count as no line;
//   any other value (ANSEL, IBMPC, MACINTOSH, ...) is another character set;
// - without such a line (GEDCOM 7 has none): UTF-8 when the whole text is valid UTF-8, else
//   Windows-1252, which every byte sequence is.
CharacterSet DetectCharacterSet(std::string_view text, TextEncoding encoding);

}  // namespace halvern
