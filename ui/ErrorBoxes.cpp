#include "ui/ErrorBoxes.h"

#include <string>

#include "app/StatusTexts.h"
#include "base/WideText.h"
#include "ui/tVars.h"

namespace halvern {

int ProgramMessageBox(HWND owner, std::string_view text, UINT style) {
    return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(ApplicationTitle).c_str(), style);
}

int ShowErrorBox(HWND owner, std::string_view errorText) {
    return ProgramMessageBox(owner, TopLevelErrorText(std::string(errorText)), kErrorBoxStyle);
}

}  // namespace halvern
