#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/uHalvern.h"
#include "ui/uKeuze.h"

namespace halvern::testing {

// A fresh folder under the system's temporary folder, removed again with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The full name of a file in the folder, as the windows hold names (UTF-8).
    std::string File(const std::string& name) const;
    std::string Name() const { return name_; }
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string name_;
};

std::string ReadBytes(const std::string& name);
bool Exists(const std::string& name);

// A GEDCOM text with `individuals` individuals, each defined by "0 @Ix@ INDI" and named once more
// by the family that holds it (two per family). With final = true the identifiers are those a run
// for INDI from 1 gives: @I00001@ in the order of definition.
std::string MakeGedcom(int individuals, bool finalIndividuals = false);

// Handles every message waiting for this thread the way the program's loop does.
void PumpMessages(TfrmHalvern* mainWindow = nullptr);
// Pumps until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, TfrmHalvern* mainWindow = nullptr,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// Runs step on a thread timer, inside whatever modal loop is running, until step returns true.
// Use it to answer a real modal window (message box, file dialog, choice dialog) as a user would.
class ModalDriver {
public:
    explicit ModalDriver(std::function<bool()> step, UINT intervalMs = 30);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    bool Finished() const;

private:
    UINT_PTR timer_ = 0;
};

// A visible top-level window of this thread with the window class and caption given.
HWND FindThreadWindow(const char* className, const char* caption);

// The rectangle of a child window in the client coordinates of its parent.
RECT RectInParent(HWND child);
// A layout number scaled to the screen the windows opened on.
int Px(int pixels);
// Expects panels to fill the client area of their common parent from top to bottom: each as wide
// as the parent and right below the one before, the last down to the bottom edge.
void ExpectStackedPanels(std::initializer_list<HWND> panels);
// Expects each child wholly inside its parent's client area and no two of them overlapping.
void ExpectInsideAndApart(std::initializer_list<HWND> children);

// What the main window handed to its seams, and what they answer.
struct SeamLog {
    struct Message {
        std::string text;
        UINT style;
    };
    std::vector<Message> messages;
    std::vector<int> helpContexts;
    std::vector<std::string> mailAddresses;
    std::vector<std::string> homepages;
    std::vector<HWND> infoOwners;
    int choiceShowings = 0;
    int openShowings = 0;

    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    // Sets the choice dialog up as a user would and answers its result; cancel when empty.
    std::function<int(TfrmKeuze&)> choiceAnswer;
};

// The program's two windows, created as the program creates them, their seams answered by log.
// The shared texts are emptied before and after.
class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows (main window hidden) with the command-line file given.
    void CreateWindows(std::optional<std::string> commandLineFile = std::nullopt);
    // Shows the main window and pumps until its first activation has run.
    void ShowAndActivate();
    void Start(std::optional<std::string> commandLineFile = std::nullopt) {
        CreateWindows(std::move(commandLineFile));
        ShowAndActivate();
    }

    // Sends a command (toolbar button or menu item) as its click would.
    void Click(int commandId);
    // Runs: " Uitvoeren " with the choice dialog answered "Uitvoeren" after selecting item and
    // typing number.
    void RunWith(int item, const std::string& number);
    void ChooseFiles(const std::string& input, const std::string& output);

    std::string Panel(int index) const;
    std::string InputBox() const;
    std::string OutputBox() const;
    std::vector<SeamLog::Message> TakeMessages();

    TempFolder folder;
    SeamLog log;
    std::unique_ptr<TfrmKeuze> keuze;
    std::unique_ptr<TfrmHalvern> main;
};

// Drops a WM_QUIT that destroying a main window left in the queue.
void DropQuitMessage();

}  // namespace halvern::testing
