// Conversions between UTF-8, Windows-1252 and UTF-16, with the replacement of
// what cannot be represented or is not valid.
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace {

struct TAnsiCase {
    const char* Label;
    std::string Utf8;
    std::string Ansi;
};

TEST(TextEncoding, Utf8ToAnsiMapsWindows1252AndReplacesTheRest)
{
    const TAnsiCase cases[] = {
        {"ASCII", "QEL 629, ch 1", "QEL 629, ch 1"},
        {"Latin-1 letters", "Gr\xC3\xB6\xC3\x9F" "e \xC3\xBC", "Gr\xF6\xDF" "e \xFC"},
        {"degree sign", "\xC2\xB0" "C", "\xB0" "C"},
        {"euro in the 0x80 row", "\xE2\x82\xAC", "\x80"},
        {"typographic quotes", "\xE2\x80\x9Cx\xE2\x80\x9D", "\x93x\x94"},
        {"Z caron", "\xC5\xBD", "\x8E"},
        {"Greek Omega has no byte", "\xCE\xA9", "?"},
        {"CJK has no byte", "\xE6\xB8\xA9\xE5\xBA\xA6", "??"},
        {"emoji is one character", "\xF0\x9F\x98\x80", "?"},
        {"C1 control that 1252 assigns (U+0080)", "\xC2\x80", "?"},
        {"unassigned byte stands for itself (U+0081)", "\xC2\x81", "\x81"},
        {"truncated sequence", "a\xC3", "a?"},
        {"stray continuation byte", "\x80z", "?z"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"encoded surrogate", "\xED\xA0\x80", "???"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"cut four-byte sequence then text", "\xF0\x9F\x98" "a", "?a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::Utf8ToAnsi(c.Utf8), c.Ansi) << c.Label;
    }
}

TEST(TextEncoding, AnsiRoundTripsEveryByte)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string utf8 = plat::AnsiToUtf8(all);
    EXPECT_TRUE(plat::IsValidUtf8(utf8));
    EXPECT_EQ(plat::Utf8ToAnsi(utf8), all);
    EXPECT_EQ(plat::AnsiToUtf8("\x80\xE4"), "\xE2\x82\xAC\xC3\xA4");
}

TEST(TextEncoding, Utf16ConversionsHandlePairsAndBadInput)
{
    EXPECT_EQ(plat::Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::u16string{u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(plat::Utf16ToUtf8(std::u16string{u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00}),
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(plat::Utf8ToUtf16("x\xFFy"), (std::u16string{u'x', 0xFFFD, u'y'}));
    // Unpaired surrogates, high at the end and low alone.
    EXPECT_EQ(plat::Utf16ToUtf8(std::u16string{0xDC00, u'b', 0xD800}), "\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(TextEncoding, IsValidUtf8)
{
    EXPECT_TRUE(plat::IsValidUtf8(""));
    EXPECT_TRUE(plat::IsValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
    EXPECT_FALSE(plat::IsValidUtf8("\xE0\x80\x80"));      // overlong
    EXPECT_FALSE(plat::IsValidUtf8("abc\xE2\x82"));       // cut at the end
}

} // namespace
