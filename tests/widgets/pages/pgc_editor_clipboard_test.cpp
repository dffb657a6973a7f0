// Tests of the editor's selection and clipboard: the selected text, stream
// and column-block copies, the control-character filter, cut and paste on a
// read-only editor, and selections reaching past the ends of lines.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "platform/controls/virtual_keys.h"

namespace qel::test {
namespace {

class TEditorClipboardTest : public TEditorTest {
protected:
    // An Alt drag from one cell to another: a column block.
    void AltDrag(std::pair<int, int> From, std::pair<int, int> To)
    {
        Drag(ScreenCell(From.first, From.second), ScreenCell(To.first, To.second), plat::ModAlt);
    }
};

TEST_F(TEditorClipboardTest, SelectAllAndEmptyText)
{
    Editor->SelectAll(true);
    EXPECT_FALSE(Editor->HasSelection());
    Editor->SetSelection(1, 1, 1, 5, true);
    EXPECT_FALSE(Editor->HasSelection());

    Editor->SetText("ab\r\ncd");
    Editor->SelectAll(true);
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 1, 2, 3}));
    EXPECT_EQ(Caret(), std::make_pair(2, 3));
    Editor->SelectAll(false);
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    Editor->Deselect(true);
    EXPECT_FALSE(Editor->HasSelection());
    EXPECT_EQ(Caret(), std::make_pair(2, 3));
}

TEST_F(TEditorClipboardTest, SelectedTextAndStreamCopy)
{
    Editor->SetText("ab\r\nmiddle\r\ncd");
    struct TCase {
        std::array<int, 4> Ends;
        std::u16string Copied;
        int Length;               // GetSelTextLen: CR LF after every piece across paragraphs
        std::u16string Buffer;    // GetSelTextBuf into 8 units
    };
    const std::vector<TCase> cases = {
        {{1, 2, 3, 2}, u"b\r\nmiddle\r\nc", 1 + 2 + 8 + 1 + 2, u"b\r\nmidd"},
        {{1, 2, 2, 1}, u"b\r\n", 1 + 2 + 0 + 2, u"b\r\n\r\n"},
        {{2, 2, 2, 5}, u"idd", 3, u"idd"},
    };
    for (const TCase& one : cases) {
        Editor->SetSelection(one.Ends[0], one.Ends[1], one.Ends[2], one.Ends[3], true);
        Editor->CopyToClipboard();
        EXPECT_EQ(ClipboardUnits(), one.Copied);
        EXPECT_EQ(Editor->GetSelTextLen(), one.Length);
        char16_t buffer[8] = {u'?', u'?', u'?', u'?', u'?', u'?', u'?', u'?'};
        const int written = Editor->GetSelTextBuf(buffer, 8);
        EXPECT_EQ(std::u16string(buffer), one.Buffer);
        EXPECT_EQ(written, static_cast<int>(one.Buffer.size()));
        char16_t untouched = u'?';
        EXPECT_EQ(Editor->GetSelTextBuf(&untouched, 0), 0);
        EXPECT_EQ(untouched, u'?') << "no room, nothing written";
    }
    Editor->Deselect(false);
    SetClipboardUnits(u"kept");
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"kept") << "nothing selected";
}

TEST_F(TEditorClipboardTest, ColumnBlockCopiedAndPastedElsewhere)
{
    Editor->SetText("abcd\r\nx\r\nefgh");
    AltDrag({1, 2}, {3, 4});
    ASSERT_TRUE(Editor->ColumnBlockSelected());
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"bc\r  \rfg");

    auto* other = new TPgcEditor(Form);
    other->SetParent(Form);
    other->SetBounds(10, 220, 200, 60);
    other->SetText("1");
    other->SetCaretPosition(1, 1);
    other->PasteFromClipboard();
    EXPECT_EQ(Paras(*other), (std::vector<std::string>{"bc1", "  ", "fg"}));

    // Deleting the block takes the columns out of every line.
    Editor->ClearSelection();
    EXPECT_EQ(Paras(), (std::vector<std::string>{"ad", "x", "eh"}));
}

TEST_F(TEditorClipboardTest, ColumnBlockOverTabsKeepsColumns)
{
    Editor->SetText("a\tb\r\nabcdefghij");
    AltDrag({2, 6}, {1, 2});       // screen columns 2 to 5; the tab covers 2 to 8
    ASSERT_TRUE(Editor->ColumnBlockSelected());
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"    \rbcde");
    Editor->ClearSelection();
    EXPECT_EQ(Paras(), (std::vector<std::string>{"a   b", "afghij"}))
        << "the tab goes whole and blanks keep b four columns left, as the block was wide";
}

TEST_F(TEditorClipboardTest, KeptClipboardCharacters)
{
    Editor->SetText("a\tb\r\nc");
    for (const bool keep : {false, true}) {
        Editor->SetKeepClipboardChars(keep);
        Editor->SelectAll(true);
        Editor->CopyToClipboard();
        EXPECT_EQ(ClipboardUnits(), keep ? u"a b\r\nc" : u"a\tb\r\nc") << keep;
    }
    TCharSet withTab;
    withTab.IncludeRange(9, 13);
    Editor->SetClipboardChars(withTab);
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"a\tb\r\nc");
}

TEST_F(TEditorClipboardTest, ReadOnlyCutAndPaste)
{
    Editor->SetText("abc");
    Editor->SetReadOnly(true);
    Editor->SetSelection(1, 1, 1, 3, true);
    SetClipboardUnits(u"other");
    Editor->CutToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"other") << "a read-only cut copies nothing";
    Editor->PasteFromClipboard();
    Editor->SetSelTextBuf(u"x");
    Editor->ClearSelection();
    EXPECT_EQ(Paras(), std::vector<std::string>{"abc"});

    Editor->SetReadOnly(false);
    Editor->CutToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"ab");
    EXPECT_EQ(Paras(), std::vector<std::string>{"c"});
    Editor->PasteFromClipboard();
    Editor->PasteFromClipboard();
    EXPECT_EQ(Paras(), std::vector<std::string>{"ababc"});
}

// With ScrollPastEnd the ends of a selection may stand past a line's end;
// every reader of the selected text cuts them to the line.
TEST_F(TEditorClipboardTest, SelectionPastTheEndReadsOnlyExistingText)
{
    Editor->SetScrollPastEnd(true);
    Editor->SetText("abc\r\nde");
    Focus();
    Editor->SetCaretPosition(1, 10);
    Host.Key(plat::VK_RIGHT, plat::ModShift);
    Pump();
    ASSERT_TRUE(Editor->HasSelection());
    EXPECT_EQ(Editor->GetSelTextLen(), 0);
    char16_t buffer[16] = {};
    EXPECT_EQ(Editor->GetSelTextBuf(buffer, 16), 0);
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"");

    Host.Key(plat::VK_DOWN, plat::ModShift);
    Pump();
    Editor->CopyToClipboard();
    EXPECT_EQ(ClipboardUnits(), u"\r\nde");
    EXPECT_EQ(Editor->GetSelTextLen(), 2 + 2 + 2);
    Editor->ClearSelection();
    EXPECT_EQ(Paras(), std::vector<std::string>{"abc"});
}

} // namespace
} // namespace qel::test
