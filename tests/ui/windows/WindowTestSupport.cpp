#include "tests/ui/windows/WindowTestSupport.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "base/WideText.h"
#include "core/FileName.h"
#include "ui/Layout.h"
#include "ui/MessageLoop.h"
#include "ui/tVars.h"
#include "ui/uFuncties.h"

namespace halvern::testing {

namespace {

std::atomic<int> folderCount{0};

void ClearSharedTexts() {
    for (std::string* text : {&RecordTag, &RecordLetter, &ProgramDir, &MailAddress, &HomepageUrl}) text->clear();
    GedcomText.Clear();
}

// The step of the one ModalDriver that runs at a time (a thread timer has no context of its own).
std::function<bool()> currentStep;
bool currentFinished = false;

void CALLBACK DriverTick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (currentFinished || !currentStep) return;
    // A step may itself start a modal loop (a click that opens a dialog): mark it as running
    // so that the ticks inside that loop do not start it again.
    static bool running = false;
    if (running) return;
    running = true;
    const bool done = currentStep();
    running = false;
    if (done) {
        currentFinished = true;
        KillTimer(nullptr, timer);
    }
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    name_ = Utf8FromWide(base) + "halvern-win-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(folderCount++) + "-" + std::to_string(GetTickCount());
    std::filesystem::create_directories(FilePath(name_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FilePath(name_), ignored);
}

std::string TempFolder::File(const std::string& name) const {
    std::string full = name_;
    if (!full.empty() && full.back() != '\\') full += '\\';
    return full + name;
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(FilePath(File(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << File(name);
}

std::string ReadBytes(const std::string& name) {
    std::ifstream in(FilePath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::exists(FilePath(name), ignored);
}

std::string MakeGedcom(int individuals, bool finalIndividuals) {
    const auto individual = [&](int k) {
        if (!finalIndividuals) return "@I" + std::to_string(k * 7 + 3) + "@";
        char text[16];
        std::snprintf(text, sizeof text, "@I%05d@", k + 1);
        return std::string(text);
    };
    std::ostringstream out;
    out << "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n1 CHAR ANSEL\r\n";
    for (int k = 0; k < individuals; ++k) {
        out << "0 " << individual(k) << " INDI\r\n1 NAME Persoon " << k << " /Halvern/\r\n";
        out << "1 FAMS @F" << (k / 2 + 1) << "@\r\n";
    }
    for (int f = 0; f * 2 < individuals; ++f) {
        out << "0 @F" << (f + 1) << "@ FAM\r\n1 HUSB " << individual(2 * f) << "\r\n";
        if (2 * f + 1 < individuals) out << "1 WIFE " << individual(2 * f + 1) << "\r\n";
    }
    out << "0 TRLR\r\n";
    return out.str();
}

void PumpMessages(TfrmHalvern* mainWindow) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for DropQuitMessage; a test never ends its own loop this way.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (mainWindow != nullptr) {
            DispatchProgramMessage(message, *mainWindow);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, TfrmHalvern* mainWindow, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages(mainWindow);
    }
    return true;
}

ModalDriver::ModalDriver(std::function<bool()> step, UINT intervalMs) {
    currentStep = std::move(step);
    currentFinished = false;
    timer_ = SetTimer(nullptr, 0, intervalMs, &DriverTick);
}

ModalDriver::~ModalDriver() {
    if (!currentFinished) KillTimer(nullptr, timer_);
    currentStep = nullptr;
}

bool ModalDriver::Finished() const { return currentFinished; }

HWND FindThreadWindow(const char* className, const char* caption) {
    struct Search {
        const char* className;
        const char* caption;
        HWND found;
    } search{className, caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (IsWindowVisible(window) && std::string(name) == s->className && WindowText(window) == s->caption) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT RectInParent(HWND child) {
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&box), 2);
    return box;
}

int Px(int pixels) { return layout::Scale(pixels, ScreenDpi()); }

void ExpectStackedPanels(std::initializer_list<HWND> panels) {
    ASSERT_GT(panels.size(), 0u);
    RECT client{};
    GetClientRect(GetParent(*panels.begin()), &client);
    LONG top = 0;
    for (const HWND panel : panels) {
        const RECT box = RectInParent(panel);
        EXPECT_EQ(box.left, 0) << WindowText(panel);
        EXPECT_EQ(box.right, client.right) << "full width";
        EXPECT_EQ(box.top, top) << "right below the one above";
        EXPECT_GT(box.bottom, box.top);
        top = box.bottom;
    }
    EXPECT_EQ(top, client.bottom) << "down to the bottom edge";
}

void ExpectInsideAndApart(std::initializer_list<HWND> children) {
    std::vector<RECT> boxes;
    for (const HWND child : children) {
        RECT parent{};
        GetClientRect(GetParent(child), &parent);
        const RECT box = RectInParent(child);
        RECT within{};
        EXPECT_TRUE(IntersectRect(&within, &box, &parent) && EqualRect(&within, &box))
            << "\"" << WindowText(child) << "\" inside its parent";
        for (const RECT& other : boxes) {
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &box, &other)) << "\"" << WindowText(child) << "\" overlaps";
        }
        boxes.push_back(box);
    }
}

void DropQuitMessage() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void ProgramWindowsTest::SetUp() {
    ClearSharedTexts();
    DropQuitMessage();
}

void ProgramWindowsTest::TearDown() {
    main.reset();
    keuze.reset();
    PumpMessages();
    DropQuitMessage();
    ClearSharedTexts();
}

void ProgramWindowsTest::CreateWindows(std::optional<std::string> commandLineFile) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    keuze = std::make_unique<TfrmKeuze>();
    main = std::make_unique<TfrmHalvern>(*keuze);
    main->commandLineFile = std::move(commandLineFile);
    main->programFile = folder.File("Halvern.exe");

    SeamLog* const seamLog = &log;
    TfrmKeuze* const dialog = keuze.get();
    main->seams.messageBox = [seamLog](HWND, const std::string& text, UINT style) {
        seamLog->messages.push_back({text, style});
        return IDOK;
    };
    main->seams.askOpenFile = [seamLog](HWND) {
        ++seamLog->openShowings;
        return seamLog->openAnswer;
    };
    main->seams.askSaveFile = [seamLog](HWND) { return seamLog->saveAnswer; };
    main->seams.showChoice = [seamLog, dialog](HWND) {
        ++seamLog->choiceShowings;
        return seamLog->choiceAnswer ? seamLog->choiceAnswer(*dialog) : TfrmKeuze::kResultCancel;
    };
    main->seams.askHelp = [seamLog](int context) { seamLog->helpContexts.push_back(context); };
    main->seams.openMail = [seamLog](const std::string& address) { seamLog->mailAddresses.push_back(address); };
    main->seams.openHomepage = [seamLog](const std::string& url) { seamLog->homepages.push_back(url); };
    main->seams.showInfo = [seamLog](HWND owner) { seamLog->infoOwners.push_back(owner); };

    main->Create(instance);
    keuze->Create(instance, main->Handle());
    keuze->askHelp = [seamLog](int context) { seamLog->helpContexts.push_back(context); };
}

void ProgramWindowsTest::ShowAndActivate() {
    ShowWindow(main->Handle(), SW_SHOW);
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(PumpUntil([&] { return main->Activated(); }, main.get())) << "no first activation";
}

void ProgramWindowsTest::Click(int commandId) {
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void ProgramWindowsTest::RunWith(int item, const std::string& number) {
    log.choiceAnswer = [item, number](TfrmKeuze& dialog) {
        dialog.SelectItem(item);
        SetWindowTextA(dialog.edtvlgNummer, number.c_str());
        return TfrmKeuze::kResultRun;
    };
    Click(TfrmHalvern::kIdUitvoeren);
}

void ProgramWindowsTest::ChooseFiles(const std::string& input, const std::string& output) {
    log.openAnswer = input;
    Click(TfrmHalvern::kIdOpenen);
    log.saveAnswer = output;
    Click(TfrmHalvern::kIdOpslaan);
}

std::string ProgramWindowsTest::Panel(int index) const {
    return StatusPanelText(main->sbarHalvern, static_cast<StatusPanel>(index));
}

std::string ProgramWindowsTest::InputBox() const { return WindowText(main->edtBestandOpenen); }
std::string ProgramWindowsTest::OutputBox() const { return WindowText(main->edtBestandOpslaan); }

std::vector<SeamLog::Message> ProgramWindowsTest::TakeMessages() { return std::exchange(log.messages, {}); }

}  // namespace halvern::testing
