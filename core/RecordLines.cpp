#include "core/RecordLines.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "core/AtSignScanner.h"
#include "core/GedcomLines.h"
#include "core/LargeBuffer.h"

namespace halvern {
namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Levels beyond this are all alike (and no level overflows).
constexpr int kDeepestLevel = 1000000;

int LevelOf(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t digits = at;
    int level = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        if (level < kDeepestLevel) level = level * 10 + (line[at] - '0');
    }
    // As SplitGedcomLine reads a line: digits, then a blank.
    if (at == digits || at == line.size() || line[at] != ' ') return -1;
    return level;
}

std::size_t LineStartBefore(std::string_view text, std::size_t at) {
    while (at > 0 && !IsLineEnd(text[at - 1])) --at;
    return at;
}

std::size_t LineEndAfter(std::string_view text, std::size_t at) {
    while (at < text.size() && !IsLineEnd(text[at])) ++at;
    return at;
}

std::size_t NextLineStart(std::string_view text, std::size_t at) {
    at = LineEndAfter(text, at);
    if (at < text.size() && text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    return std::min(at + 1, text.size());
}

#if defined(__SSE2__)
std::uint64_t LineEndsFrom(std::string_view text, std::size_t from) {
    return from < text.size() ? BytesAlike(text, from, '\n') | BytesAlike(text, from, '\r') : 0;
}
#endif

}  // namespace

RecordLines::RecordLines(std::string_view text, std::size_t lineStart)
    : text_(text), begin_(lineStart < text.size() ? lineStart : text.size()) {
#if defined(__SSE2__)
    base_ = begin_;
    ends_ = LineEndsFrom(text_, base_);
#endif
}

// The first CR or LF at or after begin_, or npos.
std::size_t RecordLines::NextLineEnd() {
#if defined(__SSE2__)
    for (;;) {
        if (begin_ >= base_ + 64) {
            base_ = begin_;
            ends_ = LineEndsFrom(text_, base_);
        } else if (begin_ > base_) {
            ends_ &= ~std::uint64_t{0} << (begin_ - base_);  // the ends of lines read already
        }
        if (ends_ != 0) return base_ + static_cast<std::size_t>(std::countr_zero(ends_));
        base_ += 64;
        if (base_ >= text_.size()) return std::string_view::npos;
        ends_ = LineEndsFrom(text_, base_);
    }
#else
    for (std::size_t at = begin_; at < text_.size(); ++at) {
        if (IsLineEnd(text_[at])) return at;
    }
    return std::string_view::npos;
#endif
}

bool RecordLines::Next(RecordLine& line) {
    if (begin_ >= text_.size()) return false;
    const std::size_t end = NextLineEnd();
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    const std::string_view bytes = text_.substr(begin_, stop - begin_);
    const int level = LevelOf(bytes);
    if (level == 0 && !first_) return false;  // the next record's first line
    first_ = false;
    line = RecordLine{bytes, level};
    if (end == std::string_view::npos) {
        begin_ = text_.size();
    } else {
        begin_ = end + 1;
        if (text_[end] == '\r' && begin_ < text_.size() && text_[begin_] == '\n') ++begin_;
    }
    return true;
}

std::size_t RecordStart(std::string_view text, std::string_view definition) {
    const auto textBegin = reinterpret_cast<std::uintptr_t>(text.data());
    const auto definitionBegin = reinterpret_cast<std::uintptr_t>(definition.data());
    if (definitionBegin < textBegin || definition.size() > text.size() ||
        definitionBegin - textBegin > text.size() - definition.size()) {
        throw std::invalid_argument("a definition lies within the text it was collected from");
    }
    return LineStartBefore(text, definitionBegin - textBegin);
}

std::string_view RecordText(std::string_view text, std::string_view definition) {
    const std::size_t start = RecordStart(text, definition);
    RecordLines lines(text, start);
    RecordLine line;
    while (lines.Next(line)) {
    }
    return text.substr(start, lines.Position() - start);
}

namespace {

#if defined(__SSE2__)
// True when "UID" may begin in the 64 bytes at p (66 readable): the three bytes compared at every
// place, the results joined before they are looked at once. Most blocks hold no "UID", and this
// costs half of making their bit mask. In line: it is called for every 64 bytes of the text.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline bool MayHoldUid(const char* p) {
    const auto load = [](const char* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };
    const auto startsAt = [&](const char* q) {
        return _mm_and_si128(_mm_cmpeq_epi8(load(q), _mm_set1_epi8('U')),
                             _mm_and_si128(_mm_cmpeq_epi8(load(q + 1), _mm_set1_epi8('I')),
                                           _mm_cmpeq_epi8(load(q + 2), _mm_set1_epi8('D'))));
    };
    const __m128i any = _mm_or_si128(_mm_or_si128(startsAt(p), startsAt(p + 16)), _mm_or_si128(startsAt(p + 32), startsAt(p + 48)));
    return _mm_movemask_epi8(any) != 0;
}
#endif

// Calls word(at) where "UID" stands after a blank, a tab or "_" (every tag UID and _UID, and a few
// other words), and, with lines, line(at) where every line of level 0 begins, each from left to
// right, until word returns false: a walk over the text 64 bytes at a time.
template <bool kLines, typename Word, typename Line>
void ForEachLandmark(std::string_view text, Word&& word, Line&& line) {
    const auto takeWord = [&](std::size_t at) { return !(at > 0 && (IsBlank(text[at - 1]) || text[at - 1] == '_')) || word(at); };
    const auto takeLine = [&](std::size_t at) {
        if (LevelOf(text.substr(at)) == 0) line(at);
    };
    if (kLines && !text.empty()) takeLine(0);
    std::size_t base = 0;
#if defined(__SSE2__)
    std::uint64_t carried = 0;  // the bit of a block's first byte: the byte before it ended a line
    for (; text.size() >= 66 && base <= text.size() - 66; base += 64) {
        if constexpr (kLines) {
            // Only the lines that begin with "0", a blank or a tab can have level 0.
            const std::uint64_t ends = LineEndsFrom(text, base);
            const std::uint64_t lineStarts = (ends << 1) | carried;
            carried = ends >> 63;
            const std::uint64_t firsts = BytesAlike(text, base, '0') | BytesAlike(text, base, ' ') | BytesAlike(text, base, '\t');
            for (std::uint64_t bits = lineStarts & firsts; bits != 0; bits &= bits - 1) {
                takeLine(base + static_cast<std::size_t>(std::countr_zero(bits)));
            }
        }
        if (!MayHoldUid(text.data() + base)) continue;
        const std::uint64_t words = BytesAlike(text, base, 'U') & BytesAlike(text, base + 1, 'I') & BytesAlike(text, base + 2, 'D');
        for (std::uint64_t bits = words; bits != 0; bits &= bits - 1) {
            if (!takeWord(base + static_cast<std::size_t>(std::countr_zero(bits)))) return;
        }
    }
#endif
    if constexpr (kLines) {
        for (std::size_t at = std::max<std::size_t>(base, 1); at < text.size(); ++at) {
            if (IsLineEnd(text[at - 1])) takeLine(at);
        }
    }
    for (std::size_t at = text.find("UID", base); at != std::string_view::npos; at = text.find("UID", at + 1)) {
        if (!takeWord(at)) return;
    }
}

// The first element of sorted that is at least value, found from hint on when hint is not past it.
LargeVector<std::size_t>::const_iterator FirstFrom(const LargeVector<std::size_t>& sorted,
                                                  LargeVector<std::size_t>::const_iterator hint, std::size_t value) {
    if (hint != sorted.begin() && *(hint - 1) >= value) return std::lower_bound(sorted.begin(), hint, value);
    while (hint != sorted.end() && *hint < value) ++hint;
    return hint;
}

}  // namespace

// A record ends where the next line of level 0 begins. The definitions usually stand in the order
// of the text, and then the record starts and the candidates are each walked once.
LargeVector<std::string_view> UniqueIdentifiers(std::string_view text, std::span<const std::string_view> definitions) {
    LargeVector<std::string_view> uniqueIds(definitions.size());
    // Most files have no such word at all, and are done after a walk that looks for nothing else.
    bool any = false;
    ForEachLandmark<false>(
        text,
        [&](std::size_t) {
            any = true;
            return false;
        },
        [](std::size_t) {});
    if (!any) return uniqueIds;
    // Room for a line in every 64 bytes, only reserved: what is not filled is never touched, and
    // what is never moves.
    LargeVector<std::size_t> candidates;
    LargeVector<std::size_t> recordStarts;
    candidates.reserve(text.size() / 64 + 16);
    recordStarts.reserve(text.size() / 64 + 16);
    ForEachLandmark<true>(
        text,
        [&](std::size_t at) {
            candidates.push_back(at);
            return true;
        },
        [&](std::size_t at) { recordStarts.push_back(at); });
    auto candidate = candidates.cbegin();
    auto nextRecord = recordStarts.cbegin();
    GedcomLine parts;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        if (i + kRecordsAhead < definitions.size()) ReadAhead(definitions[i + kRecordsAhead].data());
        if (candidates.end() - candidate > static_cast<std::ptrdiff_t>(kRecordsAhead)) {
            ReadAhead(text.data() + candidate[kRecordsAhead]);
        }
        const std::size_t start = RecordStart(text, definitions[i]);
        nextRecord = FirstFrom(recordStarts, nextRecord, start + 1);
        const std::size_t end = nextRecord == recordStarts.end() ? text.size() : *nextRecord;
        for (candidate = FirstFrom(candidates, candidate, NextLineStart(text, start)); candidate != candidates.end() && *candidate < end;
             ++candidate) {
            const std::size_t lineStart = LineStartBefore(text, *candidate);
            const std::string_view line = text.substr(lineStart, LineEndAfter(text, *candidate) - lineStart);
            if (LevelOf(line) == 1 && SplitGedcomLine(line, parts) && (parts.tag == "_UID" || parts.tag == "UID")) {
                uniqueIds[i] = TrimBlanks(parts.value);
                break;
            }
        }
    }
    return uniqueIds;
}

std::string_view UniqueIdentifier(std::string_view text, std::string_view definition) {
    RecordLines lines(text, RecordStart(text, definition));
    RecordLine line;
    lines.Next(line);  // the definition's own line
    GedcomLine parts;
    while (lines.Next(line)) {
        if (line.level == 1 && SplitGedcomLine(line.text, parts) && (parts.tag == "_UID" || parts.tag == "UID")) {
            return TrimBlanks(parts.value);
        }
    }
    return {};
}

bool LineValue(const RecordLine& line, int level, std::string_view tag, std::string_view& value) {
    GedcomLine parts;
    if (line.level != level || !SplitGedcomLine(line.text, parts) || parts.tag != tag) return false;
    value = TrimBlanks(parts.value);
    return true;
}

std::string_view TrimBlanks(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

}  // namespace halvern
