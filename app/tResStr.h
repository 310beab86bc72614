#pragma once
#include <string_view>

namespace halvern {

// One text of the message catalogue: its fixed identifier and its Dutch text.
struct ResString {
    int id;
    std::string_view text;
    constexpr operator std::string_view() const { return text; }
};

inline constexpr ResString rsVerkeerdFormaat{65298, "Verkeert bestandsformaat."};
inline constexpr ResString rsGeenInvoer{65299, "Er is geen bestand opgegeven om te openen."};
inline constexpr ResString rsGeenUitvoer{65300, "Er is geen bestand opgegeven om de gegevens in op te slaan."};
inline constexpr ResString rsZelfdeNaam{65301, "Het invoerbestand heeft dezelfde naam als het uitvoerbestand."};
inline constexpr ResString rsGeenGegevens{65302, "Er zijn geen gegevens om te hernummeren."};
inline constexpr ResString rsSpatie{65303, " "};
inline constexpr ResString rsScheiding{65304, " : "};
inline constexpr ResString rsBerichten{65305, "berichten"};
inline constexpr ResString rsTijdStandaard{65306, "dd:uu:mm:ss"};
inline constexpr ResString rsAantalStandaard{65307, "aantal"};
inline constexpr ResString rsGestartOm{65308, "gestart om"};
inline constexpr ResString rsBezigMet{65309, "bezig met"};
inline constexpr ResString rsSchonen{65310, "schonen"};
inline constexpr ResString rsAantal{65311, "aantal"};
inline constexpr ResString rsNummersDubbel{65312, "De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd."};
inline constexpr ResString rsGeenGeheugen{65313, "Er is onvoldoende geheugen voor deze hernummering; er is niets gewijzigd."};
inline constexpr ResString rsNummerBezet{65314, "Een nieuw nummer staat al in het bestand; er is niets hernummerd."};
// The pieces of the message for a file that cannot be opened (app/FileProblem.h), joined as
// rsHetBestand " " rsAanhalingsteken name rsAanhalingsteken " " rsKanNietOpenen " " reason; the
// reason is one of the next three, or rsFoutcode " " the system's code rsPunt.
inline constexpr ResString rsHetBestand{65315, "Het bestand"};
inline constexpr ResString rsAanhalingsteken{65316, "\""};
inline constexpr ResString rsKanNietOpenen{65317, "kan niet geopend worden:"};
inline constexpr ResString rsBestaatNiet{65318, "het bestaat niet."};
inline constexpr ResString rsIsEenMap{65319, "het is een map."};
inline constexpr ResString rsToegangGeweigerd{65320, "de toegang is geweigerd."};
inline constexpr ResString rsFoutcode{65321, "het kan niet gelezen worden, foutcode"};
inline constexpr ResString rsPunt{65322, "."};

// The text with this identifier; empty for an identifier the catalogue does not hold.
std::string_view LoadResString(int id);

}  // namespace halvern
