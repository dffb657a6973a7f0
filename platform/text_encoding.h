// Conversions between the program's UTF-8 text and the 8-bit Windows-1252
// ("ANSI") and UTF-16 forms that output files and some components use.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// UTF-8 to Windows-1252. A character that has no Windows-1252 byte, and every
// invalid UTF-8 sequence, becomes one "?".
std::string Utf8ToAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves unassigned (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value, so that
// Utf8ToAnsi gives them back unchanged.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to UTF-16; each invalid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8; each unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// True when the bytes are well-formed UTF-8 (no overlong forms, no encoded
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

} // namespace plat
