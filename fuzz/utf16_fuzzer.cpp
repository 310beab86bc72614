// UTF-16 bytes through their working text and back. Promises:
// - any bytes come back exactly as they were, in either byte order;
// - the working text has no byte 0, and as many "@" and blanks as the file has such units;
// - after a renumbering of the working text the result still converts back, and converting that
//   once more gives the same working text.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/Renumber.h"
#include "core/Utf16Text.h"
#include "fuzz/FuzzInput.h"

namespace {

using halvern::fuzz::Require;

std::size_t UnitsAlike(const std::string& bytes, char ascii, bool bigEndian) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char high = bigEndian ? bytes[i] : bytes[i + 1];
        const char low = bigEndian ? bytes[i + 1] : bytes[i];
        count += high == 0 && low == ascii ? 1 : 0;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    halvern::fuzz::FuzzInput input(data, size);
    const bool bigEndian = input.Byte() & 1;
    const std::string bytes(input.Rest());
    (void)halvern::DetectTextEncoding(bytes);
    const auto encoding = bigEndian ? halvern::TextEncoding::kUtf16Be : halvern::TextEncoding::kUtf16Le;

    const std::string working = halvern::ToWorkingText(bytes, encoding);
    Require(working.find('\0') == std::string::npos, "a byte 0 in the working text");
    Require(static_cast<std::size_t>(std::count(working.begin(), working.end(), '@')) == UnitsAlike(bytes, '@', bigEndian),
            "the working text has other \"@\" than the file");
    Require(static_cast<std::size_t>(std::count(working.begin(), working.end(), ' ')) == UnitsAlike(bytes, ' ', bigEndian),
            "the working text has other blanks than the file");
    Require(halvern::FromWorkingText(working, encoding) == bytes, "the bytes did not come back");

    std::string renumbered = working;
    halvern::NullRenumberSink sink;
    try {
        halvern::RenumberRecords(renumbered, "INDI", "I", 1, sink);
    } catch (const halvern::RunRefused&) {
        return 0;
    }
    std::string back;
    try {
        back = halvern::FromWorkingText(renumbered, encoding);
    } catch (const halvern::WorkingTextError&) {
        halvern::fuzz::Broken("a renumbered working text does not convert back");
    }
    Require(halvern::ToWorkingText(back, encoding) == renumbered, "a renumbered text changed on its way back");
    return 0;
}
