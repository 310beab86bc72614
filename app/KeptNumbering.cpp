#include "app/KeptNumbering.h"

#include <stdexcept>
#include <string>
#include <unordered_set>

#include "core/FixedWidthNumber.h"
#include "core/Renumber.h"

namespace halvern {
namespace {

// The lines of type that the records of run keep: line[i] for entry i, or KeptType::kNone.
LargeVector<std::size_t> MatchLines(const RunRecords& run, const KeptType& type) {
    const std::size_t count = run.identifiers.size();
    const auto uniqueIdOf = [&](std::size_t entry) { return run.uniqueIds.empty() ? std::string_view() : run.uniqueIds[entry]; };
    LargeVector<std::size_t> lines(count, KeptType::kNone);
    std::vector<bool> taken(type.Size(), false);
    // The list was written in the order of the records last time, and most records keep their
    // order from one export to the next: the line after the one found last is tried first, and the
    // tables only when that is not it.
    const auto after = [&](std::size_t& cursor, std::string_view value, auto field, auto find) {
        if (value.empty()) return KeptType::kNone;
        if (cursor < type.Size() && type.Line(cursor).*field == value) return cursor++;
        const std::size_t line = (type.*find)(value);
        if (line != KeptType::kNone) cursor = line + 1;
        return line;
    };
    const auto take = [&](std::size_t entry, std::size_t line, bool byUniqueId) {
        if (line == KeptType::kNone || taken[line]) return;
        const std::string_view own = uniqueIdOf(entry);
        const std::string_view listed = type.Line(line).uniqueId;
        if (!byUniqueId && !own.empty() && !listed.empty() && own != listed) return;  // two different records
        taken[line] = true;
        lines[entry] = line;
    };
    std::size_t cursor = 0;
    for (std::size_t i = 0; i < count && !run.uniqueIds.empty(); ++i) {
        take(i, after(cursor, run.uniqueIds[i], &KeptLine::uniqueId, &KeptType::ByUniqueId), true);
    }
    cursor = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (lines[i] == KeptType::kNone) take(i, after(cursor, run.identifiers[i], &KeptLine::oldId, &KeptType::ByOldId), false);
    }
    cursor = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (lines[i] == KeptType::kNone) take(i, after(cursor, run.identifiers[i], &KeptLine::newId, &KeptType::ByNewId), false);
    }
    return lines;
}

// True when a new serial of entries would be written as a number type holds, or as the number of
// another entry that replaces something (the first entry of each identifier).
bool NewNumbersRepeat(const RunRecords& run, const KeptType& type, const LargeVector<EntryNumber>& entries) {
    std::unordered_set<std::string> written;
    for (std::size_t line = 0; line < type.Size(); ++line) written.emplace(type.Line(line).newId);
    std::unordered_set<std::string_view> identifiers;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].IsKept() || !identifiers.insert(run.identifiers[i]).second) continue;
        const std::string text =
            std::string("@").append(run.form.prefix).append(FixedWidthNumber(entries[i].serial, run.form.width)).append("@");
        if (!written.insert(text).second) return true;
    }
    return false;
}

}  // namespace

RunNumbers NumberRun(const RunRecords& run, const KeepList* list) {
    const std::size_t count = run.identifiers.size();
    if ((!run.uniqueIds.empty() && run.uniqueIds.size() != count) || (!run.ranks.empty() && run.ranks.size() != count)) {
        throw std::invalid_argument("one unique identifier and one rank per record");
    }
    if (!IsValidForm(run.form)) throw std::invalid_argument("a prefix of A-Z, a-z, 0-9 or _ and a width of 1 to 9");
    const KeptType* const type = list != nullptr ? list->Type(run.tag) : nullptr;
    RunNumbers numbers;
    numbers.entries.resize(count);
    LargeVector<std::size_t> lines;
    std::int64_t first = run.startNumber;
    if (type != nullptr) {
        lines = MatchLines(run, *type);
        for (std::size_t i = 0; i < count; ++i) {
            if (lines[i] != KeptType::kNone) numbers.entries[i].kept = type->Line(lines[i]).newId;
        }
        if (const std::optional<std::int32_t> highest = type->HighestSerial(run.form); highest && *highest >= first) {
            first = std::int64_t{*highest} + 1;
        }
    }
    // The new records in the run's order.
    LargeVector<std::size_t> byRank(count, count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t rank = run.ranks.empty() ? i : run.ranks[i];
        if (rank >= count || byRank[rank] != count) throw std::invalid_argument("the ranks are a permutation");
        byRank[rank] = i;
    }
    std::size_t serials = 0;
    for (const std::size_t entry : byRank) {
        if (!numbers.entries[entry].IsKept()) {
            numbers.entries[entry].serial = SerialNumber(static_cast<std::int32_t>(first), serials++);
        }
    }
    // The usual run counts up from a number that is not negative and stays within the width: its
    // serials then differ from each other and lie above every number of that form in the list.
    if (type != nullptr && serials > 0) {
        const auto last = static_cast<std::uint64_t>(first) + (serials - 1);
        if (first < 0 || last >= DigitTextCount(run.form.width)) numbers.repeats = NewNumbersRepeat(run, *type, numbers.entries);
    }
    return numbers;
}

}  // namespace halvern
