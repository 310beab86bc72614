#include "core/NumberingOrder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>

#include "core/CollectIdentifiers.h"
#include "core/IdentifierTable.h"
#include "core/LookupText.h"
#include "core/RecordLines.h"

namespace halvern {
namespace {

// Every order is a sort of byte strings: each record's key is made once into one string of all
// keys, and compared as bytes. A key is a series of parts, each either present, 02 + its bytes + 01
// (a lookup form holds no byte below 0x20, so a shorter part sorts first), or missing, 03, which
// sorts after every present one. A record without a key is 03 (or 03 03), after all others.
constexpr char kPresent = '\x02';
constexpr char kEnd = '\x01';
constexpr char kMissing = '\x03';

struct KeySpan {
    std::size_t begin = 0;
    std::size_t size = 0;
};

// The ranks of the keys in keys[i] (spans of pool); equal keys keep their order. The sort moves
// small items that carry the first kWords * 8 bytes of their key as numbers, and its length, so
// most comparisons are settled without reading the keys, which lie all over the pool.
template <std::size_t kWords>
std::vector<std::size_t> RanksOfKeys(const std::string& pool, const std::vector<KeySpan>& keys) {
    constexpr std::size_t kHead = 8 * kWords;
    struct Item {
        std::array<std::uint64_t, kWords> head;
        std::uint32_t entry;
        std::uint32_t size;  // at most kHead + 1: longer keys are compared in full
    };
    if (keys.size() > 0xFFFFFFFF) throw std::length_error("too many records to sort");
    std::vector<Item> items(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeySpan& key = keys[i];
        unsigned char head[kHead] = {};
        std::memcpy(head, pool.data() + key.begin, std::min(key.size, kHead));
        Item& item = items[i];
        for (std::size_t word = 0; word < kWords; ++word) {
            std::uint64_t value = 0;  // big-endian: compared as numbers, the words compare as the bytes
            for (std::size_t byte = 0; byte < 8; ++byte) value = (value << 8) | head[8 * word + byte];
            item.head[word] = value;
        }
        item.entry = static_cast<std::uint32_t>(i);
        item.size = static_cast<std::uint32_t>(std::min(key.size, kHead + 1));
    }
    const auto rest = [&](const Item& item) {
        const KeySpan& key = keys[item.entry];
        return std::string_view(pool).substr(key.begin + kHead, key.size - kHead);
    };
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        for (std::size_t word = 0; word < kWords; ++word) {  // word by word: std::array's == calls memcmp
            if (a.head[word] != b.head[word]) return a.head[word] < b.head[word];
        }
        // The same first bytes: a key that ends within them is the beginning of the other.
        if (a.size <= kHead || b.size <= kHead) return a.size != b.size ? a.size < b.size : a.entry < b.entry;
        if (const int order = rest(a).compare(rest(b)); order != 0) return order < 0;
        return a.entry < b.entry;
    });
    std::vector<std::size_t> ranks(keys.size());
    for (std::size_t place = 0; place < items.size(); ++place) ranks[items[place].entry] = place;
    return ranks;
}

// By the number the digits of the identifier spell, then by its bytes: the key is 02, the number
// of significant digits in four bytes, the digits and the identifier; or 03 and the identifier.
std::vector<std::size_t> RanksByOldNumber(std::span<const std::string_view> identifiers) {
    std::string pool;
    std::vector<KeySpan> keys(identifiers.size());
    for (std::size_t i = 0; i < identifiers.size(); ++i) {
        const std::string_view id = identifiers[i];
        const std::size_t begin = pool.size();
        pool.append(5, kPresent);
        bool hasDigits = false;
        for (const char c : id) {
            if (c < '0' || c > '9') continue;
            hasDigits = true;
            if (c != '0' || pool.size() > begin + 5) pool += c;  // no leading zeros
        }
        if (hasDigits) {
            const std::size_t digits = std::min<std::size_t>(pool.size() - begin - 5, 0xFFFFFFFF);
            for (std::size_t byte = 0; byte < 4; ++byte) pool[begin + 1 + byte] = static_cast<char>(digits >> (24 - 8 * byte));
        } else {
            pool.resize(begin);
            pool += kMissing;
        }
        pool.append(id);
        keys[i] = KeySpan{begin, pool.size() - begin};
    }
    return RanksOfKeys<2>(pool, keys);  // the number, and most often the whole of it, in 16 bytes
}

// The words that begin a surname in small letters and are not looked up by: Dutch, and a few
// French and German ones that Dutch family trees hold. "'t" and "'s" also with the apostrophe
// U+2019 in UTF-8 and in Windows-1252.
constexpr std::array<std::string_view, 38> kSurnamePrefixes{
    "van", "de",  "der", "den", "het", "'t",  "'s",  "ter",  "ten",  "te",   "op",  "in",  "aan",
    "bij", "onder", "over", "tot", "uit", "uijt", "uyt", "voor", "vd", "v.d.", "d'", "l'", "la",
    "le",  "du",  "des", "von", "vom", "zu",  "zum", "zur", "\xE2\x80\x99t", "\xE2\x80\x99s", "\x92t", "\x92s"};

bool IsSurnamePrefix(std::string_view word) {
    return std::find(kSurnamePrefixes.begin(), kSurnamePrefixes.end(), word) != kSurnamePrefixes.end();
}

// surname without the prefix words that begin it; its last word always stays.
std::string_view WithoutPrefixWords(std::string_view surname) {
    std::string_view rest = TrimBlanks(surname);
    for (;;) {
        const std::size_t blank = rest.find_first_of(" \t");
        if (blank == std::string_view::npos || !IsSurnamePrefix(rest.substr(0, blank))) return rest;
        rest = TrimBlanks(rest.substr(blank));
    }
}

// The keys of records by name, made into one pool.
class NameKeys {
public:
    NameKeys(std::string_view text, CharacterSet set, std::size_t records) : text_(text), set_(set) {
        pool_.reserve(32 * records);
    }

    const std::string& Pool() const { return pool_; }

    // INDI: the surname without prefix, then the given names.
    KeySpan Person(std::string_view definition) { return Keyed([&] { AppendPerson(pool_, definition); }); }

    // FAM: the husband's key, then the wife's, for every family at once. The individuals that the
    // families point at are found first, and their keys are made in the order of the text: a
    // family's spouses lie anywhere in it.
    std::vector<KeySpan> Families(std::span<const std::string_view> definitions) {
        std::vector<std::string_view> spouses(2 * definitions.size());  // husband, wife
        for (std::size_t i = 0; i < definitions.size(); ++i) {
            if (i + kRecordsAhead < definitions.size()) ReadAhead(definitions[i + kRecordsAhead].data());
            RecordLines lines(text_, RecordStart(text_, definitions[i]));
            RecordLine line;
            lines.Next(line);
            bool hasHusband = false, hasWife = false;
            while (!(hasHusband && hasWife) && lines.Next(line)) {
                if (!hasHusband && LineValue(line, 1, "HUSB", spouses[2 * i])) hasHusband = true;
                else if (!hasWife && LineValue(line, 1, "WIFE", spouses[2 * i + 1])) hasWife = true;
            }
        }
        IdentifierList individuals;
        ForEachDefinition(text_, "INDI", [&](std::string_view id) { individuals.push_back(id); });
        const IdentifierTable table(individuals, individuals.size());
        std::vector<std::size_t> entries(spouses.size(), IdentifierTable::kNotFound);
        std::vector<bool> wanted(individuals.size(), false);
        for (std::size_t i = 0; i < spouses.size(); ++i) {
            if (!spouses[i].empty()) entries[i] = table.FirstEntryOf(spouses[i]);
            if (entries[i] != IdentifierTable::kNotFound) wanted[entries[i]] = true;
        }
        std::vector<std::size_t> people;  // the individuals wanted, in the order of the text
        for (std::size_t entry = 0; entry < individuals.size(); ++entry) {
            if (wanted[entry]) people.push_back(entry);
        }
        std::vector<KeySpan> personKeys(individuals.size());
        std::string persons;
        for (std::size_t k = 0; k < people.size(); ++k) {
            if (k + kRecordsAhead < people.size()) ReadAhead(individuals[people[k + kRecordsAhead]].data());
            const std::size_t begin = persons.size();
            AppendPerson(persons, individuals[people[k]]);
            personKeys[people[k]] = KeySpan{begin, persons.size() - begin};
        }
        std::vector<KeySpan> keys(definitions.size());
        for (std::size_t i = 0; i < definitions.size(); ++i) {
            keys[i] = Keyed([&] {
                for (const std::size_t entry : {entries[2 * i], entries[2 * i + 1]}) {
                    if (entry == IdentifierTable::kNotFound) pool_ += kMissing;
                    else pool_.append(persons, personKeys[entry].begin, personKeys[entry].size);
                }
            });
        }
        return keys;
    }

    // The value of the first line of level 1 with tag.
    KeySpan Titled(std::string_view definition, std::string_view tag) {
        RecordLines lines(text_, RecordStart(text_, definition));
        RecordLine line;
        lines.Next(line);
        std::string_view value;
        while (lines.Next(line)) {
            if (LineValue(line, 1, tag, value)) break;
        }
        return Keyed([&] { AppendPart(pool_, value); });
    }

private:
    template <typename Append>
    KeySpan Keyed(Append&& append) {
        const std::size_t begin = pool_.size();
        append();
        return KeySpan{begin, pool_.size() - begin};
    }

    // 02 + the lookup form of value + 01, or 03 when that form is empty.
    void AppendPart(std::string& out, std::string_view value) {
        const std::size_t begin = out.size();
        out += kPresent;
        AppendLookupForm(out, value, set_);
        if (out.size() == begin + 1) out.back() = kMissing;
        else out += kEnd;
    }

    void AppendPerson(std::string& out, std::string_view definition) {
        RecordLines lines(text_, RecordStart(text_, definition));
        RecordLine line;
        lines.Next(line);
        std::string_view name;
        bool named = false;
        while (!named && lines.Next(line)) named = LineValue(line, 1, "NAME", name);
        std::string_view prefix;
        while (named && lines.Next(line) && (line.level < 0 || line.level > 1)) {
            if (LineValue(line, 2, "SPFX", prefix)) break;
        }
        const std::size_t open = name.find('/');
        const std::size_t close = open == std::string_view::npos ? open : name.find('/', open + 1);
        const std::string_view surname =
            open == std::string_view::npos ? std::string_view() : name.substr(open + 1, close - (open + 1));
        const std::size_t begin = out.size();
        out += kPresent;
        AppendSurname(out, surname, prefix);
        out += kEnd;
        out += kPresent;
        const std::size_t given = out.size();
        AppendLookupForm(out, name.substr(0, open), set_);
        if (close != std::string_view::npos) {
            out += ' ';
            AppendLookupForm(out, name.substr(close + 1), set_);
            if (out.back() == ' ') out.pop_back();
            if (out.size() > given && out[given] == ' ') out.erase(given, 1);
        }
        out += kEnd;
        if (out.size() == begin + 4) {  // no name, or only slashes and blanks
            out.resize(begin);
            out += kMissing;
        }
    }

    // The surname's lookup form without its prefix: the SPFX where it begins the surname, else the
    // prefix words.
    void AppendSurname(std::string& out, std::string_view surname, std::string_view prefix) {
        const std::size_t begin = out.size();
        if (!prefix.empty()) {
            AppendLookupForm(out, surname, set_);
            prefixForm_.clear();
            AppendLookupForm(prefixForm_, prefix, set_);
            const std::string_view form = std::string_view(out).substr(begin);
            if (!prefixForm_.empty() && form.starts_with(prefixForm_) &&
                (form.size() == prefixForm_.size() || form[prefixForm_.size()] == ' ')) {
                out.erase(begin, std::min(form.size(), prefixForm_.size() + 1));
                return;
            }
            out.resize(begin);
        }
        AppendLookupForm(out, WithoutPrefixWords(surname), set_);
    }

    std::string_view text_;
    CharacterSet set_;
    std::string pool_;
    std::string prefixForm_;
};

std::vector<std::size_t> RanksByName(std::string_view text, std::string_view tag,
                                     std::span<const std::string_view> definitions, CharacterSet set) {
    NameKeys names(text, set, definitions.size());
    if (tag == "FAM") return RanksOfKeys<3>(names.Pool(), names.Families(definitions));
    std::vector<KeySpan> keys(definitions.size());
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        if (i + kRecordsAhead < definitions.size()) ReadAhead(definitions[i + kRecordsAhead].data());
        keys[i] = tag == "INDI" ? names.Person(definitions[i]) : names.Titled(definitions[i], tag == "SOUR" ? "TITL" : "NAME");
    }
    return RanksOfKeys<3>(names.Pool(), keys);
}

}  // namespace

std::optional<NumberingOrder> NumberingOrderNamed(std::string_view name) {
    if (name == "definition") return NumberingOrder::kDefinition;
    if (name == "old") return NumberingOrder::kOld;
    if (name == "name") return NumberingOrder::kName;
    return std::nullopt;
}

std::vector<std::size_t> NumberingRanks(std::string_view text, std::string_view tag,
                                        std::span<const std::string_view> definitions, NumberingOrder order,
                                        CharacterSet set) {
    const bool byName = tag == "INDI" || tag == "FAM" || tag == "SOUR" || tag == "REPO" || tag == "SUBM";
    if (order == NumberingOrder::kName && byName) return RanksByName(text, tag, definitions, set);
    if (order != NumberingOrder::kDefinition) return RanksByOldNumber(definitions);
    std::vector<std::size_t> ranks(definitions.size());
    std::iota(ranks.begin(), ranks.end(), std::size_t{0});
    return ranks;
}

}  // namespace halvern
