#include "core/Utf16Text.h"

#include <cstdint>

namespace halvern {
namespace {

constexpr unsigned char kOddByteLead = 0xF8;

bool StartsWith(std::string_view bytes, std::string_view start) { return bytes.substr(0, start.size()) == start; }

std::uint16_t UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<std::uint16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

void AppendUnit(std::string& out, std::uint16_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

char Byte(unsigned value) { return static_cast<char>(static_cast<unsigned char>(value)); }

bool IsContinuation(std::string_view text, std::size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

unsigned Low6(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]) & 0x3FU; }

// A code point in UTF-8.
void AppendUtf8(std::string& out, std::uint32_t point) {
    if (point < 0x80) {
        out += Byte(point);
    } else if (point < 0x800) {
        out += Byte(0xC0U | (point >> 6));
        out += Byte(0x80U | (point & 0x3FU));
    } else if (point < 0x10000) {
        out += Byte(0xE0U | (point >> 12));
        out += Byte(0x80U | ((point >> 6) & 0x3FU));
        out += Byte(0x80U | (point & 0x3FU));
    } else {
        out += Byte(0xF0U | (point >> 18));
        out += Byte(0x80U | ((point >> 12) & 0x3FU));
        out += Byte(0x80U | ((point >> 6) & 0x3FU));
        out += Byte(0x80U | (point & 0x3FU));
    }
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

WorkingTextError::WorkingTextError(std::size_t offset)
    : std::runtime_error("not a working text at byte " + std::to_string(offset)), offset_(offset) {}

TextEncoding DetectTextEncoding(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (StartsWith(bytes, "\xFF\xFE"sv) || StartsWith(bytes, "0\0 \0H\0E\0A\0D\0"sv)) return TextEncoding::kUtf16Le;
    if (StartsWith(bytes, "\xFE\xFF"sv) || StartsWith(bytes, "\0000\0 \0H\0E\0A\0D"sv)) return TextEncoding::kUtf16Be;
    return TextEncoding::kEightBit;
}

std::optional<TextEncoding> TextEncodingOf(std::string_view bytes, bool holdsZero) {
    const TextEncoding found = DetectTextEncoding(bytes);
    if (holdsZero && found == TextEncoding::kEightBit) return std::nullopt;
    return found;
}

std::string ToWorkingText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::kEightBit) return std::string(bytes);
    const bool bigEndian = encoding == TextEncoding::kUtf16Be;
    std::string text;
    text.reserve(bytes.size() / 2 + bytes.size() / 8 + 4);
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t unit = UnitAt(bytes, 2 * i, bigEndian);
        if (unit == 0) {
            text += "\xC0\x80";
        } else {
            AppendUtf8(text, unit);
        }
    }
    if (bytes.size() % 2 != 0) {
        const auto odd = static_cast<unsigned char>(bytes.back());
        text += Byte(kOddByteLead);
        text += Byte(0x80U | (odd >> 6));
        text += Byte(0x80U | (odd & 0x3FU));
    }
    return text;
}

std::string FromWorkingText(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::kEightBit) return std::string(text);
    const bool bigEndian = encoding == TextEncoding::kUtf16Be;
    std::string bytes;
    bytes.reserve(2 * text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            if (lead == 0) throw WorkingTextError(at);
            AppendUnit(bytes, lead, bigEndian);
            at += 1;
        } else if ((lead & 0xE0) == 0xC0 && IsContinuation(text, at + 1)) {
            const auto unit = static_cast<std::uint16_t>(((lead & 0x1FU) << 6) | Low6(text, at + 1));
            // Only 0 and 0x80 .. 0x7FF are written with two bytes.
            if (unit != 0 && unit < 0x80) throw WorkingTextError(at);
            AppendUnit(bytes, unit, bigEndian);
            at += 2;
        } else if ((lead & 0xF0) == 0xE0 && IsContinuation(text, at + 1) && IsContinuation(text, at + 2)) {
            const auto unit =
                static_cast<std::uint16_t>(((lead & 0x0FU) << 12) | (Low6(text, at + 1) << 6) | Low6(text, at + 2));
            if (unit < 0x800) throw WorkingTextError(at);
            AppendUnit(bytes, unit, bigEndian);
            at += 3;
        } else if (lead == kOddByteLead && at + 3 == text.size() && IsContinuation(text, at + 1) &&
                   IsContinuation(text, at + 2) && Low6(text, at + 1) <= 3) {
            bytes += Byte((Low6(text, at + 1) << 6) | Low6(text, at + 2));
            at += 3;
        } else {
            throw WorkingTextError(at);
        }
    }
    return bytes;
}

std::string ShownText(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::kEightBit) return std::string(text);
    constexpr std::uint32_t kReplacement = 0xFFFD;
    const std::string units = FromWorkingText(text, TextEncoding::kUtf16Le);
    std::string shown;
    for (std::size_t at = 0; at < units.size(); at += 2) {
        if (at + 1 == units.size()) {  // the odd last byte
            AppendUtf8(shown, kReplacement);
            break;
        }
        const std::uint32_t unit = UnitAt(units, at, false);
        const std::uint32_t next = at + 3 < units.size() ? UnitAt(units, at + 2, false) : 0;
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            AppendUtf8(shown, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            at += 2;
        } else {
            AppendUtf8(shown, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    return shown;
}

std::string WorkingTextOfShown(std::string_view utf8) {
    std::string working;
    working.reserve(utf8.size());
    // A 16-bit unit as the working text writes it.
    const auto appendUnit = [&working](std::uint32_t unit) {
        if (unit >= 1 && unit < 0x80) {
            working += static_cast<char>(unit);
        } else if (unit < 0x800) {
            working += static_cast<char>(0xC0 | (unit >> 6));
            working += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            working += static_cast<char>(0xE0 | (unit >> 12));
            working += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            working += static_cast<char>(0x80 | (unit & 0x3F));
        }
    };
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5                 ? 4
                                                                                 : 0;
        std::uint32_t point = length == 1 ? lead : length == 2 ? (lead & 0x1FU) : length == 3 ? (lead & 0x0FU) : (lead & 0x07U);
        bool valid = length != 0 && at + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[at + k]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3FU);
        }
        // The shortest form only, and no surrogate written as a character of its own.
        valid = valid && !(length == 3 && (point < 0x800 || (point >= 0xD800 && point < 0xE000))) &&
                !(length == 4 && (point < 0x10000 || point > 0x10FFFF));
        if (!valid) {
            appendUnit(0xFFFD);
            ++at;
            continue;
        }
        if (point >= 0x10000) {
            appendUnit(0xD800 + ((point - 0x10000) >> 10));
            appendUnit(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            appendUnit(point);
        }
        at += length;
    }
    return working;
}

}  // namespace halvern
