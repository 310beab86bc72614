// The run's file questions answered by the Windows file system.
#include "platform/Win32FileProbe.h"
#include "tests/ui/windows/WindowTestSupport.h"

namespace halvern::testing {
namespace {

TEST(Win32FileProbeTest, ExistingFilesAreFilesNotFolders) {
    const TempFolder folder;
    folder.Write("a.ged", "x");
    const Win32FileProbe probe;
    EXPECT_TRUE(probe.IsExistingFile(folder.File("a.ged")));
    EXPECT_TRUE(probe.IsExistingFile(folder.File("A.GED")));
    EXPECT_EQ(probe.ProblemWith(folder.File("b.ged"))->kind, FileProblem::Kind::Missing);
    EXPECT_EQ(probe.ProblemWith(folder.File("weg\\b.ged"))->kind, FileProblem::Kind::Missing);
    EXPECT_EQ(probe.ProblemWith(folder.Name())->kind, FileProblem::Kind::Folder);
    EXPECT_FALSE(probe.IsExistingFile(""));
    std::string untrimmed(1, ' ');
    untrimmed += folder.File("a.ged");
    EXPECT_FALSE(probe.IsExistingFile(untrimmed)) << "the name is taken untrimmed";
}

TEST(Win32FileProbeTest, SameFileIsFoundThroughEverySpelling) {
    const TempFolder folder;
    folder.Write("a.ged", "x");
    folder.Write("b.ged", "x");
    const Win32FileProbe probe;
    EXPECT_TRUE(probe.SameExistingFile(folder.File("a.ged"), folder.File("A.GED")));
    EXPECT_TRUE(probe.SameExistingFile(folder.File("a.ged"), folder.File(".\\a.ged")));
    EXPECT_FALSE(probe.SameExistingFile(folder.File("a.ged"), folder.File("b.ged"))) << "same content, other file";
    EXPECT_FALSE(probe.SameExistingFile(folder.File("a.ged"), folder.File("c.ged"))) << "one does not exist";
    EXPECT_FALSE(probe.SameExistingFile(folder.Name(), folder.Name())) << "folders are no files";
}

}  // namespace
}  // namespace halvern::testing
