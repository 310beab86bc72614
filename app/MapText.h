#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Renumber.h"
#include "core/Utf16Text.h"

namespace halvern {

// Appends field to out as a field of the map: identifiers from a malformed file may hold any byte,
// so backslash, tab, line ends and other control bytes are written as \\, \t, \n, \r and \xHH, and
// every line stays one line of its fields. app/KeepList.h reads them back.
void AppendMapField(std::string& out, std::string_view field);

// Appends one line of the map: the record's type, its old identifier, its new identifier and its
// own unique identifier (empty when it has none), separated by tabs and ended by '\n'.
void AppendMapLine(std::string& map, std::string_view tag, std::string_view oldId, std::string_view newId,
                   std::string_view uniqueId);

// Appends one line per renamed identifier of a run (AppendMapLine); uniqueIds holds each entry's
// unique identifier by its place in the run's list (Renumbering::index), or is empty. The
// identifiers of a text in encoding are shown as a user reads them (ShownText: a UTF-16 file's in
// UTF-8).
void AppendMapLines(std::string& map, std::string_view tag, const std::vector<Renumbering>& changes,
                    std::span<const std::string_view> uniqueIds = {}, TextEncoding encoding = TextEncoding::kEightBit);

}  // namespace halvern
