#include "tests/support/LiteralRenumber.h"

#include <vector>

#include "core/FixedWidthNumber.h"
#include "core/QuickSearch.h"

namespace halvern::testsupport {
namespace {

// Positions below are 1-based, as QuickSearchPos counts them.

std::vector<std::string> Collect(const std::string& text, const std::string& definition) {
    std::vector<std::string> list;
    std::size_t d = 1;
    for (;;) {
        const std::size_t b = QuickSearchPos(text, definition, d, text.size());
        if (b == 0) return list;
        std::size_t a = 0;
        for (std::size_t p = b - 1; p >= d && p >= 1; --p) {
            if (text[p - 1] == '@') {
                a = p;
                break;
            }
        }
        if (a != 0) list.push_back(text.substr(a - 1, b - a + 1));
        d = b + definition.size();
    }
}

// text becomes the bytes before position at, then the new bytes, then the bytes after the old ones.
void Rebuild(std::string& text, std::size_t at, std::size_t oldLength, std::string_view bytes) {
    std::string rebuilt;
    rebuilt.reserve(text.size() - oldLength + bytes.size());
    rebuilt.append(text, 0, at - 1);
    rebuilt.append(bytes);
    rebuilt.append(text, at - 1 + oldLength, std::string::npos);
    text.swap(rebuilt);
}

bool LooksLikeMarker(std::string_view id, std::string_view tag) {
    return id.size() == tag.size() + 8 && id.substr(1, tag.size()) == tag && id[tag.size() + 1] == '0';
}

}  // namespace

std::size_t LiteralRenumber(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink,
                            LiteralAnomalies* anomalies) {
    const bool watch = anomalies != nullptr;
    LiteralAnomalies seen;
    // Beside the text while watching: 'S' first byte of one of our markers, 'M' the rest of it,
    // 'c' bytes written by cleaning, '.' anything else.
    std::string mask;
    if (watch) mask.assign(text.size(), '.');

    // Phase 1: collection.
    const std::vector<std::string> list = Collect(text, std::string("@ ").append(tag));
    const std::size_t count = list.size();
    sink.OnCollected(0, count);
    if (count == 0) return 0;

    // Phase 2: replacement by temporary markers.
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string& id = list[i - 1];
        const std::size_t n = id.size();
        const auto serial = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(static_cast<std::int64_t>(startNumber) + (i - 1)));
        const std::string marker =
            std::string("@").append(tag).append("0").append(FixedWidthNumber(serial, 5)).append("@");
        if (watch && LooksLikeMarker(id, tag)) seen.markerLikeIdentifier = true;

        std::size_t t = QuickSearchPos(text, id, 1, text.size());
        while (t != 0) {
            if (watch && mask.compare(t - 1, n, std::string(n, '.')) != 0) seen.overlappedMarker = true;
            Rebuild(text, t, n, marker);
            if (watch) Rebuild(mask, t, n, std::string("S").append(marker.size() - 1, 'M'));
            const std::size_t next = QuickSearchPos(text, id, t + n + 1, text.size());
            if (watch) {
                // From the marker's closing "@" on: an occurrence may start with it.
                const std::size_t afterMarker = QuickSearchPos(text, id, t + marker.size() - 1, text.size());
                if (afterMarker != 0 && afterMarker < t + n + 1) seen.skippedOccurrence = true;
            }
            t = next;
        }
        sink.OnRenumbered(0, i);
    }

    // Phase 3: cleaning.
    const std::string cleaning = std::string("@").append(tag).append("0");
    const std::string cleaned = std::string("@").append(letter);
    std::size_t k = 0;
    std::size_t m = QuickSearchPos(text, cleaning, 1, text.size());
    while (m != 0) {
        if (watch && mask[m - 1] != 'S') seen.foreignCleaning = true;
        Rebuild(text, m, cleaning.size(), cleaned);
        if (watch) Rebuild(mask, m, cleaning.size(), std::string(cleaned.size(), 'c'));
        ++k;
        m = QuickSearchPos(text, cleaning, m + cleaning.size() + 1, text.size());
        sink.OnCleaned(0, k);
    }
    if (watch) {
        if (mask.find('S') != std::string::npos) seen.foreignCleaning = true;
        *anomalies = seen;
    }
    return count;
}

}  // namespace halvern::testsupport
