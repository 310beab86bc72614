#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/BackgroundWriter.h"

namespace halvern {
namespace {

// Pieces of every size, some larger than a block, some ending exactly on a block's edge.
std::vector<std::string> Pieces() {
    std::vector<std::string> pieces;
    for (int i = 0; i < 3000; ++i) pieces.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
    pieces.push_back(std::string(3 * BackgroundWriter::kBlockSize + 17, 'X'));
    pieces.push_back(std::string(BackgroundWriter::kBlockSize, 'Y'));
    pieces.push_back("end");
    return pieces;
}

TEST(BackgroundWriter, EveryByteArrivesOnceAndInOrder) {
    std::string expected;
    std::string arrived;
    std::size_t blocks = 0;
    {
        BackgroundWriter writer([&](std::string_view block) {
            EXPECT_LE(block.size(), BackgroundWriter::kBlockSize);
            arrived += block;
            ++blocks;
        });
        for (const std::string& piece : Pieces()) {
            writer.Write(piece);
            expected += piece;
        }
        writer.Finish();
    }
    EXPECT_EQ(arrived, expected);
    EXPECT_EQ(blocks, (expected.size() + BackgroundWriter::kBlockSize - 1) / BackgroundWriter::kBlockSize);

    BackgroundWriter nothing([&](std::string_view) { ADD_FAILURE() << "nothing was written"; });
    nothing.Finish();
}

TEST(BackgroundWriter, AFailedBlockStopsTheWritingAndIsReported) {
    std::size_t blocks = 0;
    BackgroundWriter writer([&](std::string_view) {
        if (++blocks == 2) throw std::runtime_error("schijf vol");
    });
    const std::string block(BackgroundWriter::kBlockSize, 'b');
    EXPECT_THROW(
        {
            for (int i = 0; i < 10; ++i) writer.Write(block);
            writer.Finish();
        },
        std::runtime_error);
    EXPECT_EQ(blocks, 2u);  // nothing after the failed block
}

TEST(BackgroundWriter, LeavingWithoutFinishingDropsTheRest) {
    std::size_t written = 0;
    {
        BackgroundWriter writer([&](std::string_view block) { written += block.size(); });
        writer.Write(std::string(BackgroundWriter::kBlockSize / 2, 'h'));
    }  // as on the way out of a failure elsewhere: no block was full, none is written
    EXPECT_EQ(written, 0u);
}

}  // namespace
}  // namespace halvern
