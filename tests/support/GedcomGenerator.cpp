#include "tests/support/GedcomGenerator.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace halvern::testsupport {
namespace {

// A small generator of our own (SplitMix64), so the output does not depend on a library's
// distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
    bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
    template <std::size_t N>
    std::string_view Pick(const std::array<std::string_view, N>& items) { return items[Below(N)]; }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 12> kMaleNames{
    "Jan", "Pieter", "Hendrik", "Cornelis", "Willem", "Johannes",
    "Jürgen", "Gerrit", "Klaas", "Dirk", "Anton", "Bram"};
constexpr std::array<std::string_view, 12> kFemaleNames{
    "Maria", "Johanna", "Anna", "Cornelia", "Zoë", "Geertruida",
    "Elisabeth", "Aaltje", "Grietje", "Hendrika", "Noëlle", "Trijntje"};
constexpr std::array<std::string_view, 12> kSurnames{
    "de Vries", "Jansen", "Bakker", "Visser", "Smit", "Meijer",
    "van den Berg", "Mulder", "de Boer", "Brouwer", "Çelik", "Dekker"};
constexpr std::array<std::string_view, 10> kPlaces{
    "Amsterdam, Noord-Holland", "Leiden, Zuid-Holland", "Zwolle, Overijssel",
    "Groningen, Groningen", "Brussel, Brabant", "Ærøskøbing, Danmark",
    "Delft, Zuid-Holland", "Utrecht, Utrecht", "Middelburg, Zeeland", "Assen, Drenthe"};
constexpr std::array<std::string_view, 12> kMonths{
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<std::string_view, 6> kNoteTexts{
    "Gegevens overgenomen uit het bevolkingsregister.",
    "Volgens de familie geboren in het oude huis aan de dijk.",
    "Doopgetuigen: oom en tante van moederszijde.",
    "Beroep: landbouwer; later koopman in granen.",
    "Zie ook de brief van 3 mei 1911, adres info@@archief.example.",
    "Spelling van de naam wisselt in de akten."};

// Identifier numbers 1..2n in random order, the first n of them used: records are defined in an
// order that has nothing to do with their numbers.
std::vector<std::size_t> ShuffledNumbers(std::size_t n, Random& random) {
    std::vector<std::size_t> numbers(2 * n);
    for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = i + 1;
    for (std::size_t i = numbers.size(); i > 1; --i) std::swap(numbers[i - 1], numbers[random.Below(i)]);
    numbers.resize(n);
    return numbers;
}

struct Family {
    std::size_t husband = SIZE_MAX;
    std::size_t wife = SIZE_MAX;
    std::vector<std::size_t> children;
};

class Writer {
public:
    explicit Writer(bool crlf) : eol_(crlf ? "\r\n" : "\n") {}
    template <typename... Parts>
    void Line(const Parts&... parts) {
        (Append(parts), ...);
        out_ += eol_;
    }
    std::string Take() { return std::move(out_); }

private:
    void Append(std::string_view part) { out_ += part; }
    void Append(const std::string& part) { out_ += part; }
    void Append(const char* part) { out_ += part; }
    void Append(std::size_t number) { out_ += std::to_string(number); }
    void Append(int number) { out_ += std::to_string(number); }

    std::string_view eol_;
    std::string out_;
};

std::string Id(char letter, std::size_t number) {
    std::string id(1, '@');
    id += letter;
    id += std::to_string(number);
    id += '@';
    return id;
}

void Date(Writer& out, Random& random, int fromYear, int years) {
    out.Line("2 DATE ", static_cast<int>(random.Below(28) + 1), " ", random.Pick(kMonths), " ",
             fromYear + static_cast<int>(random.Below(static_cast<std::size_t>(years))));
}

}  // namespace

std::string GenerateGedcom(const GedcomOptions& options) {
    Random random(options.seed);
    const std::size_t people = options.individuals;
    const std::size_t familyCount = people / 3;
    const std::size_t noteCount = people / 10 + 1;
    const std::size_t sourceCount = people / 20 + 1;

    const std::vector<std::size_t> personIds = ShuffledNumbers(people, random);
    const std::vector<std::size_t> familyIds = ShuffledNumbers(familyCount, random);
    const std::vector<std::size_t> noteIds = ShuffledNumbers(noteCount, random);
    const std::vector<std::size_t> sourceIds = ShuffledNumbers(sourceCount, random);

    std::vector<bool> male(people);
    std::vector<std::size_t> men, women;
    for (std::size_t i = 0; i < people; ++i) {
        male[i] = random.Chance(50);
        (male[i] ? men : women).push_back(i);
    }
    std::vector<Family> families(familyCount);
    std::vector<std::vector<std::size_t>> spouseIn(people);
    std::vector<std::size_t> childOf(people, SIZE_MAX);
    for (std::size_t f = 0; f < familyCount; ++f) {
        if (!men.empty() && random.Chance(95)) families[f].husband = men[random.Below(men.size())];
        if (!women.empty() && random.Chance(95)) families[f].wife = women[random.Below(women.size())];
        if (families[f].husband != SIZE_MAX) spouseIn[families[f].husband].push_back(f);
        if (families[f].wife != SIZE_MAX) spouseIn[families[f].wife].push_back(f);
    }
    for (std::size_t i = 0; i < people && familyCount > 0; ++i) {
        if (!random.Chance(60)) continue;
        const std::size_t f = random.Below(familyCount);
        if (families[f].husband == i || families[f].wife == i) continue;
        childOf[i] = f;
        families[f].children.push_back(i);
    }

    Writer out(options.crlf);
    out.Line("0 HEAD");
    out.Line("1 SOUR gedcom-gen");
    out.Line("2 VERS 1.0");
    out.Line("1 DEST ANY");
    out.Line("1 DATE 12 MAR 2024");
    out.Line("1 SUBM @U1@");
    out.Line("1 GEDC");
    out.Line("2 VERS 5.5.1");
    out.Line("2 FORM LINEAGE-LINKED");
    out.Line("1 CHAR UTF-8");
    out.Line("1 NOTE Testgegevens; vragen naar info@@voorbeeld.example");
    out.Line("0 @U1@ SUBM");
    out.Line("1 NAME Afzender van de testgegevens");

    for (std::size_t i = 0; i < people; ++i) {
        const std::string_view given = male[i] ? random.Pick(kMaleNames) : random.Pick(kFemaleNames);
        const std::string_view surname = random.Pick(kSurnames);
        out.Line("0 ", Id('I', personIds[i]), " INDI");
        out.Line("1 NAME ", given, " /", surname, "/");
        out.Line("2 GIVN ", given);
        out.Line("2 SURN ", surname);
        out.Line("1 SEX ", male[i] ? "M" : "F");
        out.Line("1 BIRT");
        Date(out, random, 1750, 200);
        out.Line("2 PLAC ", random.Pick(kPlaces));
        if (random.Chance(30)) {
            out.Line("2 SOUR ", Id('S', sourceIds[random.Below(sourceCount)]));
            out.Line("3 PAGE akte ", static_cast<int>(random.Below(400) + 1));
        }
        if (random.Chance(40)) {
            out.Line("1 DEAT");
            Date(out, random, 1800, 200);
            out.Line("2 PLAC ", random.Pick(kPlaces));
        }
        if (childOf[i] != SIZE_MAX) out.Line("1 FAMC ", Id('F', familyIds[childOf[i]]));
        for (const std::size_t f : spouseIn[i]) out.Line("1 FAMS ", Id('F', familyIds[f]));
        if (random.Chance(20)) out.Line("1 NOTE ", Id('N', noteIds[random.Below(noteCount)]));
        out.Line("1 CHAN");
        out.Line("2 DATE 1 JAN 2020");
    }

    for (std::size_t f = 0; f < familyCount; ++f) {
        out.Line("0 ", Id('F', familyIds[f]), " FAM");
        if (families[f].husband != SIZE_MAX) out.Line("1 HUSB ", Id('I', personIds[families[f].husband]));
        if (families[f].wife != SIZE_MAX) out.Line("1 WIFE ", Id('I', personIds[families[f].wife]));
        for (const std::size_t child : families[f].children) out.Line("1 CHIL ", Id('I', personIds[child]));
        out.Line("1 MARR");
        Date(out, random, 1770, 200);
        out.Line("2 PLAC ", random.Pick(kPlaces));
        if (random.Chance(20)) out.Line("1 SOUR ", Id('S', sourceIds[random.Below(sourceCount)]));
        if (random.Chance(10)) out.Line("1 NOTE ", Id('N', noteIds[random.Below(noteCount)]));
    }

    for (std::size_t s = 0; s < sourceCount; ++s) {
        const std::string_view place = random.Pick(kPlaces);
        out.Line("0 ", Id('S', sourceIds[s]), " SOUR");
        out.Line("1 TITL Burgerlijke stand ", place);
        out.Line("1 AUTH Gemeentearchief ", place);
        if (random.Chance(30)) out.Line("1 NOTE ", Id('N', noteIds[random.Below(noteCount)]));
    }

    for (std::size_t n = 0; n < noteCount; ++n) {
        out.Line("0 ", Id('N', noteIds[n]), " NOTE ", random.Pick(kNoteTexts));
        if (random.Chance(50)) out.Line("1 CONT ", random.Pick(kNoteTexts));
        // Some programs name a record in a note's text; the renumbering follows it there too.
        if (people > 0 && random.Chance(20)) out.Line("1 CONC  Zie ook ", Id('I', personIds[random.Below(people)]));
    }
    out.Line("0 TRLR");
    return out.Take();
}

}  // namespace halvern::testsupport
