// QuickSearchPos against the plainest possible search: every window from the start, compared byte
// by byte. The text handed over is a buffer of exactly textLength bytes, so AddressSanitizer catches
// a read past the counted bytes.
#include <cstring>
#include <memory>
#include <string_view>

#include "core/QuickSearch.h"
#include "fuzz/FuzzInput.h"

namespace {

std::size_t NaiveSearch(std::string_view text, std::string_view pattern, std::size_t start, std::size_t textLength) {
    if (pattern.empty()) return start;
    for (std::size_t s = start - 1; s + pattern.size() <= textLength; ++s) {
        if (std::memcmp(text.data() + s, pattern.data(), pattern.size()) == 0) return s + 1;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace halvern::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::size_t start = 1 + input.Byte();
    const std::size_t cut = input.Byte() % 8;  // bytes after the counted length that must be ignored
    const std::size_t patternLength = (std::size_t{input.Byte()} << 8 | input.Byte()) % 1024;

    std::string_view pattern;
    std::string_view text;
    if (shape & 1) {
        // The pattern is a piece of the text, so long patterns (wide shift tables) are found too.
        text = input.Rest();
        const std::size_t from = text.empty() ? 0 : (std::size_t{shape} * 37) % text.size();
        pattern = text.substr(from, patternLength);
        if (pattern.empty()) pattern = text.substr(0, 1);
    } else {
        pattern = input.Take(patternLength % 64);
        text = input.Rest();
    }
    const std::size_t textLength = text.size() > cut ? text.size() - cut : 0;

    // An exact-size copy of the counted bytes: reading one byte more is a heap overflow.
    const auto exact = std::make_unique<char[]>(textLength + 1);
    std::memcpy(exact.get(), text.data(), textLength);
    const std::string_view counted(exact.get(), textLength);

    const std::size_t expected = NaiveSearch(counted, pattern, start, textLength);
    Require(halvern::QuickSearchPos(counted, pattern, start, textLength) == expected, "differs from a naive search");
    Require(halvern::QuickSearchPos(text, pattern, start, textLength) == expected,
            "looked at bytes beyond the text length");
    return 0;
}
