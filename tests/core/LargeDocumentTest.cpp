// A document of 1 GiB through load, renumbering and save (about 8 seconds and 2.3 GB of memory).
// Skipped when the disk or the memory has no room for it, when HALVERN_LARGE_TESTS=0, and in a
// sanitizer build unless HALVERN_LARGE_TESTS=1 (`make test-large` runs it alone).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/Document.h"
#include "core/Renumber.h"
#include "tests/core/TempFolder.h"

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::LoadText;
using testing::TempFolder;

constexpr int kIndividuals = 50000;
constexpr std::size_t kNoteLength = 21450;  // 50,000 records of about 21.5 KB: just over 1 GiB
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif
constexpr std::uintmax_t kGiB = std::uintmax_t{1} << 30;

// The record of individual i, with its old identifiers or with those a run from 1 gives them.
std::string Record(int i, bool renumbered) {
    const auto id = [&](int n) {
        if (!renumbered) return "@P" + std::to_string(n * 7 + 3) + "@";
        std::string serial = std::to_string(n);
        return "@I" + std::string(5 - serial.size(), '0') + serial + "@";
    };
    std::string record = "0 " + id(i) + " INDI\r\n1 NAME Persoon /" + std::to_string(i) + "/\r\n1 NOTE ";
    record.append(kNoteLength, static_cast<char>('a' + i % 26));
    record += "\r\n";
    if (i > 1) record += "1 ASSO " + id(i - 1) + "\r\n";
    return record;
}

std::uintmax_t AvailableMemory() {
    std::ifstream info("/proc/meminfo");
    std::string key;
    std::uintmax_t kilobytes = 0;
    std::string unit;
    while (info >> key >> kilobytes >> unit) {
        if (key == "MemAvailable:") return kilobytes * 1024;
    }
    return 0;
}

TEST(LargeDocument, OneGibibyteIsRenumberedAndSavedWhole) {
    const char* const setting = std::getenv("HALVERN_LARGE_TESTS");
    const std::string wanted = setting != nullptr ? setting : "";
    if (wanted == "0") GTEST_SKIP() << "HALVERN_LARGE_TESTS=0";
    if (kSanitized && wanted != "1") GTEST_SKIP() << "sanitizer build: only with HALVERN_LARGE_TESTS=1";
    const TempFolder folder;
    if (fs::space(folder.path()).available < 3 * kGiB) GTEST_SKIP() << "less than 3 GiB free on the disk";
    if (AvailableMemory() < 4 * kGiB) GTEST_SKIP() << "less than 4 GiB of memory available";

    {
        std::ofstream out(folder / "groot.ged", std::ios::binary);
        out << "0 HEAD\r\n";
        for (int i = 1; i <= kIndividuals; ++i) out << Record(i, false);
        out << "0 TRLR\r\n";
        ASSERT_TRUE(out.good());
    }
    ASSERT_GE(fs::file_size(folder / "groot.ged"), kGiB);

    std::string text;
    ASSERT_TRUE(LoadText(folder / "groot.ged", text));
    NullRenumberSink sink;
    EXPECT_EQ(RenumberRecords(text, "INDI", "I", 1, sink), static_cast<std::size_t>(kIndividuals));
    SaveDocument(folder / "uit.ged", text);
    text = std::string();

    // Read back record by record against what the run must have made of it.
    std::ifstream in(folder / "uit.ged", std::ios::binary);
    const auto expectNext = [&](const std::string& expected) {
        std::string actual(expected.size(), '\0');
        in.read(actual.data(), static_cast<std::streamsize>(actual.size()));
        return in.gcount() == static_cast<std::streamsize>(expected.size()) && actual == expected;
    };
    ASSERT_TRUE(expectNext("0 HEAD\r\n"));
    for (int i = 1; i <= kIndividuals; ++i) ASSERT_TRUE(expectNext(Record(i, true))) << "record " << i;
    ASSERT_TRUE(expectNext("0 TRLR\r\n"));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"groot.ged", "uit.ged"}));
}

}  // namespace
}  // namespace halvern
