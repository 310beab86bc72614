#include "app/tResStr.h"

#include <gtest/gtest.h>

namespace halvern {
namespace {

TEST(MessageCatalogue, LookupByIdentifierGivesTheNamedText) {
    for (const ResString& entry :
         {rsVerkeerdFormaat, rsGeenInvoer, rsGeenUitvoer, rsZelfdeNaam, rsGeenGegevens, rsSpatie, rsScheiding,
          rsBerichten, rsTijdStandaard, rsAantalStandaard, rsGestartOm, rsBezigMet, rsSchonen, rsAantal,
          rsNummersDubbel, rsGeenGeheugen, rsNummerBezet, rsHetBestand, rsAanhalingsteken, rsKanNietOpenen,
          rsBestaatNiet, rsIsEenMap, rsToegangGeweigerd, rsFoutcode, rsPunt}) {
        EXPECT_EQ(LoadResString(entry.id), entry.text) << entry.id;
    }
    EXPECT_EQ(LoadResString(65297), "");
    EXPECT_EQ(LoadResString(65323), "");
}

TEST(MessageCatalogue, SeparatorsKeepTheirBlanks) {
    // The count text reads "aantal FAM : 0" only with these exact blanks.
    EXPECT_EQ(rsSpatie.text, " ");
    EXPECT_EQ(rsScheiding.text, " : ");
}

}  // namespace
}  // namespace halvern
