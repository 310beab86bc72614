#include "ui/ErrorBoxes.h"

#include <string>

#include "app/StatusTexts.h"
#include "ui/tVars.h"

namespace halvern {

int ProgramMessageBox(HWND owner, std::string_view text, UINT style) {
    const std::string message(text);
    return MessageBoxA(owner, message.c_str(), ApplicationTitle, style);
}

int ShowErrorBox(HWND owner, std::string_view errorText) {
    return ProgramMessageBox(owner, TopLevelErrorText(std::string(errorText)), kErrorBoxStyle);
}

}  // namespace halvern
