#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "app/ProgressThrottle.h"

namespace halvern::cli {

// Draws the progress of a long job on one terminal line, overwritten in place with '\r'.
// ProgressThrottle keeps it silent during the first second, so short jobs show nothing, and then
// draws at most every kPace.interval. RunDone (also the destructor) wipes the line again.
class TerminalProgress final : public ProgressView {
public:
    using Writer = std::function<void(std::string_view)>;

    static constexpr ProgressPace kPace{std::chrono::milliseconds(100), std::chrono::milliseconds(1000)};

    explicit TerminalProgress(Writer write) : write_(std::move(write)) {}
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void ShowCount(const RunProgress&) override {}
    void ShowStep(const RunProgress& progress) override;
    void RunDone() override;

private:
    Writer write_;
    std::size_t shownWidth_ = 0;  // characters on the line now; 0 when nothing is shown
};

}  // namespace halvern::cli
