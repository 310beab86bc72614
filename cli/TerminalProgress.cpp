#include "cli/TerminalProgress.h"

#include <utility>

#include "app/StatusTexts.h"

namespace halvern::cli {

TerminalProgress::TerminalProgress(std::string_view tag, Writer write, Clock clock)
    : tag_(tag), write_(std::move(write)), clock_(std::move(clock)), started_(clock_()) {}

TerminalProgress::~TerminalProgress() { Finish(); }

void TerminalProgress::OnCollected(std::size_t count) { count_ = count; }

void TerminalProgress::OnRenumbered(std::size_t index) {
    if (Due()) Show(tag_ + ": " + RenumberProgressText(index) + " van " + std::to_string(count_));
}

void TerminalProgress::OnCleaned(std::size_t k) {
    if (Due()) Show(tag_ + ": " + CleanProgressText(k));
}

void TerminalProgress::Finish() {
    if (shownWidth_ == 0) return;
    std::string wipe(shownWidth_ + 2, ' ');
    wipe.front() = '\r';
    wipe.back() = '\r';
    write_(wipe);
    shownWidth_ = 0;
}

bool TerminalProgress::Due() {
    if (++eventsSinceCheck_ < kEventsPerClockCheck) return false;
    eventsSinceCheck_ = 0;
    return clock_() - started_ >= kSilentPeriod;
}

void TerminalProgress::Show(const std::string& text) {
    std::string line(1, '\r');
    line += text;
    // A shorter text than the one before must not leave its tail standing.
    if (text.size() < shownWidth_) line.append(shownWidth_ - text.size(), ' ');
    write_(line);
    if (text.size() > shownWidth_) shownWidth_ = text.size();
}

}  // namespace halvern::cli
