// Every level-0 record type: its default prefix, the list of types a file holds, and a run over
// each of them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/GedcomLines.h"
#include "core/CollectIdentifiers.h"
#include "core/RecordTypes.h"
#include "core/Renumber.h"

namespace halvern {
namespace {

// One record of every kind, GEDCOM 5.5.1 and 7 mixed, with a reference to each.
const std::string kAllTypes =
    "0 HEAD\r\n1 SUBM @sub@\r\n"
    "0 @p@ INDI\r\n1 FAMS @f@\r\n1 NOTE @n@\r\n1 SNOTE @sn@\r\n1 SOUR @s@\r\n1 OBJE @o@\r\n"
    "0 @f@ FAM\r\n1 HUSB @p@\r\n"
    "0 @n@ NOTE some text\r\n"
    "0 @sn@ SNOTE shared text\r\n"
    "0 @s@ SOUR\r\n1 REPO @r@\r\n"
    "0 @r@ REPO\r\n"
    "0 @o@ OBJE\r\n"
    "0 @sub@ SUBM\r\n"
    "0 @sbn@ SUBN\r\n"
    "0 @l@ _LOCX\r\n1 _LOC @l2@\r\n"
    "  0 @l2@ _LOC\r\n"
    "0 TRLR\r\n";

TEST(RecordTypes, KnownTagsHaveTheirPrefixAndOthersNone) {
    const std::vector<std::pair<std::string_view, std::string_view>> known{
        {"INDI", "I"}, {"FAM", "F"},  {"NOTE", "N"}, {"SNOTE", "N"}, {"SOUR", "S"},
        {"REPO", "R"}, {"OBJE", "O"}, {"SUBM", "U"}, {"SUBN", "B"}};
    for (const auto& [tag, prefix] : known) EXPECT_EQ(DefaultPrefix(tag), prefix) << tag;
    for (const std::string_view tag : {"_LOC", "HEAD", "indi", "INDIVIDUAL", ""}) EXPECT_FALSE(DefaultPrefix(tag)) << tag;
}

TEST(RecordTypes, TagsAreListedKnownOnesFirst) {
    EXPECT_EQ(RecordTags(kAllTypes), (std::vector<std::string>{"INDI", "FAM", "NOTE", "SNOTE", "SOUR", "REPO", "OBJE",
                                                               "SUBM", "SUBN", "_LOCX", "_LOC"}));
    EXPECT_EQ(RecordTags("0 @s@ SOUR\r0 @x@ _Y\r0 @i@ INDI\r1 @z@ FAM\r0 HEAD\r0 @x2@ _Y"),
              (std::vector<std::string>{"INDI", "SOUR", "_Y"}));
    EXPECT_TRUE(RecordTags("").empty());
}

TEST(RecordTypes, EveryTypeIsRenumberedOnItsOwn) {
    // Each listed type renumbered in turn with its prefix (P for the two without one): every
    // record keeps its one reference, and no type takes the records of another.
    std::string text = kAllTypes;
    NullRenumberSink sink;
    for (const std::string& tag : RecordTags(kAllTypes)) {
        const std::string prefix = std::string(DefaultPrefix(tag).value_or(tag == "_LOC" ? "L" : "X"));
        const std::size_t count = RenumberRecords(text, tag, IdentifierForm{prefix + (tag == "SNOTE" ? "S" : ""), 3}, 1, sink);
        EXPECT_EQ(count, 1u) << tag;
    }
    EXPECT_EQ(text,
              "0 HEAD\r\n1 SUBM @U001@\r\n"
              "0 @I001@ INDI\r\n1 FAMS @F001@\r\n1 NOTE @N001@\r\n1 SNOTE @NS001@\r\n1 SOUR @S001@\r\n1 OBJE @O001@\r\n"
              "0 @F001@ FAM\r\n1 HUSB @I001@\r\n"
              "0 @N001@ NOTE some text\r\n"
              "0 @NS001@ SNOTE shared text\r\n"
              "0 @S001@ SOUR\r\n1 REPO @R001@\r\n"
              "0 @R001@ REPO\r\n"
              "0 @O001@ OBJE\r\n"
              "0 @U001@ SUBM\r\n"
              "0 @B001@ SUBN\r\n"
              "0 @X001@ _LOCX\r\n1 _LOC @L001@\r\n"
              "  0 @L001@ _LOC\r\n"
              "0 TRLR\r\n");
}

// A tag other than the four oldest ends where a byte follows that cannot be part of a tag: the
// engine and the list of a file's types read the same records.
TEST(RecordTypes, ATagEndsAtAnyByteThatCannotBeInATag) {
    const std::string text = "0 @a@ _LOC@\n0 @b@ _LOC\tx\n0 @c@ _LOCX\n0 @d@ _LOC2\n0 @e@ _LOC\n0 @f@ _LOC-x\n0 @g@ _LOC";
    EXPECT_EQ(RecordTags(text), (std::vector<std::string>{"_LOC", "_LOCX", "_LOC2"}));
    EXPECT_EQ(CollectIdentifiers(text, "_LOC"), (std::vector<std::string_view>{"@a@", "@b@", "@e@", "@f@", "@g@"}));
    EXPECT_EQ(CollectIdentifiers(text, "_LOCX"), (std::vector<std::string_view>{"@c@"}));
    // The four oldest match as a prefix, as they always have.
    EXPECT_EQ(CollectIdentifiers("0 @s@ SOURCE\n", "SOUR"), (std::vector<std::string_view>{"@s@"}));
}

TEST(RecordTypes, NotesAndSharedNotesWithOnePrefixCollide) {
    // NOTE and SNOTE share the letter N: the second run would make a second @N00001@.
    std::string text = "0 @a@ NOTE x\n0 @b@ SNOTE y\n";
    NullRenumberSink sink;
    RenumberRecords(text, "NOTE", "N", 1, sink);
    EXPECT_THROW(RenumberRecords(text, "SNOTE", "N", 1, sink), RunRefused);
    EXPECT_EQ(RenumberRecords(text, "SNOTE", "N", 2, sink), 1u);
    EXPECT_EQ(text, "0 @N00001@ NOTE x\n0 @N00002@ SNOTE y\n");
}

}  // namespace
}  // namespace halvern

namespace halvern {
namespace {

// Lines as a plain reading of the rule finds them: up to CR, LF or CR LF.
std::vector<std::string> PlainLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        lines.emplace_back(text.substr(begin, end - begin));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        begin = end + 1;
    }
    return lines;
}

// The line ends are found many bytes at a time; a CR LF across two blocks is one line end.
TEST(GedcomLines, EveryLineFoundOnceWhereverItsEndFalls) {
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t size = random() % 300;
        for (std::size_t i = 0; i < size; ++i) text += "\r\nx"[random() % 3];
        std::vector<std::string> lines;
        std::size_t last = 0;
        ForEachLine(text, [&](std::string_view line, std::size_t number) {
            lines.emplace_back(line);
            ASSERT_EQ(number, ++last);
        });
        ASSERT_EQ(lines, PlainLines(text)) << text.size();
    }
}

}  // namespace
}  // namespace halvern
