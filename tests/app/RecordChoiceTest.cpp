#include "app/RecordChoice.h"

#include <gtest/gtest.h>

namespace halvern {
namespace {

TEST(RecordChoice, RadioItemsInDialogOrder) {
    const struct {
        int item;
        std::string_view tag, letter;
    } cases[] = {{0, "INDI", "I"}, {1, "FAM", "F"}, {2, "NOTE", "N"}, {3, "SOUR", "S"},
                 {-1, "INDI", "I"}, {4, "INDI", "I"}, {-2147483647 - 1, "INDI", "I"}};
    for (const auto& c : cases) {
        const RecordChoice choice = RecordChoiceForItem(c.item);
        EXPECT_EQ(choice.tag, c.tag) << c.item;
        EXPECT_EQ(choice.letter, c.letter) << c.item;
    }
}

TEST(RecordChoice, TypedTagsInAnyLetterCase) {
    for (const auto& [typed, tag] : {std::pair<std::string_view, std::string_view>{"INDI", "INDI"},
                                     {"indi", "INDI"}, {"Fam", "FAM"}, {"note", "NOTE"}, {"sOuR", "SOUR"}}) {
        const auto choice = RecordChoiceForTag(typed);
        ASSERT_TRUE(choice.has_value()) << typed;
        EXPECT_EQ(choice->tag, tag);
        EXPECT_EQ(choice->letter, tag.substr(0, 1));
    }
}

TEST(RecordChoice, UnknownTagsAreRefused) {
    for (const std::string_view typed : std::initializer_list<std::string_view>{"", "IND", "INDIV", " INDI", "INDI ", "FAMC", "I", "SUBM", "HEAD",
                                         "ind\xc9", std::string_view("INDI\0", 5)}) {
        EXPECT_FALSE(RecordChoiceForTag(typed).has_value()) << typed;
    }
}

}  // namespace
}  // namespace halvern
