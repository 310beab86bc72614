#include "ui/ProgressDisplay.h"

#include "app/StatusTexts.h"
#include "ui/uFuncties.h"

namespace halvern {

void ProgressDisplay::ShowCount(const RunProgress& progress) {
    ShowStatusCount(statusBar_, CountText(progress.tag, progress.count), Repaint::Later);
}

void ProgressDisplay::ShowStep(const RunProgress& progress) {
    ShowStatusMessage(statusBar_, progress.StepText(), Repaint::Later);
}

void ProgressDisplay::Drawn() { RepaintStatusBar(statusBar_); }

}  // namespace halvern
