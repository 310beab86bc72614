// halvern-cli on hostile inputs and failing outputs: each is told in one line with its own exit
// status, and no earlier output file, input file or temporary file is touched or left behind.
#include <gtest/gtest.h>

#include "tests/cli/CliFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using halvern::testing::CliFolder;
using halvern::testing::CliRunOptions;
using halvern::testing::ReadFile;
using halvern::testing::WriteFile;
using Outcome = halvern::testing::CliOutcome;

const std::string kEarlier = "0 HEAD\r\n0 @I00001@ INDI\r\n0 TRLR\r\n";
const std::string kInput = "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n0 TRLR\r\n";

class HostileCli : public CliFolder {
protected:
    void SetUp() override {
        CliFolder::SetUp();
        WriteFile(At("in.ged"), kInput);
    }
};

// UTF-16 files, with and without a mark, either byte order, every line end and names beyond ASCII,
// come out as the same file renumbered in UTF-8 and converted: only their identifiers change.
TEST_F(HostileCli, Utf16FilesAreRenumberedInTheirOwnEncoding) {
    if (std::system("iconv --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no iconv";
    const std::string utf8 = "0 HEAD\r\n1 CHAR UNICODE\n0 @I7@ INDI\r1 NAME J\xC3\xBCrgen /M\xC3\xBCller/\r\n"
                             "1 FAMS @F2@\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n1 NOTE \xE2\x82\xAC \xF0\x9F\x8C\xB3\r\n0 TRLR\r\n";
    WriteFile(At("utf8.ged"), utf8);
    ASSERT_EQ(Run({"-t", "INDI", "-t", "FAM:3", "utf8.ged", "utf8-uit.ged"}).status, 0);
    const auto convert = [&](const char* from, const char* to, const std::string& in, const std::string& out) {
        const std::string command = std::string("iconv -f ") + from + " -t " + to + " '" + At(in).string() + "' > '" +
                                    At(out).string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    };
    for (const char* encoding : {"UTF-16LE", "UTF-16BE"}) {
        for (const std::string mark : {"", "\xEF\xBB\xBF"}) {  // a mark in UTF-8 becomes the UTF-16 one
            WriteFile(At("met-teken.ged"), mark + utf8);
            convert("UTF-8", encoding, "met-teken.ged", "utf16.ged");
            const std::string before = ReadFile(At("utf16.ged"));
            const Outcome run = Run({"-t", "INDI", "-t", "FAM:3", "utf16.ged", "uit.ged"});
            ASSERT_EQ(run.status, 0) << encoding << run.err;
            convert(encoding, "UTF-8", "uit.ged", "terug.ged");
            EXPECT_EQ(ReadFile(At("terug.ged")), mark + ReadFile(At("utf8-uit.ged"))) << encoding << mark.size();
            EXPECT_EQ(ReadFile(At("uit.ged")).size(), before.size() + 2 * (ReadFile(At("utf8-uit.ged")).size() - utf8.size()));
        }
    }
    // A byte 0 in a file that is not UTF-16 is still refused, and the earlier output stays.
    WriteFile(At("binair.ged"), std::string("0 HEAD\r\n\0\x01\x02 @I1@ INDI\r\n", 20));
    WriteFile(At("uit.ged"), kEarlier);
    const Outcome refused = Run({"binair.ged", "uit.ged"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "halvern-cli: Verkeert bestandsformaat.\n");
    EXPECT_EQ(ReadFile(At("uit.ged")), kEarlier);
}

TEST_F(HostileCli, TooManyIndividualsAreRefusedAndNothingIsWritten) {
    std::string many = "0 HEAD\n";
    for (int i = 1; i <= 150000; ++i) many += "0 @P" + std::to_string(i) + "@ INDI\n";
    WriteFile(At("veel.ged"), many);
    WriteFile(At("uit.ged"), kEarlier);
    const Outcome run = Run({"veel.ged", "uit.ged"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "halvern-cli: De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.\n");
    EXPECT_EQ(ReadFile(At("uit.ged")), kEarlier);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.ged", "uit.ged", "veel.ged"}));
}

TEST_F(HostileCli, AFullDiskIsToldAndTheEarlierOutputStays) {
    std::string large = "0 HEAD\r\n";
    for (int i = 1; large.size() < 512 * 1024; ++i) large += "0 @P" + std::to_string(i) + "@ INDI\r\n1 NAME x\r\n";
    WriteFile(At("groot.ged"), large);
    WriteFile(At("uit.ged"), kEarlier);
    for (const std::vector<std::string>& types : {std::vector<std::string>{}, {"-t", "INDI", "-t", "FAM"}}) {
        std::vector<std::string> args = types;
        args.insert(args.end(), {"-m", "lijst.tsv", "groot.ged", "uit.ged"});
        CliRunOptions limited;
        limited.fileSizeLimit = 64 * 1024;
        const Outcome run = RunWith(args, limited);
        EXPECT_EQ(run.status, 4);
        EXPECT_EQ(run.err, "halvern-cli: uit.ged: Disk full.\n");
        EXPECT_EQ(ReadFile(At("uit.ged")), kEarlier);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"groot.ged", "in.ged", "uit.ged"}));
    }
}

TEST_F(HostileCli, OutputsThatCannotBeWrittenAreToldOneByOne) {
    fs::create_directory(At("map.ged"));
    WriteFile(At("uit.ged"), kEarlier);
    const struct {
        std::string output;
        std::string message;
    } cases[] = {
        {"geen/uit.ged", "halvern-cli: geen/uit.ged: File not found.\n"},
        {"map.ged", "halvern-cli: map.ged: File access denied.\n"},
        {"uit.ged/x.ged", "halvern-cli: uit.ged/x.ged: Invalid filename.\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = Run({"in.ged", c.output});
        EXPECT_EQ(run.status, 4) << c.output;
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ReadFile(At("uit.ged")), kEarlier);
    EXPECT_EQ(ReadFile(At("in.ged")), kInput);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.ged", "map.ged", "uit.ged"}));
}

TEST_F(HostileCli, AFullStandardOutputIsTold) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    CliRunOptions full;
    full.standardOutput = "/dev/full";
    const Outcome run = RunWith({"-q", "in.ged", "-"}, full);
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err, "halvern-cli: -: Disk full.\n");
}

TEST_F(HostileCli, NamesWithLettersBeyondAsciiWork) {
    WriteFile(At("Één bestand é.ged"), kInput);
    const Outcome run = Run({"-q", "Één bestand é.ged", "Uitvoer ü.ged"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(At("Uitvoer ü.ged")),
              "0 HEAD\r\n0 @I00001@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I00001@\r\n0 TRLR\r\n");
}

}  // namespace
