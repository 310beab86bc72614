#include "platform/HelpSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlHelpRecorder.h"
#include "WineHost.h"

namespace halvern {
namespace {

using test::HtmlHelpRecorder;

constexpr int kHelpContext = 1000;
constexpr char kStartUpHelpFile[] = "Halvern.chm";

// Every test leaves the application's help file at its start-up value and the viewer removed.
class HelpCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ApplicationHelpFile(), kStartUpHelpFile); }
    void TearDown() override {
        RemoveHelpViewer();
        SetApplicationHelpFile(kStartUpHelpFile);
    }
};

TEST_F(HelpCommand, AsksHtmlHelpForContext1000InTheApplicationHelpFile) {
    HtmlHelpRecorder recorder;
    InstallHelpViewer();

    // No Halvern.chm found beside the program: the bare start-up name goes to HTML Help.
    ApplicationHelpContext(kHelpContext);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].owner, nullptr);
    EXPECT_EQ(recorder.calls[0].file, "Halvern.chm");
    EXPECT_EQ(recorder.calls[0].command, 15u);  // HH_HELP_CONTEXT
    EXPECT_EQ(recorder.calls[0].data, 1000u);

    // Found beside the program: its full name.
    const std::string beside = test::ProgramFolder() + "\\Halvern.chm";
    SetApplicationHelpFile(beside);
    ApplicationHelpContext(kHelpContext);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[1].file, beside);
    EXPECT_EQ(recorder.calls[1].data, 1000u);
}

TEST_F(HelpCommand, RemovingTheViewerClosesItsWindowsAndEndsItsRequests) {
    HtmlHelpRecorder recorder;
    InstallHelpViewer();
    RemoveHelpViewer();
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].command, 18u);  // HH_CLOSE_ALL
    EXPECT_FALSE(recorder.calls[0].file.has_value());

    ApplicationHelpContext(kHelpContext);
    EXPECT_EQ(recorder.calls.size(), 1u);  // the WinHelp viewer keeps ".chm" away from itself
    RemoveHelpViewer();                    // a second removal does nothing
    EXPECT_EQ(recorder.calls.size(), 1u);

    // Installed again, it takes requests again.
    InstallHelpViewer();
    ApplicationHelpContext(kHelpContext);
    EXPECT_EQ(recorder.calls.size(), 2u);
}

TEST_F(HelpCommand, AHelpFileThatIsNoHtmlFileShowsNothing) {
    HtmlHelpRecorder recorder;
    InstallHelpViewer();
    for (const char* file : {"Halvern.hlp", "C:\\Help.chm\\Halvern"}) {
        SetApplicationHelpFile(file);
        ApplicationHelpContext(kHelpContext);
    }
    EXPECT_TRUE(recorder.calls.empty());
}

// The top-level HTML Help windows that are on screen.
std::vector<HWND> HelpWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (std::string(className) == "HH Parent" && IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(HelpCommand, OpensTheRealHelpFileAtContext1000AndClosesItAtTheEnd) {
    const std::string chm = test::ProgramFolder() + "\\Halvern.chm";
    ASSERT_NE(GetFileAttributesA(chm.c_str()), INVALID_FILE_ATTRIBUTES) << "the build puts Halvern.chm here";
    ASSERT_TRUE(HelpWindows().empty());

    InstallHelpViewer();
    SetApplicationHelpFile(chm);
    if (test::RunningUnderWine()) {
        // Wine's HTML Help opens no window for a context number that the file does not map, so
        // the window below proves that the compiled file carries the context map.
        ApplicationHelpContext(4242);
        EXPECT_TRUE(HelpWindows().empty());
    }
    ApplicationHelpContext(kHelpContext);

    const std::vector<HWND> windows = HelpWindows();
    ASSERT_EQ(windows.size(), 1u);
    char title[128] = {};
    GetWindowTextA(windows[0], title, sizeof title);
    EXPECT_STREQ(title, "Halvern Help");

    RemoveHelpViewer();
    EXPECT_FALSE(IsWindow(windows[0]));
    EXPECT_TRUE(HelpWindows().empty());
}

}  // namespace
}  // namespace halvern
