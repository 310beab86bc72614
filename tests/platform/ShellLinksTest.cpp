#include "platform/ShellLinks.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "WineHost.h"
#include "platform/ShellOpen.h"

namespace halvern {
namespace {

struct ShellCall {
    HWND owner;
    std::string verb;
    std::optional<std::string> file;
    bool parametersNull;
    bool folderNull;
    int show;
};

// While it lives, the shell hand-over is recorded here instead of made.
class ShellRecorder {
public:
    ShellRecorder()
        : previous_(ReplaceShellOpenForTesting([this](HWND owner, const char* verb, const char* file,
                                                      const char* parameters, const char* folder, int show) {
              calls.push_back({owner, verb ? verb : "",
                               file ? std::optional<std::string>(file) : std::nullopt, parameters == nullptr,
                               folder == nullptr, show});
              return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
          })) {}
    ~ShellRecorder() { ReplaceShellOpenForTesting(std::move(previous_)); }

    std::vector<ShellCall> calls;

private:
    ShellOpenFunction previous_;
};

void ExpectHandOver(const ShellCall& call, const std::string& file) {
    EXPECT_EQ(call.owner, GetDesktopWindow());
    EXPECT_EQ(call.verb, "Open");
    EXPECT_EQ(call.file, file);
    EXPECT_TRUE(call.parametersNull);
    EXPECT_TRUE(call.folderNull);
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

TEST(ShellLinks, MailHandsMailtoAndTheAddressUnchanged) {
    ShellRecorder recorder;
    OpenMailProgram("info@zandrix.example");
    OpenMailProgram(" Info@Zandrix.Example ");
    OpenMailProgram("");
    ASSERT_EQ(recorder.calls.size(), 3u);
    ExpectHandOver(recorder.calls[0], "Mailto:info@zandrix.example");
    ExpectHandOver(recorder.calls[1], "Mailto: Info@Zandrix.Example ");
    ExpectHandOver(recorder.calls[2], "Mailto:");
}

TEST(ShellLinks, HomepageHandsTheAddressAsStored) {
    ShellRecorder recorder;
    OpenHomepage("https://www.zandrix.example/halvern?taal=nl");
    OpenHomepage("");
    ASSERT_EQ(recorder.calls.size(), 2u);
    ExpectHandOver(recorder.calls[0], "https://www.zandrix.example/halvern?taal=nl");
    ExpectHandOver(recorder.calls[1], "");
}

// Wine hands a web or mail address to the programs named in HKCU\Software\Wine\WineBrowser
// ("Browsers" and "Mailers"). The tests point both at a script that writes down what it got, and
// put the earlier values back afterwards.
class WineHandOver : public ::testing::Test {
protected:
    static constexpr char kKey[] = "Software\\Wine\\WineBrowser";

    void SetUp() override {
        if (!test::RunningUnderWine()) GTEST_SKIP() << "needs Wine's browser hand-over";
        for (const char* name : {"Browsers", "Mailers"}) saved_.push_back({name, ReadValue(name)});
        const std::string script = std::string(HALVERN_SOURCE_DIR) + "/tests/platform/record-handover.sh";
        const std::string output = std::string(HALVERN_BINARY_DIR) + "/handover-";
        mailFile_ = output + "mail.txt";
        browserFile_ = output + "browser.txt";
        for (const std::string& file : {mailFile_, browserFile_}) DeleteFileA(test::WindowsPathOfUnixPath(file).c_str());
        WriteValue("Mailers", "/bin/sh \"" + script + "\" \"" + mailFile_ + "\"");
        WriteValue("Browsers", "/bin/sh \"" + script + "\" \"" + browserFile_ + "\"");
    }

    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                WriteValue(name, *value);
            } else {
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, name.c_str());
            }
        }
    }

    // What the stand-in program wrote, once it has; nothing after ten seconds.
    static std::optional<std::string> WaitForHandOver(const std::string& unixFile) {
        const std::string file = test::WindowsPathOfUnixPath(unixFile);
        for (int tries = 0; tries < 200; ++tries) {
            std::ifstream in(file);
            if (in) {
                std::string line;
                std::getline(in, line);
                return line;
            }
            Sleep(50);
        }
        return std::nullopt;
    }

    std::string mailFile_;
    std::string browserFile_;

private:
    static std::optional<std::string> ReadValue(const char* name) {
        char buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::string(buffer);
    }
    static void WriteValue(const std::string& name, const std::string& value) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name.c_str(), REG_SZ, value.c_str(),
                                  static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(WineHandOver, MailAddressReachesTheMailProgram) {
    OpenMailProgram("info@zandrix.example");
    // Wine's hand-over writes the scheme in small letters.
    EXPECT_EQ(WaitForHandOver(mailFile_), "mailto:info@zandrix.example");
}

TEST_F(WineHandOver, HomepageReachesTheBrowser) {
    OpenHomepage("https://www.zandrix.example/halvern");
    EXPECT_EQ(WaitForHandOver(browserFile_), "https://www.zandrix.example/halvern");
}

}  // namespace
}  // namespace halvern
