// Numbering a run with the map of an earlier one: generated pairs of exports of the same records
// (the second with records removed, added in the middle, reordered, defined twice, identifiers
// changed while the unique identifier stays), against a plain reading of the rules, then against
// what a user expects of them, then once more on the result with its own map.
#include "app/KeptNumbering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/MapText.h"
#include "core/FixedWidthNumber.h"

namespace halvern {
namespace {

// The parts one after the other (written out, as GCC 12 warns wrongly about "@" + std::string).
std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (const std::string_view part : parts) joined += part;
    return joined;
}

struct Record {
    std::string id;
    std::string uniqueId;
    int person = 0;  // who the record is, as the test knows it
};

struct Export {
    std::vector<Record> records;
    IdentifierForm form;
    std::int32_t start = 1;
    std::vector<std::size_t> ranks;
};

std::vector<std::string> Texts(const Export& run, const RunNumbers& numbers) {
    std::vector<std::string> texts;
    for (const EntryNumber& entry : numbers.entries) {
        texts.push_back(entry.IsKept() ? std::string(entry.kept)
                                       : Joined({"@", run.form.prefix, FixedWidthNumber(entry.serial, run.form.width), "@"}));
    }
    return texts;
}

RunNumbers Number(const Export& run, const KeepList* list) {
    std::vector<std::string_view> ids, uniqueIds;
    for (const Record& record : run.records) {
        ids.push_back(record.id);
        uniqueIds.push_back(record.uniqueId);
    }
    return NumberRun(RunRecords{"INDI", run.form, run.start, ids, uniqueIds, run.ranks}, list);
}

// The map of a numbering, one line per identifier (its first record).
std::string MapOf(const Export& run, const std::vector<std::string>& texts) {
    std::string map;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < run.records.size(); ++i) {
        if (seen.insert(run.records[i].id).second) AppendMapLine(map, "INDI", run.records[i].id, texts[i], run.records[i].uniqueId);
    }
    return map;
}

// The rules read plainly, on the lines of the map: what each record becomes, as text.
struct Expected {
    std::vector<std::string> texts;
    bool repeats = false;
};
Expected Model(const Export& run, const std::vector<Record>& lines, const std::vector<std::string>& lineTexts) {
    const std::size_t n = run.records.size();
    std::vector<std::optional<std::size_t>> kept(n);
    std::set<std::size_t> used;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            const Record& record = run.records[i];
            for (std::size_t l = 0; l < lines.size() && !kept[i]; ++l) {
                const bool bothUnique = !record.uniqueId.empty() && !lines[l].uniqueId.empty();
                const bool match = pass == 0 ? bothUnique && record.uniqueId == lines[l].uniqueId
                                             : (pass == 1 ? lines[l].id : lineTexts[l]) == record.id &&
                                                   !(bothUnique && record.uniqueId != lines[l].uniqueId);
                if (match && !used.count(l)) kept[i] = l, used.insert(l);
            }
        }
    }
    long long next = run.start;
    for (const std::string& text : lineTexts) {
        if (text.size() != run.form.prefix.size() + static_cast<std::size_t>(run.form.width) + 2) continue;
        const std::string serial = text.substr(1 + run.form.prefix.size(), static_cast<std::size_t>(run.form.width));
        if (text.compare(1, run.form.prefix.size(), run.form.prefix) == 0 &&
            serial.find_first_not_of("0123456789") == std::string::npos) {
            next = std::max(next, std::stoll(serial) + 1);
        }
    }
    Expected expected{std::vector<std::string>(n)};
    std::set<std::string> taken(lineTexts.begin(), lineTexts.end()), firsts;
    for (std::size_t rank = 0; rank < n; ++rank) {
        const std::size_t i = std::find(run.ranks.begin(), run.ranks.end(), rank) - run.ranks.begin();
        if (kept[i]) {
            expected.texts[i] = lineTexts[*kept[i]];
            continue;
        }
        expected.texts[i] = Joined({"@", run.form.prefix, FixedWidthNumber(next++, run.form.width), "@"});
        if (firsts.insert(run.records[i].id).second && !taken.insert(expected.texts[i]).second) expected.repeats = true;
    }
    return expected;
}

std::vector<std::size_t> RandomRanks(std::size_t n, std::mt19937& random) {
    std::vector<std::size_t> ranks(n);
    for (std::size_t i = 0; i < n; ++i) ranks[i] = i;
    if (random() % 3 != 0) std::shuffle(ranks.begin(), ranks.end(), random);
    return ranks;
}

TEST(KeptNumbering, RecordsKeepTheirNumbersFromExportToExport) {
    std::mt19937 random(20);
    int kept = 0, repeated = 0;
    for (int round = 0; round < 400; ++round) {
        const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
        int nextId = 1, nextPerson = 1;
        const auto record = [&](bool unique) {
            const int person = nextPerson++;
            return Record{Joined({"@X", std::to_string(nextId++), "@"}), unique ? Joined({"U", std::to_string(person)}) : "", person};
        };
        Export first;
        first.form = IdentifierForm{pick(2) ? "I" : "P", 1 + pick(3)};
        first.start = 1 + pick(3);
        const int room = static_cast<int>(DigitTextCount(first.form.width)) - first.start;
        for (int i = std::min(pick(40), room); i > 0; --i) first.records.push_back(record(pick(3) != 0));
        first.ranks = RandomRanks(first.records.size(), random);
        const std::vector<std::string> firstTexts = Texts(first, Number(first, nullptr));
        const KeepList list = ReadKeepList(MapOf(first, firstTexts));
        std::map<int, std::string> numberOf;
        for (std::size_t i = 0; i < first.records.size(); ++i) numberOf[first.records[i].person] = firstTexts[i];

        // The next export: removed, changed, added (some taking a removed record's identifier).
        Export second{{}, first.form, pick(4) ? first.start : pick(30), {}};
        std::vector<std::string> freed;
        for (std::size_t i = 0; i < first.records.size(); ++i) {
            Record copy = first.records[i];
            if (pick(5) == 0) {
                if (!copy.uniqueId.empty()) freed.push_back(copy.id);
                continue;
            }
            if (!copy.uniqueId.empty() && pick(4) == 0) copy.id = Joined({"@X", std::to_string(nextId++), "@"});
            if (copy.uniqueId.empty() && pick(6) == 0) copy.id = firstTexts[i];  // renumbered before, exported again
            second.records.push_back(copy);
        }
        for (int i = pick(8); i > 0; --i) {
            Record added = record(pick(2) != 0);
            if (!freed.empty() && pick(2)) added.id = freed.back(), added.uniqueId = Joined({"V", std::to_string(added.person)}), freed.pop_back();
            second.records.insert(second.records.begin() + pick(static_cast<int>(second.records.size()) + 1), added);
        }
        std::shuffle(second.records.begin(), second.records.end(), random);
        if (!second.records.empty() && pick(8) == 0) second.records.push_back(second.records[pick(static_cast<int>(second.records.size()))]);
        second.ranks = RandomRanks(second.records.size(), random);

        std::vector<Record> lines;
        for (const Record& line : first.records) lines.push_back(line);
        const RunNumbers numbers = Number(second, &list);
        const std::vector<std::string> texts = Texts(second, numbers);
        const Expected expected = Model(second, lines, firstTexts);
        ASSERT_EQ(texts, expected.texts) << "round " << round;
        ASSERT_EQ(numbers.repeats, expected.repeats) << "round " << round;
        repeated += numbers.repeats;
        if (numbers.repeats) continue;

        // What a user expects: those still there keep their number, the others get unused ones above it.
        std::set<std::string> seen;
        for (std::size_t i = 0; i < second.records.size(); ++i) {
            const Record& r = second.records[i];
            if (!seen.insert(r.id).second) continue;  // the second definition of an identifier writes nothing
            const auto earlier = numberOf.find(r.person);
            if (earlier != numberOf.end()) {
                EXPECT_EQ(texts[i], earlier->second) << "round " << round << " person " << r.person;
                kept += 1;
            } else {
                EXPECT_FALSE(numbers.entries[i].IsKept()) << "round " << round;
                for (const auto& [person, text] : numberOf) EXPECT_NE(texts[i], text) << "round " << round;
            }
        }

        // The result, exported again with the map of this run: nothing changes.
        Export third{{}, second.form, second.start, second.ranks};
        std::map<std::string, std::string> written;  // every definition of an identifier gets the first one's
        for (std::size_t i = 0; i < second.records.size(); ++i) written.emplace(second.records[i].id, texts[i]);
        for (const Record& r : second.records) third.records.push_back(Record{written[r.id], r.uniqueId, r.person});
        const KeepList own = ReadKeepList(MapOf(second, texts));
        const std::vector<std::string> again = Texts(third, Number(third, &own));
        seen.clear();
        for (std::size_t i = 0; i < third.records.size(); ++i) {
            if (seen.insert(third.records[i].id).second) {
                EXPECT_EQ(again[i], third.records[i].id) << "round " << round;
            }
        }
    }
    EXPECT_GT(kept, 1000);
    EXPECT_GT(repeated, 5);
}

}  // namespace
}  // namespace halvern
