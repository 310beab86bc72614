// UTF-16 files: recognised, turned into a working text the engine runs on, and back, byte for
// byte; a renumbering through the working text is the renumbering of the same file in UTF-8.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <tuple>
#include <random>
#include <string>

#include "core/Renumber.h"
#include "core/Utf16Text.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

using namespace std::string_literals;

std::string Units(const std::u16string& units, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(Utf16Text, EncodingsAreRecognisedByTheirMarkOrTheirHeader) {
    struct Case {
        std::string bytes;
        TextEncoding expected;
    };
    const Case cases[] = {
        {"\xFF\xFE" + Units(u"0 HEAD", false), TextEncoding::kUtf16Le},
        {"\xFE\xFF" + Units(u"0 HEAD", true), TextEncoding::kUtf16Be},
        {Units(u"0 HEAD\r\n", false), TextEncoding::kUtf16Le},
        {Units(u"0 HEAD\r\n", true), TextEncoding::kUtf16Be},
        {"\xFF\xFE", TextEncoding::kUtf16Le},
        {"0 HEAD\r\n", TextEncoding::kEightBit},
        {"\xEF\xBB\xBF" "0 HEAD", TextEncoding::kEightBit},
        {Units(u"0 HEA", false), TextEncoding::kEightBit},
        {"", TextEncoding::kEightBit},
    };
    for (const Case& c : cases) EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected) << c.bytes.size();
}

TEST(Utf16Text, AnyBytesComeBackAsTheyWere) {
    // Random units, with the ones that matter more often than their share: ASCII, 0, the mark,
    // both halves of surrogates, the edges of the one, two and three byte forms; odd lengths too.
    std::mt19937 random(2024);
    const char16_t special[] = {0, 1, u'@', u' ', u'\r', u'\n', 0x7F, 0x80, 0x7FF, 0x800, 0xFEFF, 0xFFFE,
                                0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFF};
    for (int round = 0; round < 2000; ++round) {
        std::u16string units;
        const std::size_t length = random() % 40;
        for (std::size_t i = 0; i < length; ++i) {
            units += random() % 2 == 0 ? special[random() % std::size(special)] : static_cast<char16_t>(random() % 0x10000);
        }
        for (const TextEncoding encoding : {TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
            std::string bytes = Units(units, encoding == TextEncoding::kUtf16Be);
            if (round % 3 == 0) bytes += static_cast<char>(random() % 256);
            const std::string working = ToWorkingText(bytes, encoding);
            EXPECT_EQ(working.find('\0'), std::string::npos);
            // Every "@" and blank of the working text is one in the file, and the other way round.
            EXPECT_EQ(std::count(working.begin(), working.end(), '@'), std::count(units.begin(), units.end(), u'@'));
            EXPECT_EQ(std::count(working.begin(), working.end(), ' '), std::count(units.begin(), units.end(), u' '));
            ASSERT_EQ(FromWorkingText(working, encoding), bytes);
        }
    }
}

TEST(Utf16Text, WhatNoWorkingTextHoldsIsRefused) {
    for (const std::string& bad : {"a\0b"s, "\x80"s, "\xC1\x81"s, "\xE0\x80\x80"s, "\xE0\x80"s, "\xF8\x80\x80x"s,
                                   "\xF8\x84\x80"s, "\xFF"s}) {
        EXPECT_THROW(FromWorkingText(bad, TextEncoding::kUtf16Le), WorkingTextError) << bad;
    }
    EXPECT_EQ(FromWorkingText("a\0b"s, TextEncoding::kEightBit), "a\0b"s);
}

// A GEDCOM text in UTF-8 with names beyond ASCII, identifiers among them, and every line end.
const std::string kUtf8Gedcom =
    "0 HEAD\r\n1 CHAR UNICODE\r\n"
    "0 @I7@ INDI\r\n1 NAME Ĳsbrand /Öztürk/\n1 FAMS @F1@\r"
    "0 @Ï2@ INDI\r\n1 NAME 王 /小明/ 𝄞\r\n1 NOTE e-mail a@@b.example\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I7@\r\n1 WIFE @Ï2@\r\n"
    "0 TRLR\r\n";

// Runs iconv on the bytes of in; nothing when there is no iconv program to run.
std::optional<std::string> Iconv(const std::string& in, const char* from, const char* to) {
#if defined(_WIN32)
    (void)in, (void)from, (void)to;
    return std::nullopt;
#else
    const testing::TempFolder folder;
    testing::WriteBytes(folder / "in", in);
    const std::string command = "iconv -f "s + from + " -t " + to + " '" + (folder / "in").string() + "' > '" +
                                (folder / "out").string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return testing::ReadBytes(folder / "out");
#endif
}

TEST(Utf16Text, RenumberingTheWorkingTextIsRenumberingTheFileInUtf8) {
    std::string renumbered = kUtf8Gedcom;
    NullRenumberSink sink;
    RenumberRecords(renumbered, "INDI", "I", 1, sink);
    for (const auto& [name, encoding, mark] : {std::tuple{"UTF-16LE", TextEncoding::kUtf16Le, "\xFF\xFE"s},
                                               std::tuple{"UTF-16BE", TextEncoding::kUtf16Be, "\xFE\xFF"s}}) {
        SCOPED_TRACE(name);
        const std::optional<std::string> file = Iconv(kUtf8Gedcom, "UTF-8", name);
        const std::optional<std::string> expected = Iconv(renumbered, "UTF-8", name);
        if (!file || !expected) GTEST_SKIP() << "no iconv here";
        for (const std::string& withMark : {*file, mark + *file}) {
            ASSERT_EQ(DetectTextEncoding(withMark), encoding);
            std::string working = ToWorkingText(withMark, encoding);
            EXPECT_EQ(RenumberRecords(working, "INDI", "I", 1, sink), 2u);
            EXPECT_EQ(FromWorkingText(working, encoding), withMark.substr(0, withMark.size() - file->size()) + *expected);
        }
    }
}

}  // namespace
}  // namespace halvern
