#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/CollectIdentifiers.h"

namespace halvern {
namespace {

struct Collected {
    std::vector<std::string_view> identifiers;
    std::size_t atSigns = 0;
    bool operator==(const Collected&) const = default;
};

template <typename Walk>
Collected CollectWith(std::string_view text, std::string_view tag, Walk&& walk) {
    Collected collected;
    collected.atSigns = walk(text, tag, [&](std::string_view id) { collected.identifiers.push_back(id); });
    return collected;
}

Collected ByAtSigns(std::string_view text, std::string_view tag) {
    return CollectWith(text, tag, [](std::string_view t, std::string_view g, auto&& found) {
        return ForEachDefinitionByAtSigns(t, g, found);
    });
}

Collected Chosen(std::string_view text, std::string_view tag) {
    return CollectWith(text, tag, [](std::string_view t, std::string_view g, auto&& found) {
        return ForEachDefinition(t, g, found);
    });
}

TEST(CollectIdentifiers, BothWalksAgreeOnRandomTexts) {
    // Few distinct bytes, so "@", "@ " and the tags come often; lengths across several 64-byte
    // blocks, patterns at every place around their edges. The walk chosen for a tag without "@"
    // (bit masks of 64 bytes on x86-64) must give what the walk from "@" to "@" gives: the same
    // views and the same count of "@".
    std::mt19937 random(20261208);
    const std::string alphabet = "@@@ INDIF\nx";
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 300, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        for (const std::string_view tag : {"INDI", "I", "FAM", ""}) {
            SCOPED_TRACE(testing::Message() << "text \"" << text << "\" tag \"" << tag << "\"");
            ASSERT_EQ(Chosen(text, tag), ByAtSigns(text, tag));
        }
    }
}

TEST(CollectIdentifiers, DefinitionsAroundTheEdgesOfEveryBlock) {
    // A definition whose "@" before it lies in an earlier block, or whose blank after the "@" is
    // the first byte of the next block.
    for (std::size_t padding = 0; padding < 140; ++padding) {
        const std::string text = std::string(padding, 'x') + "@a" + std::string(padding % 70, 'y') + "@ INDI@ INDI\n@b@ INDI";
        SCOPED_TRACE(padding);
        const Collected collected = Chosen(text, "INDI");
        ASSERT_EQ(collected, ByAtSigns(text, "INDI"));
        ASSERT_EQ(collected.identifiers.size(), 2u);  // the second "@ INDI" has only the first before it
        EXPECT_EQ(collected.identifiers[1], "@b@");
        EXPECT_EQ(collected.atSigns, 5u);
    }
}

TEST(CollectIdentifiers, ATagWithAnAtSignIsWalkedFromAtToAt) {
    // "@ A@B": the pattern holds a second "@", which the search for the next definition passes.
    // (A tag other than the four oldest must end a word, hence the blank.)
    const std::vector<std::string_view> ids = CollectIdentifiers("@x@ A@B @y@ A@B", "A@B");
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], "@x@");
    EXPECT_EQ(ids[1], "@y@");
}

}  // namespace
}  // namespace halvern
