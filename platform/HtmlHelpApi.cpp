#include "platform/HtmlHelpApi.h"

#include <utility>

namespace halvern {
namespace {

HtmlHelpFunction& Replacement() {
    static HtmlHelpFunction replacement;
    return replacement;
}

}  // namespace

HtmlHelpKeywordLink MakeKeywordLink(const char* keyword) {
    HtmlHelpKeywordLink link{};
    link.cbStruct = static_cast<int>(sizeof(HtmlHelpKeywordLink));
    link.fReserved = FALSE;
    link.pszKeywords = keyword;
    link.fIndexOnFail = static_cast<BOOL>(-1);
    return link;
}

HWND HtmlHelpLibrary::Call(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    if (!tried_) {
        tried_ = true;
        module_.reset(LoadLibraryA("hhctrl.ocx"));
        if (module_) {
            function_ = reinterpret_cast<HtmlHelpA>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "HtmlHelpA")));
        }
    }
    return function_ ? function_(owner, file, command, data) : nullptr;
}

HtmlHelpFunction ReplaceHtmlHelpForTesting(HtmlHelpFunction replacement) {
    return std::exchange(Replacement(), std::move(replacement));
}

const HtmlHelpFunction& HtmlHelpReplacement() { return Replacement(); }

}  // namespace halvern
