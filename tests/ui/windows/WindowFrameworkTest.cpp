// The window base and the modal loop on their own, with windows made for the test.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/ModalLoop.h"
#include "ui/Window.h"

namespace halvern {
namespace {

HWND MakePopup(const char* caption, DWORD extraStyle = 0) {
    return CreateWindowExA(0, "STATIC", caption, WS_POPUP | extraStyle, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// What a TestWindow heard, kept outside the object so that it can be read after the object went.
struct Heard {
    bool destroyMessage = false;
    bool derivedGone = false;
    int messagesAfterDerivedGone = 0;
    std::vector<std::string> reports;
};

class TestWindow final : public Window {
public:
    static constexpr UINT kThrow = WM_APP + 7;

    TestWindow(Heard& heard, bool destroyInDestructor, HWND owner) : heard_(heard), destroyInDestructor_(destroyInDestructor) {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        RegisterWindowClass(ProgramWindowClass("THalvernTestWindow", instance));
        CreateHandle(0, "THalvernTestWindow", "test", WS_POPUP, 50, 50, owner, instance);
        child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, Handle(), nullptr, nullptr, nullptr);
    }
    ~TestWindow() override {
        if (destroyInDestructor_) Destroy();
        heard_.derivedGone = true;
    }

    HWND child = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (heard_.derivedGone) ++heard_.messagesAfterDerivedGone;
        if (message == WM_DESTROY) heard_.destroyMessage = true;
        if (message == kThrow) throw std::runtime_error("kapot");
        return DefaultHandling(message, wParam, lParam);
    }
    void ShowUncaughtError(const std::string& text) override { heard_.reports.push_back(text); }

private:
    Heard& heard_;
    bool destroyInDestructor_;
};

TEST(WindowBaseTest, TheWindowGoesBeforeOrWithItsObjectAndNeverReachesAHalfDestroyedOne) {
    enum class End { OwnerDestroyedFirst, ObjectGoesAlone, ObjectDestroysInItsDestructor };
    struct Case {
        End end;
        bool destroyHeard;
    };
    for (const Case& c : {Case{End::OwnerDestroyedFirst, true}, Case{End::ObjectGoesAlone, false},
                          Case{End::ObjectDestroysInItsDestructor, true}}) {
        SCOPED_TRACE(static_cast<int>(c.end));
        Heard heard;
        const HWND owner = MakePopup("eigenaar");
        auto window = std::make_unique<TestWindow>(heard, c.end == End::ObjectDestroysInItsDestructor, owner);
        const HWND handle = window->Handle();
        const HWND child = window->child;
        if (c.end == End::OwnerDestroyedFirst) {
            DestroyWindow(owner);  // takes the window it owns along
            EXPECT_EQ(window->Handle(), nullptr);
        }
        window.reset();
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_FALSE(IsWindow(child));
        EXPECT_EQ(heard.destroyMessage, c.destroyHeard);
        EXPECT_EQ(heard.messagesAfterDerivedGone, 0);
        DestroyWindow(owner);
    }
}

TEST(WindowBaseTest, AnExceptionInAHandlerIsReportedAndTheWindowGoesOn) {
    Heard heard;
    TestWindow window(heard, true, nullptr);
    EXPECT_EQ(SendMessageA(window.Handle(), TestWindow::kThrow, 0, 0), 0);
    EXPECT_EQ(heard.reports, std::vector<std::string>{"kapot"});
    EXPECT_TRUE(IsWindow(window.Handle()));
}

TEST(ModalLoopTest, OwnerIsEnabledAgainAndTheDialogHiddenOnEveryWayOut) {
    enum class Way { End, Quit, Exception, OwnerAlreadyDisabled };
    struct Case {
        Way way;
        int result;
        bool ownerEnabledAfter;
    };
    for (const Case& c : {Case{Way::End, IDOK, true}, Case{Way::Quit, IDCANCEL, true},
                          Case{Way::Exception, 0, true}, Case{Way::OwnerAlreadyDisabled, IDOK, false}}) {
        SCOPED_TRACE(static_cast<int>(c.way));
        const HWND owner = MakePopup("eigenaar", WS_VISIBLE);
        const HWND dialog = MakePopup("dialoog");
        if (c.way == Way::OwnerAlreadyDisabled) EnableWindow(owner, FALSE);
        ModalLoop loop;
        bool ownerDisabledMeanwhile = false;
        const auto shown = [&] {
            ownerDisabledMeanwhile = !IsWindowEnabled(owner) && IsWindowVisible(dialog);
            if (c.way == Way::Exception) throw std::runtime_error("kapot");
            if (c.way == Way::Quit) {
                PostQuitMessage(7);
            } else {
                PostMessageA(dialog, WM_APP, 0, 0);
            }
        };
        const auto keyboard = [&](MSG& message) {
            EXPECT_EQ(loop.Run(dialog, owner, {}, {}), IDCANCEL) << "a second showing is refused";
            if (message.message == WM_APP) loop.End(IDOK);
            return false;
        };
        int result = 0;
        if (c.way == Way::Exception) {
            EXPECT_THROW(loop.Run(dialog, owner, shown, keyboard), std::runtime_error);
        } else {
            result = loop.Run(dialog, owner, shown, keyboard);
        }
        EXPECT_TRUE(ownerDisabledMeanwhile);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(IsWindowEnabled(owner) != FALSE, c.ownerEnabledAfter);
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_FALSE(loop.Running());
        MSG quit{};
        EXPECT_EQ(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, c.way == Way::Quit)
            << "the quit is handed on to the loop outside";
        if (c.way == Way::Quit) {
            EXPECT_EQ(quit.wParam, 7u);
        }
        DestroyWindow(dialog);
        DestroyWindow(owner);
    }
}

}  // namespace
}  // namespace halvern
