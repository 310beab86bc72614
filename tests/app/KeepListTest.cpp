// Lists that cannot be used, each refused with the line that makes it so; and what the reader
// reads back of what the writer writes.
#include "app/KeepList.h"
#include "app/MapText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace halvern {
namespace {

TEST(KeepList, MalformedListsNameTheirLine) {
    using Problem = KeepListError::Problem;
    const std::string good = "INDI\t@I7@\t@I00001@\tA1\nFAM\t@F1@\t@F00001@\n";
    const struct {
        std::string list;
        Problem problem;
        std::size_t line;
        std::size_t earlier = 0;
    } cases[] = {
        {good + "INDI\t@I8@\n", Problem::kFieldCount, 3},
        {good + "INDI\t@I8@\t@I00002@\t\t\n", Problem::kFieldCount, 3},
        {"\n\r\nINDI @I8@ @I00002@\n", Problem::kFieldCount, 3},
        {good + "INDI\t@I8@\t@I00002@\tA\\q\n", Problem::kEscape, 3},
        {good + "INDI\t@I8@\t@I00002@\tA\\x4\n", Problem::kEscape, 3},
        {good + "INDI\t@I8\\\t@I00002@\n", Problem::kEscape, 3},
        {good + "IN DI\t@I8@\t@I00002@\n", Problem::kType, 3},
        {good + "\t@I8@\t@I00002@\n", Problem::kType, 3},
        {good + "INDI\t@I8@\tI00002\n", Problem::kIdentifier, 3},
        {good + "INDI\t@@\t@I00002@\n", Problem::kIdentifier, 3},
        {good + "INDI\t@I@8@\t@I00002@\n", Problem::kIdentifier, 3},
        {good + "INDI\t\t@I00002@\n", Problem::kIdentifier, 3},
        {good + "INDI\t@I8@\t@I00001@\n", Problem::kNewTwice, 3, 1},
        {good + "INDI\t@I7@\t@I00002@\n", Problem::kOldTwice, 3, 1},
        {good + "INDI\t@I8@\t@I00002@\tA1\n", Problem::kUniqueIdTwice, 3, 1},
        {good + "FAM\t@F2@\t@F00002@\nINDI\t@I7@\t@I00001@\tA1\n", Problem::kNewTwice, 4, 1},
        {"INDI\t@a@\t@b@\nINDI\t@c@\t@d@\t\nINDI\t@e@\t@b@\n", Problem::kNewTwice, 3, 1},
    };
    for (const auto& c : cases) {
        try {
            ReadKeepList(c.list);
            ADD_FAILURE() << "read: " << c.list;
        } catch (const KeepListError& error) {
            EXPECT_EQ(error.problem(), c.problem) << c.list;
            EXPECT_EQ(error.line(), c.line) << c.list;
            EXPECT_EQ(error.earlierLine(), c.earlier) << c.list;
            EXPECT_NE(std::string(error.what()).find("Regel " + std::to_string(c.line) + " "), std::string::npos);
        }
    }
}

TEST(KeepListTest, WhatIsWrittenIsReadBack) {
    // Any byte in an identifier; a line of three fields and one with CR LF; the same identifiers in
    // other types; empty lines.
    const std::string odd = "@a\\b\tc\r\n\x01\x7F\xC3\xA9@";
    std::string map;
    AppendMapLine(map, "_LOC", odd, "@L1@", "\t\\x");
    map += "INDI\t@I7@\t@I00001@\r\n\nSOUR\t@I7@\t@I00001@\t\n";
    const KeepList list = ReadKeepList(map);
    const KeptType* loc = list.Type("_LOC");
    ASSERT_NE(loc, nullptr);
    EXPECT_EQ(loc->Line(loc->ByOldId(odd)).newId, "@L1@");
    EXPECT_EQ(loc->Line(loc->ByNewId("@L1@")).uniqueId, "\t\\x");
    EXPECT_EQ(loc->ByUniqueId("\t\\x"), 0U);
    EXPECT_EQ(list.Type("INDI")->Line(0).lineNumber, 2U);
    EXPECT_EQ(list.Type("INDI")->ByUniqueId(""), KeptType::kNone);
    EXPECT_EQ(list.Type("SOUR")->Line(0).lineNumber, 4U);
    EXPECT_EQ(list.Type("NOTE"), nullptr);
}

}  // namespace
}  // namespace halvern
