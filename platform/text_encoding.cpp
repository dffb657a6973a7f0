// Conversions between UTF-8, Windows-1252 and UTF-16 with replacement of
// anything that cannot be represented; no input makes them read out of bounds.
#include "platform/text_encoding.h"

#include <array>
#include <cstdint>

namespace plat {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;     // marks an ill-formed UTF-8 sequence
constexpr char32_t kReplacement = 0xFFFD;

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F; 0 where the
// code page assigns nothing (those bytes map to the C1 control of equal value).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool InRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// Decodes the code point at text[pos] and advances pos past it. An ill-formed
// sequence answers kInvalid and advances over its maximal valid prefix (at
// least one byte), so each bad sequence is replaced exactly once.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int trailing = 0;
    char32_t code = 0;
    unsigned char low = 0x80;   // allowed range of the first continuation byte
    unsigned char high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        trailing = 1;
        code = lead & 0x1F;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        trailing = 2;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;    // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;   // no surrogates
    } else if (InRange(lead, 0xF0, 0xF4)) {
        trailing = 3;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;    // no overlong forms
        high = lead == 0xF4 ? 0x8F : 0xBF;   // nothing above U+10FFFF
    } else {
        return kInvalid;
    }
    for (int i = 0; i < trailing; ++i) {
        if (pos >= text.size()) {
            return kInvalid;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (!InRange(byte, i == 0 ? low : 0x80, i == 0 ? high : 0xBF)) {
            return kInvalid;
        }
        code = (code << 6) | (byte & 0x3F);
        ++pos;
    }
    return code;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t AnsiToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

char CodePointToAnsi(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    if (code >= 0x80 && code <= 0x9F) {
        // Only the unassigned bytes stand for themselves.
        return kHighControls[code - 0x80] == 0 ? static_cast<char>(code) : '?';
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextCodePoint(utf8, pos);
        out += code == kInvalid ? '?' : CodePointToAnsi(code);
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (const char c : ansi) {
        AppendUtf8(out, AnsiToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t code = NextCodePoint(utf8, pos);
        if (code == kInvalid) {
            code = kReplacement;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        char32_t code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (NextCodePoint(text, pos) == kInvalid) {
            return false;
        }
    }
    return true;
}

} // namespace plat
