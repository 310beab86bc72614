#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/FileName.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::LoadText;
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

// Files are read in chunks of this size.
constexpr std::size_t kChunk = std::size_t{1} << 20;

TEST(LoadDocument, ReadsFilesOfEverySizeWhole) {
    const TempFolder folder;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65537}, kChunk - 1, kChunk,
                                   kChunk + 1, 2 * kChunk + 5}) {
        SCOPED_TRACE(size);
        const std::string bytes = AllNonZeroBytes(size);
        WriteBytes(folder / "in.ged", bytes);
        std::string text = kEarlier;
        ASSERT_TRUE(LoadText(folder / "in.ged", text));
        EXPECT_EQ(text, bytes);  // an empty file gives an empty text, not the earlier one
    }
}

#ifdef __linux__
TEST(LoadDocument, AFileLongerThanItsReportedSizeIsReadWhole) {
    // Files under /proc report a size of 0 and have more: the room made for the size is outgrown.
    std::string text;
    ASSERT_TRUE(LoadText("/proc/self/maps", text));
    EXPECT_NE(text.find("[stack]"), std::string_view::npos);
}
#endif

TEST(LoadDocument, ByteZeroMeansNoTextAndKeepsTheEarlierText) {
    const TempFolder folder;
    std::string withZero = AllNonZeroBytes(70000);
    withZero[10] = '\0';
    WriteBytes(folder / "zero-first-block.ged", withZero);

    std::string late = AllNonZeroBytes(kChunk + 70000);
    late.back() = '\0';  // in the second chunk, after a whole first chunk was read
    WriteBytes(folder / "zero-last-byte.ged", late);

    // "0 @" in UTF-16 little endian with its byte order mark: taken as it is.
    const std::string utf16("\xFF\xFE" "0\0 \0@\0", 8);
    WriteBytes(folder / "utf16.ged", utf16);

    for (const char* name : {"zero-first-block.ged", "zero-last-byte.ged"}) {
        SCOPED_TRACE(name);
        std::string text = kEarlier;
        EXPECT_FALSE(LoadText(folder / name, text));
        EXPECT_EQ(text, kEarlier);
    }
    DocumentBuffer buffer;
    TextEncoding encoding = TextEncoding::kEightBit;
    ASSERT_TRUE(LoadDocument(folder / "utf16.ged", buffer, encoding));
    EXPECT_EQ(buffer.Text(), utf16);
    EXPECT_EQ(encoding, TextEncoding::kUtf16Le);
}

TEST(LoadDocument, FailuresToOpenKeepTheEarlierText) {
    const TempFolder folder;
    fs::create_directory(folder / "a-folder.ged");
    for (const fs::path& name : {folder / "missing.ged", folder / "no-folder" / "x.ged", folder / "a-folder.ged",
                                 fs::path()}) {
        SCOPED_TRACE(name.string());
        std::string text = kEarlier;
        EXPECT_FALSE(LoadText(name, text));
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
    EXPECT_TRUE(LoadText(readOnly, text));
    EXPECT_EQ(text, kEarlier);

    const fs::path accented = folder / fs::path(u8"Zoë van Bergen – stamboom.ged");
    WriteBytes(accented, "0 HEAD\n");
    EXPECT_TRUE(LoadText(accented, text));
    EXPECT_EQ(text, "0 HEAD\n");
}

TEST(FilePath, TakesUtf8NamesAndGivesLongOnesTheFormWindowsNeeds) {
    EXPECT_EQ(FilePath("\xC5\x81\xC3\xB3" "d\xC5\xBA \xE5\xAE\xB6.ged"), fs::path(u8"Łódź 家.ged")) << "short: as it is";
#ifdef _WIN32
    const std::wstring deep = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\x.ged";
    EXPECT_EQ(FilePath("C:\\" + std::string(150, 'd') + "/" + std::string(150, 'e') + "\\x.ged").native(),
              L"\\\\?\\C:\\" + deep);
    const fs::path relative = FilePath(std::string(150, 'd') + "\\..\\" + std::string(250, 'e') + "\\x.ged");
    EXPECT_TRUE(relative.native().starts_with(L"\\\\?\\")) << "a long relative name is made full";
    EXPECT_EQ(relative.native().find(L".."), std::wstring::npos);
#endif
}

TEST(LoadDocument, ReadsAStreamToItsEnd) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    // A stream has no size to go by: its room grows past a few chunks.
    const std::string bytes = AllNonZeroBytes(3 * kChunk + 140000);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), stream), bytes.size());
    std::rewind(stream);
    std::string text = kEarlier;
    EXPECT_TRUE(LoadText(stream, text));
    EXPECT_EQ(text, bytes);  // CR LF untouched also where streams have a text mode

    std::rewind(stream);
    ASSERT_EQ(std::fputc(0, stream), 0);
    std::rewind(stream);
    text = kEarlier;
    EXPECT_FALSE(LoadText(stream, text));
    EXPECT_EQ(text, kEarlier);
    std::fclose(stream);
}

TEST(LoadDocument, LoadAndSaveGiveAnIdenticalFile) {
    const TempFolder folder;
    const std::string bytes = "0 HEAD\r\n1 CHAR ANSEL\n\t\x80\xFF\xE9\r\r\n" + AllNonZeroBytes(100000);
    WriteBytes(folder / "in.ged", bytes);
    std::string text;
    ASSERT_TRUE(LoadText(folder / "in.ged", text));
    SaveDocument(folder / "out.ged", text);
    EXPECT_EQ(ReadBytes(folder / "out.ged"), bytes);
}

}  // namespace
}  // namespace halvern
