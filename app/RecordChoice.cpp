#include "app/RecordChoice.h"

#include <array>
#include <cstddef>

#include "base/AsciiText.h"

namespace halvern {

namespace {

// In the order of the choice dialog's radio items.
constexpr std::array<RecordChoice, 4> kRecordChoices{{
    {"INDI", "I"},
    {"FAM", "F"},
    {"NOTE", "N"},
    {"SOUR", "S"},
}};

}  // namespace

RecordChoice RecordChoiceForItem(int selectedItem) {
    if (selectedItem < 0 || selectedItem >= static_cast<int>(kRecordChoices.size())) {
        return kRecordChoices[0];  // no selection renumbers individuals
    }
    return kRecordChoices[static_cast<std::size_t>(selectedItem)];
}

std::optional<RecordChoice> RecordChoiceForTag(std::string_view tag) {
    for (const RecordChoice& choice : kRecordChoices) {
        if (EqualsIgnoringAsciiCase(tag, choice.tag)) return choice;
    }
    return std::nullopt;
}

}  // namespace halvern
