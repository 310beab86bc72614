#pragma once
#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/RenumberJob.h"
#include "base/UniqueRes.h"
#include "ui/Controls.h"
#include "ui/MainWindowSeams.h"
#include "ui/Window.h"

namespace halvern {

class TfrmKeuze;

// The main window "Halvern": a toolbar with "Openen", "Opslaan", " Uitvoeren " and "Afsluiten",
// the input and output names, and a status bar of three panels; a context menu with Help (F1),
// Email (F10), Homepage (F11) and Info (F12). Its run renumbers GedcomText with the record type
// and start number of the choice dialog and writes the result to the output file. A file dropped
// on it opens as "Openen" opens the file chosen. Names are UTF-8 throughout.
class TfrmHalvern final : public Window {
public:
    static constexpr char kClassName[] = "TfrmHalvern";

    // Command ids of the toolbar buttons and the context-menu items (shortcut keys included).
    static constexpr int kIdOpenen = 201;
    static constexpr int kIdOpslaan = 202;
    static constexpr int kIdUitvoeren = 203;
    static constexpr int kIdAfsluiten = 204;
    static constexpr int kIdHelp = 211;
    static constexpr int kIdEmail = 212;
    static constexpr int kIdHomepage = 213;
    static constexpr int kIdInfo = 214;
    static constexpr int kIdToolbar = 220;
    static constexpr int kIdStatusBar = 221;

    // Posted at the first activation; FormActivate runs when it arrives.
    static constexpr UINT kFirstActivationMessage = WM_APP + 1;

    explicit TfrmHalvern(TfrmKeuze& choice);
    ~TfrmHalvern() override;

    // Creates the window, hidden and centred on the screen. FormCreate runs meanwhile.
    void Create(HINSTANCE instance);

    // The program's shortcut keys: true when message was one of them and has been carried out.
    bool TranslateShortcut(MSG& message);

    // True once FormActivate has run.
    bool Activated() const noexcept { return activated_; }

    // What goes in, set before the window is shown.
    MainWindowSeams seams;                        // defaults to the real calls
    std::optional<std::string> commandLineFile;  // the first argument of the command line
    std::string programFile;                      // the program file's full path (UTF-8)

    // The components.
    UniqueRes<HMENU, &DestroyMenu> pmnuHalvern;
    HWND pnlKnoppenBalk = nullptr;
    HWND tbarHalvern = nullptr;
    HWND pnlHalvern = nullptr;
    HWND lblBestandOpenen = nullptr;
    HWND edtBestandOpenen = nullptr;
    HWND lblBestandOpslaan = nullptr;
    HWND edtBestandOpslaan = nullptr;
    HWND pnlStatusBalk = nullptr;
    HWND sbarHalvern = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayOut(const RECT* suggestedFrame) override;
    void ShowUncaughtError(const std::string& text) override;

private:
    void CreateComponents(HINSTANCE instance);
    void FillToolbar();
    void SetStatusPartWidths();
    void CreateContextMenu();

    void FormCreate();
    void FormActivate();
    void Command(int id);
    void tbtnOpenenClick();
    void tbtnOpslaanClick();
    void tbtnUitvoerenClick();
    void tbtnAfsluitenClick();
    void pmnuHalvernHelpClick();
    void pmnuHalvernEmailClick();
    void pmnuHalvernHomepageClick();
    void pmnuHalvernInfoClick();
    void ShowContextMenu(LPARAM screenPoint);

    void FilesDropped(HDROP drop);
    void OpenChosenFile(const std::string& name);
    void LoadInputFile(const std::string& name);
    void ResetStatusPanels();
    JobResult RenumberAndSave(const std::string& outputName, std::int32_t startNumber);

    TfrmKeuze& choice_;
    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueRes<HACCEL, &DestroyAcceleratorTable> accelerators_;
    bool activationPosted_ = false;
    bool activated_ = false;
    // Set while a command or a drop is carried out: the modal windows and message boxes it shows
    // hand out the window's messages meanwhile, and a file dropped then is not opened.
    bool busy_ = false;
};

}  // namespace halvern
