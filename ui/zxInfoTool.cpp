#include "ui/zxInfoTool.h"

// Stand-in until the information dialog lands.
namespace halvern {
void CreateInfoDialog(HINSTANCE) {}
void ShowInfoDialog(HWND) {}
void DestroyInfoDialog() {}
}  // namespace halvern
