#pragma once
#include <optional>
#include <string_view>

#include "app/RenumberJob.h"

namespace halvern::web {

// The run the page's choice dialog asks for: a record tag, the prefix typed (blank: the type's
// own letter), the serial width (1 to 9) and the text of the number box, read as the window reads
// it. Nothing when the tag has no default prefix and none was typed, or the form is not valid.
std::optional<JobRun> RunFromChoice(std::string_view tag, std::string_view typedPrefix, int width,
                                    std::string_view startBoxText);

}  // namespace halvern::web
