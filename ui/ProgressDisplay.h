#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/RenumberJob.h"
#include "core/Renumber.h"

namespace halvern {

// Shows a run's progress in the main window's status bar: the count in panel 2, the index being
// renumbered and the markers cleaned in panel 0. A large run raises hundreds of thousands of
// events, and setting a panel's text makes the status bar invalidate and, under Wine, talk to the
// display each time; so the newest text of each panel is kept here and handed to the status bar
// only when it is painted. That happens at once for the count, for the first and the last
// identifier renumbered and for the first marker cleaned, and otherwise at most once per
// kMinimumRepaintInterval milliseconds. Finish() shows the texts the last events left, the last
// marker cleaned included. It follows a whole job: each run starts afresh with its own tag.
class ProgressDisplay final : public RenumberSink, public JobListener {
public:
    static constexpr std::uint32_t kMinimumRepaintInterval = 15;

    // clock gives milliseconds (GetTickCount by default; wrapping is allowed).
    explicit ProgressDisplay(HWND statusBar, std::function<std::uint32_t()> clock = &GetTickCount);

    RenumberSink& RunStarting(const JobRun& run) override;
    void RunFinished(const JobRun& run, std::size_t count) override;

    void OnCollected(std::size_t count) override;
    void OnRenumbered(std::size_t index) override;
    void OnCleaned(std::size_t k) override;

    // After the run: shows and paints the panels as the last events left them.
    void Finish();

    // How many times the status bar has been painted on purpose so far.
    std::size_t RepaintCount() const noexcept { return repaints_; }

private:
    // The newest progress text of panel 0, kept as its number until it is shown.
    enum class Phase { None, Renumbering, Cleaning };

    void Repaint(bool force);
    void ShowPending();

    HWND statusBar_;
    std::string tag_;
    std::function<std::uint32_t()> clock_;
    std::size_t count_ = 0;
    bool countPending_ = false;
    Phase phase_ = Phase::None;
    std::size_t progress_ = 0;
    bool progressPending_ = false;
    std::uint32_t lastRepaint_ = 0;
    std::size_t repaints_ = 0;
};

}  // namespace halvern
