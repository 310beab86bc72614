#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace halvern {

// One text of the message catalogue: its fixed identifier, its name and its Dutch text.
struct ResString {
    int id;
    std::string_view name;
    std::string_view text;
    constexpr operator std::string_view() const { return text; }
};

// The catalogue: every Dutch text the programs show a user, each written once here as
// X(identifier, name, text), from which the constants below, the lookup by identifier and the
// page's catalogue are made. A text with a value inside holds placeholders "%1", "%2", ... for
// FillIn. A new text takes the next identifier after the highest. The message for a file that
// cannot be opened is joined from pieces (CannotOpenText, app/FileProblem.h).
#define HALVERN_CATALOGUE(X) \
    X(65298, rsVerkeerdFormaat, "Verkeert bestandsformaat.") \
    X(65299, rsGeenInvoer, "Er is geen bestand opgegeven om te openen.") \
    X(65300, rsGeenUitvoer, "Er is geen bestand opgegeven om de gegevens in op te slaan.") \
    X(65301, rsZelfdeNaam, "Het invoerbestand heeft dezelfde naam als het uitvoerbestand.") \
    X(65302, rsGeenGegevens, "Er zijn geen gegevens om te hernummeren.") \
    X(65303, rsSpatie, " ") \
    X(65304, rsScheiding, " : ") \
    X(65305, rsBerichten, "berichten") \
    X(65306, rsTijdStandaard, "dd:uu:mm:ss") \
    X(65307, rsAantalStandaard, "aantal") \
    X(65308, rsGestartOm, "gestart om") \
    X(65309, rsBezigMet, "bezig met") \
    X(65310, rsSchonen, "schonen") \
    X(65311, rsAantal, "aantal") \
    X(65312, rsNummersDubbel, "De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.") \
    X(65313, rsGeenGeheugen, "Er is onvoldoende geheugen voor deze hernummering; er is niets gewijzigd.") \
    X(65314, rsNummerBezet, "Een nieuw nummer staat al in het bestand; er is niets hernummerd.") \
    X(65315, rsHetBestand, "Het bestand") \
    X(65316, rsAanhalingsteken, "\"") \
    X(65317, rsKanNietOpenen, "kan niet geopend worden:") \
    X(65318, rsBestaatNiet, "het bestaat niet.") \
    X(65319, rsIsEenMap, "het is een map.") \
    X(65320, rsToegangGeweigerd, "de toegang is geweigerd.") \
    X(65321, rsFoutcode, "het kan niet gelezen worden, foutcode") \
    X(65322, rsPunt, ".") \
    /* A refusal and the new identifier that is taken already. */ \
    X(65323, rsMetNummer, "%1 (%2)") \
    /* halvern-cli's messages and its progress line. */ \
    X(65324, rsLijstBotst, "de vertaallijst mag niet hetzelfde bestand zijn als de invoer of de uitvoer") \
    X(65325, rsProefdraaien, "proefdraaien: er is niets geschreven") \
    X(65326, rsVan, "%1 van %2") \
    X(65327, rsGebruik, "Gebruik: halvern-cli [opties] INVOER UITVOER (meer uitleg: halvern-cli --help)") \
    X(65328, rsOngeldigBeginnummer, "ongeldig beginnummer %1; kies een geheel getal van %2 tot %3 (ook $1F of 0x1F)") \
    X(65329, rsBij, "%1 bij %2") \
    X(65330, rsOptieEenKeer, "optie %1 mag maar een keer gegeven worden") \
    X(65331, rsVerwachtBestandsnaam, "optie %1 verwacht een bestandsnaam") \
    X(65332, rsLijstNietNaarStandaard, "de vertaallijst gaat naar een bestand, niet naar '-'") \
    X(65333, rsInterneFout, "interne fout bij het lezen van de opties") \
    X(65334, rsAllesOfType, "-a/--all en -t/--type gaan niet samen") \
    X(65335, rsInvoerOntbreekt, "invoerbestand ontbreekt") \
    X(65336, rsBeideOntbreken, "invoer- en uitvoerbestand ontbreken") \
    X(65337, rsUitvoerOntbreekt, "uitvoerbestand ontbreekt") \
    X(65338, rsTeVeelArgumenten, "te veel argumenten: %1") \
    X(65339, rsTeVeelVelden, "te veel velden in %1; gebruik TYPE:BEGIN:VOORVOEGSEL:BREEDTE") \
    X(65340, rsOngeldigType, "ongeldig recordtype %1") \
    X(65341, rsOngeldigVoorvoegsel, "ongeldig voorvoegsel %1; gebruik 1 tot %2 tekens uit A-Z, a-z, 0-9 en _") \
    X(65342, rsGeenVoorvoegsel, "recordtype %1 heeft geen standaardvoorvoegsel; geef er een op, bijvoorbeeld %2:1:X") \
    X(65343, rsOngeldigeBreedte, "ongeldige breedte %1; kies 1 tot 9") \
    X(65344, rsOnbekendeOptie, "onbekende optie %1") \
    X(65345, rsGeenWaarde, "optie %1 neemt geen waarde") \
    X(65346, rsVerwachtWaarde, "optie %1 verwacht een waarde") \
    /* The reference report (halvern-cli --check). */ \
    X(65347, rsRecordsPerType, "aantal records per type") \
    X(65348, rsGeenRecords, "geen records") \
    X(65349, rsZonderRecord, "verwijzingen naar een identificatie die geen record heeft") \
    X(65350, rsMeerDanEenRecord, "identificaties die meer dan een record hebben") \
    X(65351, rsNietsVerwijst, "records waar niets naar verwijst (personen niet meegeteld: die staan vaak op zichzelf)") \
    X(65352, rsRegel, "regel %1: %2") \
    X(65353, rsOpRegel, "%1 op regel %2") \
    X(65354, rsGeenProblemen, "geen problemen gevonden") \
    X(65355, rsEenProbleem, "1 probleem gevonden") \
    X(65356, rsProblemen, "%1 problemen gevonden") \
    /* A list of numbers to keep (the map of an earlier renumbering) that cannot be used: %1 is the */ \
    /* line, %2 the field, %3 the earlier line. */ \
    X(65357, rsLijstVelden, "Regel %1 van de lijst heeft geen drie of vier velden, gescheiden door tabs.") \
    X(65358, rsLijstTeken, \
      "Regel %1 van de lijst heeft een \\ die niet gevolgd wordt door \\, t, n, r of x met twee hexadecimale cijfers.") \
    X(65359, rsLijstType, "Regel %1 van de lijst noemt geen recordtype maar %2.") \
    X(65360, rsLijstNummer, "Regel %1 van de lijst heeft %2 waar een nummer als @I1@ hoort.") \
    X(65361, rsLijstNieuwDubbel, "Regel %1 van de lijst geeft het nummer %2 aan een tweede record; regel %3 gaf het al aan een ander.") \
    X(65362, rsLijstOudDubbel, "Regel %1 van de lijst geeft het oude nummer %2 een tweede nieuw nummer; regel %3 gaf het er al een.") \
    X(65363, rsLijstCodeDubbel, \
      "Regel %1 van de lijst geeft het record met de unieke code %2 een tweede nieuw nummer; regel %3 gaf het er al een.") \
    /* The order of numbering (halvern-cli --order, the page's choice). */ \
    X(65364, rsOngeldigeVolgorde, "ongeldige volgorde %1; kies definition, old of name") \
    X(65365, rsVolgorde, "Volgorde van de nieuwe nummers") \
    X(65366, rsVolgordeBestand, "zoals in het bestand") \
    X(65367, rsVolgordeOud, "op oud nummer") \
    X(65368, rsVolgordeNaam, "op naam") \
    /* The page's choice of an earlier map whose numbers are kept. */ \
    X(65369, rsVorigeLijst, "Vorige lijst (niet verplicht): de nummers daarin blijven") \
    X(65370, rsKiesLijst, "Kies een lijst...") \
    X(65371, rsGeenLijst, "geen: alle nummers zijn nieuw")

#define HALVERN_RESSTRING(id, name, text) inline constexpr ResString name{id, #name, text};
HALVERN_CATALOGUE(HALVERN_RESSTRING)
#undef HALVERN_RESSTRING

// Every entry of the catalogue, in the order of their identifiers.
std::span<const ResString> Catalogue();

// The text with this identifier; empty for an identifier the catalogue does not hold.
std::string_view LoadResString(int id);

// text with each placeholder "%1" to "%9" replaced by the value of that number; a "%" that is no
// placeholder of a value given stays as it is. Values are put in as they are, never read again.
std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace halvern
