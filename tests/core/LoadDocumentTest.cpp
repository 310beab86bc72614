#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Document.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Every byte value but 0, line ends and tabs included, over several blocks.
std::string AllNonZeroBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(1 + (i * 7919) % 255);
    return bytes;
}

const std::string kEarlier = "0 HEAD\r\n0 @I1@ INDI\r\n0 TRLR\r\n";

TEST(LoadDocument, ReadsFilesOfEverySizeWhole) {
    const TempFolder folder;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65535}, std::size_t{65536},
                                   std::size_t{65537}, std::size_t{3 * 65536}, std::size_t{200001}}) {
        SCOPED_TRACE(size);
        const std::string bytes = AllNonZeroBytes(size);
        WriteBytes(folder / "in.ged", bytes);
        std::string text = kEarlier;
        ASSERT_TRUE(LoadDocument(folder / "in.ged", text));
        EXPECT_EQ(text, bytes);  // an empty file gives an empty text, not the earlier one
    }
}

TEST(LoadDocument, ByteZeroMeansNoTextAndKeepsTheEarlierText) {
    const TempFolder folder;
    std::string withZero = AllNonZeroBytes(70000);
    withZero[10] = '\0';
    WriteBytes(folder / "zero-first-block.ged", withZero);

    std::string late = AllNonZeroBytes(70000);
    late[69999] = '\0';  // in the second block, after a whole first block was read
    WriteBytes(folder / "zero-last-byte.ged", late);

    // "0 @" in UTF-16 little endian with its byte order mark.
    WriteBytes(folder / "utf16.ged", std::string("\xFF\xFE" "0\0 \0@\0", 8));

    for (const char* name : {"zero-first-block.ged", "zero-last-byte.ged", "utf16.ged"}) {
        SCOPED_TRACE(name);
        std::string text = kEarlier;
        EXPECT_FALSE(LoadDocument(folder / name, text));
        EXPECT_EQ(text, kEarlier);
    }
}

TEST(LoadDocument, FailuresToOpenKeepTheEarlierText) {
    const TempFolder folder;
    fs::create_directory(folder / "a-folder.ged");
    for (const fs::path& name : {folder / "missing.ged", folder / "no-folder" / "x.ged", folder / "a-folder.ged",
                                 fs::path()}) {
        SCOPED_TRACE(name.string());
        std::string text = kEarlier;
        EXPECT_FALSE(LoadDocument(name, text));
        EXPECT_EQ(text, kEarlier);
    }
}

TEST(LoadDocument, ReadOnlyFilesAndUnusualNamesLoad) {
    const TempFolder folder;
    const fs::path readOnly = folder / "alleen-lezen.ged";
    WriteBytes(readOnly, kEarlier);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    std::string text;
    EXPECT_TRUE(LoadDocument(readOnly, text));
    EXPECT_EQ(text, kEarlier);

    const fs::path accented = folder / fs::path(u8"Zoë van Bergen – stamboom.ged");
    WriteBytes(accented, "0 HEAD\n");
    EXPECT_TRUE(LoadDocument(accented, text));
    EXPECT_EQ(text, "0 HEAD\n");
}

TEST(LoadDocument, ReadsAStreamToItsEnd) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    const std::string bytes = AllNonZeroBytes(140000);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), stream), bytes.size());
    std::rewind(stream);
    std::string text = kEarlier;
    EXPECT_TRUE(LoadDocument(stream, text));
    EXPECT_EQ(text, bytes);  // CR LF untouched also where streams have a text mode

    std::rewind(stream);
    ASSERT_EQ(std::fputc(0, stream), 0);
    std::rewind(stream);
    text = kEarlier;
    EXPECT_FALSE(LoadDocument(stream, text));
    EXPECT_EQ(text, kEarlier);
    std::fclose(stream);
}

TEST(LoadDocument, LoadAndSaveGiveAnIdenticalFile) {
    const TempFolder folder;
    const std::string bytes = "0 HEAD\r\n1 CHAR ANSEL\n\t\x80\xFF\xE9\r\r\n" + AllNonZeroBytes(100000);
    WriteBytes(folder / "in.ged", bytes);
    std::string text;
    ASSERT_TRUE(LoadDocument(folder / "in.ged", text));
    SaveDocument(folder / "out.ged", text);
    EXPECT_EQ(ReadBytes(folder / "out.ged"), bytes);
}

}  // namespace
}  // namespace halvern
