#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "core/Renumber.h"

namespace halvern::testing {

// One event as text: its letter and its number.
std::string Event(char kind, std::size_t number);

// Writes every event down as "C2", "R1", "K4" (collected, renumbered, cleaned), by run.
class RecordingSink final : public RenumberSink {
public:
    void OnCollected(std::size_t run, std::size_t count) override { Of(run).push_back(Event('C', count)); }
    void OnRenumbered(std::size_t run, std::size_t index) override { Of(run).push_back(Event('R', index)); }
    void OnCleaned(std::size_t run, std::size_t k) override { Of(run).push_back(Event('K', k)); }

    std::vector<std::string>& Of(std::size_t run) { return byRun[run]; }

    std::map<std::size_t, std::vector<std::string>> byRun;
    std::vector<std::string>& events = byRun[0];  // those of the first run
};

// The events a clean run must give: C count, R 1..count, K 1..cleaned.
std::vector<std::string> ExpectedEvents(std::size_t count, std::size_t cleaned);

}  // namespace halvern::testing
