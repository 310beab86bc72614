#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "app/ProgressThrottle.h"

namespace halvern::web {

// The status panels a run writes to: 0 messages and progress, 2 counts.
inline constexpr int kMessagePanel = 0;
inline constexpr int kCountPanel = 2;

// Hands a run's progress texts to the page. Each text sent is a message from the worker to the
// page, so ProgressThrottle sends them at most every kPace.interval besides the first and last.
class PageProgress final : public ProgressView {
public:
    using Show = std::function<void(int panel, const std::string& text)>;

    static constexpr ProgressPace kPace{std::chrono::milliseconds(50)};

    explicit PageProgress(Show show) : show_(std::move(show)) {}

    void ShowCount(const RunProgress& progress) override;
    void ShowStep(const RunProgress& progress) override;

    // What panel 0 shows after the run: the last progress text, empty when there was none.
    const std::string& LastMessage() const { return lastShown_; }

private:
    Show show_;
    std::string lastShown_;
};

}  // namespace halvern::web
