#include "cli/HelpText.h"

#include "base/ProgramVersion.h"

namespace halvern::cli {

std::string_view HelpText() {
    return "Gebruik: halvern-cli [opties] INVOER UITVOER\n"
           "\n"
           "Hernummert de kruisverwijzingen van een recordtype in een GEDCOM-bestand: de records\n"
           "krijgen @I00001@, @I00002@, ... in de volgorde waarin ze in het bestand staan, en elke\n"
           "verwijzing volgt zijn record. Alle andere bytes blijven zoals ze waren.\n"
           "INVOER of UITVOER '-' is standaardinvoer of standaarduitvoer (een bestand met de naam\n"
           "'-' geeft u op als './-').\n"
           "\n"
           "Opties:\n"
           "  -t, --type TYPE[:START]  INDI, FAM, NOTE of SOUR (hoofdletters of kleine letters),\n"
           "                           eventueel met een eigen startnummer. Mag vaker gegeven\n"
           "                           worden: de hernummeringen volgen elkaar dan op, in deze\n"
           "                           volgorde, op dezelfde tekst. Zonder -t: alleen INDI.\n"
           "  -s, --start TEKST        startnummer voor de typen zonder eigen startnummer\n"
           "                           (standaard 1; ook hexadecimaal: $1F of 0x1F).\n"
           "  -n, --dry-run            wel hernummeren en melden, niets schrijven.\n"
           "  -m, --map BESTAND        schrijf een vertaallijst: per hernummerde verwijzing een regel\n"
           "                           met type, oude en nieuwe verwijzing, gescheiden door tabs.\n"
           "                           Tabs, regeleinden en backslashes in een verwijzing staan er\n"
           "                           als \\t, \\n, \\r, \\\\ of \\xHH.\n"
           "  -q, --quiet              geen aantallen, tijd of voortgang melden.\n"
           "  -h, --help               deze hulp.\n"
           "      --version            het versienummer.\n"
           "      --                   einde van de opties.\n"
           "\n"
           "Na afloop meldt halvern-cli per hernummering het aantal gevonden verwijzingen en de\n"
           "verstreken tijd (dd:uu:mm:ss), op standaarduitvoer, of op standaardfout als UITVOER\n"
           "'-' is. Er wordt niets geschreven tenzij alle hernummeringen gelukt zijn.\n"
           "\n"
           "Afsluitcode:\n"
           "  0  klaar\n"
           "  1  verkeerd gebruik: onbekende optie, ontbrekende of lege uitvoernaam, invoer, uitvoer\n"
           "     en vertaallijst zijn niet drie verschillende bestanden\n"
           "  2  invoer onbruikbaar: bestaat niet, is een map, is niet te lezen, bevat een 0-byte of\n"
           "     bevat niets dan spaties en regeleinden\n"
           "  3  hernummering geweigerd: nieuwe nummers zouden dubbel voorkomen\n"
           "  4  uitvoer of vertaallijst kon niet geschreven worden\n";
}

std::string_view UsageHint() {
    return "Gebruik: halvern-cli [opties] INVOER UITVOER (meer uitleg: halvern-cli --help)";
}

std::string_view VersionText() { return kProgramVersion; }

}  // namespace halvern::cli
