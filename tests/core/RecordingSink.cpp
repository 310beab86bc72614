#include "tests/core/RecordingSink.h"

namespace halvern::testing {

std::string Event(char kind, std::size_t number) {
    std::string event(1, kind);
    event += std::to_string(number);
    return event;
}

std::vector<std::string> ExpectedEvents(std::size_t count, std::size_t cleaned) {
    std::vector<std::string> events{Event('C', count)};
    if (count == 0) return events;
    for (std::size_t i = 1; i <= count; ++i) events.push_back(Event('R', i));
    for (std::size_t k = 1; k <= cleaned; ++k) events.push_back(Event('K', k));
    return events;
}

}  // namespace halvern::testing
