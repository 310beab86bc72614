#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/HtmlHelpApi.h"

namespace halvern::test {

// A keyword lookup record as it arrived, its texts copied.
struct RecordedKeywordLink {
    int cbStruct;
    BOOL fReserved;
    std::optional<std::string> keywords, url, msgText, msgTitle, window;
    BOOL fIndexOnFail;
};

// One call that would have gone to HtmlHelpW (its texts still in UTF-8).
struct RecordedHtmlHelpCall {
    HWND owner;
    std::optional<std::string> file;  // nothing for a null file argument
    UINT command;
    DWORD_PTR data;
    std::optional<RecordedKeywordLink> link;  // for HH_KEYWORD_LOOKUP
};

// While it lives, every HTML Help call of the program is recorded here instead of made.
class HtmlHelpRecorder {
public:
    HtmlHelpRecorder()
        : previous_(ReplaceHtmlHelpForTesting([this](HWND owner, const char* file, UINT command, DWORD_PTR data) {
              Record(owner, file, command, data);
              return static_cast<HWND>(nullptr);
          })) {}
    ~HtmlHelpRecorder() { ReplaceHtmlHelpForTesting(std::move(previous_)); }
    HtmlHelpRecorder(const HtmlHelpRecorder&) = delete;
    HtmlHelpRecorder& operator=(const HtmlHelpRecorder&) = delete;

    std::vector<RecordedHtmlHelpCall> calls;

private:
    static std::optional<std::string> Text(const char* text) {
        return text ? std::optional<std::string>(text) : std::nullopt;
    }

    void Record(HWND owner, const char* file, UINT command, DWORD_PTR data) {
        RecordedHtmlHelpCall call{owner, Text(file), command, data, std::nullopt};
        if (command == kHhKeywordLookup && data != 0) {
            const auto* link = reinterpret_cast<const HtmlHelpKeywordLink*>(data);
            call.link = RecordedKeywordLink{link->cbStruct,        link->fReserved,        Text(link->pszKeywords),
                                            Text(link->pszUrl),    Text(link->pszMsgText), Text(link->pszMsgTitle),
                                            Text(link->pszWindow), link->fIndexOnFail};
        }
        calls.push_back(std::move(call));
    }

    HtmlHelpFunction previous_;
};

}  // namespace halvern::test
