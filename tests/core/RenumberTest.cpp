#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "core/CollectIdentifiers.h"
#include "core/FixedWidthNumber.h"
#include "core/Renumber.h"
#include "tests/core/RecordingSink.h"

namespace halvern {
namespace {

using testing::ExpectedEvents;
using testing::RecordingSink;

const std::string kFamily =
    "0 HEAD\n"
    "0 @I7@ INDI\n"
    "1 FAMS @F2@\n"
    "0 @I3@ INDI\n"
    "1 FAMS @F2@\n"
    "0 @F2@ FAM\n"
    "1 HUSB @I7@\n"
    "1 WIFE @I3@\n"
    "0 TRLR\n";

struct Outcome {
    std::string text;
    std::size_t result;
    std::vector<std::string> events;
    std::vector<Renumbering> changes;
};

Outcome Renumber(std::string text, std::string_view tag, std::string_view letter, std::int32_t start) {
    RecordingSink sink;
    std::vector<Renumbering> changes;
    const std::size_t result = RenumberRecords(text, tag, letter, start, sink, &changes);
    return {std::move(text), result, std::move(sink.events), std::move(changes)};
}

// A text that defines count individuals @P0@, @P1@, ... each with one reference.
std::string ManyIndividuals(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string id = "@P" + std::to_string(i) + "@";
        text += "0 " + id + " INDI\n1 ASSO " + id + "\n";
    }
    return text;
}

TEST(Renumber, RenumbersIndividualsInTheOrderOfTheirDefinitions) {
    const Outcome run = Renumber(kFamily, "INDI", "I", 1);
    EXPECT_EQ(run.text,
              "0 HEAD\n"
              "0 @I00001@ INDI\n"
              "1 FAMS @F2@\n"
              "0 @I00002@ INDI\n"
              "1 FAMS @F2@\n"
              "0 @F2@ FAM\n"
              "1 HUSB @I00001@\n"
              "1 WIFE @I00002@\n"
              "0 TRLR\n");
    EXPECT_EQ(run.result, 2u);
    EXPECT_EQ(run.events, ExpectedEvents(2, 4));
    ASSERT_EQ(run.changes.size(), 2u);
    EXPECT_EQ(run.changes[0].oldId, "@I7@");
    EXPECT_EQ(run.changes[0].newId, "@I00001@");
    EXPECT_EQ(run.changes[1].oldId, "@I3@");
    EXPECT_EQ(run.changes[1].newId, "@I00002@");
}

TEST(Renumber, RenumbersFamiliesFromTheirStartNumberAndLeavesTheRest) {
    std::string crlf;
    for (const char c : kFamily) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const Outcome run = Renumber(crlf, "FAM", "F", 7);
    EXPECT_EQ(run.text,
              "0 HEAD\r\n"
              "0 @I7@ INDI\r\n"
              "1 FAMS @F00007@\r\n"
              "0 @I3@ INDI\r\n"
              "1 FAMS @F00007@\r\n"
              "0 @F00007@ FAM\r\n"
              "1 HUSB @I7@\r\n"
              "1 WIFE @I3@\r\n"
              "0 TRLR\r\n");
    EXPECT_EQ(run.events, ExpectedEvents(1, 3));
}

TEST(Renumber, TextWithoutDefinitionsStaysAsItIs) {
    for (const std::string& text : {std::string(), kFamily, std::string("0 @N1@ NOTE x @INDI\n"),
                                    std::string("@ INDI @ INDI")}) {
        SCOPED_TRACE(text);
        const Outcome run = Renumber(text, text == kFamily ? "SOUR" : "INDI", "I", 1);
        EXPECT_EQ(run.result, 0u);
        EXPECT_EQ(run.text, text);
        EXPECT_EQ(run.events, ExpectedEvents(0, 0));
        EXPECT_TRUE(run.changes.empty());
    }
}

TEST(Renumber, ARecordDefinedTwiceUsesUpASerialNumber) {
    const Outcome run = Renumber("0 @I1@ INDI\n0 @I1@ INDI\n0 @I2@ INDI\n1 ASSO @I1@\n", "INDI", "I", 1);
    EXPECT_EQ(run.text, "0 @I00001@ INDI\n0 @I00001@ INDI\n0 @I00003@ INDI\n1 ASSO @I00001@\n");
    EXPECT_EQ(run.result, 3u);
    EXPECT_EQ(run.events, ExpectedEvents(3, 4));
    ASSERT_EQ(run.changes.size(), 2u);
    EXPECT_EQ(run.changes[1].newId, "@I00003@");
}

TEST(Renumber, FinalIdentifiersSwapAndASecondRunChangesNothing) {
    const std::string text = "0 @I00002@ INDI\n1 FAMC @F1@\n0 @I00001@ INDI\n0 @F1@ FAM\n1 CHIL @I00002@\n"
                             "1 HUSB @I00001@\n";
    const Outcome first = Renumber(text, "INDI", "I", 1);
    EXPECT_EQ(first.text, "0 @I00001@ INDI\n1 FAMC @F1@\n0 @I00002@ INDI\n0 @F1@ FAM\n1 CHIL @I00001@\n"
                          "1 HUSB @I00002@\n");
    const Outcome second = Renumber(first.text, "INDI", "I", 1);
    EXPECT_EQ(second.text, first.text);
    EXPECT_EQ(second.events, first.events);
}

TEST(Renumber, StartNumbersAtTheEdgesOfTheSerialText) {
    const std::string two = "0 @a@ INDI\n0 @b@ INDI\n";
    EXPECT_EQ(Renumber(two, "INDI", "I", 0).text, "0 @I00000@ INDI\n0 @I00001@ INDI\n");
    EXPECT_EQ(Renumber(two, "INDI", "I", -3).text, "0 @I000-3@ INDI\n0 @I000-2@ INDI\n");
    EXPECT_EQ(Renumber(two, "INDI", "I", -1).text, "0 @I000-1@ INDI\n0 @I00000@ INDI\n");
    EXPECT_EQ(Renumber(two, "INDI", "I", 123456).text, "0 @I23456@ INDI\n0 @I23457@ INDI\n");
    EXPECT_EQ(Renumber(two, "INDI", "I", 99999).text, "0 @I99999@ INDI\n0 @I00000@ INDI\n");
    // Beyond the largest 32-bit number the serial wraps to the smallest one.
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(Renumber(two, "INDI", "I", max).text, "0 @I83647@ INDI\n0 @I83648@ INDI\n");
    EXPECT_EQ(SerialNumber(max, 1), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(SerialNumber(-5, 7), 2);
}

TEST(Renumber, SerialTextsAgreeWithTheirNumbersAcrossEveryEdge) {
    // Serial texts are counted on from one another where that is exact; every one must still be
    // what FixedWidthNumber makes of its number.
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t start : {-12, -1, 0, 9990, 99990, 199995, 1099990, max - 8}) {
        SCOPED_TRACE(start);
        std::string text = ManyIndividuals(10);
        NullRenumberSink sink;
        std::vector<Renumbering> changes;
        RenumberRecords(text, "INDI", "I", start, sink, &changes);
        ASSERT_EQ(changes.size(), 10u);
        for (std::size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].newId, "@I" + FixedWidthNumber(SerialNumber(start, i), 5) + "@") << i;
        }
    }
}

TEST(Renumber, APreparedRunWrittenInBlocksGivesTheSameText) {
    // Enough text for several blocks, with identifiers that straddle the block edges somewhere.
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        const std::string id = "@P" + std::to_string(i % 7000) + "@";
        text += (i < 7000 ? "0 " + id + " INDI\r\n" : "1 ASSO " + id + "\r\n") + std::string(i % 13, 'x');
    }
    std::string renumbered = text;
    NullRenumberSink sink;
    RenumberRecords(renumbered, "INDI", "I", 1, sink);

    RecordingSink events;
    PreparedRuns run(text, RunRequest{"INDI", {"I"}, 1}, events);
    EXPECT_EQ(run.Count(), 7000u);
    std::string written;
    std::size_t pieces = 0;
    run.WriteTo([&](std::string_view piece) {
        EXPECT_LE(piece.size(), std::size_t{256} << 10);
        written += piece;
        ++pieces;
    });
    EXPECT_EQ(written, renumbered);
    // Whole blocks, not the many small pieces the pass makes: each one becomes a write to a file.
    EXPECT_EQ(pieces, (renumbered.size() + (std::size_t{256} << 10) - 1) / (std::size_t{256} << 10));
    EXPECT_LE(renumbered.size(), run.LengthBound());
    EXPECT_EQ(events.events.size(), 1 + 7000 + 40000u);
    EXPECT_EQ(run.Changes(0).size(), 7000u);

    // A stretch without occurrences larger than a block goes on as it is, between whole blocks.
    const std::string longNote = "1 NOTE " + std::string(600000, 'n') + "\r\n";
    const std::string withLongNote = text.substr(0, 1000) + longNote + text.substr(1000);
    PreparedRuns longRun(withLongNote, RunRequest{"INDI", {"I"}, 1}, sink);
    std::vector<std::size_t> sizes;
    std::string longWritten;
    longRun.WriteTo([&](std::string_view piece) {
        sizes.push_back(piece.size());
        longWritten += piece;
    });
    std::string longRenumbered = withLongNote;
    RenumberRecords(longRenumbered, "INDI", "I", 1, sink);
    EXPECT_EQ(longWritten, longRenumbered);
    EXPECT_TRUE(std::any_of(sizes.begin(), sizes.end(), [&](std::size_t size) { return size > longNote.size(); }));

    // Nothing to renumber: the text is handed over as it is.
    PreparedRuns none(text, RunRequest{"FAM", {"F"}, 1}, sink);
    std::string unchanged;
    none.WriteTo([&](std::string_view piece) { unchanged += piece; });
    EXPECT_EQ(unchanged, text);
}

TEST(Renumber, SerialTextsThatWouldRepeatChangeNothing) {
    const std::string tooMany = ManyIndividuals(100001);
    {
        std::string text = tooMany;
        RecordingSink sink;
        EXPECT_THROW(RenumberRecords(text, "INDI", "I", 1, sink), RunRefused);
        EXPECT_EQ(text, tooMany);
    }
    // -10000 and 10000 both end in "10000": from -12345 the 22,346th entry is the first to repeat.
    const std::string spanning = ManyIndividuals(22346);
    std::string text = spanning;
    NullRenumberSink sink;
    EXPECT_THROW(RenumberRecords(text, "INDI", "I", -12345, sink), RunRefused);
    EXPECT_EQ(text, spanning);
    text.resize(text.rfind("0 @P22345@"));
    EXPECT_EQ(RenumberRecords(text, "INDI", "I", -12345, sink), 22345u);

    // A duplicate entry that replaces nothing is no conflict: 100,001 entries, 100,000 identifiers.
    std::string repeated = ManyIndividuals(100000) + "0 @P0@ INDI\n";
    EXPECT_EQ(RenumberRecords(repeated, "INDI", "I", 1, sink), 100001u);
    EXPECT_EQ(repeated.substr(0, 36), "0 @I00001@ INDI\n1 ASSO @I00001@\n0 @I");
}

TEST(Renumber, LooksOnlyAtTheTextAsItStoodBefore) {
    // Text that looks like the engine's working forms is nobody's business but the user's.
    const Outcome note = Renumber("0 @I1@ INDI\n0 @N1@ NOTE see @INDI0x and @INDI000001@\n", "INDI", "I", 5);
    EXPECT_EQ(note.text, "0 @I00005@ INDI\n0 @N1@ NOTE see @INDI0x and @INDI000001@\n");
    EXPECT_EQ(note.events, ExpectedEvents(1, 1));

    // Identifiers that look like such forms are renumbered like any other.
    const Outcome marked = Renumber("0 @INDI000002@ INDI\n0 @INDI000001@ INDI\n1 ASSO @INDI000002@\n", "INDI", "I", 1);
    EXPECT_EQ(marked.text, "0 @I00001@ INDI\n0 @I00002@ INDI\n1 ASSO @I00001@\n");

    // Long identifiers next to each other: every occurrence is replaced.
    const std::string longId = "@" + std::string(300, 'L') + "@";
    const Outcome adjacent = Renumber("0 " + longId + " INDI\n1 NOTE " + longId + longId + longId + "\n", "INDI", "I", 1);
    EXPECT_EQ(adjacent.text, "0 @I00001@ INDI\n1 NOTE @I00001@@I00001@@I00001@\n");
    EXPECT_EQ(adjacent.events, ExpectedEvents(1, 4));

    // A reference in the very last bytes, after earlier occurrences have grown the text.
    const Outcome last = Renumber("0 @a@ INDI\n1 ASSO @a@\n1 HUSB @a@", "INDI", "I", 1);
    EXPECT_EQ(last.text, "0 @I00001@ INDI\n1 ASSO @I00001@\n1 HUSB @I00001@");

    // Occurrences are looked up a few behind the walk: a long run of them at the end, between
    // stretches that are no identifier, comes out whole and in order.
    std::string tail = "0 @a@ INDI\n0 @b@ INDI\n";
    std::string tailRenumbered = "0 @I00001@ INDI\n0 @I00002@ INDI\n";
    for (int i = 0; i < 30; ++i) {
        tail += i % 3 == 0 ? "@x@ " : (i % 3 == 1 ? "@a@ " : "@b@ ");
        tailRenumbered += i % 3 == 0 ? "@x@ " : (i % 3 == 1 ? "@I00001@ " : "@I00002@ ");
    }
    const Outcome tailRun = Renumber(tail, "INDI", "I", 1);
    EXPECT_EQ(tailRun.text, tailRenumbered);
    EXPECT_EQ(tailRun.events, ExpectedEvents(2, 22));
}

TEST(Renumber, OccurrencesAreFoundBetweenEveryTwoAtSigns) {
    // "@a@" and "@b@" share an "@" in "@a@b@": both are replaced, and share it still.
    const Outcome shared = Renumber("0 @a@ INDI\n0 @b@ INDI\n1 X @a@b@a@ @b@\n", "INDI", "I", 1);
    EXPECT_EQ(shared.text, "0 @I00001@ INDI\n0 @I00002@ INDI\n1 X @I00001@I00002@I00001@ @I00002@\n");
    EXPECT_EQ(shared.events, ExpectedEvents(2, 6));
    // So a definition whose opening "@" closes an earlier occurrence changes with its references.
    const Outcome definition = Renumber("0 @a@a@ INDI\n1 ASSO @a@\n", "INDI", "I", 1);
    EXPECT_EQ(definition.text, "0 @I00001@I00001@ INDI\n1 ASSO @I00001@\n");
    EXPECT_EQ(Renumber(definition.text, "INDI", "I", 1).text, definition.text);
    // "@x@a@" where only "@a@" is collected: the miss at "@x@" does not hide it.
    const Outcome miss = Renumber("0 @a@ INDI\n1 X @x@a@\n", "INDI", "I", 1);
    EXPECT_EQ(miss.text, "0 @I00001@ INDI\n1 X @x@I00001@\n");
    // "@I1@" never matches inside "@I10@", nor a bare "@" in a note.
    const Outcome prefix = Renumber("0 @I1@ INDI\n0 @I10@ INDI\n1 NOTE a@b @I10@ @I1@\n", "INDI", "I", 1);
    EXPECT_EQ(prefix.text, "0 @I00001@ INDI\n0 @I00002@ INDI\n1 NOTE a@b @I00002@ @I00001@\n");
}

TEST(Renumber, IdentifiersAlikeInTheirFirstBytesStayApart) {
    // Same length and the same first 16 bytes, or one a prefix of the other.
    const std::string a = "@LONGIDENTIFIER-0001@";
    const std::string b = "@LONGIDENTIFIER-0002@";
    const std::string c = "@LONGIDENTIFIE@";
    const std::string d = "@LONGIDENTIFIER-00@";
    const std::string text = "0 " + b + " INDI\n0 " + a + " INDI\n0 " + c + " INDI\n0 " + d + " INDI\n1 X " + a +
                             " " + c + " " + d + " " + b + " @LONGIDENTIFIER-0003@\n";
    EXPECT_EQ(Renumber(text, "INDI", "I", 1).text,
              "0 @I00001@ INDI\n0 @I00002@ INDI\n0 @I00003@ INDI\n0 @I00004@ INDI\n"
              "1 X @I00002@ @I00003@ @I00004@ @I00001@ @LONGIDENTIFIER-0003@\n");
}

TEST(Renumber, IdentifiersOfEveryFirstByteAndLengthAreFound) {
    // References are first sorted out by the byte after their "@" and their length: identifiers
    // that start with any byte (those above 127 included) and run to any length are still found,
    // and others of the same first byte and length are still left alone.
    std::string text;
    std::string expected;
    std::size_t serial = 0;
    for (int first = 1; first < 256; first += 7) {
        if (first == '@') continue;
        for (const std::size_t length : {std::size_t{3}, std::size_t{9}, std::size_t{62}, std::size_t{63},
                                         std::size_t{64}, std::size_t{200}}) {
            std::string id(length, 'k');
            id.front() = id.back() = '@';
            id[1] = static_cast<char>(first);
            std::string other = id;  // same first byte and length, never defined
            other[length == 3 ? 1 : length - 2] = length == 3 ? static_cast<char>(first + 1) : 'q';
            const std::string newId = "@I" + FixedWidthNumber(static_cast<std::int32_t>(++serial), 5) + "@";
            text.append("0 ").append(id).append(" INDI\n1 ASSO ").append(id).append(other).append("\n");
            expected.append("0 ").append(newId).append(" INDI\n1 ASSO ").append(newId).append(other).append("\n");
        }
    }
    EXPECT_EQ(Renumber(text, "INDI", "I", 1).text, expected);
}

TEST(Renumber, CollectsBackToTheNearestAtButNotPastThePreviousDefinition) {
    // The second definition has no "@" of its own before it: nothing, and serials go on unchanged.
    const Outcome run = Renumber("0 @I1@ INDI\n@ INDI\n0 @I2@ INDI\n", "INDI", "I", 1);
    EXPECT_EQ(run.text, "0 @I00001@ INDI\n@ INDI\n0 @I00002@ INDI\n");
    EXPECT_EQ(run.result, 2u);

    const std::string text = "x@ INDI @a b\n@ INDIVIDU 0 @@ INDI";
    const std::vector<std::string_view> ids = CollectIdentifiers(text, "INDI");
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], "@a b\n@");  // any bytes between the two "@", the tag matched as a prefix
    EXPECT_EQ(ids[1], "@@");
}

TEST(Renumber, AFailedRunLeavesTheTextAsItWas) {
    // A sink that gives up halfway through writing the new text, as exhausted memory would.
    class FailingSink final : public RenumberSink {
    public:
        void OnCollected(std::size_t, std::size_t) override {}
        void OnRenumbered(std::size_t, std::size_t) override {}
        void OnCleaned(std::size_t, std::size_t k) override {
            if (k == 2) throw std::bad_alloc();
        }
    };
    std::string text = kFamily;
    FailingSink sink;
    EXPECT_THROW(RenumberRecords(text, "INDI", "I", 1, sink), std::bad_alloc);
    EXPECT_EQ(text, kFamily);
}

}  // namespace
}  // namespace halvern
