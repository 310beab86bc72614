// The identifier table over a list that grows after the table was built.
#include "core/IdentifierTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace halvern {
namespace {

TEST(IdentifierTable, EntriesAddedAfterTheTableWasBuiltAreFound) {
    constexpr std::size_t kBuiltOver = 10;
    for (const std::size_t total : {kBuiltOver + 2, kBuiltOver + 20}) {
        std::string text;
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < total; ++i) {
            text += "0 ";
            at.push_back(text.size());
            text += "@X" + std::to_string(i) + "@ T\n1 R @X" + std::to_string(i) + "@\n";
        }
        const auto id = [&](std::size_t i) { return std::string_view(text).substr(at[i], 3 + std::to_string(i).size()); };
        IdentifierList list;
        for (std::size_t i = 0; i < kBuiltOver; ++i) list.push_back(id(i));
        IdentifierTable table(list);
        for (std::size_t i = kBuiltOver; i < total; ++i) {
            list.push_back(id(i));
            table.Add(list.back().size());
        }
        table.FinishAdding();

        std::vector<std::size_t> found(total, 0);
        table.ForEachOccurrence(text, [&](std::size_t, std::size_t, std::size_t entry) { ++found[entry]; });
        for (std::size_t i = 0; i < total; ++i) {
            EXPECT_TRUE(table.IsFirstEntry(i)) << i;
            EXPECT_EQ(found[i], 2u) << "entry " << i << " of " << total << ": its definition and its reference";
        }
    }
}

}  // namespace
}  // namespace halvern
