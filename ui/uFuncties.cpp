#include "ui/uFuncties.h"

#include <commctrl.h>

#include <array>

#include "app/StatusTexts.h"
#include "app/tResStr.h"

namespace halvern {

namespace {

constexpr int kPanelCount = 3;
// A tab at the start of a status panel's text centres the text in the panel.
constexpr char kCentreMark = '\t';

void ShowWithDefault(HWND statusBar, StatusPanel panel, std::string_view text, std::string_view fallback,
                     Repaint repaint) {
    SetStatusPanelText(statusBar, panel, text.empty() ? fallback : text);
    if (repaint == Repaint::Now) RepaintStatusBar(statusBar);
}

}  // namespace

void SetStatusPanelWidths(HWND statusBar) {
    RECT area{};
    GetClientRect(statusBar, &area);
    const int width = StatusPanelWidth(area.right - area.left);
    std::array<int, kPanelCount> rightEdges{};
    for (int i = 0; i < kPanelCount; ++i) rightEdges[static_cast<std::size_t>(i)] = width * (i + 1);
    SendMessageA(statusBar, SB_SETPARTS, kPanelCount, reinterpret_cast<LPARAM>(rightEdges.data()));
}

void ShowStatusMessage(HWND statusBar, std::string_view text, Repaint repaint) {
    ShowWithDefault(statusBar, StatusPanel::Message, text, rsBerichten, repaint);
}

void ShowStatusTime(HWND statusBar, std::string_view text, Repaint repaint) {
    ShowWithDefault(statusBar, StatusPanel::Time, text, rsTijdStandaard, repaint);
}

void ShowStatusCount(HWND statusBar, std::string_view text, Repaint repaint) {
    ShowWithDefault(statusBar, StatusPanel::Count, text, rsAantalStandaard, repaint);
}

void SetStatusPanelText(HWND statusBar, StatusPanel panel, std::string_view text) {
    std::string shown;
    shown.reserve(text.size() + 1);
    shown += kCentreMark;
    shown.append(text);
    SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(shown.c_str()));
}

std::string StatusPanelText(HWND statusBar, StatusPanel panel) {
    const auto index = static_cast<WPARAM>(panel);
    const LRESULT lengthAndType = SendMessageA(statusBar, SB_GETTEXTLENGTHA, index, 0);
    std::string text(static_cast<std::size_t>(LOWORD(lengthAndType)) + 1, '\0');
    SendMessageA(statusBar, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(LOWORD(lengthAndType)));
    if (!text.empty() && text.front() == kCentreMark) text.erase(0, 1);
    return text;
}

void RepaintStatusBar(HWND statusBar) { UpdateWindow(statusBar); }

}  // namespace halvern
