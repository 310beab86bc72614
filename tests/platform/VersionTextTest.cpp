#include "platform/VersionText.h"

#include <gtest/gtest.h>

#include "platform/StoreRecords.h"

namespace halvern {
namespace {

TEST(VersionText, NormalisesToThreeDigitsOrNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"6", "600"},    {"5.9", "590"}, {"5.02", "502"}, {"10", "100"},   {"12.5", "125"}, {"0", "000"},
        {"", "000"},     {".", "000"},   {".5", "500"},   {"0.1", "010"},  {"007", "007"},  {"1234", "1234"},
        {"123456789012345678901234567890", "123456789012345678901234567890"},  // no overflow
        {"1.2.3", ""},   {"5..", ""},    {"5a", ""},      {" 6", ""},      {"-1", ""},      {"6,1", ""},
    };
    for (const auto& [text, normalised] : cases) EXPECT_EQ(NormaliseVersionText(text), normalised) << text;
}

TEST(VersionText, OlderOnlyWhenBothAreNumbersAndTheStoredOneIsLower) {
    for (const char* older : {"", "0", "5", "5.9", "10"}) EXPECT_TRUE(IsOlderVersion(older, "6")) << older;
    // An unreadable version most likely comes from a newer program: not older.
    for (const char* notOlder : {"6", "6.0", "6.1", "7", "99999999999999999999999", "1.2.3", "zes"})
        EXPECT_FALSE(IsOlderVersion(notOlder, "6")) << notOlder;
    EXPECT_TRUE(IsOlderVersion("999", "99999999999999999999999"));
    EXPECT_FALSE(IsOlderVersion("5", "1.2.3"));
}

TEST(StoreRecords, PathIsTheProgramFolderWithItsSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tools\\Halvern.exe", "C:\\Tools\\"},  {"C:\\Halvern.exe", "C:\\"}, {"C:Halvern.exe", "C:"},
        {"\\\\server\\share\\Halvern.exe", "\\\\server\\share\\"}, {"Halvern.exe", ""}, {"", ""},
    };
    for (const auto& [file, folder] : cases) EXPECT_EQ(ProgramRecord(file).back().text, folder) << file;

    // The version goes last, so that a record cut short while being written reads as outdated.
    EXPECT_EQ(MakerRecord().back().name, "Versie");
    EXPECT_EQ(ProgramRecord("").back().name, "Path");
}

}  // namespace
}  // namespace halvern
