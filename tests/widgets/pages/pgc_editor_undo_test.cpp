// Tests of editing through the editor with its undo history: a session of
// typing, Enter, Delete, Tab, paste and line deletion undone step by step
// back to the start and redone to the end; when undo is refused; and the
// column-block paste that appends paragraphs undone in one step.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/pgc_command_codes.h"

#include "platform/controls/virtual_keys.h"

namespace qel::test {
namespace {

class TEditorUndoTest : public TEditorTest {
protected:
    struct TState {
        std::vector<std::string> Paras;
        int CaretPara;
        bool operator==(const TState&) const = default;
    };
    TState State()
    {
        int line = 0;
        int col = 0;
        line = Editor->GetCaretPosition(col);
        Editor->LineToPara(line, col);
        return {TEditorTest::Paras(), line};
    }
    void Key(plat::TVirtualKey Key, std::uint8_t Mods = 0)
    {
        Host.Key(Key, Mods);
        Pump();
    }
};

TEST_F(TEditorUndoTest, UndoToTheStartAndRedoToTheEnd)
{
    Editor->SetText("first line\r\nsecond line\r\nthird");
    Editor->FlushUndoBuffer();
    Editor->SetCaretPosition(2, 7);
    Focus();
    const TState start = State();
    SetClipboardUnits(u"P1\r\nP2");

    std::vector<TState> states{start};
    const auto step = [&](const std::function<void()>& Do) {
        Do();
        Pump();
        states.push_back(State());
    };
    step([&] { Host.TypeText("abc"); });
    step([&] { Key(plat::VK_RETURN); });
    step([&] { Key(plat::VK_DELETE); });
    step([&] { Key(plat::VK_TAB); });
    step([&] { Key('V', plat::ModControl); });
    step([&] { Editor->ProcessCommand(ccDelLine, 0); });
    const TState end = State();
    ASSERT_NE(end, start);
    EXPECT_EQ(end.Paras.size(), 4u) << "the pasted break and Enter add paragraphs, the line deletion takes one";

    // Each undo goes back to an earlier state of the session (typing may be
    // taken back in one step), ending at the start.
    int undos = 0;
    auto last = states.size() - 1;
    while (Editor->CanUndo()) {
        Editor->Undo();
        ++undos;
        ASSERT_LT(undos, 100);
        const std::vector<std::string> now = TEditorTest::Paras();
        std::size_t at = last;
        while (at > 0 && states[at - 1].Paras != now) {
            --at;
        }
        ASSERT_GT(at, 0u) << "undo " << undos << " gave a text the session never had";
        last = at - 1;
    }
    EXPECT_EQ(last, 0u);
    EXPECT_EQ(State().Paras, start.Paras);
    EXPECT_EQ(State().CaretPara, start.CaretPara);
    int redos = 0;
    while (Editor->CanRedo()) {
        Editor->Redo();
        ++redos;
    }
    EXPECT_EQ(redos, undos);
    EXPECT_EQ(State().Paras, end.Paras);
}

TEST_F(TEditorUndoTest, RefusedUndo)
{
    Editor->SetText("abc");
    Editor->SetCaretPosition(1, 4);
    Focus();
    Host.TypeText("d");
    Pump();
    EXPECT_TRUE(Editor->CanUndo());
    Editor->SetReadOnly(true);
    EXPECT_FALSE(Editor->CanUndo()) << "read-only";
    const int beeps = Host.BeepCount();
    Editor->Undo();
    EXPECT_EQ(Host.BeepCount(), beeps + 1);
    EXPECT_EQ(Paras(), std::vector<std::string>{"abcd"});

    Editor->SetReadOnly(false);
    Editor->Clear();
    EXPECT_FALSE(Editor->CanUndo()) << "after Clear";
    Editor->Undo();
    Editor->Redo();
    EXPECT_EQ(Host.BeepCount(), beeps + 3);
    EXPECT_EQ(Paras(), std::vector<std::string>{""});
}

// A column block pasted past the last paragraph appends paragraphs; one undo
// takes the whole paste back, paragraph count included, and an editor
// sharing the text follows.
TEST_F(TEditorUndoTest, ColumnPasteUndoneInOneStep)
{
    auto* other = new TPgcEditor(Form);
    other->SetParent(Form);
    other->SetBounds(10, 220, 200, 60);
    Editor->SetText("z");
    Editor->FlushUndoBuffer();
    other->Attach(Editor);
    Editor->SetCaretPosition(1, 1);
    other->SetCaretPosition(1, 2);
    Pump();
    SetClipboardUnits(u"bc\r  \rfg");
    Editor->PasteFromClipboard();
    Pump();
    EXPECT_EQ(Paras(), (std::vector<std::string>{"bcz", "  ", "fg"}));
    EXPECT_EQ(Paras(*other), Paras());
    EXPECT_EQ(Caret(), std::make_pair(1, 1)) << "a column paste leaves the caret";
    Editor->Undo();
    Pump();
    EXPECT_EQ(Paras(), std::vector<std::string>{"z"});
    EXPECT_EQ(other->ParaCount(), 1);
    EXPECT_EQ(other->LineCount(), 1);
    int col = 0;
    EXPECT_EQ(other->GetCaretPosition(col), 1);
    EXPECT_FALSE(Editor->CanUndo());
}

} // namespace
} // namespace qel::test
