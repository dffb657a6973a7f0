// Tests of the editor's text routines: wrap points, tab columns, line lookup
// and in-place edits, under both of their names.
#include "widgets/pages/edit_text_routines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

struct TRoutineCase {
    const char* name;
    std::function<std::int32_t()> routine;   // under its first name
    std::function<std::int32_t()> alias;     // under its second name
    std::int32_t expected;
};

// Offset of the pointer FindWrapPoint answers.
std::int32_t WrapOffset(const char16_t* text, std::int32_t p)
{
    return static_cast<std::int32_t>(FindWrapPoint(text, p) - text);
}

std::int32_t BreakOffset(const char16_t* text, std::int32_t p)
{
    return static_cast<std::int32_t>(FindBreakPoint(text, p) - text);
}

TEST(EditTextRoutines, AnswersOfTheLookupRoutines)
{
    static const std::uint16_t starts[] = {0, 10, 20};
    const std::vector<TRoutineCase> cases = {
        {"LastBlankBreak one two three 9", [] { return LastBlankBreak(u"one two three", 9); },
            [] { return FindBreakPosition(u"one two three", 9); }, 8},
        {"LastBlankBreak onetwothree 9", [] { return LastBlankBreak(u"onetwothree", 9); },
            [] { return FindBreakPosition(u"onetwothree", 9); }, 9},
        {"FindWrapPoint one-two three 9", [] { return WrapOffset(u"one-two three", 9); },
            [] { return BreakOffset(u"one-two three", 9); }, 8},
        {"FindWrapPoint onetwothree 5", [] { return WrapOffset(u"onetwothree", 5); },
            [] { return BreakOffset(u"onetwothree", 5); }, 5},
        {"FindWrapPoint hyphen inside the limit", [] { return WrapOffset(u"ab-cdefg", 5); },
            [] { return BreakOffset(u"ab-cdefg", 5); }, 3},
        {"FindWrapPoint hyphen just past the limit ends the line", [] { return WrapOffset(u"abcde-fg", 5); },
            [] { return BreakOffset(u"abcde-fg", 5); }, 6},
        {"FindWrapPoint hyphen just past the limit, then blanks", [] { return WrapOffset(u"abcde- fg", 5); },
            [] { return BreakOffset(u"abcde- fg", 5); }, 7},
        {"FindWrapPoint blanks past the limit are skipped", [] { return WrapOffset(u"abcde  fg", 5); },
            [] { return BreakOffset(u"abcde  fg", 5); }, 7},
        {"FindWrapPoint index 0 is never a break", [] { return WrapOffset(u" abcdef", 4); },
            [] { return BreakOffset(u" abcdef", 4); }, 4},
        {"FindWrapPoint at the terminator", [] { return WrapOffset(u"abc", 3); },
            [] { return BreakOffset(u"abc", 3); }, 3},
        {"TabbedWidth 1", [] { return TabbedWidth(u"\ta\t", 1, 8); }, [] { return TabbedWidth(u"\ta\t", 1, 8); }, 8},
        {"TabbedWidth 2", [] { return TabbedWidth(u"\ta\t", 2, 8); }, [] { return TabbedWidth(u"\ta\t", 2, 8); }, 9},
        {"TabbedWidth 3", [] { return TabbedWidth(u"\ta\t", 3, 8); }, [] { return TabbedWidth(u"\ta\t", 3, 8); }, 16},
        {"TabbedWidth stops at the terminator", [] { return TabbedWidth(u"ab", 9, 8); },
            [] { return TabbedWidth(u"ab", 9, 8); }, 2},
        {"PosOfColumn abc 3", [] { return PosOfColumn(u"abc", 3, 8); }, [] { return CharsInWidth(u"abc", 3, 8); }, 3},
        {"PosOfColumn tab x 5", [] { return PosOfColumn(u"\tx", 5, 8); }, [] { return CharsInWidth(u"\tx", 5, 8); }, 1},
        {"PosOfColumn tab x 9", [] { return PosOfColumn(u"\tx", 9, 8); }, [] { return CharsInWidth(u"\tx", 9, 8); }, 2},
        {"PosOfColumn past the end", [] { return PosOfColumn(u"ab", 9, 8); }, [] { return CharsInWidth(u"ab", 9, 8); },
            3},
        {"LineOfPos 15", [] { return LineOfPos(starts, 3, 15); }, [] { return FindLineOfPos(starts, 3, 15); }, 2},
        {"LineOfPos 10", [] { return LineOfPos(starts, 3, 10); }, [] { return FindLineOfPos(starts, 3, 10); }, 1},
        {"LineOfPos 11", [] { return LineOfPos(starts, 3, 11); }, [] { return FindLineOfPos(starts, 3, 11); }, 2},
        {"LineOfPos 21", [] { return LineOfPos(starts, 3, 21); }, [] { return FindLineOfPos(starts, 3, 21); }, 3},
        {"LineOfPos 0 is the last line", [] { return LineOfPos(starts, 3, 0); },
            [] { return FindLineOfPos(starts, 3, 0); }, 3},
        {"HasTab length 0", [] { return HasTab(u"abc", 0); }, [] { return HasTabs(u"abc", 0); }, 1},
        {"HasTab abc", [] { return HasTab(u"abc", 3); }, [] { return HasTabs(u"abc", 3); }, 0},
        {"HasTab a tab", [] { return HasTab(u"a\t", 2); }, [] { return HasTabs(u"a\t", 2); }, 1},
        {"FirstLineLength ab LF cd", [] { return FirstLineLength(u"ab\ncd", 5); },
            [] { return LengthToLineFeed(u"ab\ncd", 5); }, 3},
        {"FirstLineLength abcd", [] { return FirstLineLength(u"abcd", 4); },
            [] { return LengthToLineFeed(u"abcd", 4); }, 4},
        {"IsBlankChar space", [] { return IsBlankChar(u' '); }, [] { return IsWhiteSpace(u' '); }, 1},
        {"IsBlankChar tab", [] { return IsBlankChar(u'\t'); }, [] { return IsWhiteSpace(u'\t'); }, 1},
        {"IsBlankChar line feed", [] { return IsBlankChar(u'\n'); }, [] { return IsWhiteSpace(u'\n'); }, 0},
    };
    for (const TRoutineCase& c : cases) {
        EXPECT_EQ(c.routine(), c.expected) << c.name;
        EXPECT_EQ(c.alias(), c.expected) << c.name << " (second name)";
    }
}

// A buffer with room to spare, filled with a marker beyond the text so that a
// write past the expected end shows.
std::u16string Buffer(std::u16string text, std::size_t room)
{
    text.push_back(0);
    text.resize(room, u'#');
    return text;
}

std::u16string TextOf(const std::u16string& buffer)
{
    return std::u16string(buffer.c_str());
}

struct TEditCase {
    const char* name;
    std::u16string text;
    std::function<void(char16_t*)> routine;
    std::function<void(char16_t*)> alias;
    std::u16string expected;
};

TEST(EditTextRoutines, InPlaceEdits)
{
    const std::vector<TEditCase> cases = {
        {"DeleteCharsAt 2 at 1", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, 2, 1); },
            [](char16_t* s) { DeleteChars(s, 6, 2, 1); }, u"adef"},
        {"DeleteCharsAt at the end", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, 2, 6); },
            [](char16_t* s) { DeleteChars(s, 6, 2, 6); }, u"abcdef"},
        {"DeleteCharsAt a count past the end moves nothing", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, 10, 2); },
            [](char16_t* s) { DeleteChars(s, 6, 10, 2); }, u"abcdef"},
        {"DeleteCharsAt one past the end moves nothing", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, 5, 2); },
            [](char16_t* s) { DeleteChars(s, 6, 5, 2); }, u"abcdef"},
        {"DeleteCharsAt to the end exactly", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, 4, 2); },
            [](char16_t* s) { DeleteChars(s, 6, 4, 2); }, u"ab"},
        {"DeleteCharsAt a negative count", u"abcdef", [](char16_t* s) { DeleteCharsAt(s, 6, -3, 2); },
            [](char16_t* s) { DeleteChars(s, 6, -3, 2); }, u"abcdef"},
        {"InsertCharsAt XY at 1", u"abc", [](char16_t* s) { InsertCharsAt(s, u"XY", 3, 2, 1); },
            [](char16_t* s) { InsertChars(s, u"XY", 3, 2, 1); }, u"aXYbc"},
        {"InsertCharsAt at the end", u"abc", [](char16_t* s) { InsertCharsAt(s, u"XY", 3, 2, 3); },
            [](char16_t* s) { InsertChars(s, u"XY", 3, 2, 3); }, u"abcXY"},
        {"InsertCharsAt past the end", u"abc", [](char16_t* s) { InsertCharsAt(s, u"XY", 3, 2, 4); },
            [](char16_t* s) { InsertChars(s, u"XY", 3, 2, 4); }, u"abc"},
        {"PadToLength ab 5", u"ab", [](char16_t* s) { PadToLength(s, 5); }, [](char16_t* s) { PadWithSpaces(s, 5); },
            u"ab   "},
        {"PadToLength a longer text", u"abcdef", [](char16_t* s) { PadToLength(s, 5); },
            [](char16_t* s) { PadWithSpaces(s, 5); }, u"abcdef"},
    };
    for (const TEditCase& c : cases) {
        std::u16string first = Buffer(c.text, 12);
        c.routine(first.data());
        EXPECT_TRUE(TextOf(first) == c.expected) << c.name;
        std::u16string second = Buffer(c.text, 12);
        c.alias(second.data());
        EXPECT_TRUE(second == first) << c.name << " (second name)";
        EXPECT_EQ(first.back(), u'#') << c.name << " wrote past its room";
    }
}

} // namespace
} // namespace qel
