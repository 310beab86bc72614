#include "app/KeepList.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "app/FileProblem.h"
#include "app/MapText.h"
#include "app/RunChecks.h"
#include "app/tResStr.h"
#include "core/Document.h"
#include "core/DocumentBuffer.h"
#include "core/FileName.h"
#include "core/RecordLines.h"
#include "core/RecordTypes.h"

namespace halvern {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Undoes the escapes of the field at bytes, in place (a field only gets shorter); its new size, or
// nothing when an escape cannot be read.
std::optional<std::size_t> UnescapeInPlace(char* bytes, std::size_t size) {
    std::size_t to = 0;
    for (std::size_t from = 0; from < size; ++from) {
        char c = bytes[from];
        if (c == '\\') {
            if (++from == size) return std::nullopt;
            switch (bytes[from]) {
                case '\\': c = '\\'; break;
                case 't': c = '\t'; break;
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 'x': {
                    const int high = from + 2 < size ? HexDigit(bytes[from + 1]) : -1;
                    const int low = high >= 0 ? HexDigit(bytes[from + 2]) : -1;
                    if (low < 0) return std::nullopt;
                    c = static_cast<char>(high * 16 + low);
                    from += 2;
                    break;
                }
                default: return std::nullopt;
            }
        }
        bytes[to++] = c;
    }
    return to;
}

bool IsIdentifier(std::string_view id) {
    return id.size() >= 3 && id.front() == '@' && id.back() == '@' &&
           id.substr(1, id.size() - 2).find('@') == std::string_view::npos;
}

// A hash of bytes, eight at a time.
std::uint64_t HashOf(std::string_view bytes) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ bytes.size();
    std::size_t at = 0;
    for (; bytes.size() - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ULL;
        hash ^= hash >> 31;
    }
    std::uint64_t last = 0;
    if (at < bytes.size()) std::memcpy(&last, bytes.data() + at, bytes.size() - at);
    hash = (hash ^ last) * 0x94D049BB133111EBULL;
    return hash ^ (hash >> 29);
}

std::string ErrorText(KeepListError::Problem problem, std::size_t line, std::string_view field, std::size_t earlier) {
    using Problem = KeepListError::Problem;
    std::string_view pattern;
    switch (problem) {
        case Problem::kFieldCount: pattern = rsLijstVelden; break;
        case Problem::kEscape: pattern = rsLijstTeken; break;
        case Problem::kType: pattern = rsLijstType; break;
        case Problem::kIdentifier: pattern = rsLijstNummer; break;
        case Problem::kNewTwice: pattern = rsLijstNieuwDubbel; break;
        case Problem::kOldTwice: pattern = rsLijstOudDubbel; break;
        case Problem::kUniqueIdTwice: pattern = rsLijstCodeDubbel; break;
    }
    std::string shown = "\"";
    AppendMapField(shown, field);
    shown += '"';
    return FillIn(pattern, {std::to_string(line), shown, std::to_string(earlier)});
}

}  // namespace

KeepListError::KeepListError(Problem problem, std::size_t line, std::string_view field, std::size_t earlierLine)
    : std::runtime_error(ErrorText(problem, line, field, earlierLine)),
      problem_(problem),
      line_(line),
      earlierLine_(earlierLine) {}

std::size_t LineIndex::Build(const LargeVector<KeptLine>& lines, Field field) {
    if (lines.size() >= 0x7FFFFFFF) throw std::length_error("a list of more than 2^31 lines");
    const auto filled = [&](const KeptLine& line) { return !(line.*field).empty(); };
    if (std::none_of(lines.begin(), lines.end(), filled)) {
        slots_.clear();
        return kNone;
    }
    std::size_t size = 16;
    while (size < 2 * lines.size()) size *= 2;
    slots_.assign(size, Slot{0, 0});
    mask_ = size - 1;
    std::size_t repeated = kNone;
    // The slot of a line is asked into the cache a few lines before it is filled: the table is
    // larger than the nearest caches, and the waits then overlap.
    constexpr std::size_t kAhead = 8;
    std::array<std::uint64_t, kAhead> hashes{};
    const auto hashAhead = [&](std::size_t line) {
        const std::uint64_t hash = HashOf(lines[line].*field);
        hashes[line % kAhead] = hash;
        ReadAhead(reinterpret_cast<const char*>(&slots_[hash & mask_]));
    };
    for (std::size_t line = 0; line < std::min(kAhead, lines.size()); ++line) hashAhead(line);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const std::string_view value = lines[line].*field;
        const std::uint64_t hash = hashes[line % kAhead];
        if (line + kAhead < lines.size()) hashAhead(line + kAhead);
        if (value.empty()) continue;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.linePlusOne == 0) {
                slot = Slot{tag, static_cast<std::uint32_t>(line + 1)};
                break;
            }
            if (slot.hash == tag && lines[slot.linePlusOne - 1].*field == value) {
                if (repeated == kNone) repeated = line;
                break;
            }
        }
    }
    return repeated;
}

std::size_t LineIndex::Find(const LargeVector<KeptLine>& lines, Field field, std::string_view value) const {
    if (slots_.empty()) return kNone;
    const std::uint64_t hash = HashOf(value);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.linePlusOne == 0) return kNone;
        if (slot.hash == tag && lines[slot.linePlusOne - 1].*field == value) return slot.linePlusOne - 1;
    }
}

std::optional<std::int32_t> KeptType::HighestSerial(const IdentifierForm& form) const {
    const std::size_t width = static_cast<std::size_t>(form.width);
    const std::size_t length = form.prefix.size() + width + 2;
    std::optional<std::int32_t> highest;
    for (const KeptLine& line : lines_) {
        const std::string_view id = line.newId;
        if (id.size() != length || id.substr(1, form.prefix.size()) != form.prefix) continue;
        std::int32_t serial = 0;
        bool digits = true;
        for (const char c : id.substr(1 + form.prefix.size(), width)) {
            digits = digits && c >= '0' && c <= '9';
            serial = serial * 10 + (c - '0');
        }
        if (digits && (!highest || serial > *highest)) highest = serial;
    }
    return highest;
}

const KeptType* KeepList::Type(std::string_view tag) const {
    for (const auto& type : types_) {
        if (type->Tag() == tag) return type.get();
    }
    return nullptr;
}

// Reads a list into a KeepList; the friend that fills its parts.
class KeepListReader {
public:
    static KeepList Read(std::string text, TextEncoding encoding) {
        KeepList list;
        list.text_ = std::make_unique<std::string>(std::move(text));
        char* const data = list.text_->data();  // the string moves with the list, its bytes stay
        const std::size_t size = list.text_->size();
        return Read(std::move(list), data, size, encoding);
    }
    static KeepList Read(DocumentBuffer bytes, TextEncoding encoding) {
        KeepList list;
        const std::size_t size = bytes.Text().size();
        list.bytes_ = std::move(bytes);
        char* const data = list.bytes_.End() - size;
        return Read(std::move(list), data, size, encoding);
    }

private:
    // The list keeps its text (size bytes at data), whose fields are unescaped where they stand:
    // the lines' views point into it, and no field needs a string of its own.
    static KeepList Read(KeepList list, char* data, std::size_t size, TextEncoding encoding) {
        const std::string_view copy(data, size);
        list.lineCount_ = static_cast<std::size_t>(std::count(copy.begin(), copy.end(), '\n')) + 1;
        std::size_t number = 0;
        for (std::size_t begin = 0; begin < copy.size();) {
            const std::size_t end = std::min(copy.find('\n', begin), copy.size());
            std::size_t length = end - begin;
            const std::size_t next = end + 1;
            ++number;
            if (length > 0 && copy[begin + length - 1] == '\r') --length;
            if (length > 0) ReadLine(list, data + begin, length, number, encoding);
            begin = next;
        }
        std::optional<KeepListError> first;
        for (const auto& type : list.types_) {
            if (std::optional<KeepListError> error = Index(*type); error && (!first || error->line() < first->line())) {
                first = error;
            }
        }
        if (first) throw *first;
        return list;
    }

    static void ReadLine(KeepList& list, char* line, std::size_t size, std::size_t number, TextEncoding encoding) {
        using Problem = KeepListError::Problem;
        std::array<std::string_view, 4> fields;
        std::size_t count = 0;
        for (std::size_t begin = 0;; ++count) {
            const void* const tab = std::memchr(line + begin, '\t', size - begin);
            const std::size_t end = tab != nullptr ? static_cast<std::size_t>(static_cast<const char*>(tab) - line) : size;
            if (count == fields.size()) throw KeepListError(Problem::kFieldCount, number);
            char* const field = line + begin;
            std::size_t length = end - begin;
            if (count > 0 && std::memchr(field, '\\', length) != nullptr) {
                const std::optional<std::size_t> unescaped = UnescapeInPlace(field, length);
                if (!unescaped) throw KeepListError(Problem::kEscape, number);
                length = *unescaped;
            }
            fields[count] = std::string_view(field, length);
            if (encoding != TextEncoding::kEightBit && count > 0 &&
                std::any_of(field, field + length, [](char c) { return c == '\0' || (c & 0x80) != 0; })) {
                fields[count] = list.converted_.emplace_back(WorkingTextOfShown(fields[count]));
            }
            if (tab == nullptr) break;
            begin = end + 1;
        }
        if (count < 2) throw KeepListError(Problem::kFieldCount, number);
        if (!IsRecordTag(fields[0])) throw KeepListError(Problem::kType, number, fields[0]);
        for (std::size_t i = 1; i <= 2; ++i) {
            if (!IsIdentifier(fields[i])) throw KeepListError(Problem::kIdentifier, number, fields[i]);
        }
        KeptType* type = list.types_.empty() ? nullptr : list.types_.back().get();
        if (type == nullptr || type->Tag() != fields[0]) {
            type = nullptr;
            for (const auto& known : list.types_) {
                if (known->Tag() == fields[0]) type = known.get();
            }
            if (type == nullptr) {
                type = list.types_.emplace_back(std::make_unique<KeptType>(fields[0])).get();
                // Room for every line from here on: what the type's lines do not fill is only
                // reserved (the lines of a type mostly stand together, as a map writes them).
                type->lines_.reserve(list.lineCount_ - number + 1);
            }
        }
        type->lines_.push_back(KeptLine{fields[1], fields[2], fields[3], number});
    }

    // The type's lookups, and the first of its lines that repeats what an earlier one has.
    static std::optional<KeepListError> Index(KeptType& type) {
        // The first line that repeats a field of an earlier line; on one line the new identifier
        // first, then the old one, then the unique identifier.
        using Problem = KeepListError::Problem;
        const struct {
            std::size_t line;
            Problem problem;
            LineIndex::Field field;
            const LineIndex& index;
        } repeats[] = {
            {type.byNew_.Build(type.lines_, &KeptLine::newId), Problem::kNewTwice, &KeptLine::newId, type.byNew_},
            {type.byOld_.Build(type.lines_, &KeptLine::oldId), Problem::kOldTwice, &KeptLine::oldId, type.byOld_},
            {type.byUniqueId_.Build(type.lines_, &KeptLine::uniqueId), Problem::kUniqueIdTwice, &KeptLine::uniqueId,
             type.byUniqueId_},
        };
        const auto* first = std::min_element(std::begin(repeats), std::end(repeats),
                                             [](const auto& a, const auto& b) { return a.line < b.line; });
        if (first->line != LineIndex::kNone) {
            const KeptLine& line = type.lines_[first->line];
            const std::string_view value = line.*first->field;
            return KeepListError(first->problem, line.lineNumber, value,
                                 type.lines_[first->index.Find(type.lines_, first->field, value)].lineNumber);
        }
        return std::nullopt;
    }
};

KeepList ReadKeepList(std::string text, TextEncoding encoding) { return KeepListReader::Read(std::move(text), encoding); }

LoadedKeepList LoadKeepList(const std::string& name, const FileProbe& probe, TextEncoding encoding) {
    std::optional<FileProblem> problem = probe.ProblemWith(name);
    DocumentBuffer bytes;
    TextEncoding listEncoding = TextEncoding::kEightBit;
    int openError = 0;
    if (!problem && !LoadDocument(FilePath(name), bytes, listEncoding, &openError)) {
        problem = FileProblemFromErrno(openError != 0 ? openError : EIO);
    }
    if (problem) return {std::nullopt, CannotOpenText(name, *problem)};
    try {
        return {KeepListReader::Read(std::move(bytes), encoding), {}};
    } catch (const KeepListError& error) {
        return {std::nullopt, name + ": " + error.what()};
    }
}

}  // namespace halvern
