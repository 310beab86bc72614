// What a save that was killed half-way leaves behind (its temporary file beside the output), and
// how the next save to the same output clears it without touching a save that still runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "core/Document.h"
#include "tests/core/TempFolder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kEarlier = "0 HEAD\n0 @I1@ INDI\n0 TRLR\n";
const std::string kNew = "0 HEAD\n0 TRLR\n";

// The entries of folder other than the output uit.ged: the temporary files.
std::vector<std::string> TemporaryEntries(const TempFolder& folder) {
    std::vector<std::string> names = folder.Entries();
    std::erase(names, "uit.ged");
    return names;
}

TEST(SaveLeftovers, OnlyTheOutputsOwnPatternIsCleared) {
    const TempFolder folder;
    const std::vector<std::pair<std::string, bool>> files{
        {".uit.ged.0123456789abcdef.halvern", true},
        {".uit.ged.FEDCBA9876543210.halvern", false},    // capitals: not this program's
        {".uit.ged.0123456789abcde.halvern", false},     // a digit short
        {".uit.ged.0123456789abcdeg.halvern", false},    // no hex digit
        {".uit.ged.1123456789abcdef.halvern.bak", false},
        {"uit.ged.2123456789abcdef.halvern", false},     // no leading dot
        {".uit.ged.3123456789abcdef.tmp", false},
        {".ander.ged.4123456789abcdef.halvern", false},  // another output's
        {".uit.ged.ged.5123456789abcdef.halvern", false},
        {".halvern-6123456789abcdef.tmp", false},        // no output in the name
    };
    for (const auto& [name, cleared] : files) WriteBytes(folder / name, "half");
    fs::create_directory(folder / ".uit.ged.7123456789abcdef.halvern");

    SaveDocument(folder / "uit.ged", kNew);
    EXPECT_EQ(ReadBytes(folder / "uit.ged"), kNew);
    for (const auto& [name, cleared] : files) EXPECT_EQ(fs::exists(folder / name), !cleared) << name;
    EXPECT_TRUE(fs::is_directory(folder / ".uit.ged.7123456789abcdef.halvern"));
}

// A save in a second thread holds its temporary file open while the main thread saves to the
// same output: the file stays, and the later rename wins.
TEST(SaveLeftovers, ASaveStillRunningKeepsItsTemporaryFile) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    std::promise<void> halfway;
    std::promise<void> goOn;
    bool failed = false;
    std::thread running([&] {
        try {
            SaveDocument(target, [&](const std::function<void(std::string_view)>& write) {
                write(kEarlier.substr(0, 7));
                halfway.set_value();
                goOn.get_future().wait();
                write(kEarlier.substr(7));
            });
        } catch (const std::exception&) {
            failed = true;
        }
    });
    halfway.get_future().wait();
    const std::vector<std::string> ownTemporary = TemporaryEntries(folder);
    ASSERT_EQ(ownTemporary.size(), 1u);
    EXPECT_TRUE(ownTemporary[0].starts_with(".uit.ged.") && ownTemporary[0].ends_with(".halvern")) << ownTemporary[0];

    SaveDocument(target, kNew);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(TemporaryEntries(folder), ownTemporary);

    goOn.set_value();
    running.join();
    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadBytes(target), kEarlier);
    EXPECT_TRUE(TemporaryEntries(folder).empty());
}

#ifndef _WIN32
// A child process that saves text to target in two blocks and stops for good after the first. It
// returns once the first block is written.
pid_t StartSaveThatHangs(const fs::path& target) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        try {
            SaveDocument(target, [&](const std::function<void(std::string_view)>& write) {
                write(std::string(1 << 20, 'x'));
                if (::write(ready[1], "!", 1) != 1) ::_exit(1);
                for (;;) ::pause();
            });
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool halfway = child > 0 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (!halfway && child > 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    return halfway ? child : -1;
}

void Kill(pid_t child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(SaveLeftovers, TheNextSaveClearsWhatAKilledSaveLeft) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    WriteBytes(target, kEarlier);
    const pid_t child = StartSaveThatHangs(target);
    ASSERT_GT(child, 0);
    Kill(child);
    EXPECT_EQ(ReadBytes(target), kEarlier);
    const std::vector<std::string> leftover = TemporaryEntries(folder);
    ASSERT_EQ(leftover.size(), 1u);
    EXPECT_EQ(fs::file_size(folder / leftover[0]), std::uintmax_t{1} << 20);

    SaveDocument(target, kNew);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_TRUE(TemporaryEntries(folder).empty());
}

TEST(SaveLeftovers, ASaveRunningInAnotherProcessKeepsItsTemporaryFile) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    const pid_t child = StartSaveThatHangs(target);
    ASSERT_GT(child, 0);
    const std::vector<std::string> running = TemporaryEntries(folder);

    SaveDocument(target, kNew);
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(TemporaryEntries(folder), running);
    Kill(child);
}
#endif

}  // namespace
}  // namespace halvern
