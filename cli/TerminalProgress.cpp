#include "cli/TerminalProgress.h"

#include <utility>

#include "app/tResStr.h"

namespace halvern::cli {

TerminalProgress::~TerminalProgress() { RunDone(); }

void TerminalProgress::ShowStep(const RunProgress& progress) {
    std::string text = std::string(progress.tag).append(": ").append(progress.StepText());
    if (progress.step == RunProgress::Step::kRenumbering) text = FillIn(rsVan, {text, std::to_string(progress.count)});
    std::string line(1, '\r');
    line += text;
    // A shorter text than the one before must not leave its tail standing.
    if (text.size() < shownWidth_) line.append(shownWidth_ - text.size(), ' ');
    write_(line);
    if (text.size() > shownWidth_) shownWidth_ = text.size();
}

void TerminalProgress::RunDone() {
    if (shownWidth_ == 0) return;
    std::string wipe(shownWidth_ + 2, ' ');
    wipe.front() = '\r';
    wipe.back() = '\r';
    write_(wipe);
    shownWidth_ = 0;
}

}  // namespace halvern::cli
