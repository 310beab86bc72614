#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/IdentifierForm.h"
#include "core/LargeBuffer.h"

namespace halvern {

// Receives the progress of one run, synchronously, in this order: OnCollected(count) once;
// then, when count > 0, OnRenumbered(1..count) and OnCleaned(1..K), K the number of occurrences
// replaced.
class RenumberSink {
public:
    virtual ~RenumberSink() = default;
    virtual void OnCollected(std::size_t count) = 0;
    virtual void OnRenumbered(std::size_t index) = 0;
    virtual void OnCleaned(std::size_t k) = 0;
};

// A sink that ignores every event.
class NullRenumberSink final : public RenumberSink {
public:
    void OnCollected(std::size_t) override {}
    void OnRenumbered(std::size_t) override {}
    void OnCleaned(std::size_t) override {}
};

// One identifier that a run gave a new name.
struct Renumbering {
    std::string oldId;  // "@I7@"
    std::string newId;  // "@I00001@"
};

// Why a run was refused.
enum class RunRefusal {
    kSerialsRepeat = 1,      // two records of the run would get the same serial text
    kIdentifierTaken = 2,    // a new identifier is already in the text, and stays there
};

// Thrown when two identifiers of one run would get the same serial text (more than 10^width of
// them, or a range that spans e.g. -12345 and 12345 at width 5). The text is left unchanged.
class DuplicateSerialError : public std::runtime_error {
public:
    DuplicateSerialError();
    RunRefusal code() const noexcept { return code_; }

protected:
    DuplicateSerialError(RunRefusal code, const std::string& what);

private:
    RunRefusal code_;
};

// Thrown when a new identifier of a run equals a stretch of the text, from one "@" to the next,
// that the run leaves as it is: the identifier of a record of another type, or a reference to a
// record that no longer exists. After the run that stretch would point at the renumbered record.
// The text is left unchanged. It is a DuplicateSerialError too (the new identifier would be there
// twice), so whoever refuses runs for that reason refuses these as well.
class IdentifierCollisionError : public DuplicateSerialError {
public:
    explicit IdentifierCollisionError(std::string identifier);
    // The new identifier that is taken already, "@I00003@".
    const std::string& identifier() const noexcept { return identifier_; }

private:
    std::string identifier_;
};

// The serial number of the list entry with 0-based index: startNumber + index, taken like 32-bit
// two's complement arithmetic, so 2147483647 is followed by -2147483648 instead of overflowing.
std::int32_t SerialNumber(std::int32_t startNumber, std::size_t index);

// One run, prepared: the identifiers of the records of one type collected from text and their new
// identifiers checked (DuplicateSerialError when two would be alike, IdentifierCollisionError when
// one is in the text already and would stay), with the events OnCollected and OnRenumbered
// raised. The new text is then made in one pass by AppendTo or
// WriteTo, which raise OnCleaned. text must stay alive and unchanged while the run is used. See
// RenumberRecords for what the new text is.
class PreparedRun {
public:
    // form must be valid (IsValidForm), else std::invalid_argument.
    PreparedRun(std::string_view text, std::string_view tag, const IdentifierForm& form, std::int32_t startNumber,
                RenumberSink& sink);
    // The form letter + width 5.
    PreparedRun(std::string_view text, std::string_view tag, std::string_view letter,
                std::int32_t startNumber, RenumberSink& sink);
    PreparedRun(const PreparedRun&) = delete;
    PreparedRun& operator=(const PreparedRun&) = delete;
    ~PreparedRun();

    // The number of identifiers collected, duplicates counted.
    std::size_t Count() const;
    // The most bytes the new text can have.
    std::size_t LengthBound() const;
    // Appends the new text to out.
    void AppendTo(std::string& out);
    // Hands the new text to write in consecutive blocks of up to 256 KiB as it is made (a stretch
    // without occurrences that is longer goes on as one piece), so it can go to a file in a few
    // large writes without ever being whole in memory. Exceptions from write pass through.
    void WriteTo(const std::function<void(std::string_view)>& write);
    // After a pass: one entry per identifier that was renamed, in the order of the records.
    std::vector<Renumbering> Changes() const;

private:
    void CheckCollisions(const LargeVector<std::uint64_t>& shapedStretches,
                         const LargeVector<std::uint64_t>& shapedIdentifiers) const;

    struct State;
    std::unique_ptr<State> state_;
    RenumberSink& sink_;
};

// Renumbers the records of one type in text: tag the level-0 record tag ("INDI", "FAM", "SNOTE",
// "_LOC", ...; see ForEachDefinition for how its definitions are found), form the prefix and
// width of the new identifiers (IdentifierForm; invalid: std::invalid_argument). Every occurrence
// of every collected identifier becomes "@" + prefix + serial text + "@"; no other byte changes.
// Returns the number of identifiers collected (duplicates counted). On any failure
// (DuplicateSerialError, IdentifierCollisionError, std::bad_alloc) text is left exactly as it
// was. When changes is given it receives one entry per identifier that was renamed, in the order
// of the records.
//
// Occurrences are found in the text as it stood before the run, so nothing the run writes is ever
// taken for an identifier. An identifier has no "@" between its two "@", so at most one identifier
// can start at any "@": the bytes up to the next "@". Two occurrences may share an "@", and then
// the new identifiers share it too: "@a@b@" with both collected becomes "@I00001@I00002@", as it
// would if every identifier were replaced in the text one after the other. So a definition always
// changes together with its references, and the number of "@" in the text stays the same.
std::size_t RenumberRecords(std::string& text, std::string_view tag, const IdentifierForm& form,
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes = nullptr);

// The same with the form letter + width 5: "INDI" with "I" gives "@I00001@", "@I00002@", ...
std::size_t RenumberRecords(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes = nullptr);

}  // namespace halvern
