#include "app/RunChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <utility>

#include "app/GedcomDocument.h"

namespace halvern {
namespace {

// Answers from a fixed list of files; two names lead to the same file when listed as a pair. Other
// names have the problem listed for them, or are missing.
class FakeProbe final : public FileProbe {
public:
    std::set<std::string> files;
    std::map<std::string, FileProblem> problems;
    std::set<std::pair<std::string, std::string>> sameFiles;

    std::optional<FileProblem> ProblemWith(const std::string& name) const override {
        if (files.count(name) > 0) return std::nullopt;
        const auto found = problems.find(name);
        return found != problems.end() ? found->second : FileProblem{FileProblem::Kind::Missing};
    }
    bool SameExistingFile(const std::string& first, const std::string& second) const override {
        return sameFiles.count({first, second}) > 0 || sameFiles.count({second, first}) > 0;
    }
};

// The checks on two files, or with the kinds of ends given; the message of the first that fails.
std::string Check(const std::string& in, const std::string& out, std::string_view text, const FileProbe& probe,
                  JobEnd::Kind inKind = JobEnd::Kind::kFile, JobEnd::Kind outKind = JobEnd::Kind::kFile) {
    GedcomDocument document;
    document.Replace(std::string(text));
    const auto failed = FirstFailingCheck({in, inKind}, JobEnd{out, outKind}, document, &probe);
    return failed ? failed->message : std::string("ok");
}

TEST(HasData, NeedsOneByteAboveBlank) {
    EXPECT_FALSE(HasData(""));
    EXPECT_FALSE(HasData(" \t\r\n  \r\n"));
    EXPECT_FALSE(HasData(std::string_view("\x01\x1f \x20", 4)));
    EXPECT_TRUE(HasData("0"));
    EXPECT_TRUE(HasData("   \r\n0 HEAD\r\n"));
    EXPECT_TRUE(HasData("\x80"));  // a byte beyond ASCII is data, not a control character
    EXPECT_TRUE(HasData("\xff  "));
}

TEST(FirstFailingCheck, ChecksInOrderWithTheirTexts) {
    FakeProbe probe;
    probe.files = {"in.ged", "in.ged "};
    probe.problems = {{"map", {FileProblem::Kind::Folder}}, {"vreemd", {FileProblem::Kind::Other, 1234}}};
    probe.sameFiles = {{"in.ged", "IN.GED"}};
    const std::string cannotOpen = "\" kan niet geopend worden: ";

    EXPECT_EQ(Check("in.ged", "uit.ged", "0 HEAD", probe), "ok");
    // 1: no name at all; a name (untrimmed), told with the file and why it is no file to open.
    EXPECT_EQ(Check("", "uit.ged", "0 HEAD", probe), rsGeenInvoer.text);
    EXPECT_EQ(Check(" \t", "uit.ged", "0 HEAD", probe), rsGeenInvoer.text);
    EXPECT_EQ(Check("weg.ged", "", "", probe), "Het bestand \"weg.ged" + cannotOpen + "het bestaat niet.");
    EXPECT_EQ(Check(" in.ged", "", "", probe), "Het bestand \" in.ged" + cannotOpen + "het bestaat niet.");
    EXPECT_EQ(Check("map", "", "", probe), "Het bestand \"map" + cannotOpen + "het is een map.");
    EXPECT_EQ(Check("vreemd", "", "", probe), "Het bestand \"vreemd" + cannotOpen + "het kan niet gelezen worden, foutcode 1234.");
    EXPECT_EQ(Check("in.ged", "", "0 HEAD", probe), rsGeenUitvoer.text);
    EXPECT_EQ(Check("in.ged", " \t ", "0 HEAD", probe), rsGeenUitvoer.text);
    EXPECT_EQ(Check("in.ged", "in.ged", "0 HEAD", probe), rsZelfdeNaam.text);
    EXPECT_EQ(Check("in.ged ", " in.ged", "0 HEAD", probe), rsZelfdeNaam.text);  // compared trimmed
    EXPECT_EQ(Check("in.ged", "in.ged", "", probe), rsZelfdeNaam.text);
    EXPECT_EQ(Check("in.ged", "uit.ged", " \r\n\t", probe), rsGeenGegevens.text);
    EXPECT_EQ(Check("in.ged", "uit.ged", "", probe), rsGeenGegevens.text);
}

TEST(FirstFailingCheck, AStreamIsNoFileAndNeverTheSameAsAnotherEnd) {
    FakeProbe probe;  // knows no file at all
    constexpr auto kStream = JobEnd::Kind::kStream;
    EXPECT_EQ(Check("-", "-", "0 HEAD", probe, kStream, kStream), "ok");
    EXPECT_EQ(Check("-", "uit.ged", "0 HEAD", probe, kStream), "ok");
    EXPECT_EQ(Check("-", " ", "0 HEAD", probe, kStream), rsGeenUitvoer.text);
    EXPECT_EQ(Check("-", "-", " \n", probe, kStream, kStream), rsGeenGegevens.text);
    EXPECT_EQ(Check("weg.ged", "-", "0 HEAD", probe, JobEnd::Kind::kFile, kStream),
              "Het bestand \"weg.ged\" kan niet geopend worden: het bestaat niet.");
}

TEST(FirstFailingCheck, NamesOfOneFileAreRefusedWhateverTheirSpelling) {
    FakeProbe probe;
    probe.files = {"in.ged"};
    probe.sameFiles = {{"in.ged", "IN.GED"}};
    EXPECT_EQ(Check("in.ged", "IN.GED", "0 HEAD", probe), rsZelfdeNaam.text);
    // Names that differ only in letter case but lead to different files pass.
    EXPECT_EQ(Check("in.ged", "In.ged", "0 HEAD", probe), "ok");
}

class FilesystemProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("halvern-ui-") + info->name() + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "map");
        std::ofstream(dir_ / "in.ged") << "0 HEAD\n";
        std::ofstream(dir_ / "ander.ged") << "0 HEAD\n";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string Name(const std::string& leaf) const { return (dir_ / leaf).string(); }

    std::filesystem::path dir_;
    FilesystemProbe probe_;
};

TEST_F(FilesystemProbeTest, ExistingFileIsAFileNotAFolder) {
    EXPECT_TRUE(probe_.IsExistingFile(Name("in.ged")));
    EXPECT_FALSE(probe_.IsExistingFile(Name("map")));
    EXPECT_FALSE(probe_.IsExistingFile(Name("weg.ged")));
    EXPECT_FALSE(probe_.IsExistingFile(Name("in.ged/onder")));
    EXPECT_FALSE(probe_.IsExistingFile(""));
}

TEST_F(FilesystemProbeTest, SameFileThroughDifferentNames) {
    const std::string viaDotDot = (dir_ / "map" / ".." / "in.ged").string();
    EXPECT_TRUE(probe_.SameExistingFile(Name("in.ged"), viaDotDot));
    EXPECT_TRUE(probe_.SameExistingFile(Name("in.ged"), Name("in.ged")));
    EXPECT_FALSE(probe_.SameExistingFile(Name("in.ged"), Name("ander.ged")));
    EXPECT_FALSE(probe_.SameExistingFile(Name("in.ged"), Name("weg.ged")));
    EXPECT_FALSE(probe_.SameExistingFile(Name("weg.ged"), Name("weg.ged")));
    EXPECT_FALSE(probe_.SameExistingFile(Name("in.ged"), ""));

    EXPECT_EQ(Check(Name("in.ged"), viaDotDot, "0 HEAD", probe_), rsZelfdeNaam.text);
    EXPECT_EQ(Check(Name("in.ged"), Name("ander.ged"), "0 HEAD", probe_), "ok");
}

#ifndef _WIN32
TEST_F(FilesystemProbeTest, SameFileThroughLinks) {
    std::filesystem::create_symlink(dir_ / "in.ged", dir_ / "link.ged");
    std::filesystem::create_hard_link(dir_ / "in.ged", dir_ / "hard.ged");
    std::filesystem::create_symlink(dir_ / "weg.ged", dir_ / "dangling.ged");

    EXPECT_TRUE(probe_.SameExistingFile(Name("in.ged"), Name("link.ged")));
    EXPECT_TRUE(probe_.SameExistingFile(Name("hard.ged"), Name("in.ged")));
    EXPECT_TRUE(probe_.IsExistingFile(Name("link.ged")));
    EXPECT_FALSE(probe_.IsExistingFile(Name("dangling.ged")));
    EXPECT_FALSE(probe_.SameExistingFile(Name("in.ged"), Name("dangling.ged")));
    EXPECT_EQ(Check(Name("link.ged"), Name("in.ged"), "0 HEAD", probe_), rsZelfdeNaam.text);
}
#else
TEST_F(FilesystemProbeTest, LetterCaseLeadsToTheSameFileOnWindows) {
    EXPECT_TRUE(probe_.SameExistingFile(Name("in.ged"), Name("IN.GED")));
    EXPECT_EQ(Check(Name("in.ged"), Name("IN.GED"), "0 HEAD", probe_), rsZelfdeNaam.text);
}
#endif

}  // namespace
}  // namespace halvern
