// Tests of the editor's search and replace: the options one by one on small
// texts, the selection a search leaves, replacement counts, and the answers
// for empty search texts and a missing replacement.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/para_node.h"

namespace qel::test {
namespace {

using Options = TSearchOptionSet;

struct TSearchCase {
    const char* Name;
    std::string Text;
    std::pair<int, int> Caret;
    std::array<int, 4> Selected;       // a selection made first (all 0: none)
    std::u16string Find;
    const char16_t* ReplaceBy;         // nullptr: a search
    Options With;
    int Result;                        // Replace's answer; for a search 0 found, -1 not
    std::string After;                 // the text afterwards
    std::array<int, 4> Selection;      // the selection afterwards (all 0: none)
    std::pair<int, int> CaretAfter;
};

class TEditorSearchTest : public TEditorTest {};

TEST_F(TEditorSearchTest, OptionsOneByOne)
{
    const std::vector<TSearchCase> cases = {
        {"replace all, global", "a a a", {1, 1}, {}, u"a", u"bb", {soReplaceAll, soGlobal}, 3, "bb bb bb", {},
            {1, 1}},
        {"replace all within the selection", "a a a", {1, 1}, {1, 1, 1, 4}, u"a", u"bb", {soReplaceAll, soSelText},
            2, "bb bb a", {1, 1, 1, 6}, {1, 6}},
        {"replace all shorter, within the selection", "aa aa aa", {1, 1}, {1, 1, 1, 6}, u"aa", u"b",
            {soReplaceAll, soSelText}, 2, "b b aa", {1, 1, 1, 4}, {1, 4}},
        {"whole word skips an underscore", "foo_bar foo-bar", {1, 1}, {}, u"foo", nullptr,
            {soWholeWord, soGlobal}, 0, "foo_bar foo-bar", {1, 9, 1, 12}, {1, 12}},
        {"whole word at neither", "xfoo foox", {1, 1}, {}, u"foo", nullptr, {soWholeWord, soGlobal}, -1,
            "xfoo foox", {}, {1, 1}},
        {"forward from the caret", "ab ab ab", {1, 2}, {}, u"ab", nullptr, {}, 0, "ab ab ab", {1, 4, 1, 6},
            {1, 6}},
        {"backward finds the last match ending before the caret", "ab ab ab", {1, 6}, {}, u"ab", nullptr,
            {soBackward}, 0, "ab ab ab", {1, 4, 1, 6}, {1, 4}},
        {"backward global from the end", "ab ab\r\nab x", {1, 1}, {}, u"ab", nullptr, {soBackward, soGlobal}, 0,
            "ab ab\r\nab x", {2, 1, 2, 3}, {2, 1}},
        {"backward across paragraphs", "ab ab\r\nxx", {2, 2}, {}, u"ab", nullptr, {soBackward}, 0,
            "ab ab\r\nxx", {1, 4, 1, 6}, {1, 4}},
        {"never across paragraphs", "ab\r\ncd", {1, 1}, {}, u"bc", nullptr, {soGlobal}, -1, "ab\r\ncd", {}, {1, 1}},
        {"case folded", "xx ABC abc", {1, 1}, {}, u"abc", nullptr, {soGlobal}, 0, "xx ABC abc", {1, 4, 1, 7},
            {1, 7}},
        {"case matched", "xx ABC abc", {1, 1}, {}, u"abc", nullptr, {soGlobal, soMatchCase}, 0, "xx ABC abc",
            {1, 8, 1, 11}, {1, 11}},
        {"case folded beyond ASCII", "x \xC3\xA4\xC3\xB6Z", {1, 1}, {}, u"\u00C4\u00D6z", nullptr, {soGlobal}, 0,
            "x \xC3\xA4\xC3\xB6Z", {1, 3, 1, 6}, {1, 6}},
        {"replace the selected match, select the next", "ab ab ab", {1, 1}, {1, 1, 1, 3}, u"ab", u"X",
            {soReplace}, 1, "X ab ab", {1, 3, 1, 5}, {1, 5}},
        {"replace with nothing selected only selects", "ab ab", {1, 1}, {}, u"ab", u"X", {soReplace}, 0,
            "ab ab", {1, 1, 1, 3}, {1, 3}},
        {"replace all backward", "ab ab ab", {1, 1}, {}, u"ab", u"abab", {soReplaceAll, soBackward, soGlobal}, 3,
            "abab abab abab", {}, {1, 1}},
        {"replace all across paragraphs", "a-a\r\nb\r\naaa", {1, 1}, {}, u"a", u"", {soReplaceAll, soGlobal}, 5,
            "-\r\nb\r\n", {}, {1, 1}},
        {"empty search text", "abc", {1, 2}, {}, u"", nullptr, {soGlobal}, 0, "abc", {}, {1, 2}},
        {"replace with an empty search text", "abc", {1, 2}, {}, u"", u"x", {soReplaceAll, soGlobal}, 0, "abc",
            {}, {1, 2}},
        {"nothing found", "abc", {1, 1}, {}, u"zz", nullptr, {soGlobal}, -1, "abc", {}, {1, 1}},
    };
    for (const TSearchCase& one : cases) {
        SCOPED_TRACE(one.Name);
        Editor->SetText(one.Text);
        Editor->SetCaretPosition(one.Caret.first, one.Caret.second);
        if (one.Selected[0] != 0) {
            Editor->SetSelection(one.Selected[0], one.Selected[1], one.Selected[2], one.Selected[3], true);
        }
        if (one.ReplaceBy == nullptr) {
            EXPECT_EQ(Editor->Search(one.Find, one.With), one.Result == 0);
        } else {
            EXPECT_EQ(Editor->Replace(one.Find, one.ReplaceBy, one.With), one.Result);
        }
        EXPECT_EQ(Editor->Text(), one.After);
        EXPECT_EQ(Selection(), one.Selection);
        EXPECT_EQ(Caret(), one.CaretAfter);
    }
}

TEST_F(TEditorSearchTest, NullReplacementAnswersZero)
{
    Editor->SetText("a a");
    EXPECT_EQ(Editor->Replace(u"a", nullptr, {soReplaceAll, soGlobal}), 0);
    EXPECT_EQ(Editor->Text(), "a a");
}

TEST_F(TEditorSearchTest, RepeatedSearchWalksTheMatches)
{
    Editor->SetText("cat\r\nconcat cat\r\ncatalog");
    std::vector<std::array<int, 4>> found;
    Editor->SetCaretPosition(1, 1);
    while (Editor->Search(u"cat", {}) && found.size() < 10) {
        found.push_back(Selection());
    }
    EXPECT_EQ(found, (std::vector<std::array<int, 4>>{{1, 1, 1, 4}, {2, 4, 2, 7}, {2, 8, 2, 11}, {3, 1, 3, 4}}));
    std::vector<std::array<int, 4>> back;
    while (Editor->Search(u"cat", {soBackward}) && back.size() < 10) {
        back.push_back(Selection());
    }
    EXPECT_EQ(back, (std::vector<std::array<int, 4>>{{3, 1, 3, 4}, {2, 8, 2, 11}, {2, 4, 2, 7}, {1, 1, 1, 4}}))
        << "the last forward match ends before the caret at its end";
}

// The list's replacement checks no limit: replace-all goes on past the
// paragraph length limit.
TEST_F(TEditorSearchTest, ReplaceAllChecksNoLimit)
{
    Editor->SetParaLengthLimit(8);
    Editor->SetText("a a a");
    std::vector<std::uint16_t> errors;
    Editor->OnError = [&errors](plat::TObject*, std::uint16_t& Code) { errors.push_back(Code); };
    const int result = Editor->Replace(u"a", u"xyz", {soReplaceAll, soGlobal});
    EXPECT_EQ(result, 3);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Editor->Text(), "xyz xyz xyz");
}

} // namespace
} // namespace qel::test
