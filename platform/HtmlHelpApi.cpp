#include "platform/HtmlHelpApi.h"

#include <string>
#include <utility>

#include "base/WideText.h"

namespace halvern {
namespace {

// The keyword lookup record as HtmlHelpW reads it: HtmlHelpKeywordLink with UTF-16 texts.
struct WideKeywordLink {
    int cbStruct;
    BOOL fReserved;
    const wchar_t* pszKeywords;
    const wchar_t* pszUrl;
    const wchar_t* pszMsgText;
    const wchar_t* pszMsgTitle;
    const wchar_t* pszWindow;
    BOOL fIndexOnFail;
};
static_assert(sizeof(WideKeywordLink) == sizeof(HtmlHelpKeywordLink));

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
            function_ = reinterpret_cast<HtmlHelpW>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "HtmlHelpW")));
        }
    }
    if (!function_) return nullptr;
    const std::wstring wideFile = file != nullptr ? WideFromUtf8(file) : std::wstring();
    const wchar_t* const fileArgument = file != nullptr ? wideFile.c_str() : nullptr;
    if (command != kHhKeywordLookup || data == 0) return function_(owner, fileArgument, command, data);

    // The program only fills the keyword of the record.
    const auto* link = reinterpret_cast<const HtmlHelpKeywordLink*>(data);
    const std::wstring keyword = WideFromUtf8(link->pszKeywords != nullptr ? link->pszKeywords : "");
    WideKeywordLink wideLink{};
    wideLink.cbStruct = static_cast<int>(sizeof wideLink);
    wideLink.fReserved = link->fReserved;
    wideLink.pszKeywords = keyword.c_str();
    wideLink.fIndexOnFail = link->fIndexOnFail;
    return function_(owner, fileArgument, command, reinterpret_cast<DWORD_PTR>(&wideLink));
}

HtmlHelpFunction ReplaceHtmlHelpForTesting(HtmlHelpFunction replacement) {
    return std::exchange(Replacement(), std::move(replacement));
}

const HtmlHelpFunction& HtmlHelpReplacement() { return Replacement(); }

}  // namespace halvern
