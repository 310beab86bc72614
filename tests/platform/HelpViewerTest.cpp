#include "platform/HTMLHelpViewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HtmlHelpRecorder.h"
#include "platform/HelpFileName.h"
#include "platform/HelpManager.h"
#include "platform/WinHelpViewer.h"

namespace halvern {
namespace {

using test::HtmlHelpRecorder;

TEST(HelpFileName, ExtensionIsTakenFromTheNamePartOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"Halvern.chm", ".chm"},
        {"C:\\Program Files\\Halvern\\Halvern.CHM", ".CHM"},
        {"C:\\Help.files\\Halvern", ""},       // the dot of a folder does not count
        {"C:\\Help.files\\Halvern.hlp", ".hlp"},
        {"D:Halvern.hlp", ".hlp"},
        {"D:old.v2:Halvern", ""},               // nor a dot before a drive colon
        {"Halvern", ""},
        {"Halvern.tar.chm", ".chm"},            // the last dot decides
        {"", ""},
    };
    for (const auto& [file, extension] : cases) EXPECT_EQ(HelpFileExtension(file), extension) << file;
}

TEST(HelpFileName, ExtensionsCompareWithoutRegardToTheCaseOfAsciiLetters) {
    EXPECT_TRUE(HasHelpFileExtension("Halvern.chm", ".chm"));
    EXPECT_TRUE(HasHelpFileExtension("Halvern.ChM", ".chm"));
    EXPECT_TRUE(HasHelpFileExtension("HALVERN.CHM", ".chm"));
    EXPECT_FALSE(HasHelpFileExtension("Halvern.chm2", ".chm"));
    EXPECT_FALSE(HasHelpFileExtension("Halvern.ch", ".chm"));
    EXPECT_FALSE(HasHelpFileExtension("Halvernchm", ".chm"));
    // Only A to Z fold: an accented capital in the system code page stays itself.
    EXPECT_FALSE(HasHelpFileExtension("x.\xC9", ".\xE9"));
}

TEST(HelpFileName, TopicSuffixAlwaysStartsWithColonsAndOneSlash) {
    EXPECT_EQ(HelpTopicSuffix("/intro.htm"), "::/intro.htm");
    EXPECT_EQ(HelpTopicSuffix("intro.htm"), "::/intro.htm");
    EXPECT_EQ(HelpTopicSuffix(""), "");
}

// A viewer registered with a real manager whose current help file is set by a request.
class HtmlViewer : public ::testing::Test {
protected:
    void SetUp() override {
        viewer_ = std::make_shared<THTMLHelpViewer>();
        viewer_->RegisterWith(*manager_);
    }
    void TearDown() override { manager_->ShutDown(); }

    // Makes file the manager's current help file, forgetting the calls that this made.
    void UseHelpFile(const std::string& file) {
        manager_->ContextHelp(0, file);
        recorder_.calls.clear();
    }

    HtmlHelpRecorder recorder_;
    std::shared_ptr<HelpManager> manager_ = std::make_shared<HelpManager>();
    std::shared_ptr<THTMLHelpViewer> viewer_;
};

TEST_F(HtmlViewer, TakesEveryRequestForACompiledHtmlFile) {
    for (const char* file : {"Halvern.chm", "Halvern.CHM", "C:\\Help.files\\Halvern.Chm"}) {
        UseHelpFile(file);
        EXPECT_TRUE(viewer_->IsHtmlHelpFile()) << file;
        EXPECT_TRUE(viewer_->HasContents()) << file;
        EXPECT_TRUE(viewer_->AcceptsTopic("intro.htm")) << file;
        EXPECT_TRUE(viewer_->AcceptsContext(1000, "ignored.hlp")) << file;  // the file given does not count
        EXPECT_EQ(viewer_->KeywordMatchCount("renummeren"), 1) << file;
        EXPECT_EQ(viewer_->GetHelpStrings("renummeren"), HelpStrings{"renummeren"}) << file;
    }
}

TEST_F(HtmlViewer, DeclinesEveryOtherHelpFile) {
    for (const char* file : {"Halvern.hlp", "Halvern", "C:\\Help.chm\\Halvern", "Halvern.chm.txt"}) {
        UseHelpFile(file);
        EXPECT_FALSE(viewer_->IsHtmlHelpFile()) << file;
        EXPECT_FALSE(viewer_->HasContents()) << file;
        EXPECT_FALSE(viewer_->AcceptsTopic("intro.htm")) << file;
        EXPECT_FALSE(viewer_->AcceptsContext(1000, "Halvern.chm")) << file;
        EXPECT_EQ(viewer_->KeywordMatchCount("renummeren"), 0) << file;
        EXPECT_TRUE(viewer_->GetHelpStrings("renummeren").empty()) << file;
    }
    // A manager that never named a help file: nothing to show either.
    THTMLHelpViewer unregistered;
    EXPECT_FALSE(unregistered.IsHtmlHelpFile());
}

TEST_F(HtmlViewer, OpensContentsKeywordAndTopicsInTheCurrentHelpFile) {
    UseHelpFile("C:\\Halvern\\Halvern.chm");
    viewer_->OpenContents();
    viewer_->OpenKeyword("statusbalk");
    viewer_->OpenTopic("/intro.htm");
    viewer_->OpenTopic("intro.htm");
    viewer_->OpenTopic("");

    const auto& calls = recorder_.calls;
    ASSERT_EQ(calls.size(), 5u);
    for (const auto& call : calls) EXPECT_EQ(call.owner, nullptr);  // the manager has no owner window

    EXPECT_EQ(calls[0].file, "C:\\Halvern\\Halvern.chm");
    EXPECT_EQ(calls[0].command, 1u);  // HH_DISPLAY_TOC
    EXPECT_EQ(calls[0].data, 0u);

    EXPECT_EQ(calls[1].file, "C:\\Halvern\\Halvern.chm");
    EXPECT_EQ(calls[1].command, 13u);  // HH_KEYWORD_LOOKUP
    ASSERT_TRUE(calls[1].link.has_value());
    const auto& link = *calls[1].link;
    EXPECT_EQ(link.cbStruct, static_cast<int>(sizeof(HtmlHelpKeywordLink)));
    EXPECT_EQ(link.fReserved, 0);
    EXPECT_EQ(link.keywords, "statusbalk");
    EXPECT_FALSE(link.url || link.msgText || link.msgTitle || link.window);
    EXPECT_EQ(link.fIndexOnFail, -1);  // all bits set: the index when nothing matches

    EXPECT_EQ(calls[2].file, "C:\\Halvern\\Halvern.chm::/intro.htm");
    EXPECT_EQ(calls[3].file, "C:\\Halvern\\Halvern.chm::/intro.htm");
    EXPECT_EQ(calls[4].file, "C:\\Halvern\\Halvern.chm");
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(calls[i].command, 0u) << i;  // HH_DISPLAY_TOPIC
        EXPECT_EQ(calls[i].data, 0u) << i;
    }
}

TEST_F(HtmlViewer, OpensAContextInTheFileTheRequestNames) {
    UseHelpFile("Halvern.chm");
    viewer_->OpenContext(1000, "D:\\Elders\\Ander.chm");
    viewer_->OpenContext(-1, "Halvern.chm");

    ASSERT_EQ(recorder_.calls.size(), 2u);
    EXPECT_EQ(recorder_.calls[0].owner, nullptr);
    EXPECT_EQ(recorder_.calls[0].file, "D:\\Elders\\Ander.chm");
    EXPECT_EQ(recorder_.calls[0].command, 15u);  // HH_HELP_CONTEXT
    EXPECT_EQ(recorder_.calls[0].data, 1000u);
    EXPECT_EQ(recorder_.calls[1].data, 0xFFFFFFFFu);  // the 32-bit pattern, not sign-extended
}

TEST_F(HtmlViewer, ClosingAndDisconnectingCloseAllHelpWindows) {
    UseHelpFile("Halvern.chm");
    viewer_->CloseHelpWindows();
    EXPECT_TRUE(viewer_->HoldsHelpManager());
    viewer_->Disconnect();
    EXPECT_FALSE(viewer_->HoldsHelpManager());
    EXPECT_FALSE(viewer_->IsHtmlHelpFile());  // without its manager it knows no help file

    ASSERT_EQ(recorder_.calls.size(), 2u);
    for (const auto& call : recorder_.calls) {
        EXPECT_EQ(call.owner, nullptr);
        EXPECT_FALSE(call.file.has_value());
        EXPECT_EQ(call.command, 18u);  // HH_CLOSE_ALL
        EXPECT_EQ(call.data, 0u);
    }
}

TEST(WinHelpMakeBehave, AllowsOnlyWinHelpFiles) {
    TWinHelpMakeBehave tester;
    for (const char* file : {"Halvern.hlp", "C:\\Oud\\HALVERN.HLP"}) {
        EXPECT_TRUE(tester.AllowsKeyword("k", file)) << file;
        EXPECT_TRUE(tester.AllowsTopic("t", file)) << file;
        EXPECT_TRUE(tester.AllowsContext(1000, file)) << file;
    }
    for (const char* file : {"Halvern.chm", "Halvern", "C:\\Help.hlp\\Halvern", ""}) {
        EXPECT_FALSE(tester.AllowsKeyword("k", file)) << file;
        EXPECT_FALSE(tester.AllowsTopic("t", file)) << file;
        EXPECT_FALSE(tester.AllowsContext(1000, file)) << file;
    }
    EXPECT_TRUE(tester.GetHelpStrings("k").empty());
    EXPECT_EQ(tester.HelpFolder(), "");
    EXPECT_EQ(tester.FallbackHelpFile(), "");
}

// A viewer that records what the manager asks of it.
class ProbeViewer final : public IExtendedHelpViewer {
public:
    explicit ProbeViewer(bool accepts, std::vector<std::string>* log = nullptr) : accepts_(accepts), log_(log) {}
    std::string ViewerTitle() override { return "probe"; }
    int KeywordMatchCount(const std::string&) override { return 0; }
    HelpStrings GetHelpStrings(const std::string&) override { return {}; }
    bool HasContents() override { return false; }
    void OpenContents() override {}
    void OpenKeyword(const std::string&) override {}
    void TakeViewerId(int viewerId) override { id = viewerId; }
    void CloseHelpWindows() override {}
    void Disconnect() override { disconnected = true; }
    bool AcceptsTopic(const std::string&) override { return false; }
    void OpenTopic(const std::string&) override {}
    bool AcceptsContext(int context, const std::string& file) override {
        Log("asked " + std::to_string(id) + " " + std::to_string(context) + " " + file);
        return accepts_;
    }
    void OpenContext(int context, const std::string& file) override {
        Log("opened " + std::to_string(id) + " " + std::to_string(context) + " " + file);
    }

    int id = 0;
    bool disconnected = false;

private:
    void Log(std::string line) {
        if (log_) log_->push_back(std::move(line));
    }
    bool accepts_;
    std::vector<std::string>* log_;
};

// Only the base interface: a viewer that takes no context requests.
class PlainViewer final : public ICustomHelpViewer {
public:
    std::string ViewerTitle() override { return "plain"; }
    int KeywordMatchCount(const std::string&) override { return 0; }
    HelpStrings GetHelpStrings(const std::string&) override { return {}; }
    bool HasContents() override { return false; }
    void OpenContents() override {}
    void OpenKeyword(const std::string&) override {}
    void TakeViewerId(int viewerId) override { id = viewerId; }
    void CloseHelpWindows() override {}
    void Disconnect() override {}
    int id = 0;
};

TEST(HelpManager, GivesIdsFromOneInRegistrationOrderAndReleasesById) {
    const auto manager = std::make_shared<HelpManager>();
    const auto plain = std::make_shared<PlainViewer>();
    const auto first = std::make_shared<ProbeViewer>(false);
    const auto second = std::make_shared<ProbeViewer>(false);

    EXPECT_EQ(manager->RegisterViewer(plain), manager);
    manager->RegisterViewer(first);
    manager->RegisterViewer(second);
    EXPECT_EQ(plain->id, 1);
    EXPECT_EQ(first->id, 2);
    EXPECT_EQ(second->id, 3);
    EXPECT_EQ(manager->ViewerIds(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(manager->ExtendedViewerIds(), (std::vector<int>{2, 3}));

    manager->Release(2);
    EXPECT_EQ(manager->ViewerIds(), (std::vector<int>{1, 3}));
    EXPECT_EQ(manager->ExtendedViewerIds(), (std::vector<int>{3}));
    manager->Release(99);  // an unknown id changes nothing
    EXPECT_EQ(manager->ViewerIds(), (std::vector<int>{1, 3}));

    // Ids are never handed out twice.
    const auto third = std::make_shared<ProbeViewer>(false);
    manager->RegisterViewer(third);
    EXPECT_EQ(third->id, 4);
}

TEST(HelpManager, HandsAContextToTheFirstExtendedViewerThatAcceptsIt) {
    std::vector<std::string> log;
    const auto manager = std::make_shared<HelpManager>();
    manager->RegisterViewer(std::make_shared<ProbeViewer>(false, &log));
    manager->RegisterViewer(std::make_shared<ProbeViewer>(true, &log));
    manager->RegisterViewer(std::make_shared<ProbeViewer>(true, &log));

    manager->ContextHelp(1000, "Halvern.chm");
    EXPECT_EQ(log, (std::vector<std::string>{"asked 1 1000 Halvern.chm", "asked 2 1000 Halvern.chm",
                                             "opened 2 1000 Halvern.chm"}));
    EXPECT_EQ(manager->CurrentHelpFile(), "Halvern.chm");

    // A request without a file keeps the current one.
    log.clear();
    manager->ContextHelp(7, "");
    EXPECT_EQ(log, (std::vector<std::string>{"asked 1 7 Halvern.chm", "asked 2 7 Halvern.chm",
                                             "opened 2 7 Halvern.chm"}));
    EXPECT_EQ(manager->CurrentHelpFile(), "Halvern.chm");
}

TEST(HelpManager, NothingHappensWhenNoViewerAcceptsAndShutDownDisconnectsAll) {
    std::vector<std::string> log;
    const auto manager = std::make_shared<HelpManager>();
    const auto viewer = std::make_shared<ProbeViewer>(false, &log);
    manager->RegisterViewer(viewer);
    manager->ContextHelp(1000, "Halvern.chm");
    EXPECT_EQ(log, (std::vector<std::string>{"asked 1 1000 Halvern.chm"}));

    manager->ShutDown();
    EXPECT_TRUE(viewer->disconnected);
    EXPECT_TRUE(manager->ViewerIds().empty());
    EXPECT_TRUE(manager->ExtendedViewerIds().empty());
}

// The WinHelp viewer, registered before the HTML viewer, sees every request first.
class HelpViewerOrder : public ::testing::Test {
protected:
    void SetUp() override { winHelp_->Connect(manager_->RegisterViewer(winHelp_)); }
    void TearDown() override { manager_->ShutDown(); }

    HtmlHelpRecorder recorder_;
    std::shared_ptr<HelpManager> manager_ = std::make_shared<HelpManager>();
    std::shared_ptr<WinHelpViewer> winHelp_ = std::make_shared<WinHelpViewer>();
};

TEST_F(HelpViewerOrder, AnUnrestrainedWinHelpViewerWouldSwallowTheHtmlFile) {
    auto html = std::make_shared<THTMLHelpViewer>();
    html->RegisterWith(*manager_);  // no tester in the WinHelp viewer's slot
    manager_->ContextHelp(1000, "Halvern.chm");
    EXPECT_TRUE(recorder_.calls.empty());
}

TEST_F(HelpViewerOrder, SetUpRegistersTheHtmlViewerAndRestrainsWinHelp) {
    const auto html = SetUpHtmlHelpViewer(*manager_, *winHelp_);
    EXPECT_EQ(winHelp_->ViewerId(), 1);
    EXPECT_EQ(html->ViewerId(), 2);
    EXPECT_EQ(manager_->ExtendedViewerIds(), (std::vector<int>{1, 2}));
    ASSERT_NE(std::dynamic_pointer_cast<TWinHelpMakeBehave>(winHelp_->Tester()), nullptr);

    manager_->ContextHelp(1000, "Halvern.chm");
    ASSERT_EQ(recorder_.calls.size(), 1u);
    EXPECT_EQ(recorder_.calls[0].owner, nullptr);
    EXPECT_EQ(recorder_.calls[0].file, "Halvern.chm");
    EXPECT_EQ(recorder_.calls[0].command, 15u);
    EXPECT_EQ(recorder_.calls[0].data, 1000u);

    // A WinHelp file stays with the WinHelp viewer.
    recorder_.calls.clear();
    manager_->ContextHelp(1000, "Halvern.hlp");
    EXPECT_TRUE(recorder_.calls.empty());

    // A second set-up replaces the tester in the single slot.
    const auto firstTester = winHelp_->Tester();
    const auto again = SetUpHtmlHelpViewer(*manager_, *winHelp_);
    EXPECT_NE(winHelp_->Tester(), firstTester);
    again->TakeDown();
}

TEST_F(HelpViewerOrder, TakeDownClosesHelpWindowsAndLeavesTheManager) {
    const auto html = SetUpHtmlHelpViewer(*manager_, *winHelp_);
    html->TakeDown();
    ASSERT_EQ(recorder_.calls.size(), 1u);
    EXPECT_EQ(recorder_.calls[0].command, 18u);
    EXPECT_EQ(manager_->ViewerIds(), (std::vector<int>{1}));

    // Once released it is asked no more.
    recorder_.calls.clear();
    manager_->ContextHelp(1000, "Halvern.chm");
    EXPECT_TRUE(recorder_.calls.empty());
}

}  // namespace
}  // namespace halvern
