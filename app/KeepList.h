#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/DocumentBuffer.h"
#include "core/IdentifierForm.h"
#include "core/LargeBuffer.h"
#include "core/Utf16Text.h"

namespace halvern {

// One line of a list.
struct KeptLine {
    std::string_view oldId;
    std::string_view newId;
    std::string_view uniqueId;  // empty: none
    std::size_t lineNumber = 0;  // from 1
};

// Finds a line by one of its fields (old, new or unique identifier): an open-addressing table of
// line indices, at most half full, each slot with 32 bits of its field's hash, so a lookup reads a
// few slots and the one field that matches. The list is only looked up and checked for repeats;
// the engine's IdentifierTable carries filters for scanning a whole text that it would not use.
class LineIndex {
public:
    static constexpr std::size_t kNone = SIZE_MAX;
    using Field = std::string_view KeptLine::*;

    // Indexes field of every line, empty ones left out; the first line whose field an earlier line
    // has already (then not indexed), or kNone.
    std::size_t Build(const LargeVector<KeptLine>& lines, Field field);
    // The line whose field is value, or kNone.
    std::size_t Find(const LargeVector<KeptLine>& lines, Field field, std::string_view value) const;
    bool Empty() const { return slots_.empty(); }

private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t linePlusOne;  // 0: empty
    };
    LargeVector<Slot> slots_;
    std::size_t mask_ = 0;
};

// The lines of one record type in a list, and what a run of that type looks up in them.
class KeptType {
public:
    static constexpr std::size_t kNone = SIZE_MAX;

    explicit KeptType(std::string_view tag) : tag_(tag) {}
    KeptType(const KeptType&) = delete;
    KeptType& operator=(const KeptType&) = delete;

    std::string_view Tag() const { return tag_; }
    std::size_t Size() const { return lines_.size(); }
    const KeptLine& Line(std::size_t index) const { return lines_[index]; }

    // The index of the line with that unique identifier (never for an empty one), old identifier
    // or new identifier; kNone when there is none. A list holds each at most once per type.
    std::size_t ByUniqueId(std::string_view uniqueId) const {
        return uniqueId.empty() ? kNone : byUniqueId_.Find(lines_, &KeptLine::uniqueId, uniqueId);
    }
    std::size_t ByOldId(std::string_view oldId) const { return byOld_.Find(lines_, &KeptLine::oldId, oldId); }
    std::size_t ByNewId(std::string_view newId) const { return byNew_.Find(lines_, &KeptLine::newId, newId); }
    // False when no line of the type has a unique identifier: then no record can match by one.
    bool HoldsUniqueIds() const { return !byUniqueId_.Empty(); }

    // The highest serial among the new identifiers of the lines that have the shape of form
    // ("@" + prefix + width digits + "@"): "@I00042@" holds 42 in the form I and 5, and 0042 in
    // I0 and 4. Nothing when no new identifier has that shape.
    std::optional<std::int32_t> HighestSerial(const IdentifierForm& form) const;

private:
    friend class KeepListReader;
    std::string_view tag_;
    LargeVector<KeptLine> lines_;
    LineIndex byOld_, byNew_, byUniqueId_;
};

// A list read by ReadKeepList: the earlier map, from which a run keeps the numbers it gave.
class KeepList {
public:
    // The lines of type tag, or nullptr when the list has none.
    const KeptType* Type(std::string_view tag) const;

private:
    friend class KeepListReader;
    // The list, each field unescaped where it stands; the lines point here.
    std::unique_ptr<std::string> text_;  // as given to ReadKeepList
    DocumentBuffer bytes_;               // or as read from a file
    std::deque<std::string> converted_;
    std::size_t lineCount_ = 0;  // while it is read: how many lines the text has at most  // the fields that a UTF-16 file writes otherwise (see ReadKeepList)
    std::vector<std::unique_ptr<KeptType>> types_;
};

// Why a list cannot be used: the line, and a Dutch text for the user that names it.
class KeepListError : public std::runtime_error {
public:
    enum class Problem {
        kFieldCount,     // not three or four fields
        kEscape,         // a "\" that none of the escapes begins
        kType,           // no record type
        kIdentifier,     // an old or new identifier that cannot be one
        kNewTwice,       // a new identifier that an earlier line of the type gives already
        kOldTwice,       // an old identifier that an earlier line of the type has already
        kUniqueIdTwice,  // a unique identifier that an earlier line of the type has already
    };
    KeepListError(Problem problem, std::size_t line, std::string_view field = {}, std::size_t earlierLine = 0);

    Problem problem() const noexcept { return problem_; }
    std::size_t line() const noexcept { return line_; }
    std::size_t earlierLine() const noexcept { return earlierLine_; }  // for the three repeats

private:
    Problem problem_;
    std::size_t line_;
    std::size_t earlierLine_;
};

// Reads a list as AppendMapLine (app/MapText.h) writes it, or as halvern-cli -m wrote it before, with three fields;
// the list keeps text. Lines end with LF or CR LF; empty lines are passed over. KeepListError for
// the first line that is not three or four tab-separated fields, holds an escape that cannot be
// read, names no record type (IsRecordTag) or has an old or new identifier that cannot be one ("@",
// at least one byte without "@", "@"); then, when every line can be read, for the first line that
// within its type repeats a new identifier, an old identifier or a (non-empty) unique identifier of
// an earlier line: one number for two records, or two numbers for one.
// The list is UTF-8; for a file in UTF-16 (encoding) its identifiers are taken as the file's
// working text writes them (WorkingTextOfShown), so that they compare with the file's own.
KeepList ReadKeepList(std::string text, TextEncoding encoding = TextEncoding::kEightBit);

class FileProbe;

// A list read from the file named (UTF-8) for a document in encoding, or why it cannot be used:
// message names the file and says why (CannotOpenText, or "NAME: " and the KeepListError's text).
struct LoadedKeepList {
    std::optional<KeepList> list;
    std::string message;
};
LoadedKeepList LoadKeepList(const std::string& name, const FileProbe& probe, TextEncoding encoding);

}  // namespace halvern
