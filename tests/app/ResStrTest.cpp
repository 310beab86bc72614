#include "app/tResStr.h"

#include <gtest/gtest.h>

#include <set>

namespace halvern {
namespace {

TEST(MessageCatalogue, EveryEntryHasItsOwnIdentifierAndIsFoundByIt) {
    std::set<int> identifiers;
    for (const ResString& entry : Catalogue()) {
        EXPECT_TRUE(identifiers.insert(entry.id).second) << entry.name;
        EXPECT_EQ(LoadResString(entry.id), entry.text) << entry.name;
    }
    // The texts of earlier versions keep their numbers; new ones follow on without a gap.
    EXPECT_EQ(*identifiers.begin(), 65298);
    EXPECT_EQ(*identifiers.rbegin(), 65298 + static_cast<int>(identifiers.size()) - 1);
    EXPECT_EQ(LoadResString(65297), "");
    EXPECT_EQ(rsVerkeerdFormaat.name, "rsVerkeerdFormaat");
    EXPECT_EQ(LoadResString(65322), ".");
    // The count text reads "aantal FAM : 0" only with these exact blanks.
    EXPECT_EQ(rsSpatie.text, " ");
    EXPECT_EQ(rsScheiding.text, " : ");
}

TEST(MessageCatalogue, PlaceholdersAreFilledOnceEach) {
    EXPECT_EQ(FillIn("%2 bij %1", {"'x'", "'INDI'"}), "'INDI' bij 'x'");
    EXPECT_EQ(FillIn("%1%1 %3 %0 %", {"%2", "b"}), "%2%2 %3 %0 %") << "a value is never read again";
    EXPECT_EQ(FillIn(rsGeenProblemen, {"7"}), rsGeenProblemen.text);
}

}  // namespace
}  // namespace halvern
