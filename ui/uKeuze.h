#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/UniqueRes.h"
#include "ui/Controls.h"
#include "ui/ModalLoop.h"
#include "ui/Window.h"

namespace halvern {

// The record type choice dialog "Keuze": which record type the run renumbers (a radio group) and
// the number it starts from (an edit box). Created hidden once; each showing is modal and ends
// with "Uitvoeren" (1), "Annuleren" or the close button (2), which hide it again. Between showings
// it keeps the selection, the number text and its place.
class TfrmKeuze final : public Window {
public:
    static constexpr char kClassName[] = "TfrmKeuze";
    static constexpr int kResultRun = IDOK;         // 1
    static constexpr int kResultCancel = IDCANCEL;  // 2
    static constexpr int kItemCount = 4;
    static constexpr int kNoItem = -1;

    // Control ids. The buttons have ids of their own: Enter and Escape, which the dialog manager
    // turns into IDOK and IDCANCEL, are not tied to either button.
    static constexpr int kIdFirstItem = 101;  // 101..104, the radio items in order
    static constexpr int kIdNumberEdit = 110;
    static constexpr int kIdRun = 111;
    static constexpr int kIdCancel = 112;
    static constexpr int kIdHelp = 113;  // F1

    TfrmKeuze() = default;

    // Creates the dialog, hidden, owned by owner (the main window), with nothing selected and an
    // empty number box.
    void Create(HINSTANCE instance, HWND owner);

    // Shows the dialog modally: owner disabled, a message loop of its own until it closes.
    // Centred on the screen the first time, later where the user left it.
    int ShowModal(HWND owner);

    // The selected radio item (0 INDIvidual, 1 FAMily, 2 NOTE, 3 SOURce) or kNoItem.
    int SelectedItem() const;
    void SelectItem(int item);
    // The text of the number box, unchanged.
    std::string NumberText() const;

    // What F1 in the dialog asks of the help system (context 1000).
    std::function<void(int context)> askHelp;

    // The components, for whoever needs to look at them.
    HWND pnlKeuze = nullptr;
    HWND rgrpKeuze = nullptr;
    std::array<HWND, kItemCount> rgrpKeuzeItems{};
    HWND lblvlgNummer = nullptr;
    HWND edtvlgNummer = nullptr;
    HWND pnlKnoppen = nullptr;
    HWND bbtnUitvoeren = nullptr;
    HWND bbtnAnnuleren = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayOut(const RECT* suggestedFrame) override;

private:
    void CreateComponents(HINSTANCE instance);
    void Close(int result);
    // F1 within the dialog, then the dialog manager's keys.
    bool TranslateDialogKeys(MSG& message);

    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueRes<HACCEL, &DestroyAcceleratorTable> accelerators_;
    ModalLoop modal_;
};

// Sets RecordTag and RecordLetter from the dialog's selected item (INDI when none is selected).
void ApplyRecordChoice(const TfrmKeuze& dialog);

// The start number typed in the dialog's number box (1 when it is blank).
std::int32_t ReadStartNumber(const TfrmKeuze& dialog);

}  // namespace halvern
