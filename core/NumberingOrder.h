#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/CharacterSet.h"

namespace halvern {

// The order in which the records of a run get their new numbers.
enum class NumberingOrder {
    kDefinition,  // the order in which the records are defined: the numbering of every run so far
    kOld,         // by the number in the old identifier
    kName,        // by name, as a Dutch reader looks a person up
};

// "definition", "old" or "name", as a user writes them; nothing for anything else.
std::optional<NumberingOrder> NumberingOrderNamed(std::string_view name);

// The rank of each record of one run in the order of its new numbers: ranks[i] is the place (from
// 0) of definitions[i] in that order, and the ranks are a permutation of 0 .. n - 1.
// definitions are the identifiers of the run's definitions in the order in which they stand, as
// the engine collects them for tag: views into text (std::invalid_argument otherwise). A record
// defined twice is in the list twice, each entry with its own record. set is the text's character
// set (DetectCharacterSet).
//
// - kDefinition: ranks[i] == i.
// - kOld: by the number the digits of the identifier spell together ("@I2@" before "@I10@",
//   "@A1B2@" is 12, any length), then by the identifier's bytes ("@I02@" before "@I2@");
//   identifiers without a digit come after all others, by their bytes.
// - kName: INDI by surname, then given names, from the value of the first NAME line of level 1
//   ("Jan /de Vries/": the surname between the slashes, the given names the rest). The surname is
//   taken without its prefix: the value of the first SPFX line of level 2 under that NAME where its
//   lookup form begins the surname's, otherwise the leading words of the surname written in small
//   letters that are Dutch (and a few French and German) prefixes (van, de, der, den, het, 't, ter,
//   ten, te, op, in, ...), but never its last word; so "Jan /de Vries/" stands under V and
//   "Jan /De Vries/" (the Flemish way) under D. FAM by the husband's key, then the wife's (the INDI
//   records that the first HUSB and WIFE lines of level 1 point at, their first definition where one
//   is defined twice); a family without a husband with a key comes after those with one. SOUR by
//   the first TITL line of level 1; REPO and SUBM by their first NAME line of level 1; every other
//   type as kOld. Texts are compared in their lookup form (AppendLookupForm): without case and
//   accents in UTF-8 and Windows-1252, without case in another character set. Records without a
//   key (no such line, or an empty value) come last.
// Records with equal keys, and those without a key, keep the order of their definitions.
std::vector<std::size_t> NumberingRanks(std::string_view text, std::string_view tag,
                                        std::span<const std::string_view> definitions, NumberingOrder order,
                                        CharacterSet set);

}  // namespace halvern
