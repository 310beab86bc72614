#pragma once
#include <string>
#include <string_view>

#include "core/CharacterSet.h"

namespace halvern {

// Appends text as a reader looks it up in an index, so that comparing the bytes of two such forms
// compares the texts without case and accents:
// - in UTF-8 and Windows-1252 the Latin letters lose case and accents (À to a, Ç to c, Ł to l),
//   the letters written as two are spelled out (Æ ae, Œ oe, ß ss, Þ th, the Dutch Ĳ ij),
//   combining accents (U+0300 to U+036F) are left out, and Greek and Cyrillic capitals become
//   small; every other character is appended as UTF-8, so characters compare by code point;
// - in another character set only A-Z become a-z, every other byte stays;
// - in all of them blanks, tabs (and in UTF-8 and Windows-1252 the no-break space) become one blank
//   between words and none at the ends, and other control bytes are left out. So the form holds
//   no byte below 0x20, and a caller may join several with such bytes between them.
// A byte that is not part of a valid UTF-8 sequence in a UTF-8 text is appended as it is.
void AppendLookupForm(std::string& out, std::string_view text, CharacterSet set);

}  // namespace halvern
