#include "web/engine/RunRequest.h"

#include <string>

#include "app/RunChecks.h"
#include "app/StartNumber.h"
#include "core/RecordTypes.h"

namespace halvern::web {

std::optional<JobRun> RunFromChoice(std::string_view tag, std::string_view typedPrefix, int width,
                                    std::string_view startBoxText) {
    std::string prefix(typedPrefix);
    if (!HasData(prefix)) {
        const std::optional<std::string_view> standard = DefaultPrefix(tag);
        if (!standard) return std::nullopt;
        prefix = *standard;
    }
    JobRun run{std::string(tag), IdentifierForm{prefix, width}, ReadStartNumber(startBoxText)};
    if (!IsValidForm(run.form)) return std::nullopt;
    return run;
}

}  // namespace halvern::web
