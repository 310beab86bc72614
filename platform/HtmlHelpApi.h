#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>

#include "base/UniqueRes.h"

namespace halvern {

// The HTML Help commands that the program sends (numbers of the published HTML Help API).
enum HtmlHelpCommand : UINT {
    kHhDisplayTopic = 0x0000,
    kHhDisplayToc = 0x0001,
    kHhKeywordLookup = 0x000D,
    kHhHelpContext = 0x000F,
    kHhCloseAll = 0x0012,
};

// The record passed with a keyword lookup, laid out as HTML Help reads it.
struct HtmlHelpKeywordLink {
    int cbStruct;           // the record's own size
    BOOL fReserved;
    const char* pszKeywords;
    const char* pszUrl;
    const char* pszMsgText;
    const char* pszMsgTitle;
    const char* pszWindow;
    BOOL fIndexOnFail;      // all bits set: show the index when no keyword matches
};
#if defined(_WIN64)
static_assert(offsetof(HtmlHelpKeywordLink, fReserved) == 4);
static_assert(offsetof(HtmlHelpKeywordLink, pszKeywords) == 8);
static_assert(offsetof(HtmlHelpKeywordLink, pszUrl) == 16);
static_assert(offsetof(HtmlHelpKeywordLink, pszMsgText) == 24);
static_assert(offsetof(HtmlHelpKeywordLink, pszMsgTitle) == 32);
static_assert(offsetof(HtmlHelpKeywordLink, pszWindow) == 40);
static_assert(offsetof(HtmlHelpKeywordLink, fIndexOnFail) == 48);
static_assert(sizeof(HtmlHelpKeywordLink) == 56);
#else
static_assert(sizeof(HtmlHelpKeywordLink) == 32);
#endif

// A keyword lookup record for one keyword; the keyword must outlive the record.
HtmlHelpKeywordLink MakeKeywordLink(const char* keyword);

// An HTML Help call as the program makes it: the file (and a keyword lookup's texts) in UTF-8.
using HtmlHelpFunction = std::function<HWND(HWND owner, const char* file, UINT command, DWORD_PTR data)>;

// HtmlHelpW from hhctrl.ocx, loaded at the first call and freed with this object; the file and a
// keyword lookup's keyword go to it in UTF-16, so a help file in any folder opens. When the library
// or the function cannot be had, every call does nothing and gives null.
class HtmlHelpLibrary {
public:
    HtmlHelpLibrary() = default;
    HtmlHelpLibrary(const HtmlHelpLibrary&) = delete;
    HtmlHelpLibrary& operator=(const HtmlHelpLibrary&) = delete;

    HWND Call(HWND owner, const char* file, UINT command, DWORD_PTR data);

private:
    using HtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    bool tried_ = false;
    UniqueRes<HMODULE, &FreeLibrary> module_;
    HtmlHelpW function_ = nullptr;
};

// For tests: while set, HTML Help calls of the program's viewer go to this function instead of
// hhctrl.ocx. An empty function restores the real one. Returns the function set before.
HtmlHelpFunction ReplaceHtmlHelpForTesting(HtmlHelpFunction replacement);

// The replacement set for tests, or an empty function.
const HtmlHelpFunction& HtmlHelpReplacement();

}  // namespace halvern
