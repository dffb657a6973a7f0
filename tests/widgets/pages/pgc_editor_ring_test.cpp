// Tests of editors sharing one text: attaching and leaving the ring (the
// list stays with those who hold it, under the address sanitizer too),
// emptying one editor of a ring, and how an edit in one editor moves the
// caret, selection and first visible line of the others.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include <memory>
#include <string>
#include <vector>

namespace qel {
namespace {

class PgcEditorRing : public test::TEditorTest {
protected:
    TPgcEditor* NewEditor(const std::string& name)
    {
        auto* editor = new TPgcEditor(Form);
        editor->SetName(name);
        editor->SetParent(Form);
        editor->SetBounds(10, 220, 300, 60);
        return editor;
    }
    // The ring from editor on, following NextEditor.
    static std::vector<TPgcCustomEditor*> Ring(TPgcCustomEditor* editor)
    {
        std::vector<TPgcCustomEditor*> ring{editor};
        for (TPgcCustomEditor* next = editor->NextEditor(); next != editor; next = next->NextEditor()) {
            ring.push_back(next);
        }
        return ring;
    }
    static std::string Lines(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += "line " + std::to_string(i) + (i < count ? "\r\n" : "");
        }
        return text;
    }
};

TEST_F(PgcEditorRing, AttachedEditorsShowOneText)
{
    TPgcEditor* second = NewEditor("Second");
    Editor->SetText("shared");
    second->SetText("own");
    second->Attach(Editor);
    EXPECT_EQ(second->Text(), "shared");
    EXPECT_EQ(second->FirstEditor(), Editor);
    EXPECT_EQ(Ring(Editor), (std::vector<TPgcCustomEditor*>{Editor, second}));
    EXPECT_EQ(second->PrevEditor(), Editor);
    second->Attach(nullptr);
    second->Attach(second);
    EXPECT_EQ(Ring(Editor).size(), 2u) << "nothing for none or itself";

    TPgcEditor* third = NewEditor("Third");
    third->Attach(second);
    EXPECT_EQ(Ring(Editor), (std::vector<TPgcCustomEditor*>{Editor, second, third})) << "joins at the ring's end";
    EXPECT_EQ(third->Text(), "shared");
}

TEST_F(PgcEditorRing, AttachingAnEditorThatSharesLeavesItsRingFirst)
{
    auto first = std::make_unique<TPgcEditor>(nullptr);
    auto second = std::make_unique<TPgcEditor>(nullptr);
    auto third = std::make_unique<TPgcEditor>(nullptr);
    first->SetText("first text");
    third->SetText("third text");
    second->Attach(first.get());
    second->Attach(third.get());
    EXPECT_EQ(first->Text(), "first text") << "the list stays with the editor that still holds it";
    EXPECT_EQ(Ring(first.get()).size(), 1u);
    EXPECT_EQ(Ring(third.get()).size(), 2u);
    EXPECT_EQ(second->Text(), "third text");

    // The owner leaves: the list passes on to the next editor, which then
    // re-wraps and tells its ring without the one that left.
    third->Attach(first.get());
    EXPECT_EQ(second->FirstEditor(), second.get());
    second->SetWordWrap(true);
    EXPECT_EQ(second->Text(), "third text");
    EXPECT_EQ(third->Text(), "first text");
    first.reset();
    EXPECT_EQ(third->Text(), "first text");
    third.reset();
    second.reset();
}

TEST_F(PgcEditorRing, ClearEmptiesOnlyTheEditorThatClears)
{
    TPgcEditor* second = NewEditor("Second");
    Editor->SetText("kept");
    second->Attach(Editor);
    second->SetReadOnly(true);
    second->Clear();
    EXPECT_EQ(second->Text(), "");
    EXPECT_EQ(Editor->Text(), "kept");
    EXPECT_EQ(Ring(Editor).size(), 1u);
    EXPECT_EQ(Ring(second).size(), 1u);
}

TEST_F(PgcEditorRing, EditsMoveTheOtherEditorsCaretSelectionAndTop)
{
    TPgcEditor* second = NewEditor("Second");
    Editor->SetText(Lines(30));
    second->Attach(Editor);
    Pump();
    ASSERT_LT(second->VisibleRows(), 20);
    second->SetSelection(12, 2, 14, 3, true);
    const int top = second->TopLine();
    ASSERT_GT(top, 2);
    std::vector<int> tops;
    second->OnTopLineChanged = [&](plat::TObject*, int line) { tops.push_back(line); };
    const auto caret = [&] {
        int column = 0;
        const int line = second->GetCaretPosition(column);
        return std::vector<int>{line, column};
    };

    // Two paragraphs inserted at the start of the text, one by one.
    Editor->SetCaretPosition(1, 1);
    Editor->InsertString("new 1\r\nnew 2\r\n");
    EXPECT_EQ(second->TopLine(), top + 2);
    EXPECT_EQ(tops, (std::vector<int>{top + 1, top + 2}));
    int line1 = 0;
    int col1 = 0;
    int line2 = 0;
    int col2 = 0;
    ASSERT_TRUE(second->GetSelection(line1, col1, line2, col2));
    EXPECT_EQ((std::vector<int>{line1, col1, line2, col2}), (std::vector<int>{14, 2, 16, 3}));
    EXPECT_EQ(caret(), (std::vector<int>{16, 3}));
    EXPECT_EQ(Editor->TopLine(), 1) << "the editor that made the edit keeps its own view";

    // Text inserted on the caret's line before the caret, then deleted.
    Editor->SetCaretPosition(16, 1);
    Editor->InsertString(">>");
    EXPECT_EQ(caret(), (std::vector<int>{16, 5}));
    Editor->SetSelection(16, 1, 16, 4, true);
    Editor->InsertString("");
    EXPECT_EQ(caret(), (std::vector<int>{16, 2}));

    // The caret's paragraph joined to the one above ("line 13", 7 units).
    Editor->SetSelection(15, 8, 16, 1, true);
    Editor->InsertString("");
    EXPECT_EQ(caret(), (std::vector<int>{15, 9}));

    // A whole paragraph above deleted.
    Editor->SetSelection(13, 1, 14, 1, true);
    Editor->InsertString("");
    EXPECT_EQ(caret(), (std::vector<int>{14, 9}));
    ASSERT_TRUE(second->GetSelection(line1, col1, line2, col2));
    EXPECT_EQ(line1, 13) << "the selection moved up with the text";
    EXPECT_EQ(second->Text(), Editor->Text());
    EXPECT_EQ(second->LineCount(), 30);
}

TEST_F(PgcEditorRing, EditsAtTheTopLineKeepTheOthersView)
{
    TPgcEditor* second = NewEditor("Second");
    Editor->SetText(Lines(20));
    second->Attach(Editor);
    Pump();
    second->SetTopLine(5);
    Editor->SetCaretPosition(7, 1);
    Editor->InsertString("a\r\n");
    EXPECT_EQ(second->TopLine(), 5) << "an edit below the top leaves it";
    Editor->SetCaretPosition(5, 3);
    Editor->InsertString("\r\n");
    EXPECT_EQ(second->TopLine(), 5) << "a break after the top line's start";
    int length = 0;
    EXPECT_EQ(std::u16string(second->GetPara(5, length), 2), u"li");
}

} // namespace
} // namespace qel
