#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "core/NewIdentifierShape.h"

namespace halvern {
namespace {

// Every width, at every place of short texts (some stretches end within eight bytes of the text's
// end), of bytes mostly from serials and sometimes anything: against the shape read byte by byte.
TEST(NewIdentifierShape, ReadsWhatTheBytesSpell) {
    std::mt19937 random(9);
    const std::string pool = "0123456789-@I/:\x80\xff\xad\xb0";
    for (const std::string prefix : {"I", "AB_"}) {
        for (std::size_t width = 1; width <= 9; ++width) {
            for (int round = 0; round < 300; ++round) {
                std::string text = "@" + prefix;
                for (std::size_t i = 0; i < width + 6; ++i) text += pool[random() % (round % 2 == 0 ? 11 : pool.size())];
                text[1 + prefix.size() + width] = '@';
                for (std::size_t at = 0; at <= text.size(); ++at) {
                    const std::string_view stretch = std::string_view(text).substr(at, prefix.size() + width + 2);
                    std::optional<std::uint64_t> spelled;
                    if (stretch.size() == prefix.size() + width + 2 && stretch.front() == '@' && stretch.back() == '@' &&
                        stretch.substr(1, prefix.size()) == prefix) {
                        spelled = 0;
                        for (const char c : stretch.substr(1 + prefix.size(), width)) {
                            if (c != '-' && (c < '0' || c > '9')) spelled.reset();
                            if (spelled) *spelled = *spelled * 16 + (c == '-' ? kMinusDigit : std::uint64_t(c - '0'));
                        }
                    }
                    ASSERT_EQ(NewIdentifierShape(prefix, int(width)).SerialCodeAt(text, at), spelled) << text << " " << at;
                }
            }
        }
    }
}

}  // namespace
}  // namespace halvern
