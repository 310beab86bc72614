#include "cli/HelpText.h"

#include "base/ProgramVersion.h"

namespace halvern::cli {

std::string_view HelpText() {
    return "Gebruik: halvern-cli [opties] INVOER UITVOER\n"
           "        halvern-cli --check INVOER\n"
           "\n"
           "Hernummert de kruisverwijzingen van een recordtype in een GEDCOM-bestand: de records\n"
           "krijgen @I00001@, @I00002@, ... in de volgorde waarin ze in het bestand staan, en elke\n"
           "verwijzing volgt zijn record. Alle andere bytes blijven zoals ze waren. Een bestand in\n"
           "UTF-16 blijft UTF-16.\n"
           "INVOER of UITVOER '-' is standaardinvoer of standaarduitvoer (een bestand met de naam\n"
           "'-' geeft u op als './-').\n"
           "\n"
           "Opties:\n"
           "  -t, --type TYPE[:START[:VOORVOEGSEL[:BREEDTE]]]\n"
           "                           elk recordtype: INDI, FAM, NOTE, SOUR, REPO, OBJE, SUBM,\n"
           "                           SUBN, SNOTE (hoofdletters of kleine letters) of een eigen\n"
           "                           type als _PLAC. Eventueel met een eigen startnummer, een\n"
           "                           eigen voorvoegsel (1 tot 20 tekens uit A-Z, a-z, 0-9 en _;\n"
           "                           standaard I, F, N, S, R, O, U, B, N; een eigen type moet er\n"
           "                           een krijgen) en een breedte van het volgnummer (1 tot 9,\n"
           "                           standaard 5). Een leeg veld houdt zijn standaard:\n"
           "                           -t OBJE::M:4 geeft @M0001@. Mag vaker gegeven worden: de\n"
           "                           hernummeringen volgen elkaar dan op, in deze volgorde, op\n"
           "                           dezelfde tekst. Zonder -t: alleen INDI.\n"
           "  -a, --all                elk recordtype dat in het bestand staat en een standaard\n"
           "                           voorvoegsel heeft, vanaf 1, in de volgorde INDI, FAM, NOTE,\n"
           "                           SNOTE, SOUR, REPO, OBJE, SUBM, SUBN, dan de overige.\n"
           "  -c, --check              een verslag van de verwijzingen: records per type,\n"
           "                           verwijzingen zonder record, dubbel gebruikte identificaties\n"
           "                           en records waar niets naar verwijst. Alleen met INVOER\n"
           "                           wordt niets hernummerd; met -t of -a gaat het verslag over\n"
           "                           de hernummerde tekst.\n"
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
           "  1  verkeerd gebruik: onbekende optie, onleesbaar getal, voorvoegsel of breedte,\n"
           "     ontbrekende of lege uitvoernaam, invoer, uitvoer en vertaallijst zijn niet drie\n"
           "     verschillende bestanden\n"
           "  2  invoer onbruikbaar: bestaat niet, is een map, is niet te lezen (de melding noemt\n"
           "     het bestand en de reden), bevat een 0-byte zonder UTF-16 te zijn of bevat niets\n"
           "     dan spaties en regeleinden\n"
           "  3  hernummering geweigerd: nieuwe nummers zouden dubbel voorkomen of staan al in het\n"
           "     bestand\n"
           "  4  uitvoer of vertaallijst kon niet geschreven worden\n"
           "  5  --check: het verslag vond verwijzingen zonder record of dubbel gebruikte\n"
           "     identificaties (de uitvoer is dan wel geschreven)\n";
}

std::string_view UsageHint() {
    return "Gebruik: halvern-cli [opties] INVOER UITVOER (meer uitleg: halvern-cli --help)";
}

std::string_view VersionText() { return kProgramVersion; }

}  // namespace halvern::cli
