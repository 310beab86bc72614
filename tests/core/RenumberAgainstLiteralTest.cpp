// The engine against the slow three-phase run it replaces: wherever that run does what it means
// to, both must give the same bytes and the same events.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "core/Renumber.h"
#include "tests/core/RecordingSink.h"
#include "tests/support/GedcomGenerator.h"
#include "tests/support/LiteralRenumber.h"

namespace halvern {
namespace {

using testing::RecordingSink;
using testsupport::GedcomOptions;
using testsupport::GenerateGedcom;
using testsupport::LiteralAnomalies;
using testsupport::LiteralRenumber;

struct RecordType {
    const char* tag;
    const char* letter;
};
constexpr std::array<RecordType, 4> kTypes{{{"INDI", "I"}, {"FAM", "F"}, {"NOTE", "N"}, {"SOUR", "S"}}};

TEST(RenumberAgainstLiteral, SameResultOnGeneratedFiles) {
    std::size_t compared = 0;
    for (const std::size_t individuals : {0, 1, 2, 40, 300}) {
        for (const bool crlf : {false, true}) {
            GedcomOptions options;
            options.individuals = individuals;
            options.seed = 7 + individuals;
            options.crlf = crlf;
            const std::string original = GenerateGedcom(options);
            for (const std::int32_t start : {1, 0, -7, 41, 99950}) {
                // All four types one after the other on the same text, as a user would.
                std::string ours = original;
                std::string literal = original;
                for (const RecordType& type : kTypes) {
                    SCOPED_TRACE(std::to_string(individuals) + (crlf ? " crlf " : " lf ") + type.tag + " " +
                                 std::to_string(start));
                    RecordingSink ourEvents;
                    RecordingSink literalEvents;
                    LiteralAnomalies anomalies;
                    const std::size_t ourCount = RenumberRecords(ours, type.tag, type.letter, start, ourEvents);
                    const std::size_t literalCount =
                        LiteralRenumber(literal, type.tag, type.letter, start, literalEvents, &anomalies);
                    ASSERT_FALSE(anomalies.any());
                    ASSERT_EQ(ourCount, literalCount);
                    ASSERT_EQ(ours, literal);
                    ASSERT_EQ(ourEvents.events, literalEvents.events);
                    ++compared;
                }
            }
        }
    }
    EXPECT_EQ(compared, 5u * 2u * 5u * 4u);
}

TEST(RenumberAgainstLiteral, GeneratedFilesGetSequentialIdentifiers) {
    GedcomOptions options;
    options.individuals = 200;
    std::string text = GenerateGedcom(options);
    NullRenumberSink sink;
    const std::size_t count = RenumberRecords(text, "INDI", "I", 1, sink);
    EXPECT_EQ(count, 200u);
    EXPECT_NE(text.find("0 @I00001@ INDI"), std::string::npos);
    EXPECT_NE(text.find("0 @I00200@ INDI"), std::string::npos);
    EXPECT_LT(text.find("0 @I00001@ INDI"), text.find("0 @I00002@ INDI"));
    EXPECT_EQ(text.find("0 @I00201@ INDI"), std::string::npos);
}

// Random byte soup from the pieces that matter to the engine. "@", " " and the tags come up more
// often than the rest, or definitions and references would be rare.
std::string RandomText(std::mt19937& random) {
    static const std::array<std::string_view, 20> kPieces{
        "@", "@", "@", "@", "@", "@", " ", " ", " ", " ", "INDI", "INDI", "FAM", "FAM", "I", "0", "1", "x", "\n", "\n"};
    std::string text;
    const std::size_t pieces = random() % 60;
    for (std::size_t i = 0; i < pieces; ++i) {
        // Now and then the three pieces of a definition in a row.
        if (random() % 8 == 0) {
            text += "@ ";
            text += random() % 2 == 0 ? "INDI" : "FAM";
        }
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

TEST(RenumberAgainstLiteral, SameResultOnRandomTextsWhereverTheLiteralRunIsClean) {
    std::mt19937 random(424242);
    std::size_t clean = 0;
    std::size_t withIdentifiers = 0;
    constexpr int kRounds = 20000;
    for (int round = 0; round < kRounds; ++round) {
        const std::string original = RandomText(random);
        const RecordType& type = kTypes[random() % 2];  // INDI and FAM: their tags are in the soup
        const auto start = static_cast<std::int32_t>(random() % 30) - 10;

        std::string literal = original;
        RecordingSink literalEvents;
        LiteralAnomalies anomalies;
        const std::size_t literalCount = LiteralRenumber(literal, type.tag, type.letter, start, literalEvents, &anomalies);
        if (anomalies.any()) continue;
        ++clean;
        if (literalCount > 0) ++withIdentifiers;

        std::string ours = original;
        RecordingSink ourEvents;
        const std::size_t ourCount = RenumberRecords(ours, type.tag, type.letter, start, ourEvents);
        ASSERT_EQ(ourCount, literalCount) << original;
        ASSERT_EQ(ours, literal) << original;
        ASSERT_EQ(ourEvents.events, literalEvents.events) << original;
    }
    // The comparison must have had something to compare.
    std::printf("random texts: %zu compared, %zu of them with identifiers\n", clean, withIdentifiers);
    EXPECT_GT(clean, kRounds / 4);
    EXPECT_GT(withIdentifiers, kRounds / 10);
}

TEST(RenumberAgainstLiteral, TheLiteralRunReportsWhatGoesWrongInIt) {
    NullRenumberSink sink;
    const auto anomaliesOf = [&](std::string text, const char* tag, const char* letter) {
        LiteralAnomalies anomalies;
        LiteralRenumber(text, tag, letter, 1, sink, &anomalies);
        return anomalies;
    };
    const std::string longId = "@" + std::string(20, 'L') + "@";
    EXPECT_TRUE(anomaliesOf("0 " + longId + " INDI\n" + longId + longId, "INDI", "I").skippedOccurrence);
    // Eleven bytes: the next search starts just behind the marker, past its closing "@".
    EXPECT_TRUE(anomaliesOf("0 @abcdefghi@abcdefghi@ INDI\n", "INDI", "I").skippedOccurrence);
    EXPECT_TRUE(anomaliesOf("0 @INDI012345@ INDI\n", "INDI", "I").markerLikeIdentifier);
    EXPECT_TRUE(anomaliesOf("0 @a@ INDI\nsee @INDI0x\n", "INDI", "I").foreignCleaning);
    EXPECT_TRUE(anomaliesOf("0 @a@ INDI\n0 @b@ INDI\n@a@b@\n", "INDI", "I").overlappedMarker);
    EXPECT_FALSE(anomaliesOf("0 @a@ INDI\n0 @b@ INDI\n@a@ @b@\n", "INDI", "I").any());
}

}  // namespace
}  // namespace halvern
