// The form of the new identifiers (prefix and width) and the runs it refuses: serial texts that
// repeat within the width, and new identifiers that the text holds already and would keep.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/FixedWidthNumber.h"
#include "core/IdentifierForm.h"
#include "core/Renumber.h"

namespace halvern {
namespace {

// count individuals @P0@, @P1@, ... each with one reference.
std::string Individuals(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string id = "@P" + std::to_string(i) + "@";
        text += "0 " + id + " INDI\n1 ASSO " + id + "\n";
    }
    return text;
}

// The identifier a refused run names, or nothing when the run went through.
std::optional<std::string> Collision(const std::string& original, std::string_view tag, const IdentifierForm& form,
                                     std::int32_t start) {
    std::string text = original;
    NullRenumberSink sink;
    try {
        RenumberRecords(text, tag, form, start, sink);
    } catch (const RunRefused& error) {
        EXPECT_EQ(text, original);
        EXPECT_EQ(error.code(), RunRefusal::kIdentifierTaken);
        return error.identifier();
    }
    return std::nullopt;
}

TEST(IdentifierForm, PrefixesAndWidthsAreCheckedByTheirRules) {
    for (const std::string_view good : {"I", "F", "_", "Ab9_", "ABCDEFGHIJKLMNOPQRST"}) {
        EXPECT_TRUE(IsValidPrefix(good)) << good;
    }
    for (const std::string_view bad : {"", "I@", "I ", "Ä", "-", "ABCDEFGHIJKLMNOPQRSTU", "I\n"}) {
        EXPECT_FALSE(IsValidPrefix(bad)) << bad;
    }
    EXPECT_FALSE(IsValidSerialWidth(0));
    EXPECT_TRUE(IsValidSerialWidth(1));
    EXPECT_TRUE(IsValidSerialWidth(9));
    EXPECT_FALSE(IsValidSerialWidth(10));
    std::string text = Individuals(2);
    NullRenumberSink sink;
    EXPECT_THROW(RenumberRecords(text, "INDI", IdentifierForm{"I@", 5}, 1, sink), std::invalid_argument);
    EXPECT_THROW(RenumberRecords(text, "INDI", IdentifierForm{"I", 10}, 1, sink), std::invalid_argument);
    EXPECT_EQ(text, Individuals(2));
}

TEST(IdentifierForm, EveryWidthWritesTheLastDigitsOfTheSerialNumber) {
    for (int width = kMinSerialWidth; width <= kMaxSerialWidth; ++width) {
        for (const std::int32_t start : {1, 0, -3, 987654321}) {
            SCOPED_TRACE(std::to_string(width) + " from " + std::to_string(start));
            std::string text = Individuals(3);
            NullRenumberSink sink;
            std::vector<Renumbering> changes;
            try {
                RenumberRecords(text, "INDI", IdentifierForm{"Pre_1", width}, start, sink, &changes);
            } catch (const RunRefused&) {
                // -3, -2, -1 at width 1 are "3", "2", "1": only a width that can show them all may refuse.
                EXPECT_TRUE(start < 0 && width == 1);
                continue;
            }
            ASSERT_EQ(changes.size(), 3u);
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(changes[i].newId, "@Pre_1" + FixedWidthNumber(SerialNumber(start, i), width) + "@");
            }
        }
    }
}

TEST(IdentifierForm, SerialTextsMayNotRepeatWithinTheWidth) {
    struct Case {
        std::size_t records;
        int width;
        std::int32_t start;
        bool refused;
    };
    const Case cases[] = {
        {10, 1, 0, false},   // 0..9
        {11, 1, 0, true},    // 10 ends in 0 again
        {100, 2, 7, false},  // 07..99, 00..06
        {101, 2, 7, true},
        {3, 2, -1, false},   // "-1", "00", "01"
        {11, 2, -1, false},  // "-1", "00" .. "09"
        {22, 2, -10, true},  // -10 is written "10", as 10 is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.records) + " width " + std::to_string(c.width));
        const std::string original = Individuals(c.records);
        std::string text = original;
        NullRenumberSink sink;
        bool refused = false;
        try {
            RenumberRecords(text, "INDI", IdentifierForm{"X", c.width}, c.start, sink);
        } catch (const RunRefused& error) {
            refused = true;
            EXPECT_EQ(error.code(), RunRefusal::kSerialsRepeat);
            EXPECT_EQ(text, original);
        }
        EXPECT_EQ(refused, c.refused);
    }
}

TEST(IdentifierForm, ANewIdentifierThatStaysInTheTextRefusesTheRun) {
    const std::string family = "0 @I00001@ INDI\n0 @I00002@ INDI\n0 @S1@ SOUR\n0 @F1@ FAM\n1 HUSB @I00001@\n";
    struct Case {
        const char* what;
        std::string text;
        std::string_view tag;
        const char* prefix;
        int width;
        std::int32_t start;
        std::optional<std::string> collision;
    };
    const Case cases[] = {
        {"sources numbered like individuals", family, "SOUR", "I", 5, 1, "@I00001@"},
        {"sources with a prefix of their own", family, "SOUR", "S", 5, 1, std::nullopt},
        {"a dangling reference the run would revive", "0 @a@ INDI\n0 @b@ INDI\n0 @c@ INDI\n1 ASSO @I00003@\n",
         "INDI", "I", 5, 1, "@I00003@"},
        {"a dangling reference beyond the run", "0 @a@ INDI\n0 @b@ INDI\n1 ASSO @I00003@\n", "INDI", "I", 5, 1,
         std::nullopt},
        {"identifiers that swap", "0 @I00002@ INDI\n0 @I00001@ INDI\n1 ASSO @I00002@\n", "INDI", "I", 5, 1,
         std::nullopt},
        {"the serial text of a repeated definition is never written",
         "0 @a@ INDI\n0 @a@ INDI\n0 @b@ INDI\n1 NOTE @I00002@\n", "INDI", "I", 5, 1, std::nullopt},
        {"negative serial texts", "0 @a@ INDI\n0 @b@ INDI\n1 ASSO @I000-1@\n", "INDI", "I", 5, -2, "@I000-1@"},
        {"one digit", "0 @a@ FAM\n0 @b@ FAM\n1 X @F1@\n", "FAM", "F", 1, 0, "@F1@"},
        {"a stretch that shares its @ with another", "0 @a@ INDI\n1 X @x@I00001@\n", "INDI", "I", 5, 1,
         "@I00001@"},
        {"text that only looks alike", "0 @a@ INDI\n1 X @I0001@ @I000001@ I00001 @J00001@\n", "INDI", "I", 5, 1,
         std::nullopt},
        {"a record of a type of its own", "0 @a@ _LOC\n0 @L_00001@ _PLACE\n", "_LOC", "L_", 5, 1, "@L_00001@"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Collision(c.text, c.tag, IdentifierForm{c.prefix, c.width}, c.start), c.collision);
    }
}

TEST(IdentifierForm, CollisionsAreFoundWhereverTheyStandInTheText) {
    // The stretches of a new identifier's length are picked out 64 bytes at a time: one that
    // straddles two blocks, or ends the text, is found as well.
    for (std::size_t padding = 0; padding < 140; ++padding) {
        SCOPED_TRACE(padding);
        const std::string text = "0 @a@ INDI\n" + std::string(padding, 'x') + "@I00001@";
        EXPECT_EQ(Collision(text, "INDI", {"I", 5}, 1), "@I00001@");
        EXPECT_EQ(Collision(text + "\n0 @b@ INDI\n" + std::string(padding % 64, '@'), "INDI", {"I", 5}, 1),
                  "@I00001@");
    }
}

}  // namespace
}  // namespace halvern
