// A strict UTF-8 decoder: no overlong forms, no surrogates, nothing above U+10FFFF.
#include "platform/canvas/utf8_text.h"

#include <glib.h>

#include <memory>

namespace plat {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one sequence at text[i]; answers its length, 1 for an invalid one.
std::size_t DecodeOne(std::string_view text, std::size_t i, char32_t& code)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) { length = 2; code = b0 & 0x1Fu; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; code = b0 & 0x0Fu; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; code = b0 & 0x07u; min = 0x10000; }
    else { code = Replacement; return 1; }
    if (i + length > text.size()) {
        code = Replacement;
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            code = Replacement;
            return 1;
        }
        code = code << 6 | (b & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = Replacement;
        return 1;
    }
    return length;
}

} // namespace

std::vector<TDecodedChar> DecodeUtf8(std::string_view text)
{
    std::vector<TDecodedChar> chars;
    chars.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t code = 0;
        const std::size_t length = DecodeOne(text, i, code);
        chars.push_back({code, i, length});
        i += length;
    }
    return chars;
}

std::string EncodeUtf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string RepairUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t code = 0;
        const std::size_t length = DecodeOne(text, i, code);
        // NUL would end the text engine's string early.
        if ((code == Replacement && length == 1) || code == 0)
            out += EncodeUtf8(Replacement);
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string FoldCaseUtf8(std::string_view text)
{
    const std::string valid = RepairUtf8(text);
    const std::unique_ptr<gchar, decltype(&g_free)> folded(
        g_utf8_casefold(valid.data(), static_cast<gssize>(valid.size())), &g_free);
    return folded ? std::string(folded.get()) : valid;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    const std::string foldedPrefix = FoldCaseUtf8(prefix);
    return FoldCaseUtf8(text).compare(0, foldedPrefix.size(), foldedPrefix) == 0;
}

} // namespace plat
