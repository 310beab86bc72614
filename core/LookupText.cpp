#include "core/LookupText.h"

#include <array>
#include <cstdint>

namespace halvern {
namespace {

// The letters U+00C0 to U+017F without case and accent, one character each: a digit stands for
// two letters (see kTwoLetters), "." for a character that is no letter (× and ÷).
constexpr std::string_view kLatinLetters =
    "aaaaaa3ceeeeiiiidnooooo.ouuuuy54"  // U+00C0 À .. U+00DF ß
    "aaaaaa3ceeeeiiiidnooooo.ouuuuy5y"  // U+00E0 à .. U+00FF ÿ
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii11jjkkkllllllllllnnnnnnnnnoooooo22rrrrrrssssssss"
    "ttttttuuuuuuuuuuuuwwyyyzzzzzzs";  // U+0100 Ā .. U+017F ſ
constexpr char32_t kFirstLatin = 0xC0;
static_assert(kLatinLetters.size() == 0x180 - kFirstLatin);
constexpr std::array<std::string_view, 5> kTwoLetters{"ij", "oe", "ae", "ss", "th"};  // '1' to '5'

// Windows-1252's bytes 0x80 to 0x9F as code points; the five it leaves free stay as they are.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char Byte(char32_t value) { return static_cast<char>(static_cast<unsigned char>(value)); }

// Writes c as UTF-8 to out (room for 4 bytes); returns the number of bytes.
std::size_t WriteUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = Byte(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = Byte(0xC0 | (c >> 6));
        out[1] = Byte(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = Byte(0xE0 | (c >> 12));
        out[1] = Byte(0x80 | ((c >> 6) & 0x3F));
        out[2] = Byte(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = Byte(0xF0 | (c >> 18));
    out[1] = Byte(0x80 | ((c >> 12) & 0x3F));
    out[2] = Byte(0x80 | ((c >> 6) & 0x3F));
    out[3] = Byte(0x80 | (c & 0x3F));
    return 4;
}

// The small letter of a Greek or Cyrillic capital; any other character as it is.
char32_t SmallGreekOrCyrillic(char32_t c) {
    if (c >= 0x391 && c <= 0x3A9) return c + 0x20;  // Α .. Ω
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;  // А .. Я
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;  // Ѐ .. Џ
    return c;
}

// Builds one lookup form: blanks are held back until a character follows them.
class LookupForm {
public:
    explicit LookupForm(std::string& out) : out_(out), start_(out.size()) {}

    void Blank() { blankPending_ = out_.size() > start_; }

    void Character(std::string_view letters) {
        if (letters.empty()) return;
        if (blankPending_) out_ += ' ';
        blankPending_ = false;
        out_ += letters;
    }

    // A printable ASCII character other than the blank: the usual one, taken straight.
    void Ascii(char c) {
        if (blankPending_) out_ += ' ';
        blankPending_ = false;
        out_ += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }

    // A character of UTF-8 or Windows-1252, by code point.
    void CodePoint(char32_t c) {
        if (c == ' ' || c == '\t' || c == 0xA0) return Blank();
        if (c < 0x20 || c == 0x7F || (c >= 0x300 && c < 0x370)) return;  // controls, combining accents
        char letter = 0;
        if (c >= 'A' && c <= 'Z') {
            letter = static_cast<char>(c - 'A' + 'a');
        } else if (c < 0x80) {
            letter = static_cast<char>(c);
        } else if (c >= kFirstLatin && c < kFirstLatin + kLatinLetters.size() && kLatinLetters[c - kFirstLatin] != '.') {
            letter = kLatinLetters[c - kFirstLatin];
            if (letter >= '1' && letter <= '5') return Character(kTwoLetters[static_cast<std::size_t>(letter - '1')]);
        } else if (c == 0x192) {  // ƒ
            letter = 'f';
        } else if (c >= 0x218 && c <= 0x21B) {  // Ș ș Ț ț
            letter = c < 0x21A ? 's' : 't';
        } else {
            char encoded[4];
            return Character(std::string_view(encoded, WriteUtf8(SmallGreekOrCyrillic(c), encoded)));
        }
        Character(std::string_view(&letter, 1));
    }

    void OtherByte(char c) {
        if (c == ' ' || c == '\t') return Blank();
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return;
        const char letter = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        Character(std::string_view(&letter, 1));
    }

private:
    std::string& out_;
    std::size_t start_;
    bool blankPending_ = false;
};

// The length of the valid UTF-8 sequence that starts at text[at] (lead and continuation bytes
// only; the working text of a UTF-16 file writes surrogates this way too), or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0FU;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07U;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0U) != 0x80U) return 0;
        c = (c << 6) | (next & 0x3FU);
    }
    return length;
}

}  // namespace

void AppendLookupForm(std::string& out, std::string_view text, CharacterSet set) {
    LookupForm form(out);
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t c = byte;
        std::size_t length = 1;
        if (byte > ' ' && byte < 0x7F) {
            form.Ascii(text[at]);
        } else if (set == CharacterSet::kOther) {
            form.OtherByte(text[at]);
        } else if (byte < 0x80) {
            form.CodePoint(c);
        } else if (set == CharacterSet::kWindows1252) {
            form.CodePoint(byte < 0xA0 ? kWindows1252High[byte - 0x80] : c);
        } else if ((length = SequenceLength(text, at, c)) != 0) {
            form.CodePoint(c);
        } else {
            form.Character(text.substr(at, 1));
            length = 1;
        }
        at += length;
    }
}

}  // namespace halvern
