#include "web/engine/PageProgress.h"

#include "app/StatusTexts.h"

namespace halvern::web {

void PageProgress::ShowCount(const RunProgress& progress) { show_(kCountPanel, CountText(progress.tag, progress.count)); }

void PageProgress::ShowStep(const RunProgress& progress) {
    lastShown_ = progress.StepText();
    show_(kMessagePanel, lastShown_);
}

}  // namespace halvern::web
