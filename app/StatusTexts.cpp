#include "app/StatusTexts.h"

#include "app/tResStr.h"
#include "core/FixedWidthNumber.h"

namespace halvern {

namespace {

constexpr std::uint32_t kMsPerSecond = 1000;
constexpr std::uint32_t kMsPerMinute = 60 * kMsPerSecond;
constexpr std::uint32_t kMsPerHour = 60 * kMsPerMinute;
constexpr std::uint32_t kMsPerDay = 24 * kMsPerHour;
constexpr int kTimeFieldWidth = 2;

std::string JoinWithBlank(std::string_view word, std::string_view value) {
    std::string text;
    text.reserve(word.size() + rsSpatie.text.size() + value.size());
    text.append(word).append(rsSpatie.text).append(value);
    return text;
}

}  // namespace

std::string ElapsedTimeText(std::uint32_t milliseconds) {
    const std::uint32_t days = milliseconds / kMsPerDay;
    const std::uint32_t inDay = milliseconds % kMsPerDay;
    const std::uint32_t hours = inDay / kMsPerHour;
    const std::uint32_t inHour = inDay % kMsPerHour;
    const std::uint32_t minutes = inHour / kMsPerMinute;
    const std::uint32_t seconds = (inHour % kMsPerMinute) / kMsPerSecond;  // leftover ms dropped

    std::string text = FixedWidthNumber(days, kTimeFieldWidth);
    for (const std::uint32_t field : {hours, minutes, seconds}) {
        text += ':';
        text += FixedWidthNumber(field, kTimeFieldWidth);
    }
    return text;
}

int StatusPanelWidth(int statusBarWidth) {
    // Three ninths, remainder dropped; widened so that no width can overflow on the way.
    return static_cast<int>(static_cast<long long>(statusBarWidth) * 3 / 9);
}

std::string StartText(std::string_view timeOfDay) { return JoinWithBlank(rsGestartOm, timeOfDay); }

std::string CountText(std::string_view tag, std::size_t count) {
    std::string text = JoinWithBlank(rsAantal, tag);
    text.append(rsScheiding.text).append(std::to_string(count));
    return text;
}

std::string RenumberProgressText(std::size_t index) {
    return JoinWithBlank(rsBezigMet, std::to_string(index));
}

std::string CleanProgressText(std::size_t count) {
    return JoinWithBlank(rsSchonen, std::to_string(count));
}

std::string StripTrailingBackslashes(std::string text) {
    while (!text.empty() && text.back() == '\\') text.pop_back();
    return text;
}

std::string TopLevelErrorText(std::string text) {
    // Compared as unsigned bytes: a text ending in a letter beyond ASCII also gets its full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

}  // namespace halvern
