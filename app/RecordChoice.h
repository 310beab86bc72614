#pragma once
#include <optional>
#include <string_view>

namespace halvern {

// The record type of one run: the tag and the letter of its identifiers.
struct RecordChoice {
    std::string_view tag;     // "INDI", "FAM", "NOTE", "SOUR"
    std::string_view letter;  // "I", "F", "N", "S"
};

// The choice dialog's radio item (0 INDIvidual, 1 FAMily, 2 NOTE, 3 SOURce; anything else, such as
// -1 for no selection, gives INDI).
RecordChoice RecordChoiceForItem(int selectedItem);

// A tag typed by a user, any letter case ("indi", "Fam"); nothing for an unknown tag.
std::optional<RecordChoice> RecordChoiceForTag(std::string_view tag);

}  // namespace halvern
