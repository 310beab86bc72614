#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "core/NewIdentifierShape.h"

namespace halvern {
namespace {

// The shape read one byte at a time: "@" + prefix + width digits or "-" + "@".
std::optional<std::uint64_t> Spelled(std::string_view text, std::size_t at, std::string_view prefix, std::size_t width) {
    const std::string_view stretch = text.substr(std::min(at, text.size()));
    if (stretch.size() < prefix.size() + width + 2 || stretch[0] != '@' || stretch.substr(1, prefix.size()) != prefix ||
        stretch[1 + prefix.size() + width] != '@') {
        return std::nullopt;
    }
    std::uint64_t code = 0;
    for (const char c : stretch.substr(1 + prefix.size(), width)) {
        if (c != '-' && (c < '0' || c > '9')) return std::nullopt;
        code = code * 16 + (c == '-' ? kMinusDigit : static_cast<std::uint64_t>(c - '0'));
    }
    return code;
}

// Every width, stretches at every place of short texts (so that some end within eight bytes of
// the text's end), of bytes that are mostly what a serial holds and sometimes anything at all.
TEST(NewIdentifierShape, ReadsWhatTheBytesSpell) {
    std::mt19937 random(9);
    const std::string pool = "0123456789-@I/:\x80\xff\xad\xb0";
    for (const std::string prefix : {"I", "AB_"}) {
        for (int width = 1; width <= 9; ++width) {
            const NewIdentifierShape shape(prefix, width);
            for (int round = 0; round < 300; ++round) {
                std::string text = "@" + prefix;
                for (int i = 0; i < width + 6; ++i) text += pool[random() % (round % 2 == 0 ? 11 : pool.size())];
                text[1 + prefix.size() + static_cast<std::size_t>(width)] = '@';
                for (std::size_t at = 0; at <= text.size(); ++at) {
                    ASSERT_EQ(shape.SerialCodeAt(text, at), Spelled(text, at, prefix, static_cast<std::size_t>(width)))
                        << prefix << " " << width << " " << text << " " << at;
                }
            }
        }
    }
}

}  // namespace
}  // namespace halvern
