#pragma once
#include <windows.h>

#include <chrono>

#include "app/ProgressThrottle.h"

namespace halvern {

// Draws a run's progress in the main window's status bar: the count in panel 2, the index being
// renumbered and the occurrences cleaned in panel 0. Setting a panel's text makes the status bar
// invalidate and, under Wine, talk to the display each time, so the texts are set without a
// repaint and the bar is painted once per round; ProgressThrottle decides the rounds, at most one
// per kPace.interval besides the first and last events.
class ProgressDisplay final : public ProgressView {
public:
    static constexpr ProgressPace kPace{std::chrono::milliseconds(15)};

    explicit ProgressDisplay(HWND statusBar) : statusBar_(statusBar) {}

    void ShowCount(const RunProgress& progress) override;
    void ShowStep(const RunProgress& progress) override;
    void Drawn() override;

private:
    HWND statusBar_;
};

}  // namespace halvern
