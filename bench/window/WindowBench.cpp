// Times Halvern.exe as a user meets it: started, a file opened through "Openen", an output name
// chosen through "Opslaan", and " Uitvoeren " with INDI from 1 answered in the choice dialog. All of
// it is driven from outside, through the program's real windows, the way a person's clicks reach
// them. Prints the time to open the file, the time from pressing "Uitvoeren" in the choice dialog
// to the elapsed time in the status bar, and the program's peak memory.
//
// Usage: halvern-window-bench HALVERN_EXE INPUT OUTPUT [HOLD_MS]
// With HOLD_MS the window stays up that long after the run, for a screenshot; its place on the
// screen is printed first ("window LEFT TOP WIDTH HEIGHT").
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include "base/UniqueRes.h"

namespace {

using Clock = std::chrono::steady_clock;
using halvern::UniqueRes;
using UniqueHandle = UniqueRes<HANDLE, &CloseHandle>;

// The main window's commands and the choice dialog's controls, as the program numbers them.
constexpr WPARAM kOpenen = 201;
constexpr WPARAM kOpslaan = 202;
constexpr WPARAM kUitvoeren = 203;
constexpr int kIndividualItem = 101;
constexpr int kNumberBox = 110;
constexpr int kRunButton = 111;
constexpr int kStatusBar = 221;
constexpr int kFileNameCombo = 0x47c;  // cmb13, the file dialogs' name box
constexpr int kFileNameEdit = 0x480;   // edt1, the same in the older layout

// Polls until found returns a window (or true); throws after the limit.
HWND WaitFor(const char* what, const std::function<HWND()>& found, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (const HWND window = found()) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    throw std::runtime_error(std::string("timed out waiting for ") + what);
}

HWND VisibleWindow(const char* className, const char* title) {
    const HWND window = FindWindowA(className, title);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Puts a name into a file dialog and presses its OK button; returns, when the dialog has closed,
// the moment OK was pressed.
Clock::time_point AnswerFileDialog(const char* title, const std::string& name) {
    const HWND dialog = WaitFor(title, [&] { return VisibleWindow("#32770", title); });
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    if (box == nullptr) box = GetDlgItem(dialog, kFileNameEdit);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const Clock::time_point pressed = Clock::now();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    WaitFor("the file dialog to close", [&] { return IsWindow(dialog) ? nullptr : dialog; });
    return pressed;
}

// Returns once the window's thread handles messages again, i.e. when the command it is busy with
// has ended.
void WaitUntilIdle(HWND window) {
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored) == 0) {
        throw std::runtime_error("the window did not answer");
    }
}

// Reads a status panel's text from the other process through a buffer in its memory.
class RemotePanelReader {
public:
    RemotePanelReader(HANDLE process, HWND statusBar) : process_(process), statusBar_(statusBar) {
        remote_ = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (remote_ == nullptr) throw std::runtime_error("VirtualAllocEx failed");
    }
    ~RemotePanelReader() { VirtualFreeEx(process_, remote_, 0, MEM_RELEASE); }
    RemotePanelReader(const RemotePanelReader&) = delete;
    RemotePanelReader& operator=(const RemotePanelReader&) = delete;

    std::string Text(int panel) const {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(statusBar_, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(remote_),
                            SMTO_NORMAL, 600000, &ignored);
        char local[kSize] = {};
        SIZE_T read = 0;
        ReadProcessMemory(process_, remote_, local, kSize - 1, &read);
        std::string text(local);
        if (!text.empty() && text.front() == '\t') text.erase(0, 1);  // the mark that centres it
        return text;
    }

private:
    static constexpr SIZE_T kSize = 512;
    HANDLE process_;
    HWND statusBar_;
    void* remote_ = nullptr;
};

// The control with the id given, wherever it sits among the window's descendants (the program
// keeps its controls on panels).
HWND FindControl(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM state) -> BOOL {
            auto& wanted = *reinterpret_cast<Search*>(state);
            if (GetDlgCtrlID(child) != wanted.id) return TRUE;
            wanted.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) throw std::runtime_error("no control " + std::to_string(id));
    return search.found;
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int Run(const std::string& program, const std::string& input, const std::string& output, int holdMs) {
    DeleteFileA(output.c_str());  // no overwrite question in the save dialog
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        throw std::runtime_error("cannot start " + program);
    }
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    // A bench that fails half-way does not leave the program it started behind.
    struct EndWhenLeft {
        HANDLE process;
        ~EndWhenLeft() {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        }
    } const endWhenLeft{process.get()};

    const HWND main = WaitFor("the main window", [] { return VisibleWindow("TfrmHalvern", "Halvern"); });
    WaitUntilIdle(main);

    PostMessageA(main, WM_COMMAND, kOpenen, 0);
    auto started = AnswerFileDialog("Openen GedCom bestand", input);
    WaitUntilIdle(main);
    const double openMs = MillisecondsSince(started);

    PostMessageA(main, WM_COMMAND, kOpslaan, 0);
    AnswerFileDialog("Opslaan GedCom bestand", output);
    WaitUntilIdle(main);

    PostMessageA(main, WM_COMMAND, kUitvoeren, 0);
    const HWND choice = WaitFor("the choice dialog", [] { return VisibleWindow("TfrmKeuze", "Keuze"); });
    SendMessageA(FindControl(choice, kIndividualItem), BM_CLICK, 0, 0);
    SendMessageA(FindControl(choice, kNumberBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
    started = Clock::now();
    PostMessageA(FindControl(choice, kRunButton), BM_CLICK, 0, 0);
    WaitFor("the choice dialog to close", [&] { return IsWindowVisible(choice) ? nullptr : choice; });

    const RemotePanelReader panels(process.get(), FindControl(main, kStatusBar));
    const std::regex elapsed("\\d\\d:\\d\\d:\\d\\d:\\d\\d");
    WaitFor("the elapsed time", [&] { return std::regex_match(panels.Text(1), elapsed) ? main : nullptr; },
            std::chrono::seconds(600));
    const double runMs = MillisecondsSince(started);
    const std::string shown = panels.Text(0) + " | " + panels.Text(1) + " | " + panels.Text(2);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.get(), &memory, sizeof memory);

    if (holdMs > 0) {
        RECT frame{};
        GetWindowRect(main, &frame);
        std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(holdMs));
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.get(), 30000);

    WIN32_FILE_ATTRIBUTE_DATA written{};
    const bool saved = GetFileAttributesExA(output.c_str(), GetFileExInfoStandard, &written) != 0;
    std::printf("open (\"Openen\" to loaded)        %9.1f ms\n", openMs);
    std::printf("run (\"Uitvoeren\" to elapsed time) %9.1f ms\n", runMs);
    std::printf("peak memory (working set)         %9.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / 1e6);
    std::printf("panels                            %s\n", shown.c_str());
    std::printf("output written                    %s\n", saved ? "yes" : "NO");
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: halvern-window-bench HALVERN_EXE INPUT OUTPUT [HOLD_MS]\n");
        return 2;
    }
    try {
        return Run(argv[1], argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "halvern-window-bench: %s\n", error.what());
        return 1;
    }
}
