#include "platform/VersionText.h"

#include <algorithm>

namespace halvern {
namespace {

constexpr std::size_t kMinimumDigits = 3;

bool IsWholeNumber(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The normalised texts are digit strings without leading zeros beyond the padding, so the longer
// one is the larger number, and among equally long ones the order of the characters decides. No
// number is too large for this.
bool IsLowerNumber(const std::string& left, const std::string& right) {
    if (left.size() != right.size()) return left.size() < right.size();
    return left < right;
}

}  // namespace

std::string NormaliseVersionText(std::string_view text) {
    if (text.empty()) return std::string(kMinimumDigits, '0');
    std::string digits(text);
    if (const std::size_t dot = digits.find('.'); dot != std::string::npos) digits.erase(dot, 1);
    if (digits.size() < kMinimumDigits) digits.append(kMinimumDigits - digits.size(), '0');
    if (!IsWholeNumber(digits)) return {};

    const std::size_t firstSignificant = digits.find_first_not_of('0');
    std::string number = firstSignificant == std::string::npos ? std::string() : digits.substr(firstSignificant);
    if (number.size() < kMinimumDigits) number.insert(0, kMinimumDigits - number.size(), '0');
    return number;
}

bool IsOlderVersion(std::string_view storedVersion, std::string_view currentVersion) {
    const std::string stored = NormaliseVersionText(storedVersion);
    const std::string current = NormaliseVersionText(currentVersion);
    if (stored.empty() || current.empty()) return false;
    return IsLowerNumber(stored, current);
}

}  // namespace halvern
