// Odd and hostile documents, each carried through load, renumbering and save the way a run does,
// with what the program makes of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Document.h"
#include "core/Renumber.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::LoadText;
using testing::TempFolder;
using testing::WriteBytes;

// Loads bytes from a file, renumbers the individuals from 1 and saves the result; gives the bytes
// of the saved file.
std::string RoundTrip(const std::string& bytes, std::string_view tag = "INDI", std::string_view letter = "I") {
    const TempFolder folder;
    WriteBytes(folder / "in.ged", bytes);
    std::string text;
    EXPECT_TRUE(LoadText(folder / "in.ged", text));
    NullRenumberSink sink;
    RenumberRecords(text, tag, letter, 1, sink);
    SaveDocument(folder / "uit.ged", text);
    return ReadBytes(folder / "uit.ged");
}

std::string Renumbered(std::string text, std::string_view tag = "INDI", std::string_view letter = "I") {
    NullRenumberSink sink;
    RenumberRecords(text, tag, letter, 1, sink);
    return text;
}

// The lines joined with the line end given after each.
std::string Lines(const std::vector<std::string>& lines, const std::string& end) {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
}

const std::string kFamily = "0 HEAD\n0 @I7@ INDI\n1 FAMS @F2@\n0 @F2@ FAM\n1 HUSB @I7@\n0 TRLR\n";

TEST(HostileInput, Utf8ByteOrderMarkIsKept) {
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(RoundTrip(mark + kFamily),
              mark + "0 HEAD\n0 @I00001@ INDI\n1 FAMS @F2@\n0 @F2@ FAM\n1 HUSB @I00001@\n0 TRLR\n");
    // A definition straight after the mark: the mark stays in front of it.
    EXPECT_EQ(RoundTrip(mark + "@I9@ INDI\n1 ASSO @I9@\n"), mark + "@I00001@ INDI\n1 ASSO @I00001@\n");
}

TEST(HostileInput, LineEndsOfEveryKindAreKeptByteForByte) {
    const std::vector<std::string> before{"0 HEAD", "0 @I7@ INDI", "1 NAME Jan /Jansen/", "0 @I3@ INDI",
                                          "1 ASSO @I7@", "0 TRLR"};
    const std::vector<std::string> after{"0 HEAD", "0 @I00001@ INDI", "1 NAME Jan /Jansen/", "0 @I00002@ INDI",
                                         "1 ASSO @I00001@", "0 TRLR"};
    for (const std::string end : {"\r", "\n", "\r\n", "\n\r"}) {
        SCOPED_TRACE(::testing::PrintToString(end));
        EXPECT_EQ(RoundTrip(Lines(before, end)), Lines(after, end));
    }
    const std::string mixed = "0 HEAD\r\n0 @I7@ INDI\r1 NOTE a\n\n\r\r\n1 ASSO @I7@\n\r0 TRLR";
    EXPECT_EQ(RoundTrip(mixed), "0 HEAD\r\n0 @I00001@ INDI\r1 NOTE a\n\n\r\r\n1 ASSO @I00001@\n\r0 TRLR");
}

TEST(HostileInput, IdentifiersOf300And70000BytesAreRenumberedEverywhere) {
    for (const std::size_t length : {std::size_t{300}, std::size_t{70000}}) {
        SCOPED_TRACE(length);
        // Two long identifiers that differ in their last byte only, and one that is a prefix of both.
        const std::string body(length - 3, 'L');
        const std::string a = "@" + body + "a@";
        const std::string b = "@" + body + "b@";
        const std::string prefix = "@" + body + "@";
        const std::string text = "0 HEAD\r\n0 " + a + " INDI\r\n1 ASSO " + b + "\r\n0 " + b + " INDI\r\n1 NOTE " +
                                 prefix + a + "\r\n1 ASSO " + a;
        const std::string expected = "0 HEAD\r\n0 @I00001@ INDI\r\n1 ASSO @I00002@\r\n0 @I00002@ INDI\r\n1 NOTE " +
                                     prefix + "@I00001@\r\n1 ASSO @I00001@";
        EXPECT_TRUE(RoundTrip(text) == expected);  // too long to print
    }
}

TEST(HostileInput, MoreIndividualsThanSerialTextsAreRefusedAndNothingChanges) {
    std::string text = "0 HEAD\r\n";
    for (int i = 1; i <= 150000; ++i) text += "0 @P" + std::to_string(i) + "@ INDI\r\n1 NAME N" + std::to_string(i) + "\r\n";
    text += "0 TRLR\r\n";
    const std::string before = text;
    NullRenumberSink sink;
    EXPECT_THROW(RenumberRecords(text, "INDI", "I", 1, sink), RunRefused);
    EXPECT_EQ(text, before);
    // The families of the same file are few enough.
    EXPECT_EQ(RenumberRecords(text, "FAM", "F", 1, sink), 0u);
    EXPECT_EQ(text, before);
}

TEST(HostileInput, DefinitionsAtTheVeryStartAndTheVeryEndOfTheText) {
    // At the start without an opening "@" before it: nothing to collect.
    EXPECT_EQ(Renumbered("@ INDI\n0 @I5@ INDI\n"), "@ INDI\n0 @I00001@ INDI\n");
    EXPECT_EQ(Renumbered("@ INDI"), "@ INDI");
    // The identifier is the text's first bytes, or its definition its last bytes.
    EXPECT_EQ(RoundTrip("@I5@ INDI\r\n1 ASSO @I6@\r\n0 @I6@ INDI"),
              "@I00001@ INDI\r\n1 ASSO @I00002@\r\n0 @I00002@ INDI");
    EXPECT_EQ(Renumbered("0 @I5@ IND"), "0 @I5@ IND");  // cut short: no definition
    EXPECT_EQ(Renumbered("0 @I5@ INDI"), "0 @I00001@ INDI");
    EXPECT_EQ(Renumbered("0 @I5@ INDI\n1 ASSO @I5@"), "0 @I00001@ INDI\n1 ASSO @I00001@");
}

TEST(HostileInput, EscapesAreLeftAloneUnlessTheyAreACollectedIdentifier) {
    const std::string escapes = "0 @I1@ INDI\n1 NOTE mail jan@@voorbeeld.nl, 100 @@ stuk\n"
                                "1 BIRT\n2 DATE @#DJULIAN@ 1 JAN 1700\n2 NOTE @#DGREGORIAN@ @I1@\n";
    EXPECT_EQ(Renumbered(escapes), "0 @I00001@ INDI\n1 NOTE mail jan@@voorbeeld.nl, 100 @@ stuk\n"
                                   "1 BIRT\n2 DATE @#DJULIAN@ 1 JAN 1700\n2 NOTE @#DGREGORIAN@ @I00001@\n");

    // A malformed file that defines them as records: every occurrence counts, escapes included.
    EXPECT_EQ(Renumbered("0 @#DJULIAN@ INDI\n2 DATE @#DJULIAN@ 1700\n"), "0 @I00001@ INDI\n2 DATE @I00001@ 1700\n");
    EXPECT_EQ(Renumbered("0 @@ INDI\n1 NOTE jan@@voorbeeld.nl\n"), "0 @I00001@ INDI\n1 NOTE jan@I00001@voorbeeld.nl\n");
}

TEST(HostileInput, OneIdentifierDefinedAsIndividualAndAsFamily) {
    // The identifier is renamed wherever it stands, the family's own definition included, so the two
    // records keep sharing one identifier; a later run for families takes it over again.
    const std::string text = "0 @X1@ INDI\n1 FAMS @X1@\n0 @X1@ FAM\n1 HUSB @X1@\n";
    const std::string individuals = Renumbered(text);
    EXPECT_EQ(individuals, "0 @I00001@ INDI\n1 FAMS @I00001@\n0 @I00001@ FAM\n1 HUSB @I00001@\n");
    EXPECT_EQ(Renumbered(individuals, "FAM", "F"), "0 @F00001@ INDI\n1 FAMS @F00001@\n0 @F00001@ FAM\n1 HUSB @F00001@\n");
}

// A definition whose opening "@" is also the closing "@" of an occurrence of the same identifier
// just before it ("@a@a@ INDI"): both occurrences are renumbered, sharing that "@", so record and
// references keep meeting and a second run changes nothing.
TEST(HostileInput, ADefinitionSharingItsAtWithAnEarlierOccurrenceKeepsItsReferences) {
    const std::string first = Renumbered("0 @a@a@ INDI\n1 ASSO @a@\n");
    EXPECT_EQ(first, "0 @I00001@I00001@ INDI\n1 ASSO @I00001@\n");
    EXPECT_EQ(Renumbered(first), first);
}

}  // namespace
}  // namespace halvern
