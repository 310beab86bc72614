// halvern-cli on hostile inputs and failing outputs: each is told in one line with its own exit
// status, and no earlier output file, input file or temporary file is touched or left behind.
#include <gtest/gtest.h>

#include "tests/cli/CliFolder.h"

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

TEST_F(HostileCli, Utf16InputIsRefusedAndTheEarlierOutputStays) {
    for (const std::string& mark : {std::string("\xFF\xFE"), std::string()}) {
        std::string utf16 = mark;
        for (const char c : kInput) utf16 += std::string(1, c) + '\0';
        WriteFile(At("utf16.ged"), utf16);
        WriteFile(At("uit.ged"), kEarlier);
        const Outcome run = Run({"utf16.ged", "uit.ged"});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "halvern-cli: Verkeert bestandsformaat.\n");
        EXPECT_EQ(ReadFile(At("uit.ged")), kEarlier);
    }
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
