#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/IdentifierForm.h"
#include "core/Renumber.h"

namespace halvern {

// One of the runs handed to JointRuns: the record tag, the form of its new identifiers, and the
// serial number of its first record.
struct RunRequest {
    std::string_view tag;
    IdentifierForm form;
    std::int32_t startNumber = 1;
};

// Several runs of different record types carried out together: one walk collects the identifiers
// of them all into one table, and one pass writes the text that the runs, one after the other,
// each on the result of the one before, would have made. Prepare gives nothing where that could
// differ in any way (see JointRuns.cpp), also whenever one of the runs would be refused; then the
// runs must go one after the other, which gives the refusal.
class JointRuns {
public:
    // Collects and checks, and raises no events. text must stay alive and unchanged while the
    // result is used. Forms that are not valid give nothing.
    static std::unique_ptr<JointRuns> Prepare(std::string_view text, const std::vector<RunRequest>& runs);

    JointRuns(const JointRuns&) = delete;
    JointRuns& operator=(const JointRuns&) = delete;
    ~JointRuns();

    // The identifiers collected by all runs together, duplicates counted.
    std::size_t Count() const;
    // Those of run (its index in the list given to Prepare).
    std::size_t CountOf(std::size_t run) const;
    // The most bytes the new text can have.
    std::size_t LengthBound() const;
    // The new text, appended to out or handed to write in blocks, as PreparedRun does. Once.
    void AppendTo(std::string& out);
    void WriteTo(const std::function<void(std::string_view)>& write);

    // After the pass, per run: the events it raises when it runs by itself (OnCollected,
    // OnRenumbered 1..count, OnCleaned 1..K), and the identifiers it renamed, in the order of its
    // records.
    void RaiseEvents(std::size_t run, RenumberSink& sink) const;
    std::vector<Renumbering> Changes(std::size_t run) const;

private:
    struct State;
    explicit JointRuns(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

}  // namespace halvern
