#include "tests/core/RandomRuns.h"

#include <array>
#include <limits>
#include <string_view>

namespace halvern::testing {
namespace {

constexpr std::array<std::string_view, 6> kTags{"INDI", "FAM", "SOUR", "SOURCE", "_X", "NOTE"};
constexpr std::array<std::string_view, 7> kPrefixes{"I", "F", "S", "X", "I0", "I1", "S0"};

}  // namespace

std::string RandomSoup(std::mt19937& random) {
    static const std::array<std::string_view, 26> kPieces{
        "@", "@", "@", "@", "@", " ", " ", " ", "\n", "\r\n", "0", "1", "2", "-", "x", "I", "F", "S",
        "@I1@", "@F2@", "@I01@", "@S0@", "@ x@", "@ I", "SOURCE", "INDI"};
    std::string text;
    const std::size_t pieces = random() % 50;
    for (std::size_t i = 0; i < pieces; ++i) {
        if (random() % 4 == 0) {
            text += "@ ";
            text += kTags[random() % kTags.size()];
            text += random() % 3 == 0 ? "\n" : " ";
        }
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

std::vector<RandomRun> RandomRunList(std::mt19937& random) {
    std::vector<RandomRun> runs(2 + random() % 3);
    for (RandomRun& run : runs) {
        run.tag = std::string(kTags[random() % kTags.size()]);
        run.form.prefix = std::string(kPrefixes[random() % kPrefixes.size()]);
        run.form.width = 1 + static_cast<int>(random() % 3);
        switch (random() % 4) {
            case 0: run.startNumber = 1; break;
            case 1: run.startNumber = static_cast<std::int32_t>(random() % 12) - 3; break;
            case 2: run.startNumber = 95; break;
            default: run.startNumber = std::numeric_limits<std::int32_t>::max() - 1; break;
        }
    }
    return runs;
}

}  // namespace halvern::testing
