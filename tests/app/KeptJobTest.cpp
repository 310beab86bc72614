// Two exports of one tree a month apart, through the whole job: the first renumbered with a map,
// the second (records removed, added in the middle, reordered, identifiers changed where the _UID
// stays, some exported with their new numbers) renumbered keeping that map. Checked against what a
// user expects and against a plain rewrite of the text by the rules, in UTF-8 and in UTF-16.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/KeepList.h"
#include "app/RenumberJob.h"
#include "core/Utf16Text.h"

namespace halvern {
namespace {

struct Person {
    int who;
    std::string id;   // in this export
    std::string uid;  // empty: none
};

// A GEDCOM text of the people, each with a family that points at the one before.
std::string Gedcom(const std::vector<Person>& people, const std::string& famPrefix) {
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (std::size_t i = 0; i < people.size(); ++i) {
        const Person& p = people[i];
        text += "0 " + p.id + " INDI\n1 NAME Jan\xF0\x9F\x98\x80 /Vries" + std::to_string(p.who % 7) + "/\n";
        if (!p.uid.empty()) text += "1 _UID " + p.uid + "\n";
        text += "1 FAMS @" + famPrefix + std::to_string(p.who) + "@\n";
    }
    for (std::size_t i = 0; i < people.size(); ++i) {
        text += "0 @" + famPrefix + std::to_string(people[i].who) + "@ FAM\n1 HUSB " + people[i].id + "\n";
        if (i > 0) text += "1 WIFE " + people[i - 1].id + "\n";
    }
    return text + "0 TRLR\n";
}

std::string Serial(int number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(width - digits.size(), '0') + digits;
}

std::string Utf16(const std::string& utf8) {
    const std::string units = FromWorkingText(WorkingTextOfShown(utf8), TextEncoding::kUtf16Le);
    return std::string("\xFF\xFE") + units;
}

// The job on text (in UTF-16 when asked), keeping list; the result in UTF-8, and the map.
struct Outcome {
    JobStatus status;
    std::string text, map;
};
Outcome Renumber(const std::string& text, bool utf16, const std::string* map, NumberingOrder order) {
    GedcomDocument document;
    const std::string bytes = utf16 ? Utf16(text) : text;
    std::copy(bytes.begin(), bytes.end(), document.PrepareLoad(bytes.size()));
    EXPECT_TRUE(document.FinishLoad());
    NullJobListener silent;
    RenumberJob job({{"INDI", {"I", 4}, 1, order}, {"FAM", {"F"}, 1, order}}, silent, true);
    std::optional<KeepList> list;
    if (map != nullptr) {
        list = ReadKeepList(*map, document.Encoding());
        job.Keep(&*list);
    }
    const JobResult result = job.Run(document);
    const std::string shown = ShownText(document.Text(), document.Encoding());
    return {result.status, utf16 ? shown.substr(3) : shown, result.map};  // without the byte order mark
}

// Each stretch from one "@" to the next that names's keys hold, replaced: the rules written plainly.
std::string Rewritten(const std::string& text, const std::map<std::string, std::string>& names) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t open = text.find('@'); open != std::string::npos;) {
        const std::size_t close = text.find('@', open + 1);
        if (close == std::string::npos) break;
        const auto found = names.find(text.substr(open, close - open + 1));
        if (found == names.end()) {
            open = close;
            continue;
        }
        out += text.substr(at, open - at) + found->second;
        at = close + 1;
        open = text.find('@', at);
    }
    return out + text.substr(at);
}

// type -> (new identifier -> old identifier), from a map.
std::map<std::string, std::map<std::string, std::string>> Lines(const std::string& map) {
    std::map<std::string, std::map<std::string, std::string>> lines;
    std::size_t at = 0;
    while (at < map.size()) {
        const std::size_t end = map.find('\n', at);
        const std::string line = map.substr(at, end - at);
        const std::size_t a = line.find('\t'), b = line.find('\t', a + 1), c = line.find('\t', b + 1);
        lines[line.substr(0, a)][line.substr(b + 1, c - b - 1)] = line.substr(a + 1, b - a - 1);
        at = end + 1;
    }
    return lines;
}

TEST(KeptJob, EveryoneKeepsTheirNumberFromExportToExport) {
    std::mt19937 random(2020);
    for (int round = 0; round < 60; ++round) {
        const bool utf16 = round % 2 == 1;
        const auto pick = [&](unsigned below) { return static_cast<int>(random() % below); };
        int nextId = 1;
        const auto freshId = [&] { return "@P" + std::string(utf16 && pick(3) == 0 ? "\xF0\x9F\x98\x80" : "") + std::to_string(nextId++) + "@"; };
        std::vector<Person> first;
        for (int who = 0; who < 5 + pick(30); ++who) {
            first.push_back({who, freshId(), pick(2) ? "{U\xF0\x9F\x98\x80" + std::to_string(who) + "}" : ""});
        }
        const Outcome one = Renumber(Gedcom(first, "X"), utf16, nullptr, NumberingOrder::kDefinition);
        ASSERT_EQ(one.status, JobStatus::Done);
        std::map<int, std::string> numberOf, familyOf;  // as the first renumbering gave them
        const auto firstLines = Lines(one.map);
        for (const Person& p : first) {
            for (const auto& [newId, oldId] : firstLines.at("INDI")) if (oldId == p.id) numberOf[p.who] = newId;
            for (const auto& [newId, oldId] : firstLines.at("FAM")) if (oldId == "@X" + std::to_string(p.who) + "@") familyOf[p.who] = newId;
        }

        // A month later: some gone, some new in between, the order changed, identifiers changed
        // where the _UID stays, or the new numbers exported.
        std::vector<Person> second;
        for (Person p : first) {
            if (pick(6) == 0) continue;
            if (!p.uid.empty() && pick(3) == 0) p.id = freshId();
            if (p.uid.empty() && pick(5) == 0) p.id = numberOf[p.who];
            second.push_back(p);
        }
        for (int added = pick(6); added > 0; --added) {
            const int who = 100 + added;
            second.insert(second.begin() + pick(static_cast<unsigned>(second.size()) + 1),
                          Person{who, freshId(), pick(2) ? "{V" + std::to_string(who) + "}" : ""});
        }
        std::shuffle(second.begin(), second.end(), random);
        // The families of the second export keep their old identifiers, exported again as they were numbered.
        const std::string secondText = Gedcom(second, "X");
        const Outcome two = Renumber(secondText, utf16, &one.map, NumberingOrder::kDefinition);
        ASSERT_EQ(two.status, JobStatus::Done) << round;

        // The rules plainly: the kept number, else the next above the highest of the first map.
        std::map<std::string, std::string> names;
        int nextPerson = static_cast<int>(first.size()) + 1, nextFamily = nextPerson;
        std::set<std::string> given;
        for (const Person& p : second) {
            const bool stays = numberOf.count(p.who) != 0;
            names[p.id] = stays ? numberOf[p.who] : "@I" + Serial(nextPerson, 4) + "@";
            nextPerson += !stays;
            EXPECT_TRUE(given.insert(names[p.id]).second) << round;
        }
        for (const Person& p : second) {
            const bool stays = familyOf.count(p.who) != 0;
            names["@X" + std::to_string(p.who) + "@"] = stays ? familyOf[p.who] : "@F" + Serial(nextFamily, 5) + "@";
            nextFamily += !stays;
        }
        ASSERT_EQ(two.text, Rewritten(secondText, names)) << round;
        EXPECT_EQ(Lines(two.map).at("INDI").size(), second.size()) << "the map holds every record, kept and new";

        // Once more on the result with its own map: nothing changes.
        const Outcome three = Renumber(two.text, utf16, &two.map, NumberingOrder::kName);
        ASSERT_EQ(three.status, JobStatus::Done);
        EXPECT_EQ(three.text, two.text) << round;
    }
}

}  // namespace
}  // namespace halvern
