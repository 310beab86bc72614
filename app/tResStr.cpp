#include "app/tResStr.h"

#include <array>

namespace halvern {

namespace {
constexpr std::array kCatalogue{
    rsVerkeerdFormaat, rsGeenInvoer,      rsGeenUitvoer, rsZelfdeNaam, rsGeenGegevens,
    rsSpatie,          rsScheiding,       rsBerichten,   rsTijdStandaard, rsAantalStandaard,
    rsGestartOm,       rsBezigMet,        rsSchonen,     rsAantal,     rsNummersDubbel,
    rsGeenGeheugen,    rsNummerBezet,     rsHetBestand,  rsAanhalingsteken, rsKanNietOpenen,
    rsBestaatNiet,     rsIsEenMap,        rsToegangGeweigerd, rsFoutcode, rsPunt,
};
}  // namespace

std::string_view LoadResString(int id) {
    for (const ResString& entry : kCatalogue) {
        if (entry.id == id) return entry.text;
    }
    return {};
}

}  // namespace halvern
