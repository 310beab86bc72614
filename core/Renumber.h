#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// Thrown when two identifiers of one run would get the same five-character serial text (more than
// 100,000 of them, or a range that spans e.g. -12345 and 12345). The text is left unchanged.
class DuplicateSerialError : public std::runtime_error {
public:
    DuplicateSerialError();
};

// Renumbers the records of one type in text: tag "INDI"/"FAM"/"NOTE"/"SOUR", letter "I"/"F"/"N"/"S".
// Every occurrence of every collected identifier becomes "@" + letter + serial text + "@"; no other
// byte changes. Returns the number of identifiers collected (duplicates counted). On any failure
// (DuplicateSerialError, std::bad_alloc) text is left exactly as it was. When changes is given it
// receives one entry per identifier that was renamed, in the order of the records.
std::size_t RenumberRecords(std::string& text, std::string_view tag, std::string_view letter,
                            std::int32_t startNumber, RenumberSink& sink,
                            std::vector<Renumbering>* changes = nullptr);

}  // namespace halvern
