// UTF-16 bytes through their working text and back. Promises:
// - any bytes come back exactly as they were, in either byte order;
// - the working text has no byte 0, and as many "@" and blanks as the file has such units;
// - after a renumbering of the working text the result still converts back, and converting that
//   once more gives the same working text;
// - the text as a user is shown it (ShownText) is the file's text in UTF-8, read here straight from
//   its bytes: surrogate pairs joined, any other surrogate and an odd last byte as U+FFFD.
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

void PutUtf8(std::string& out, char32_t c) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        out += byte(c);
    } else if (c < 0x800) {
        out += {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        out += {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    } else {
        out += {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    }
}

std::string Utf8Of(const std::string& bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    const auto high = [](char32_t u) { return u >= 0xD800 && u < 0xDC00; };
    const auto low = [](char32_t u) { return u >= 0xDC00 && u < 0xE000; };
    std::string text;
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        if (high(unit(i)) && i + 1 < units && low(unit(i + 1))) {
            PutUtf8(text, 0x10000 + ((unit(i) - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            PutUtf8(text, high(unit(i)) || low(unit(i)) ? 0xFFFD : unit(i));
        }
    }
    if (bytes.size() % 2 != 0) PutUtf8(text, 0xFFFD);
    return text;
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
    Require(halvern::ShownText(working, encoding) == Utf8Of(bytes, bigEndian), "the text shown is not the file's");

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
