#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/EntryNumber.h"
#include "core/IdentifierForm.h"
#include "core/RunNumbering.h"

namespace halvern {

// Hears the progress of runs, synchronously, as the engine reaches each step. run is the run's
// index in the list the engine was given. Each run raises, in this order: OnCollected(count) once;
// then, when count > 0, OnRenumbered(1..count) as its new identifiers are settled and
// OnCleaned(1..K) as its K occurrences are replaced. Runs that go through one pass together raise
// their OnCollected and OnRenumbered run after run, and their OnCleaned in the order in which
// their occurrences stand in the text, so those of different runs interleave.
class RenumberSink {
public:
    virtual ~RenumberSink() = default;
    virtual void OnCollected(std::size_t run, std::size_t count) = 0;
    virtual void OnRenumbered(std::size_t run, std::size_t index) = 0;
    virtual void OnCleaned(std::size_t run, std::size_t k) = 0;
};

// A sink that ignores every event.
class NullRenumberSink final : public RenumberSink {
public:
    void OnCollected(std::size_t, std::size_t) override {}
    void OnRenumbered(std::size_t, std::size_t) override {}
    void OnCleaned(std::size_t, std::size_t) override {}
};

// One identifier that a run gave a new name.
struct Renumbering {
    std::string oldId;  // "@I7@"
    std::string newId;  // "@I00001@"
    std::size_t index = 0;  // the entry's place in the run's list of identifiers
};

// A run: the level-0 record tag ("INDI", "FAM", "SNOTE", "_LOC", ...; see ForEachDefinition for
// how its definitions are found), the form of its new identifiers and the serial number of its
// first record.
//
// numbering, when given, numbers the run otherwise (another order, numbers kept from an earlier
// renumbering): called once the run's identifiers are collected, with the text and the identifiers
// (views into it, in the order of the definitions); its entries, one per identifier, or none for
// the usual numbering. The collision rule holds for every new identifier, kept ones of any shape
// included.
struct RunRequest {
    using Numbering = std::function<RunNumbers(std::string_view text, std::span<const std::string_view> identifiers)>;

    std::string_view tag;
    IdentifierForm form;
    std::int32_t startNumber = 1;
    Numbering numbering{};
};

// Why a run was refused.
enum class RunRefusal {
    kSerialsRepeat = 1,    // two records of the run would get the same serial text (more than
                           // 10^width of them, or a range that spans -12345 and 12345 at width 5)
    kIdentifierTaken = 2,  // a new identifier equals a stretch of the text, from one "@" to the
                           // next, that the run leaves as it is: another type's record, or a
                           // reference to a record that is gone; it would then point at the
                           // renumbered record
};

// Thrown when a run is refused; the text is left unchanged.
class RunRefused : public std::runtime_error {
public:
    RunRefused(RunRefusal code, std::string identifier);
    RunRefusal code() const noexcept { return code_; }
    // kIdentifierTaken: the new identifier that is in the text already, "@I00003@"; else empty.
    const std::string& identifier() const noexcept { return identifier_; }

private:
    RunRefusal code_;
    std::string identifier_;
};

// Runs prepared: the identifiers of their records collected from text and their new identifiers
// settled and checked. The new text is then made in one pass by AppendTo or WriteTo. text must
// stay alive and unchanged, and sink alive (the pass raises OnCleaned), while they are used. See
// RenumberRecords for what the new text is.
//
// A single run is prepared by the constructor. Several runs go through the same preparation and
// the same pass together where that gives exactly what they give one after the other, each on the
// result of the one before (see Renumber.cpp); Together says when.
class PreparedRuns {
public:
    // One run. Raises OnCollected and OnRenumbered; RunRefused when it is refused,
    // std::invalid_argument for a form that is not valid (IsValidForm).
    PreparedRuns(std::string_view text, const RunRequest& run, RenumberSink& sink);
    // Several runs in one pass, when that is the same as one after the other and none of them is
    // refused; else nothing, and no event is raised (the runs must then go one after the other,
    // which gives any refusal).
    static std::unique_ptr<PreparedRuns> Together(std::string_view text, const std::vector<RunRequest>& runs,
                                                  RenumberSink& sink);
    PreparedRuns(const PreparedRuns&) = delete;
    PreparedRuns& operator=(const PreparedRuns&) = delete;
    ~PreparedRuns();

    // The identifiers collected by all runs, duplicates counted; CountOf those of one run.
    std::size_t Count() const;
    std::size_t CountOf(std::size_t run) const;
    // The most bytes the new text can have.
    std::size_t LengthBound() const;
    // The pass, once: the new text appended to out, or handed to write in consecutive blocks of up
    // to 256 KiB as it is made (a stretch without occurrences that is longer goes on as one piece),
    // so it can go to a file in a few large writes without ever being whole in memory. Exceptions
    // from write pass through. Raises OnCleaned.
    void AppendTo(std::string& out);
    void WriteTo(const std::function<void(std::string_view)>& write);
    // After the pass: one entry per identifier that run renamed, in the order of its records.
    std::vector<Renumbering> Changes(std::size_t run) const;
    // The text the runs read, and the identifiers one of them collected (views into it), in the
    // order of its definitions: a Renumbering's index is a place in this list.
    std::string_view Text() const;
    std::vector<std::string_view> Identifiers(std::size_t run) const;

private:
    struct State;
    explicit PreparedRuns(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

// Renumbers the records of one type in text. Every occurrence of every collected identifier
// becomes its new identifier; no other byte changes. Returns the number of identifiers collected
// (duplicates counted). On any failure (RunRefused, std::invalid_argument, std::bad_alloc) text is
// left exactly as it was. When changes is given it receives one entry per identifier that was
// renamed, in the order of the records.
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
