#include "tests/cli/CliFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

namespace halvern::testing {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CliFolder::SetUp() {
    const ::testing::TestInfo* const test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("halvern-cli-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

void CliFolder::TearDown() {
    // A test may have taken the folder's permissions away.
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
}

std::vector<std::string> CliFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        const std::string name = entry.path().filename().string();
        if (name != ".stdin" && name != ".stdout" && name != ".stderr") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

CliOutcome CliFolder::Run(std::vector<std::string> args, std::string_view input) const {
    CliRunOptions options;
    options.input = input;
    return RunWith(std::move(args), options);
}

CliOutcome CliFolder::RunWith(std::vector<std::string> args, const CliRunOptions& options) const {
    WriteFile(At(".stdin"), options.input);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(dir_.c_str()) != 0) ::_exit(126);
        const int in = ::open(".stdin", O_RDONLY);
        const int out = ::open(options.standardOutput, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (options.fileSizeLimit) {
            // An ignored signal stays ignored in the program: writes beyond the limit fail instead.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
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
    CliOutcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    outcome.out = ReadFile(At(".stdout"));
    outcome.err = ReadFile(At(".stderr"));
    return outcome;
}

}  // namespace halvern::testing
