// Tests of one paragraph: its wrap rule, edits and trimming, and the
// incremental re-wrap checked against fresh full re-wraps over random edits.
#include "widgets/pages/para_node.h"
#include "widgets/pages/pgc_exceptions.h"
#include "tests/widgets/pages/para_list_checker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qel {
namespace {

using Starts = std::vector<std::uint16_t>;
using qeltest::LineStarts;
using qeltest::NodeText;

struct TWrapCase {
    const char* name;
    std::u16string text;
    std::int32_t wrapColumn;
    std::uint8_t tabSize;
    Starts starts;
};

TEST(ParaNode, WrapRule)
{
    const std::vector<TWrapCase> cases = {
        {"200 letters at 80", std::u16string(200, u'x'), 80, 8, {0, 80, 160}},
        {"three words at 6 end with their blank", u"abcd efgh ijkl", 6, 8, {0, 5, 10}},
        {"a hyphen ends the first line", u"abc-def", 5, 8, {0, 4}},
        {"a hyphen at the line start is never used", u"-abcdefgh", 4, 8, {0, 4, 8}},
        {"a hyphen just past the limit ends the line after it", u"abcde-fg", 5, 8, {0, 6}},
        {"blanks past the limit hang at the line end", u"abcde    fg", 5, 8, {0, 9}},
        {"trailing blanks make no line", u"abcde     ", 5, 8, {0}},
        {"a text that fits", u"abc def", 7, 8, {0}},
        {"a leading tab wider than the column", u"\tabc", 4, 8, {0, 1}},
        {"tabs count in display columns", u"a\tb c", 10, 8, {0, 4}},
        {"wrap column 32767 does not wrap", std::u16string(300, u'x'), NoWrapColumn, 8, {0}},
        {"wrap column 0 does not wrap", std::u16string(300, u'x'), 0, 8, {0}},
    };
    for (const TWrapCase& c : cases) {
        const TParaNode node(c.text.data(), static_cast<std::uint16_t>(c.text.size()), c.wrapColumn, c.tabSize);
        EXPECT_EQ(LineStarts(node), c.starts) << c.name;
        EXPECT_EQ(node.LineCount(), static_cast<std::int32_t>(c.starts.size())) << c.name;
    }
}

TEST(ParaNode, EmptyParagraphHasNoBuffer)
{
    const TParaNode node(u"", 80, 8);
    EXPECT_EQ(node.BufSize(), 0);
    EXPECT_TRUE(std::u16string(node.GetS()).empty());
    EXPECT_EQ(node.LineCount(), 1);
    std::uint16_t length = 9;
    node.NthLine(1, length);
    EXPECT_EQ(length, 0);
    node.NthLine(2, length);
    EXPECT_EQ(length, 0);
}

TEST(ParaNode, LinesOfThreeWords)
{
    const TParaNode node(u"abcd efgh ijkl", 6, 8);
    const std::vector<std::u16string> expected = {u"abcd ", u"efgh ", u"ijkl"};
    for (std::int32_t line = 1; line <= 3; ++line) {
        std::uint16_t length = 0;
        const char16_t* start = node.NthLine(line, length);
        EXPECT_TRUE(std::u16string(start, length) == expected[line - 1]) << line;
    }
}

TEST(ParaNode, InsertPastTheEndPadsWithSpaces)
{
    TParaNode node(u"ab", 80, 8);
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    ASSERT_EQ(node.InsertTextPrim(u"XY", 2, node.SLen() + 4, 80, 8, fl, ll), 0);
    EXPECT_TRUE(NodeText(node) == u"ab   XY");
}

TEST(ParaNode, DeletingEverythingLeavesOneEmptyLine)
{
    TParaNode node(u"abcd efgh ijkl", 6, 8);
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    node.DeleteText(1, 14, 6, 8, fl, ll);
    EXPECT_EQ(node.SLen(), 0);
    EXPECT_EQ(node.GetS()[0], 0);
    EXPECT_EQ(node.LineCount(), 1);
}

TEST(ParaNode, UnwrappedEditsReportTheLineOfTheChange)
{
    TParaNode node(std::u16string(200, u'x').c_str(), NoWrapColumn, 8);
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    ASSERT_EQ(node.InsertText(u"a b c", 150, NoWrapColumn, 8, fl, ll), 0);
    EXPECT_EQ(fl, 1);
    EXPECT_EQ(ll, 1);
    node.DeleteText(10, 30, NoWrapColumn, 8, fl, ll);
    EXPECT_EQ(node.LineCount(), 1);
    EXPECT_EQ(fl, 1);
    EXPECT_EQ(ll, 1);
}

TEST(ParaNode, TrimRemovesTrailingBlanksOnly)
{
    TParaNode node(u"abc \t ", 80, 8);
    EXPECT_EQ(node.TrimWhiteSpace(), 3);
    EXPECT_EQ(node.SLen(), 3);
    EXPECT_TRUE(NodeText(node) == u"abc");
    EXPECT_EQ(node.CountWhiteSpace(4), 0);
    TParaNode blanks(u"ab  cd", 80, 8);
    EXPECT_EQ(blanks.CountWhiteSpace(5), 2);
    EXPECT_EQ(blanks.CountWhiteSpace(99), 0);
}

TEST(ParaNode, IncrementalRewrapAfterInsertIntoAShortLine)
{
    // The old map held two lines; the insertion makes three, the last of
    // which must start right after the inserted blank.
    TParaNode node(u"babb", 3, 8);
    ASSERT_EQ(LineStarts(node), (Starts{0, 3}));
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    ASSERT_EQ(node.InsertText(u" b ", 3, 3, 8, fl, ll), 0);
    EXPECT_TRUE(NodeText(node) == u"ba b bb");
    EXPECT_EQ(LineStarts(node), (Starts{0, 3, 5}));
    EXPECT_EQ(fl, 1);
    EXPECT_EQ(ll, 3);
}

TEST(ParaNode, EditsBeyondItsCapacityAreRefused)
{
    const std::u16string full(MaxParaNodeLength, u'x');
    TParaNode node(full.data(), MaxParaNodeLength, 80, 8);
    std::int32_t fl = -1;
    std::int32_t ll = -1;
    EXPECT_EQ(node.InsertTextPrim(u"y", 1, 5, 80, 8, fl, ll), EditErrOutOfMemory);
    EXPECT_EQ(node.ReplaceText(5, 1, 80, 8, u"yz", 2, fl, ll), EditErrOutOfMemory);
    TParaNode small(u"ab", 80, 8);
    EXPECT_EQ(small.InsertTextPrim(u"y", 1, 65530, 80, 8, fl, ll), EditErrOutOfMemory);
    EXPECT_EQ(node.SLen(), MaxParaNodeLength);
    EXPECT_EQ(small.SLen(), 2);
    EXPECT_EQ(fl, -1);
    EXPECT_EQ(ll, -1);
}

// A paragraph whose buffer cannot be had is not made: the platform's
// out-of-memory error with the library's text.
TEST(ParaNode, AParagraphThatCannotBeMadeRaisesOutOfMemory)
{
    const std::u16string tooLong(MaxParaNodeLength + 1, u'x');
    const auto expectRefused = [](auto make, const char* what) {
        try {
            make();
            ADD_FAILURE() << what << ": made";
        } catch (const EOutOfMemory& error) {
            EXPECT_STREQ(error.what(), "insufficient memory for requested operation") << what;
        }
    };
    expectRefused([&] { TParaNode node(tooLong.data(), static_cast<std::uint16_t>(tooLong.size()), 80, 8); },
        "by length");
    expectRefused([&] { TParaNode node(tooLong.c_str(), 80, 8); }, "zero-terminated");
}

// ---- the differential oracle ----

// Text of line `line` of a wrapped text with the given starts.
std::u16string LineText(const std::u16string& text, const Starts& starts, std::size_t line)
{
    const std::size_t end = line + 1 < starts.size() ? starts[line + 1] : text.size();
    return text.substr(starts[line], end - starts[line]);
}

// Every line whose start or text changed must lie within FL..LL; lines past
// the new line count are the list's concern (it repaints to the end then). A
// start moved along by the change's length (text after the change) counts as
// unchanged: the line shows the same text on the same row.
void ExpectChangeCovered(const std::u16string& oldText, const Starts& oldStarts, const TParaNode& node,
    std::int32_t fl, std::int32_t ll, const std::string& where)
{
    const std::u16string newText = NodeText(node);
    const Starts newStarts = LineStarts(node);
    const auto shift = static_cast<std::int32_t>(newText.size()) - static_cast<std::int32_t>(oldText.size());
    ASSERT_LE(1, fl) << where;
    ASSERT_LE(fl, ll) << where;
    ASSERT_LE(ll, node.LineCount()) << where;
    for (std::size_t line = 0; line < newStarts.size(); ++line) {
        const bool changed = line >= oldStarts.size()
            || (newStarts[line] != oldStarts[line] && newStarts[line] != oldStarts[line] + shift)
            || LineText(oldText, oldStarts, line) != LineText(newText, newStarts, line);
        if (changed) {
            const auto number = static_cast<std::int32_t>(line + 1);
            ASSERT_TRUE(number >= fl && number <= ll)
                << where << ": line " << number << " changed outside " << fl << ".." << ll;
        }
    }
}

void ExpectPosToLineMatchesMap(const TParaNode& node, const std::string& where)
{
    const Starts starts = LineStarts(node);
    for (std::int32_t pos = 1; pos <= node.SLen() + 1; ++pos) {
        std::int32_t expectedLine = 1;
        while (expectedLine < node.LineCount() && starts[expectedLine] <= pos - 1) {
            ++expectedLine;
        }
        std::int32_t col = 0;
        ASSERT_EQ(node.PosToLine(pos, col), expectedLine) << where << " position " << pos;
        ASSERT_EQ(col, pos - starts[expectedLine - 1]) << where << " position " << pos;
    }
}

std::u16string RandomText(std::mt19937& rng, bool tabs, std::int32_t maxLength)
{
    static constexpr char16_t letters[] = u"abcdefgh  -";
    std::u16string text(std::uniform_int_distribution<std::int32_t>(0, maxLength)(rng), u'a');
    for (char16_t& ch : text) {
        const std::uint32_t pick = rng() % (tabs ? 13 : 11);
        ch = pick < 11 ? letters[pick] : u'\t';
    }
    return text;
}

TEST(ParaNode, IncrementalRewrapEqualsAFreshRewrap)
{
    std::int32_t edits = 0;
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        std::mt19937 rng(seed);
        const bool tabs = seed % 2 == 0;
        const auto tabSize = static_cast<std::uint8_t>(1 + rng() % 8);
        const std::int32_t wrapColumn = seed <= 4 ? 3 + static_cast<std::int32_t>(seed) : 3 + rng() % 78;
        const std::u16string start = RandomText(rng, tabs, 120);
        TParaNode node(start.data(), static_cast<std::uint16_t>(start.size()), wrapColumn, tabSize);
        for (std::int32_t step = 0; step < 250; ++step, ++edits) {
            const std::u16string oldText = NodeText(node);
            const Starts oldStarts = LineStarts(node);
            const std::int32_t length = node.SLen();
            const std::int32_t pos = 1 + static_cast<std::int32_t>(rng() % (length + 1));
            const std::u16string piece = RandomText(rng, tabs, length > 300 ? 3 : 12);
            const auto pieceLength = static_cast<std::uint16_t>(piece.size());
            const std::int32_t count = static_cast<std::int32_t>(rng() % 14);
            std::int32_t fl = 0;
            std::int32_t ll = 0;
            std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            switch (rng() % 3) {
            case 0:
                where += " insert";
                ASSERT_EQ(node.InsertTextPrim(piece.data(), pieceLength, pos, wrapColumn, tabSize, fl, ll), 0);
                if (pieceLength == 0) {
                    continue;
                }
                break;
            case 1:
                where += " delete";
                if (pos > length || count == 0) {
                    continue;
                }
                node.DeleteText(pos, count, wrapColumn, tabSize, fl, ll);
                break;
            default:
                where += " replace";
                if (pieceLength == 0 && (count == 0 || pos > length)) {
                    continue;
                }
                ASSERT_EQ(node.ReplaceText(pos, count, wrapColumn, tabSize, piece.data(), pieceLength, fl, ll), 0);
                break;
            }
            ASSERT_EQ(qeltest::CheckParaNode(node, wrapColumn, tabSize), "") << where;
            ExpectChangeCovered(oldText, oldStarts, node, fl, ll, where);
            ExpectPosToLineMatchesMap(node, where);
        }
    }
    EXPECT_GE(edits, 5000);
}

} // namespace
} // namespace qel
