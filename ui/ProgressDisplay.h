#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Renumber.h"

namespace halvern {

// Shows a run's progress in the main window's status bar: the count in panel 2, the index being
// renumbered and the markers cleaned in panel 0. Every event sets its panel's text; the status
// bar is painted at once for the count, for the first and the last identifier renumbered and for
// the first marker cleaned, and otherwise at most once per kMinimumRepaintInterval milliseconds,
// so that a large file is not slowed down by thousands of repaints. Finish() paints what is left.
class ProgressDisplay final : public RenumberSink {
public:
    static constexpr std::uint32_t kMinimumRepaintInterval = 15;

    // clock gives milliseconds (GetTickCount by default; wrapping is allowed).
    ProgressDisplay(HWND statusBar, std::string tag, std::function<std::uint32_t()> clock = &GetTickCount);

    void OnCollected(std::size_t count) override;
    void OnRenumbered(std::size_t index) override;
    void OnCleaned(std::size_t k) override;

    // After the run: paints the panels as the last events left them.
    void Finish();

    // How many times the status bar has been painted on purpose so far.
    std::size_t RepaintCount() const noexcept { return repaints_; }

private:
    void Repaint(bool force);

    HWND statusBar_;
    std::string tag_;
    std::function<std::uint32_t()> clock_;
    std::size_t count_ = 0;
    std::uint32_t lastRepaint_ = 0;
    std::size_t repaints_ = 0;
};

}  // namespace halvern
