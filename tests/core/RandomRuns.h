#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/IdentifierForm.h"

namespace halvern::testing {

// A run as the random tests pick them.
struct RandomRun {
    std::string tag;
    IdentifierForm form;
    std::int32_t startNumber = 1;
};

// Byte soup from the pieces that decide how runs of several types meet: "@", blanks, tags that
// are prefixes of each other (SOUR, SOURCE), identifiers that look like new ones of short widths,
// identifiers that begin with a blank. Definitions of several types come up often.
std::string RandomSoup(std::mt19937& random);

// Two to four runs of tags from the soup, with prefixes that may be alike or the beginning of each
// other, widths 1 to 3 (so that new identifiers meet the soup's) and small or extreme start numbers.
std::vector<RandomRun> RandomRunList(std::mt19937& random);

}  // namespace halvern::testing
