#include "core/CharacterSet.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "core/GedcomLines.h"
#include "core/LookupText.h"
#include "core/RecordLines.h"

namespace halvern {
namespace {

// The value of the first "1 CHAR" line of the header, when the text's first line is "0 HEAD".
std::optional<std::string_view> DeclaredCharacterSet(std::string_view text) {
    RecordLines lines(text, 0);
    RecordLine line;
    GedcomLine parts;
    if (!lines.Next(line) || line.level != 0 || !SplitGedcomLine(line.text, parts) || parts.tag != "HEAD") return {};
    std::string_view value;
    while (lines.Next(line)) {
        if (LineValue(line, 1, "CHAR", value)) return value;
    }
    return {};
}

// True when text is a series of well-formed UTF-8 sequences (no overlong form, no surrogate,
// nothing above U+10FFFF). Runs of ASCII are passed eight bytes at a time.
bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t at = 0;
    while (at < size) {
        if (size - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + at, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                at += 8;
                continue;
            }
        }
        const unsigned lead = bytes[at];
        if (lead < 0x80) {
            ++at;
            continue;
        }
        std::size_t length = 0;
        unsigned low = 0x80, high = 0xBF;  // the range of the first continuation byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (size - at < length || bytes[at + 1] < low || bytes[at + 1] > high) return false;
        for (std::size_t i = 2; i < length; ++i) {
            if ((bytes[at + i] & 0xC0U) != 0x80U) return false;
        }
        at += length;
    }
    return true;
}

}  // namespace

CharacterSet DetectCharacterSet(std::string_view text, TextEncoding encoding) {
    if (encoding != TextEncoding::kEightBit || text.starts_with("\xEF\xBB\xBF")) return CharacterSet::kUtf8;
    if (const std::optional<std::string_view> declared = DeclaredCharacterSet(text)) {
        std::string name;
        AppendLookupForm(name, *declared, CharacterSet::kOther);  // small letters, single blanks
        if (name == "utf-8" || name == "utf8") return CharacterSet::kUtf8;
        constexpr std::array<std::string_view, 7> kWindows1252Names{
            "ansi", "windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "latin1", "ibm windows"};
        for (const std::string_view known : kWindows1252Names) {
            if (name == known) return CharacterSet::kWindows1252;
        }
        if (name != "ascii" && name != "unicode" && !name.empty()) return CharacterSet::kOther;
    }
    return IsValidUtf8(text) ? CharacterSet::kUtf8 : CharacterSet::kWindows1252;
}

}  // namespace halvern
