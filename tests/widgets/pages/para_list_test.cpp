// Tests of the paragraph list: appending, limits, lookups against a plain
// walk, marker rules, what the editors are told, and re-wrapping.
#include "widgets/pages/para_list.h"
#include "tests/widgets/pages/para_list_checker.h"
#include "tests/widgets/pages/recording_observer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qel {
namespace {

using qeltest::AppendText;
using qeltest::ListTexts;
using Texts = std::vector<std::u16string>;


TEST(ParaList, NewListHoldsOneEmptyParagraph)
{
    TPgcParaList list(nullptr, 8192, false);
    EXPECT_EQ(list.ParaCount(), 1);
    EXPECT_EQ(list.LineCount(), 1);
    EXPECT_EQ(list.CharCount(), 0);
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.GetWrapColumn(), NoWrapColumn);
    EXPECT_EQ(list.UndoBuffer().BufSize(), 8192);
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(ParaList, AppendsCollectBeforeTheEmptyLastParagraph)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"abc");
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u""}));
    EXPECT_EQ(list.CharCount(), 5);
    EXPECT_EQ(list.LineCount(), 2);
    AppendText(list, u"de  ", true);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u"de", u""}));
    EXPECT_EQ(list.CharCount(), 9);
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.UndoBuffer().Undos(), 0);
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(ParaList, AppendAfterALastParagraphWithText)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertTextPrim(nullptr, 1, 1, u"x", 1);
    AppendText(list, u"abc");
    EXPECT_EQ(ListTexts(list), (Texts{u"x", u"abc"}));
}

TEST(ParaList, AppendedTextEndsAtAZeroUnitAndFitsAParagraph)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, std::u16string_view(u"ab\0cd", 5));
    EXPECT_EQ(ListTexts(list), (Texts{u"ab", u""}));
    const std::u16string tooLong(MaxParaNodeLength + 1, u'x');
    EXPECT_EQ(list.AppendParaEof(tooLong.data(), static_cast<std::int32_t>(tooLong.size()), false),
        EditErrParaTooLong);
    EXPECT_EQ(list.ParaCount(), 2);
}

TEST(ParaList, Limits)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"a");
    AppendText(list, u"b");
    list.SetParaLimit(3);
    EXPECT_EQ(list.OkToInsert(0, 1, 3), 0) << "the empty last paragraph does not count";
    list.InsertTextPrim(nullptr, 3, 1, u"c", 1);
    EXPECT_EQ(list.OkToInsert(0, 1, 3), EditErrTooManyParas);

    TPgcParaList bytes(nullptr, 8192, false);
    bytes.SetByteLimit(10);
    EXPECT_EQ(bytes.OkToInsert(0, 1, 9 + 2), EditErrTextTooLong) << "2 units count per paragraph";
    EXPECT_EQ(bytes.OkToInsert(0, 1, 8 + 2), 0);

    TPgcParaList length(nullptr, 8192, false);
    length.SetMaxParaLen(10);
    EXPECT_EQ(length.InsertTextPrim(nullptr, 1, 1, u"0123456789x", 11), EditErrParaTooLong);
    EXPECT_EQ(length.InsertTextPrim(nullptr, 1, 1, u"0123456789", 10), 0);
    EXPECT_EQ(length.InsertParaPrim(nullptr, 1, u"0123456789x", 11), EditErrParaTooLong);
    EXPECT_EQ(ListTexts(length), (Texts{u"0123456789"}));
    EXPECT_EQ(length.ReplaceText(nullptr, 1, 1, 1, u"xy", 2), 0) << "a replacement checks no limit";
    EXPECT_EQ(ListTexts(length), (Texts{u"xy123456789"}));
    bytes.SetByteLimit(3);
    EXPECT_EQ(bytes.ReplaceText(nullptr, 1, 1, 0, u"abcd", 4), 0);
    EXPECT_EQ(bytes.CharCount(), 4);
}

TEST(ParaList, PaddingCountsAgainstTheLimits)
{
    TPgcParaList list(nullptr, 8192, false);
    list.SetMaxParaLen(10);
    EXPECT_EQ(list.InsertTextPrim(nullptr, 1, 20, u"a", 1), EditErrParaTooLong);
    EXPECT_EQ(list.InsertTextPrim(nullptr, 1, 10, u"a", 1), 0);
    EXPECT_EQ(ListTexts(list), (Texts{u"         a"}));
    EXPECT_EQ(list.CharCount(), 10);
}

TEST(ParaList, NthLineWithAndWithoutWrap)
{
    TPgcParaList list(nullptr, 8192, false);
    list.SetWrapColumn(6);
    AppendText(list, u"abcd efgh ijkl");
    AppendText(list, u"xyz");
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    EXPECT_EQ(list.NthLine(1, s, len), list.Head());
    EXPECT_EQ(len, 14);
    EXPECT_EQ(list.NthLine(2, s, len), list.Head()->Next);
    EXPECT_EQ(list.NthLine(4, s, len), nullptr);
    EXPECT_EQ(len, 0);

    list.SetWordWrap(true);
    ASSERT_EQ(list.LineCount(), 5);
    for (std::int32_t line = 1; line <= 3; ++line) {
        EXPECT_EQ(list.NthLine(line, s, len), list.Head()) << line;
    }
    EXPECT_EQ(list.NthLine(4, s, len), list.Head()->Next);
    EXPECT_TRUE(std::u16string(s, len) == u"xyz");
    std::int32_t linePos = 0;
    EXPECT_EQ(list.FindParaByLine(3, linePos), 1);
    EXPECT_EQ(linePos, 10);
    std::int32_t col = 0;
    EXPECT_EQ(list.FindLineByPara(1, 7, col), 2);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(list.FindLineByPara(99, 1, col), 5) << "the paragraph number is clamped";
    EXPECT_EQ(list.NthLine(0, s, len), nullptr);
    EXPECT_EQ(list.NthLine(6, s, len), nullptr);
}

TEST(ParaList, WrapSettings)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, std::u16string(30, u'x'));
    list.SetWrapColumn(10);
    EXPECT_EQ(list.WrapColumn(), 10);
    EXPECT_EQ(list.LineCount(), 2) << "stored without re-wrapping";
    list.SetWordWrap(true);
    EXPECT_EQ(list.LineCount(), 4);
    list.SetTabSize(0);
    list.SetWrapColumn(0);
    EXPECT_EQ(list.TabSize(), 8);
    EXPECT_EQ(list.WrapColumn(), 10);
    list.SetWrapColumn(15);
    EXPECT_EQ(list.LineCount(), 3);
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(ParaList, RewrapShowsTheBusyCursorForLargeTexts)
{
    TPgcParaList list(nullptr, 8192, false);
    std::vector<std::int32_t> cursors;
    list.SetScreenCursor = [&](std::int32_t cursor) { cursors.push_back(cursor); };
    AppendText(list, std::u16string(9990, u'x'));
    list.Recalculate();
    EXPECT_TRUE(cursors.empty()) << "10,000 units or fewer";
    AppendText(list, u"abcdefgh");
    list.Recalculate();
    EXPECT_EQ(cursors, (std::vector<std::int32_t>{TPgcParaList::BusyCursor, TPgcParaList::DefaultCursor}));
}

TEST(ParaList, ResetPositionInfoReachesEveryEditorOfTheRing)
{
    qeltest::TRecordingObserver owner;
    qeltest::TRecordingObserver second;
    qeltest::TRecordingObserver third;
    owner.Next = &second;
    second.Next = &third;
    third.Next = &owner;
    TPgcParaList list(&owner, 8192, false);
    list.SetWordWrap(true);
    for (const qeltest::TRecordingObserver* editor : {&owner, &second, &third}) {
        EXPECT_EQ(editor->Calls, std::vector<std::string>{"ResetPositionInfo()"});
    }
}

struct TNotifyCase {
    const char* name;
    std::function<void(TPgcParaList&, TPgcParaListObserver*)> edit;
    std::vector<std::string> calls;
    Texts texts;
};

// Each edit tells the editor after the markers moved; the compound edits
// that move the markers once tell it once, at their end.
TEST(ParaList, EditsTellTheEditor)
{
    const std::vector<TNotifyCase> cases = {
        {"insert", [](auto& l, auto* e) { l.InsertTextPrim(e, 1, 3, u"XY", 2); }, {"InsertedText(1, 3, 2)"},
            {u"abXYcd", u"ef", u""}},
        {"delete", [](auto& l, auto* e) { l.DeleteText(e, 1, 2, 9); }, {"DeletedText(1, 2, 3)"}, {u"a", u"ef", u""}},
        {"replace shorter", [](auto& l, auto* e) { l.ReplaceText(e, 1, 1, 3, u"Z", 1); }, {"DeletedText(1, 2, 2)"},
            {u"Zd", u"ef", u""}},
        {"replace longer", [](auto& l, auto* e) { l.ReplaceText(e, 1, 1, 1, u"XYZ", 3); },
            {"InsertedText(1, 2, 2)"}, {u"XYZbcd", u"ef", u""}},
        {"overwrite", [](auto& l, auto* e) { l.ReplaceText(e, 1, 2, 1, u"Z", 1); }, {"InsertedText(1, 2, 0)"},
            {u"aZcd", u"ef", u""}},
        {"delete nothing", [](auto& l, auto* e) { l.DeleteText(e, 1, 2, 0); }, {"DeletedText(1, 2, 0)"},
            {u"abcd", u"ef", u""}},
        {"delete past the end", [](auto& l, auto* e) { l.DeleteText(e, 2, 5, 3); }, {"DeletedText(2, 5, 0)"},
            {u"abcd", u"ef", u""}},
        {"replace nothing by nothing", [](auto& l, auto* e) { l.ReplaceText(e, 1, 2, 0, u"", 0); },
            {"InsertedText(1, 2, 0)"}, {u"abcd", u"ef", u""}},
        {"break", [](auto& l, auto* e) { std::int32_t indent = 3; l.BreakPara(e, 1, 3, 2, indent, true); },
            {"InsertedPara(1, 3, 2)"}, {u"ab", u"\t cd", u"ef", u""}},
        {"break at the start", [](auto& l, auto* e) { std::int32_t indent = 0; l.BreakPara(e, 2, 1, 8, indent, true); },
            {"InsertedPara(2, 1, 0)"}, {u"abcd", u"", u"ef", u""}},
        {"join", [](auto& l, auto* e) { l.JoinWithNext(e, 1, 5); }, {"JoinedParas(1, 5)"}, {u"abcdef", u""}},
        {"delete paragraph", [](auto& l, auto* e) { l.DeletePara(e, 2); }, {"DeletedPara(2)"}, {u"abcd", u""}},
        {"insert paragraph", [](auto& l, auto* e) { l.InsertParaPrim(e, 2, u"new", 3); }, {"InsertedPara(2, 1, 0)"},
            {u"abcd", u"new", u"ef", u""}},
        {"delete block", [](auto& l, auto* e) { l.DeleteBlock(e, 1, 3, 2, 2); },
            {"DeletedText(1, 3, 2)", "DeletedText(2, 1, 1)", "JoinedParas(1, 3)"}, {u"abf", u""}},
    };
    for (const TNotifyCase& c : cases) {
        TPgcParaList list(nullptr, 8192, false);
        AppendText(list, u"abcd");
        AppendText(list, u"ef");
        qeltest::TRecordingObserver editor;
        c.edit(list, &editor);
        EXPECT_EQ(editor.Calls, c.calls) << c.name;
        EXPECT_EQ(ListTexts(list), c.texts) << c.name;
        EXPECT_TRUE(list.Modified()) << c.name;
        EXPECT_EQ(qeltest::CheckParaList(list), "") << c.name;
    }
}

// A deletion of nothing marks the text modified and is recorded; undoing
// it restores the flag and gives nothing back, also past the text's end.
TEST(ParaList, AnEmptyDeletionIsRecordedAndUndoesToNothing)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"ef");
    list.DeleteText(nullptr, 1, 5, 3);
    EXPECT_TRUE(list.Modified());
    ASSERT_EQ(list.UndoBuffer().Undos(), 1);
    qeltest::UndoOnce(list);
    EXPECT_EQ(ListTexts(list), (Texts{u"ef", u""}));
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(ParaList, InsertBlockSplitsAtLineFeeds)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"abcd");
    std::int32_t p = 1;
    std::int32_t pos = 3;
    ASSERT_EQ(list.InsertBlock(nullptr, p, pos, u"12\r\n34  \n5"), 0);
    EXPECT_EQ(ListTexts(list), (Texts{u"ab12", u"34  ", u"5cd", u""}));
    EXPECT_EQ(p, 3);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(list.FLine(), 1);
    EXPECT_EQ(list.LLine(), TPgcParaList::NoLimit);
    qeltest::UndoOnce(list);
    EXPECT_EQ(ListTexts(list), (Texts{u"abcd", u""})) << "one undo per block";

    p = 1;
    pos = 1;
    ASSERT_EQ(list.InsertBlock(nullptr, p, pos, u"x\ny\n"), 0);
    EXPECT_EQ(ListTexts(list), (Texts{u"x", u"y", u"abcd", u""}));
    EXPECT_EQ(p, 3);
    EXPECT_EQ(pos, 1);
}

TEST(ParaList, ChangedLinesOfAnEdit)
{
    TPgcParaList list(nullptr, 8192, true);
    list.SetWrapColumn(6);
    AppendText(list, u"abcd efgh ijkl");
    AppendText(list, u"mnop qrst uvwx");
    list.InsertTextPrim(nullptr, 2, 7, u"Z", 1);   // in line 5, the second of paragraph 2
    EXPECT_EQ(list.FLine(), 5);
    EXPECT_EQ(list.LLine(), 5);
    list.InsertTextPrim(nullptr, 2, 1, u"long ", 5);   // a new line: through the last line
    EXPECT_EQ(list.FLine(), 4);
    EXPECT_EQ(list.LLine(), TPgcParaList::NoLimit);
}

// ---- markers ----

struct TMarkerCase {
    const char* name;
    std::function<void(TMarker&)> fix;
    TMarker before;
    TMarker after;
};

TEST(ParaList, MarkerRules)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"a");
    const std::vector<TMarkerCase> cases = {
        {"text inserted before", [](TMarker& m) { TPgcParaList::FixMarkerInsertedText(m, 2, 3, 4); }, {2, 5}, {2, 9}},
        {"text inserted at", [](TMarker& m) { TPgcParaList::FixMarkerInsertedText(m, 2, 5, 4); }, {2, 5}, {2, 9}},
        {"text inserted after", [](TMarker& m) { TPgcParaList::FixMarkerInsertedText(m, 2, 6, 4); }, {2, 5}, {2, 5}},
        {"text inserted elsewhere", [](TMarker& m) { TPgcParaList::FixMarkerInsertedText(m, 1, 1, 4); }, {2, 5},
            {2, 5}},
        {"deleted span holds it", [](TMarker& m) { TPgcParaList::FixMarkerDeletedText(m, 2, 3, 3); }, {2, 5}, {0, 0}},
        {"deleted span before it", [](TMarker& m) { TPgcParaList::FixMarkerDeletedText(m, 2, 2, 3); }, {2, 5}, {2, 2}},
        {"deleted span after it", [](TMarker& m) { TPgcParaList::FixMarkerDeletedText(m, 2, 6, 3); }, {2, 5}, {2, 5}},
        {"break in an earlier paragraph", [](TMarker& m) { TPgcParaList::FixMarkerInsertedPara(m, 1, 3, 0); },
            {2, 5}, {3, 5}},
        {"break before it", [](TMarker& m) { TPgcParaList::FixMarkerInsertedPara(m, 2, 3, 2); }, {2, 5}, {3, 5}},
        {"break after it", [](TMarker& m) { TPgcParaList::FixMarkerInsertedPara(m, 2, 6, 2); }, {2, 5}, {2, 5}},
        {"its paragraph deleted", [](TMarker& m) { TPgcParaList::FixMarkerDeletedPara(m, 2); }, {2, 5}, {0, 0}},
        {"an earlier paragraph deleted", [](TMarker& m) { TPgcParaList::FixMarkerDeletedPara(m, 1); }, {2, 5},
            {1, 5}},
        {"joined to the one before", [](TMarker& m) { TPgcParaList::FixMarkerJoinedParas(m, 1, 4); }, {2, 5}, {1, 8}},
        {"a later join", [](TMarker& m) { TPgcParaList::FixMarkerJoinedParas(m, 2, 4); }, {2, 5}, {2, 5}},
        {"an earlier join", [](TMarker& m) { TPgcParaList::FixMarkerJoinedParas(m, 1, 4); }, {3, 5}, {2, 5}},
        {"unset stays unset", [](TMarker& m) { TPgcParaList::FixMarkerInsertedPara(m, 1, 1, 0); }, {0, 0}, {0, 0}},
        {"editor position in a deleted span", [](TMarker& m) { TPgcParaList::FixMarkDeletedText(m, 2, 3, 3); },
            {2, 5}, {2, 3}},
        {"editor position after a deleted span", [](TMarker& m) { TPgcParaList::FixMarkDeletedText(m, 2, 2, 3); },
            {2, 5}, {2, 2}},
        {"editor position in a deleted paragraph", [&](TMarker& m) { list.FixMarkDeletedPara(m, 2); }, {2, 5},
            {2, 1}},
        {"editor position in a deleted last paragraph", [&](TMarker& m) { list.FixMarkDeletedPara(m, 3); }, {3, 5},
            {2, 1}},
    };
    for (const TMarkerCase& c : cases) {
        TMarker marker = c.before;
        c.fix(marker);
        EXPECT_EQ(marker, c.after) << c.name;
    }
}

TEST(ParaList, EditsMoveTheMarkers)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"abcdef");
    AppendText(list, u"ghij");
    list.SetMarker(0, 1, 5);
    list.SetMarker(1, 2, 3);
    list.SetMarker(10, 2, 3);
    std::int32_t indent = 0;
    list.BreakPara(nullptr, 1, 3, 8, indent, false);   // "ab" | "cdef"
    EXPECT_EQ(list.Markers()[0], (TMarker{2, 3}));
    EXPECT_EQ(list.Markers()[1], (TMarker{3, 3}));
    list.JoinWithNext(nullptr, 2, 5);   // "cdefghij"
    EXPECT_EQ(list.Markers()[1], (TMarker{2, 7}));
    list.DeleteText(nullptr, 2, 6, 2);
    EXPECT_EQ(list.Markers()[1], (TMarker{0, 0}));
    list.SetWordWrap(true);
    list.SetWrapColumn(3);
    list.SetMarkerAt(2, 3, 2);   // line 3 is "fij", from offset 3 of paragraph 2
    EXPECT_EQ(list.Markers()[2], (TMarker{2, 5}));
}

// ---- lookups against a plain walk after random edits ----

TEST(ParaList, LookupsAgreeWithAPlainWalkAfterRandomEdits)
{
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> script(3000);
        for (auto& byte : script) {
            byte = static_cast<std::uint8_t>(rng());
        }
        TPgcParaList list(nullptr, 4096, seed % 3 != 0);
        list.SetWalkIndexStride(1 + static_cast<std::int32_t>(seed % 4));   // far lookups start at the index
        list.SetWrapColumn(3 + static_cast<std::int32_t>(rng() % 20));
        list.SetTabSize(static_cast<std::uint8_t>(1 + rng() % 8));
        for (std::uint32_t i = 0; i < 4; ++i) {
            AppendText(list, u"some words\tand a tab-stop or two");
        }
        qeltest::TScriptReader in({script.data(), script.size()});
        for (std::int32_t step = 0; !in.AtEnd(); ++step) {
            qeltest::RunScriptOp(list, in, nullptr);
            ASSERT_EQ(qeltest::CheckParaList(list), "") << "seed " << seed << " step " << step;
            ASSERT_EQ(qeltest::CheckLookups(list, seed + static_cast<std::uint32_t>(step)), "")
                << "seed " << seed << " step " << step;
        }
    }
}

// A long text, where far lookups start at the walk index: after every kind
// of change (lines added to a paragraph, paragraphs inserted, deleted and
// appended, a re-wrap) random lookups still find what a plain walk finds.
TEST(ParaList, FarLookupsInALongTextAgreeWithAPlainWalk)
{
    std::mt19937 rng(5);
    TPgcParaList list(nullptr, 8192, true);
    list.SetWrapColumn(10);
    const auto text = [&rng] { return std::u16string(rng() % 40, u'w') + u" end"; };
    for (std::int32_t p = 0; p < 3000; ++p) {
        AppendText(list, text());
    }
    for (std::int32_t round = 0; round < 12; ++round) {
        std::vector<const TParaNode*> byPara;
        std::vector<const TParaNode*> byLine;
        for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
            byPara.push_back(node);
            byLine.insert(byLine.end(), static_cast<std::size_t>(node->LineCount()), node);
        }
        for (std::int32_t i = 0; i < 300; ++i) {
            const auto n = static_cast<std::int32_t>(1 + rng() % byLine.size());
            const auto p = static_cast<std::int32_t>(1 + rng() % byPara.size());
            const char16_t* s = nullptr;
            std::uint16_t len = 0;
            ASSERT_EQ(list.NthLine(n, s, len), byLine[n - 1]) << "round " << round << " line " << n;
            ASSERT_EQ(list.NthPara(p), byPara[p - 1]) << "round " << round << " paragraph " << p;
        }
        const auto p = static_cast<std::int32_t>(1 + rng() % (byPara.size() - 1));
        switch (round % 6) {
        case 0:
            list.InsertTextPrim(nullptr, p, 1, u"more words for more lines ", 26);
            break;
        case 1:
            list.InsertParaPrim(nullptr, p, u"a new paragraph of two lines", 28);
            break;
        case 2:
            list.DeletePara(nullptr, p);
            break;
        case 3:
            AppendText(list, text());
            break;
        case 4:
            list.SetWrapColumn(7 + round);
            break;
        default:
            list.DeleteText(nullptr, p, 1, 30);
            break;
        }
        ASSERT_EQ(qeltest::CheckParaList(list), "") << "round " << round;
    }
}

} // namespace
} // namespace qel
