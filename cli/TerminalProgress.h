#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/Renumber.h"

namespace halvern::cli {

// Shows the progress of a long run on one terminal line, overwritten in place with '\r'.
// Nothing appears during the first second, so short runs stay silent. The engine reports every
// identifier and every replacement, so the clock is looked at only once per kEventsPerClockCheck
// events. Finish() (also called by the destructor) wipes the line again.
class TerminalProgress final : public RenumberSink {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Writer = std::function<void(std::string_view)>;

    static constexpr std::size_t kEventsPerClockCheck = 4096;
    static constexpr std::chrono::milliseconds kSilentPeriod{1000};

    TerminalProgress(std::string_view tag, Writer write, Clock clock = &std::chrono::steady_clock::now);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void OnCollected(std::size_t count) override;
    void OnRenumbered(std::size_t index) override;
    void OnCleaned(std::size_t k) override;

    void Finish();

private:
    // Counts one event; true when this event should be shown.
    bool Due();
    void Show(const std::string& text);

    std::string tag_;
    Writer write_;
    Clock clock_;
    std::chrono::steady_clock::time_point started_;
    std::size_t count_ = 0;
    std::size_t eventsSinceCheck_ = 0;
    std::size_t shownWidth_ = 0;  // characters on the line now; 0 when nothing is shown
};

}  // namespace halvern::cli
