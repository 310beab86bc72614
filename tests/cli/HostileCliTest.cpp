// halvern-cli on hostile inputs and failing outputs: each is told in one line with its own exit
// status, and no earlier output file, input file or temporary file is touched or left behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const std::string kEarlier = "0 HEAD\r\n0 @I00001@ INDI\r\n0 TRLR\r\n";
const std::string kInput = "0 HEAD\r\n0 @I7@ INDI\r\n1 FAMS @F2@\r\n0 @F2@ FAM\r\n1 HUSB @I7@\r\n0 TRLR\r\n";

class HostileCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvern-hostile-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                "-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        WriteFile(At("in.ged"), kInput);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    fs::path At(const std::string& leaf) const { return dir_ / leaf; }

    // The names in the test folder, the runner's own files left out.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name != ".stdout" && name != ".stderr") names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs halvern-cli in the test folder; fileSizeLimit, when given, is the largest file it may write,
    // and standardOutput the file its standard output goes to.
    Outcome Run(std::vector<std::string> args, std::optional<rlim_t> fileSizeLimit = std::nullopt,
                const char* standardOutput = ".stdout") const {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::chdir(dir_.c_str()) != 0) ::_exit(126);
            const int out = ::open(standardOutput, O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || err < 0) ::_exit(126);
            ::dup2(out, 1);
            ::dup2(err, 2);
            if (fileSizeLimit) {
                // An ignored signal stays ignored in the program: writes beyond the limit fail instead.
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{*fileSizeLimit, *fileSizeLimit};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(125);
            }
            std::vector<char*> argv{const_cast<char*>(HALVERN_CLI)};
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(HALVERN_CLI, argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        Outcome outcome;
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        outcome.out = ReadFile(At(".stdout"));
        outcome.err = ReadFile(At(".stderr"));
        return outcome;
    }

    fs::path dir_;
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
        const Outcome run = Run(args, 64 * 1024);
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
    const Outcome run = Run({"-q", "in.ged", "-"}, std::nullopt, "/dev/full");
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
