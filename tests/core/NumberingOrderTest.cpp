// The record reader, the character set of a file and the orders of numbering, on small files whose
// right order is written out by hand; the same names in UTF-8, Windows-1252 and UTF-16 must sort
// alike.
#include "core/NumberingOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/CollectIdentifiers.h"
#include "core/RecordLines.h"
#include "tests/support/GedcomGenerator.h"

namespace halvern {
namespace {

// The identifiers of tag's definitions in the order of their ranks.
std::vector<std::string> Ordered(std::string_view text, std::string_view tag, NumberingOrder order, CharacterSet set) {
    const std::vector<std::string_view> ids = CollectIdentifiers(text, tag);
    const std::vector<std::size_t> ranks = NumberingRanks(text, tag, ids, order, set);
    std::vector<std::string> ordered(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) ordered.at(ranks[i]) = ids[i];
    return ordered;
}

// UTF-8 text (code points below U+10000) as UTF-16LE, or as Windows-1252 (below U+0100).
std::string Encoded(std::string_view utf8, bool utf16) {
    std::string out;
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        unsigned unit = static_cast<unsigned char>(utf8[at]);
        const int more = unit >= 0xE0 ? 2 : unit >= 0xC0 ? 1 : 0;
        if (more > 0) unit &= 0x3FU >> more;
        for (int i = 0; i < more; ++i) unit = (unit << 6) | (static_cast<unsigned char>(utf8[++at]) & 0x3FU);
        out += static_cast<char>(unit & 0xFF);
        if (utf16) out += static_cast<char>(unit >> 8);
    }
    return out;
}

TEST(RecordLines, ReadsTheLinesOfOneRecordOnTheirBytes) {
    const std::string text =
        "0 HEAD\r0 @I1@ INDI\r\n1 NAME A /B/\n2 _UID inner\r\n1 SOUR @S1@\n2 UID citation\n1 _UID \tF00D \r\n"
        "1 UID later\n  0 @I2@ INDI\n1 UID\n1 _UID second\n0 TRLR";
    const std::vector<std::string_view> ids = CollectIdentifiers(text, "INDI");
    ASSERT_EQ(ids.size(), 2U);
    EXPECT_EQ(RecordText(text, ids[0]), text.substr(7, text.find("  0 @I2@") - 7));
    EXPECT_EQ(UniqueIdentifier(text, ids[0]), "F00D");
    EXPECT_EQ(RecordText(text, ids[1]), "  0 @I2@ INDI\n1 UID\n1 _UID second\n");
    EXPECT_EQ(UniqueIdentifier(text, ids[1]), "");  // the first such line has no value
    EXPECT_THROW(RecordText(text, std::string_view("@I1@")), std::invalid_argument);

    // A UTF-16 file whose units hold the bytes of CR, LF and "@": in its working text the record
    // ends where the file's line ends, not inside a unit.
    const std::string units = Encoded("0 @I1@ INDI\r\n1 NAME \xE0\xA8\x8D \xE0\xB4\x8A \xE0\xA9\x80\r\n1 _UID 7\r\n0 TRLR", true);
    const std::string working = ToWorkingText(units, TextEncoding::kUtf16Le);
    const std::vector<std::string_view> utf16Ids = CollectIdentifiers(working, "INDI");
    ASSERT_EQ(utf16Ids.size(), 1U);
    EXPECT_EQ(UniqueIdentifier(working, utf16Ids[0]), "7");
    EXPECT_EQ(FromWorkingText(RecordText(working, utf16Ids[0]), TextEncoding::kUtf16Le), units.substr(0, units.size() - 12));
}

TEST(RecordLines, AllUniqueIdentifiersAtOnceAsOneByOne) {
    // A generated file with lines added after random lines: unique identifiers of every level and
    // spacing, words like them, records that begin with blanks.
    const std::vector<std::string> added{"1 _UID A", "2 _UID inner", "1 UID \tB ", "1 NOTE UID x", "1 _UIDX y",
                                         "  0 @Q@ _X", "1 _UID", "0 TRLR", "01 UID C", "1  _UID D", "1 @u@ UID E"};
    std::size_t found = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const std::string generated = testsupport::GenerateGedcom({60, seed, seed % 2 == 0});
        std::mt19937 random(static_cast<unsigned>(seed));
        std::string text;
        for (std::size_t begin = 0; begin < generated.size();) {
            const std::size_t end = generated.find('\n', begin) + 1;
            text.append(generated, begin, end - begin);
            if (random() % 4 == 0) text.append(added[random() % added.size()]).append(seed % 3 ? "\n" : "\r");
            begin = end;
        }
        for (const char* tag : {"INDI", "FAM", "SOUR", "_X"}) {
            const std::vector<std::string_view> ids = CollectIdentifiers(text, tag);
            std::vector<std::string_view> oneByOne;
            for (const std::string_view id : ids) oneByOne.push_back(UniqueIdentifier(text, id));
            const auto all = UniqueIdentifiers(text, ids);
            EXPECT_TRUE(std::equal(all.begin(), all.end(), oneByOne.begin(), oneByOne.end())) << seed << tag;
            found += static_cast<std::size_t>(std::count_if(oneByOne.begin(), oneByOne.end(), [](auto id) { return !id.empty(); }));
        }
    }
    EXPECT_GT(found, 200U);
    // A single one, at every place around the first steps of 64 bytes and at the very end.
    for (std::size_t pad = 0; pad < 140; ++pad) {
        for (const std::string& after : {std::string(), "\n1 NOTE " + std::string(100, 'x')}) {
            const std::string text = "0 @I1@ INDI\n1 NOTE " + std::string(pad, 'x') + "\n1 _UID Z" + after;
            const std::vector<std::string_view> ids = CollectIdentifiers(text, "INDI");
            ASSERT_EQ(UniqueIdentifiers(text, ids).front(), "Z") << pad << " " << after.size();
        }
    }
}

TEST(CharacterSet, FromTheHeaderOrTheBytes) {
    const struct {
        std::string text;
        TextEncoding encoding;
        CharacterSet expected;
    } cases[] = {
        {"0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME \xC9\n", TextEncoding::kEightBit, CharacterSet::kUtf8},
        {"0 HEAD\n1 GEDC\n2 VERS 5.5\n1 CHAR  ansi \n0 TRLR", TextEncoding::kEightBit, CharacterSet::kWindows1252},
        {"0 HEAD\r1 CHAR ANSEL\r0 TRLR", TextEncoding::kEightBit, CharacterSet::kOther},
        {"0 HEAD\r1 CHAR IBMPC\r0 TRLR", TextEncoding::kEightBit, CharacterSet::kOther},
        {"0 HEAD\n1 CHAR ASCII\n1 NOTE Zo\xC3\xAB\n", TextEncoding::kEightBit, CharacterSet::kUtf8},
        {"0 HEAD\n1 NOTE Zo\xEB\n", TextEncoding::kEightBit, CharacterSet::kWindows1252},
        {"0 HEAD\n1 NOTE \xED\xA0\x80\n", TextEncoding::kEightBit, CharacterSet::kWindows1252},  // a surrogate
        {"0 HEAD\n2 CHAR ANSEL\n1 NOTE Zo\xC3\xAB\n", TextEncoding::kEightBit, CharacterSet::kUtf8},
        {"0 @I1@ INDI\n1 CHAR ANSEL\n", TextEncoding::kEightBit, CharacterSet::kUtf8},
        {"\xEF\xBB\xBF" "0 HEAD\n1 CHAR ANSEL\n", TextEncoding::kEightBit, CharacterSet::kUtf8},
        {"0 HEAD\n1 CHAR ANSEL\n", TextEncoding::kUtf16Be, CharacterSet::kUtf8},
    };
    for (const auto& c : cases) EXPECT_EQ(DetectCharacterSet(c.text, c.encoding), c.expected) << c.text;
}

TEST(NumberingOrder, OldByTheNumberInTheIdentifier) {
    std::string text;
    for (const char* id : {"@I10@", "@X@", "@I2@", "@I123456789012345678901@", "@I1X0@", "@I02@", "@A@",
                           "@I99999999999999999999@", "@I2@", "@I0@", "@J0@"}) {
        text.append("0 ").append(id).append(" INDI\n");
    }
    EXPECT_EQ(Ordered(text, "INDI", NumberingOrder::kOld, CharacterSet::kUtf8),
              (std::vector<std::string>{"@I0@", "@J0@", "@I02@", "@I2@", "@I2@", "@I10@", "@I1X0@",
                                        "@I99999999999999999999@", "@I123456789012345678901@", "@A@", "@X@"}));
    const std::vector<std::string_view> ids = CollectIdentifiers(text, "INDI");
    EXPECT_EQ(Ordered(text, "INDI", NumberingOrder::kDefinition, CharacterSet::kUtf8),
              std::vector<std::string>(ids.begin(), ids.end()));
}

const std::string kPeople =
    "0 @P1@ INDI\n1 NAME Jan /de Vries/\n"
    "0 @P2@ INDI\n1 NAME Piet /De Smet/\n"  // the Flemish way: under D
    "0 @P3@ INDI\n1 NAME Anna /van der Berg/\n"
    "0 @P4@ INDI\n1 NAME Kees /ten Brink/\n2 SPFX ten\n"
    "0 @P5@ INDI\n1 SEX F\n1 NAME Els /Vander Meer/\n2 GIVN Els\n2 SPFX Vander\n1 NAME Other /Aa/\n"
    "0 @P6@ INDI\n1 SEX M\n2 NAME Not /Mine/\n"
    "0 @P7@ INDI\n1 NAME \xC3\x89mile /\xC3\x85kerman/\n"
    "0 @P8@ INDI\n1 NAME jan /VRIES/\n"
    "0 @P9@ INDI\n1 NAME Zo\xC3\xAB /'t Hart/\n"
    "0 @P10@ INDI\n1 NAME Ada /van/\n"
    "0 @P11@ INDI\n1 NAME Bram //\n"
    "0 @P12@ INDI\n1 NAME Ida /\xC3\x87" "elik/\n"
    "0 @P13@ INDI\n1 NAME  Eva  /de   Vrie\xCC\x81s/ \n"  // an accent of its own (U+0301)
    "0 @P14@ INDI\n1 NAME //\n"
    "0 @P3@ INDI\n1 NAME Zed /Zulu/\n"  // defined twice: each entry by its own record
    "0 @F1@ FAM\n1 HUSB @P1@\n1 WIFE @P3@\n"
    "0 @F2@ FAM\n1 WIFE @P7@\n1 HUSB @P1@\n"
    "0 @F3@ FAM\n1 WIFE @P4@\n"
    "0 @F4@ FAM\n1 HUSB @P3@\n"
    "0 @F5@ FAM\n1 HUSB @P6@\n1 WIFE @P13@\n"
    "0 @F6@ FAM\n1 HUSB @PX@\n"
    "0 @F7@ FAM\n1 CHIL @P1@\n"
    "0 @F8@ FAM\n1 HUSB @P4@\n1 WIFE @P9@\n"
    "0 @S1@ SOUR\n1 TITL Doop\n0 @S2@ SOUR\n1 REPO @R1@\n0 @S3@ SOUR\n1 TITL akte\n"
    "0 @R2@ REPO\n1 NAME Archief\n0 @R1@ REPO\n"
    "0 @N10@ NOTE\n0 @N9@ NOTE\n0 TRLR\n";

TEST(NumberingOrder, NamesAsADutchReaderLooksThemUp) {
    const std::vector<std::string> people{"@P11@", "@P7@", "@P3@", "@P4@", "@P12@", "@P2@", "@P9@", "@P5@",
                                          "@P10@", "@P13@", "@P1@", "@P8@", "@P3@", "@P6@", "@P14@"};
    const std::vector<std::string> families{"@F4@", "@F8@", "@F2@", "@F1@", "@F3@", "@F5@", "@F6@", "@F7@"};
    const auto check = [&](std::string_view text, CharacterSet set, const char* how) {
        EXPECT_EQ(Ordered(text, "INDI", NumberingOrder::kName, set), people) << how;
        EXPECT_EQ(Ordered(text, "FAM", NumberingOrder::kName, set), families) << how;
        EXPECT_EQ(Ordered(text, "SOUR", NumberingOrder::kName, set), (std::vector<std::string>{"@S3@", "@S1@", "@S2@"}));
        EXPECT_EQ(Ordered(text, "REPO", NumberingOrder::kName, set), (std::vector<std::string>{"@R2@", "@R1@"}));
        EXPECT_EQ(Ordered(text, "NOTE", NumberingOrder::kName, set), (std::vector<std::string>{"@N9@", "@N10@"}));
    };
    const std::string utf8 = "0 HEAD\n1 CHAR UTF-8\n" + kPeople;
    check(utf8, DetectCharacterSet(utf8, TextEncoding::kEightBit), "UTF-8");
    const std::string ansi = Encoded("0 HEAD\n1 CHAR ANSI\n" + kPeople, false);
    check(ansi, DetectCharacterSet(ansi, TextEncoding::kEightBit), "Windows-1252");
    const std::string utf16 = ToWorkingText(Encoded("0 HEAD\n1 CHAR UNICODE\n" + kPeople, true), TextEncoding::kUtf16Le);
    check(utf16, DetectCharacterSet(utf16, TextEncoding::kUtf16Le), "UTF-16");
}

TEST(NumberingOrder, AnotherCharacterSetWithoutCaseOnly) {
    // ANSEL writes an accent as a byte before its letter: E8 O is Ö, which sorts as that byte.
    const std::string ansel =
        "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME A /\xE8Oster/\n0 @I2@ INDI\n1 NAME B /zwart/\n"
        "0 @I3@ INDI\n1 NAME anna /BAKKER/\n0 @I4@ INDI\n1 NAME Anna /bakker/\n0 @I5@ INDI\n1 NAME C /Oster/\n";
    EXPECT_EQ(Ordered(ansel, "INDI", NumberingOrder::kName, DetectCharacterSet(ansel, TextEncoding::kEightBit)),
              (std::vector<std::string>{"@I3@", "@I4@", "@I5@", "@I2@", "@I1@"}));
}

}  // namespace
}  // namespace halvern
