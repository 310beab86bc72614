// Faults from outside while a document is read or written: a disk that fills up, an input file
// that vanishes or turns unreadable after it was chosen, an output the user may not write. Each
// must be told, and no earlier file and no text in memory may suffer from it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "core/Document.h"
#include "tests/core/TempFolder.h"

#ifndef _WIN32
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace halvern {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunningAsRoot;
using testing::LoadText;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kEarlier = "0 HEAD\r\n0 @I00001@ INDI\r\n1 NAME Jan /Jansen/\r\n0 TRLR\r\n";

// A document of about size bytes.
std::string LargeDocument(std::size_t size) {
    std::string text = "0 HEAD\r\n";
    for (int i = 1; text.size() < size; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME Naam /" + std::to_string(i) + "/\r\n";
    return text + "0 TRLR\r\n";
}

// The code of the IoError a save raises, or a text that says it raised none.
[[maybe_unused]] std::string SaveOutcome(const fs::path& target, std::string_view text) {
    try {
        SaveDocument(target, text);
    } catch (const IoError& error) {
        return "code " + std::to_string(error.code());
    }
    return "saved";
}

TEST(FaultInjection, AnInputThatVanishesOrChangesAfterTheChoiceLoadsNothing) {
    const TempFolder folder;
    const fs::path chosen = folder / "gekozen.ged";
    const auto choose = [&] { WriteBytes(chosen, "0 HEAD\r\n0 TRLR\r\n"); };

    choose();
    fs::remove(chosen);
    std::string text = kEarlier;
    EXPECT_FALSE(LoadText(chosen, text)) << "removed";
    EXPECT_EQ(text, kEarlier);

    choose();
    fs::remove(chosen);
    fs::create_directory(chosen);
    EXPECT_FALSE(LoadText(chosen, text)) << "a folder in its place";
    EXPECT_EQ(text, kEarlier);
    fs::remove(chosen);

#ifndef _WIN32
    choose();
    fs::remove(chosen);
    fs::create_symlink(folder / "elders.ged", chosen);
    EXPECT_FALSE(LoadText(chosen, text)) << "a link to nothing in its place";
    EXPECT_EQ(text, kEarlier);
#endif
}

#ifndef _WIN32
// (Wine's C runtime reads a write-only stream as empty without any error, so there the load
// cannot know.)
TEST(FaultInjection, AReadErrorKeepsTheText) {
    const TempFolder folder;
    // A stream that cannot be read from.
    std::FILE* const writeOnly = std::fopen((folder / "alleen-schrijven.ged").string().c_str(), "wb");
    ASSERT_NE(writeOnly, nullptr);
    std::string text = kEarlier;
    EXPECT_FALSE(LoadText(writeOnly, text));
    EXPECT_EQ(text, kEarlier);
    std::fclose(writeOnly);

#ifdef __linux__
    // A file that opens but whose first read fails.
    if (fs::exists("/proc/self/mem")) {
        EXPECT_FALSE(LoadText("/proc/self/mem", text));
        EXPECT_EQ(text, kEarlier);
    }
#endif
}
#endif

// Saves text the way halvern-cli saves its last run: made piece by piece while it is written.
void SaveInPieces(const fs::path& target, const std::string& text, std::size_t pieceSize = 4096) {
    SaveDocument(target, [&](const std::function<void(std::string_view)>& write) {
        for (std::size_t at = 0; at < text.size(); at += pieceSize) write(std::string_view(text).substr(at, pieceSize));
    });
}

TEST(FaultInjection, AStreamedSaveWhoseTextFailsHalfwayLeavesTheEarlierFile) {
    const TempFolder folder;
    WriteBytes(folder / "uit.ged", kEarlier);
    const auto failHalfway = [](const std::function<void(std::string_view)>& write) {
        write(LargeDocument(100000));
        throw std::bad_alloc();  // memory runs out while the rest of the text is made
    };
    EXPECT_THROW(SaveDocument(folder / "uit.ged", failHalfway), std::bad_alloc);
    EXPECT_THROW(SaveDocument(folder / "nieuw.ged", failHalfway), std::bad_alloc);
    EXPECT_EQ(ReadBytes(folder / "uit.ged"), kEarlier);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"});

    const std::string text = LargeDocument(100000);
    SaveInPieces(folder / "uit.ged", text, 777);
    EXPECT_EQ(ReadBytes(folder / "uit.ged"), text);
}

#ifndef _WIN32

// Runs body in a child process and gives back what it reports: empty when all went as expected,
// "skip: ..." when the system does not allow the experiment.
std::string InChild(const std::function<std::string()>& body) {
    int ends[2];
    if (::pipe(ends) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no child process";
    if (child == 0) {
        ::close(ends[0]);
        std::string report;
        try {
            report = body();
        } catch (const std::exception& error) {
            report = std::string("exception: ") + error.what();
        }
        const ssize_t ignored = ::write(ends[1], report.data(), report.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(ends[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child process ended abnormally: " + report;
    return report;
}

// Gives up root's rights, so that file permissions count; nothing to do for other users.
bool BecomeOrdinaryUser() {
    if (!RunningAsRoot()) return true;
    constexpr uid_t kNobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

void ExpectOnly(const TempFolder& folder, const std::vector<std::string>& names) {
    EXPECT_EQ(folder.Entries(), names) << "a temporary file left behind, or a file lost";
}

TEST(FaultInjection, AFileSizeLimitFailsTheSaveAsDiskFullAndKeepsTheEarlierFile) {
    const TempFolder folder;
    WriteBytes(folder / "uit.ged", kEarlier);
    const std::string text = LargeDocument(256 * 1024);

    const std::string report = InChild([&]() -> std::string {
        ::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead of ending the process
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "skip: no file size limit";
        const std::string replacing = SaveOutcome(folder / "uit.ged", text);
        const std::string creating = SaveOutcome(folder / "nieuw.ged", text);
        std::string streamed = "saved";
        try {
            SaveInPieces(folder / "uit.ged", text);
        } catch (const IoError& error) {
            streamed = "code " + std::to_string(error.code());
        }
        if (replacing != "code 101" || creating != "code 101" || streamed != "code 101") {
            return "replacing: " + replacing + ", creating: " + creating + ", in pieces: " + streamed;
        }
        return "";
    });
    if (report.starts_with("skip: ")) GTEST_SKIP() << report;
    EXPECT_EQ(report, "");
    EXPECT_EQ(ReadBytes(folder / "uit.ged"), kEarlier);
    ExpectOnly(folder, {"uit.ged"});
}

TEST(FaultInjection, AFullFileSystemFailsTheSaveAsDiskFullAndKeepsTheEarlierFile) {
    if (!RunningAsRoot()) GTEST_SKIP() << "mounting a small file system needs root";
    const TempFolder folder;
    const fs::path small = folder / "klein";
    fs::create_directory(small);

    // In a mount namespace of its own, so the small file system never outlives the child.
    const std::string report = InChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
            return "skip: cannot mount a file system here";
        }
        const fs::path target = small / "uit.ged";
        WriteBytes(target, kEarlier);
        std::string problems;
        const auto expectFull = [&](const char* what, const std::string& outcome) {
            if (outcome != "code 101") problems += std::string(what) + ": " + outcome + "; ";
        };
        expectFull("too large a text", SaveOutcome(target, LargeDocument(200 * 1024)));

        // Fill what is left, then even a small text finds no room.
        {
            std::FILE* const filler = std::fopen((small / "vol").c_str(), "wb");
            const std::string block(4096, 'x');
            while (filler != nullptr && std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
                   std::fflush(filler) == 0) {
            }
            if (filler != nullptr) std::fclose(filler);
        }
        expectFull("a full disk", SaveOutcome(target, LargeDocument(16 * 1024)));

        if (ReadBytes(target) != kEarlier) problems += "the earlier file changed; ";
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(small)) names.push_back(entry.path().filename().string());
        if (names.size() != 2) problems += "files left behind: " + std::to_string(names.size()) + "; ";
        return problems;
    });
    if (report.starts_with("skip: ")) GTEST_SKIP() << report;
    EXPECT_EQ(report, "");
}

TEST(FaultInjection, OutputsTheUserMayNotWriteAreRefusedAndKept) {
    const TempFolder folder;
    fs::permissions(folder.path(), fs::perms::all, fs::perm_options::replace);
    const fs::path readOnly = folder / "alleen-lezen.ged";
    WriteBytes(readOnly, kEarlier);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    const fs::path closedFolder = folder / "dicht";
    fs::create_directory(closedFolder);
    WriteBytes(closedFolder / "uit.ged", kEarlier);
    fs::permissions(closedFolder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec, fs::perm_options::replace);
    const fs::path unreadable = folder / "onleesbaar.ged";
    WriteBytes(unreadable, kEarlier);
    fs::permissions(unreadable, fs::perms::none, fs::perm_options::replace);

    const std::string report = InChild([&]() -> std::string {
        if (!BecomeOrdinaryUser()) return "skip: cannot give up root's rights";
        std::string problems;
        const std::string fileOutcome = SaveOutcome(readOnly, "0 HEAD\r\n");
        if (fileOutcome != "code 5") problems += "read-only file: " + fileOutcome + "; ";
        const std::string folderOutcome = SaveOutcome(closedFolder / "uit.ged", "0 HEAD\r\n");
        if (folderOutcome != "code 5") problems += "read-only folder: " + folderOutcome + "; ";
        const std::string newOutcome = SaveOutcome(closedFolder / "nieuw.ged", "0 HEAD\r\n");
        if (newOutcome != "code 5") problems += "new file in a read-only folder: " + newOutcome + "; ";
        std::string text = kEarlier + "kept";
        if (LoadText(unreadable, text) || text != kEarlier + "kept") problems += "an unreadable file loaded; ";
        return problems;
    });
    fs::permissions(closedFolder, fs::perms::owner_all, fs::perm_options::add);
    if (report.starts_with("skip: ")) GTEST_SKIP() << report;
    EXPECT_EQ(report, "");
    EXPECT_EQ(ReadBytes(readOnly), kEarlier);
    EXPECT_EQ(ReadBytes(closedFolder / "uit.ged"), kEarlier);
    ExpectOnly(folder, {"alleen-lezen.ged", "dicht", "onleesbaar.ged"});
    EXPECT_EQ(std::distance(fs::directory_iterator(closedFolder), fs::directory_iterator()), 1);
}

#endif

}  // namespace
}  // namespace halvern
