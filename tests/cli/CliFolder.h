#pragma once
// Runs the built halvern-cli (HALVERN_CLI) as a separate process in a folder of its own per test,
// and looks at what it leaves behind.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern::testing {

struct CliOutcome {
    int status = -1;  // the exit status; 128 when the program did not exit by itself
    std::string out;
    std::string err;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

struct CliRunOptions {
    std::string_view input;                   // what standard input holds
    std::optional<rlim_t> fileSizeLimit;      // the largest file the program may write
    const char* standardOutput = ".stdout";   // where standard output goes, within the folder
};

class CliFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path At(const std::string& leaf) const { return dir_ / leaf; }
    // The names in the folder, sorted, the runner's own files left out.
    std::vector<std::string> Entries() const;
    CliOutcome Run(std::vector<std::string> args, std::string_view input = {}) const;
    CliOutcome RunWith(std::vector<std::string> args, const CliRunOptions& options) const;

private:
    std::filesystem::path dir_;
};

}  // namespace halvern::testing
