#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/IoErrorCode.h"
#include "tests/core/TempFolder.h"

#ifndef _WIN32
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

const std::string kEarlier = "0 HEAD\n0 @I1@ INDI\n1 NAME Jan /Jansen/\n0 TRLR\n";
const std::string kNew = "0 HEAD\n0 TRLR\n";

// Runs the save and hands back the code of the IoError it must raise.
int SaveFailureCode(const fs::path& fileName, std::string_view text) {
    try {
        SaveDocument(fileName, text);
    } catch (const IoError& error) {
        return error.code();
    }
    ADD_FAILURE() << "no IoError for " << fileName;
    return 0;
}

TEST(IoError, CarriesTheCodeAndItsDescription) {
    const std::vector<std::pair<int, std::string>> cases{
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"}, {101, "Disk full"}, {17, "I/O error 17"}, {-1, "I/O error -1"}};
    for (const auto& [code, description] : cases) {
        const IoError error(code);
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(std::string(error.what()), description);
        EXPECT_EQ(IoErrorDescription(code), description);
    }
}

TEST(IoError, SystemErrorsMapThroughTheirPortableCondition) {
    EXPECT_EQ(IoCodeFromError(std::make_error_code(std::errc::no_space_on_device)), 101);
    EXPECT_EQ(IoCodeFromError(std::make_error_code(std::errc::permission_denied)), 5);
    EXPECT_EQ(IoCodeFromError(std::make_error_code(std::errc::no_such_file_or_directory)), 2);
    EXPECT_EQ(IoCodeFromError(std::make_error_code(std::errc::file_exists)), EEXIST);  // unmapped: as it is
    // A system-specific code with no portable meaning stays the system's own.
    EXPECT_EQ(IoCodeFromError(std::error_code(123456, std::system_category())), 123456);
}

TEST(SaveDocument, WritesExactlyTheTextAndLeavesNothingElse) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    SaveDocument(target, kEarlier);
    EXPECT_EQ(ReadBytes(target), kEarlier);

    SaveDocument(target, kNew);  // over a longer file: nothing of it remains
    EXPECT_EQ(ReadBytes(target), kNew);
    EXPECT_EQ(fs::file_size(target), kNew.size());

    SaveDocument(target, "");
    EXPECT_EQ(fs::file_size(target), 0u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"});

    const fs::path accented = folder / fs::path(u8"Zoë – uitvoer.ged");
    SaveDocument(accented, kNew);
    std::string text;
    ASSERT_TRUE(LoadText(accented, text));
    EXPECT_EQ(text, kNew);
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(SaveDocument, SavesRelativeNamesInTheCurrentFolder) {
    const TempFolder folder;
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    SaveDocument("relatief.ged", kNew);
    fs::current_path(previous);
    EXPECT_EQ(ReadBytes(folder / "relatief.ged"), kNew);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"relatief.ged"});
}

TEST(SaveDocument, FailuresLeaveTheEarlierFilesAndNoTemporaryFile) {
    const TempFolder folder;
    WriteBytes(folder / "bestaand.ged", kEarlier);
    fs::create_directory(folder / "map.ged");
    WriteBytes(folder / "map.ged" / "binnen.ged", kEarlier);

    EXPECT_EQ(SaveFailureCode(folder / "ontbrekend" / "uit.ged", kNew), 2);
    EXPECT_EQ(SaveFailureCode(folder / "map.ged", kNew), 5);
    EXPECT_EQ(SaveFailureCode(fs::path(), kNew), 3);
    // A file named as folder: POSIX calls that an invalid name, Windows a path not found.
    const int fileAsFolder = SaveFailureCode(folder / "bestaand.ged" / "uit.ged", kNew);
    EXPECT_TRUE(fileAsFolder == 3 || fileAsFolder == 2) << fileAsFolder;

    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"bestaand.ged", "map.ged"}));
    EXPECT_EQ(ReadBytes(folder / "bestaand.ged"), kEarlier);
    EXPECT_EQ(ReadBytes(folder / "map.ged" / "binnen.ged"), kEarlier);
}

TEST(SaveDocument, TextMadeWhileItIsWrittenArrivesWholeOrNotAtAll) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    SaveDocument(target, [](const std::function<void(std::string_view)>& write) {
        write("0 HEAD\r\n");
        write("");
        write("0 TRLR\r\n");
    });
    EXPECT_EQ(ReadBytes(target), "0 HEAD\r\n0 TRLR\r\n");

    // A maker that fails halfway: the earlier file stays, the half-written one is gone.
    const auto failing = [](const std::function<void(std::string_view)>& write) {
        write("0 HEAD\r\n");
        throw std::bad_alloc();
    };
    EXPECT_THROW(SaveDocument(target, failing), std::bad_alloc);
    EXPECT_EQ(ReadBytes(target), "0 HEAD\r\n0 TRLR\r\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"});
}

TEST(SaveDocument, RefusesAReadOnlyFileAndKeepsIt) {
    if (RunningAsRoot()) GTEST_SKIP() << "root may write every file";
    const TempFolder folder;
    const fs::path target = folder / "alleen-lezen.ged";
    WriteBytes(target, kEarlier);
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(SaveFailureCode(target, kNew), 5);
    EXPECT_EQ(ReadBytes(target), kEarlier);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"alleen-lezen.ged"});
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
}

#ifndef _WIN32
// Folder permissions and symbolic links as POSIX systems have them.

TEST(SaveDocument, FailsInAReadOnlyFolderAndKeepsTheEarlierFile) {
    if (RunningAsRoot()) GTEST_SKIP() << "root may write in every folder";
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    WriteBytes(target, kEarlier);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    EXPECT_EQ(SaveFailureCode(target, kNew), 5);
    fs::permissions(folder.path(), fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(ReadBytes(target), kEarlier);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"uit.ged"});
}

TEST(SaveDocument, KeepsThePermissionBitsOfTheFileItReplaces) {
    const TempFolder folder;
    const fs::path target = folder / "uit.ged";
    WriteBytes(target, kEarlier);
    const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, chosen, fs::perm_options::replace);
    SaveDocument(target, kNew);
    EXPECT_EQ(fs::status(target).permissions(), chosen);
    EXPECT_EQ(ReadBytes(target), kNew);
}

TEST(SaveDocument, WritesThroughASymbolicLink) {
    const TempFolder folder;
    fs::create_directory(folder / "echt");
    const fs::path real = folder / "echt" / "stamboom.ged";
    WriteBytes(real, kEarlier);
    const fs::path link = folder / "link.ged";
    fs::create_symlink(fs::path("echt") / "stamboom.ged", link);  // relative to the link's folder

    SaveDocument(link, kNew);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadBytes(real), kNew);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"echt", "link.ged"}));
    EXPECT_EQ(fs::directory_iterator(folder / "echt")->path().filename(), "stamboom.ged");

    // A link whose file does not exist yet: the file is made where the link points.
    const fs::path dangling = folder / "nieuw-link.ged";
    fs::create_symlink(folder / "echt" / "nieuw.ged", dangling);
    SaveDocument(dangling, kEarlier);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dangling)));
    EXPECT_EQ(ReadBytes(folder / "echt" / "nieuw.ged"), kEarlier);

    const fs::path loop = folder / "kring.ged";
    fs::create_symlink("kring.ged", loop);
    EXPECT_NE(SaveFailureCode(loop, kNew), 0);
}

TEST(SaveDocument, WritesToDevicesInsteadOfReplacingThem) {
    if (!fs::exists("/dev/null") || !fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/null or /dev/full";
    SaveDocument("/dev/null", kNew);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(SaveFailureCode("/dev/full", kNew), 101);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A pipe reached through a link, as /dev/stdout is when the output goes to another program.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string writeEnd = "/proc/self/fd/" + std::to_string(ends[1]);
    if (fs::exists(writeEnd)) {
        SaveDocument(writeEnd, kNew);
        std::string received(kNew.size(), '\0');
        EXPECT_EQ(::read(ends[0], received.data(), received.size()), static_cast<ssize_t>(kNew.size()));
        EXPECT_EQ(received, kNew);
    }
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(SaveDocument, TooLongANameIsAnInvalidFileName) {
    const TempFolder folder;
    EXPECT_EQ(SaveFailureCode(folder / std::string(300, 'x'), kNew), 3);
    EXPECT_TRUE(folder.Entries().empty());
    // A name just short of the limit saves: its temporary file carries only the start of it.
    const std::string longest(250, 'x');
    SaveDocument(folder / longest, kNew);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{longest});
}
#endif

}  // namespace
}  // namespace halvern
