#include "ui/tResStr.h"

#include <gtest/gtest.h>

#include <set>

namespace halvern {
namespace {

TEST(MessageCatalogue, LookupByIdentifierGivesTheNamedText) {
    for (const ResString& entry :
         {rsVerkeerdFormaat, rsGeenInvoer, rsGeenUitvoer, rsZelfdeNaam, rsGeenGegevens, rsSpatie, rsScheiding,
          rsBerichten, rsTijdStandaard, rsAantalStandaard, rsGestartOm, rsBezigMet, rsSchonen, rsAantal,
          rsNummersDubbel}) {
        EXPECT_EQ(LoadResString(entry.id), entry.text) << entry.id;
    }
    EXPECT_EQ(LoadResString(65297), "");
    EXPECT_EQ(LoadResString(65313), "");
    EXPECT_EQ(LoadResString(0), "");
}

TEST(MessageCatalogue, IdentifiersAreConsecutiveAndUnique) {
    std::set<int> ids;
    for (int id = 65298; id <= 65312; ++id) {
        EXPECT_FALSE(LoadResString(id).empty()) << id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 15u);
}

TEST(MessageCatalogue, SeparatorsKeepTheirBlanks) {
    EXPECT_EQ(rsSpatie.text, " ");
    EXPECT_EQ(rsScheiding.text, " : ");
    // Two entries read "aantal" but stay separate entries.
    EXPECT_EQ(rsAantal.text, rsAantalStandaard.text);
    EXPECT_NE(rsAantal.id, rsAantalStandaard.id);
}

}  // namespace
}  // namespace halvern
