#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/Renumber.h"
#include "core/Utf16Text.h"

namespace halvern {

// Appends one line per renamed identifier to map: tag, old identifier and new identifier,
// separated by tabs and ended by '\n'. Identifiers from a malformed file may hold any byte, so
// backslash, tab, line ends and other control bytes are written as \\, \t, \n, \r and \xHH: every
// line stays one line of three fields. The identifiers of a text in encoding are shown as a user
// reads them (ShownText: a UTF-16 file's in UTF-8).
void AppendMapLines(std::string& map, std::string_view tag, const std::vector<Renumbering>& changes,
                    TextEncoding encoding = TextEncoding::kEightBit);

}  // namespace halvern
