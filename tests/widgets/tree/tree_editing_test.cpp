// In-place editing: the tree's flow with a fake link (order of the link's
// calls, refusals, a link that will not end, OnEdited after end and cancel,
// the edit timer after a click and at once after a double click, the
// editor's bounds) and the string tree's own editor driven by keys (typing,
// Return, Escape, Tab, the Return modes, multi-line nodes, focus loss, the
// least editor width).
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/window_styles.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/timers.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/tree_edit_links.h"
#include "widgets/tree/tree_options.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

// A link that records what the tree asks of it and answers as told.
class TFakeLink : public IDTEditLink {
public:
    bool BeginEdit() override { return Answer("begin", Begins); }
    bool CancelEdit() override { return Answer("cancel", Cancels); }
    bool EndEdit() override { return Answer("end", Ends); }
    bool PrepareEdit(TBaseDataTree*, PDataNode node, TColumnIndex column) override
    {
        Node = node;
        Column = column;
        return Answer("prepare", Prepares);
    }
    void ProcessMessage(plat::TMessage&) override { Calls.push_back("message"); }
    void SetBounds(plat::TRect r) override
    {
        Bounds = r;
        Calls.push_back("bounds");
    }

    bool Prepares = true;
    bool Begins = true;
    bool Ends = true;
    bool Cancels = true;
    std::vector<std::string> Calls;
    PDataNode Node = nullptr;
    TColumnIndex Column = InvalidColumn;
    plat::TRect Bounds;

private:
    bool Answer(const char* call, bool answer)
    {
        Calls.push_back(call);
        return answer;
    }
};

class TreeEditing : public TreeTest {
protected:
    TreeEditing()
    {
        Form->SetBounds(0, 0, 500, 300);
        ShowForm();
        Tree->SetBounds(0, 0, 460, 240);
        for (int i = 0; i < 3; ++i) {
            Columns().Add()->SetWidth(120);
        }
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType,
                                 std::string& text) { text = Texts[CellKey(node, column)]; };
        Tree->OnNewText = [this](plat::TObject*, PDataNode node, TColumnIndex column, const std::string& text) {
            Texts[CellKey(node, column)] = text;
            Stored.push_back(text);
        };
        Tree->OnEdited = [this](plat::TObject*, PDataNode node, TColumnIndex column) {
            Edited.emplace_back(node, column);
        };
        Tree->OnEditCancelled = [this](plat::TObject*, TColumnIndex) { ++Cancelled; };
        Tree->SetRootNodeCount(4);
        for (PDataNode node = Tree->GetFirst(); node != nullptr; node = Tree->GetNext(node)) {
            Nodes.push_back(node);
            for (int c = 0; c < 3; ++c) {
                Texts[CellKey(node, c)] = "r" + std::to_string(Nodes.size() - 1) + "c" + std::to_string(c);
            }
        }
        Misc(TDTMiscOptions{toEditable}, {});
        Tree->SetFocus();
        Host.PumpUntilIdle();
    }

    void TearDown() override
    {
        Tree->OnEdited = nullptr;
        Tree->OnEditCancelled = nullptr;
        Tree->OnCreateEditor = nullptr;
        Tree->OnEditing = nullptr;
        Tree->OnNewText = nullptr;
        TreeTest::TearDown();
    }

    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }
    std::string CellKey(PDataNode node, TColumnIndex column)
    {
        return std::to_string(Tree->AbsoluteIndex(node)) + ":" + std::to_string(column);
    }
    void Misc(TDTMiscOptions add, TDTMiscOptions remove)
    {
        TCustomDataTreeOptions* options = Tree->TreeOptions();
        options->SetMiscOptions((options->MiscOptions() + add) - remove);
    }
    // The tree's editors come from the fake link from now on.
    void UseFakeLink()
    {
        Tree->OnCreateEditor = [this](plat::TObject*, PDataNode, TColumnIndex, PDTEditLink& link) {
            ++LinksAsked;
            link = Fake;
        };
    }
    plat::TPoint LabelPoint(PDataNode node, TColumnIndex column)
    {
        const plat::TRect r = Tree->GetDisplayRect(node, column, true);
        return Tree->ClientToScreen(
            plat::Point(static_cast<int>(r.Left) + 4, static_cast<int>((r.Top + r.Bottom) / 2)));
    }
    void Key(plat::TVirtualKey key, std::uint8_t modifiers = 0)
    {
        Host.Key(key, modifiers);
        Host.PumpUntilIdle();
    }
    void Type(const std::string& text)
    {
        Host.TypeText(text);
        Host.PumpUntilIdle();
    }
    // The string tree's editor of the running edit.
    TDTEdit* Editor()
    {
        auto link = std::dynamic_pointer_cast<TStringEditLink>(Tree->EditLink());
        return link ? link->Edit() : nullptr;
    }

    std::shared_ptr<TFakeLink> Fake = std::make_shared<TFakeLink>();
    int LinksAsked = 0;
    std::vector<PDataNode> Nodes;
    std::map<std::string, std::string> Texts;
    std::vector<std::string> Stored;
    std::vector<std::pair<PDataNode, TColumnIndex>> Edited;
    int Cancelled = 0;
};

// ---- the flow, with a fake link ----

TEST_F(TreeEditing, AnEditRunsPrepareBoundsBeginAndEndsOnceWithOnEditedAfterEndAndCancel)
{
    UseFakeLink();
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    EXPECT_TRUE(Tree->IsEditing());
    EXPECT_EQ(Tree->FocusedNode(), Nodes[1]) << "the edited node takes the focus";
    EXPECT_EQ(Fake->Calls, (std::vector<std::string>{"prepare", "bounds", "begin"}));
    EXPECT_EQ(Fake->Node, Nodes[1]);
    EXPECT_EQ(Fake->Column, 1);
    EXPECT_EQ(Tree->EditLink(), Fake);
    EXPECT_TRUE(Edited.empty());

    EXPECT_TRUE(Tree->EditNode(Nodes[2], 2)) << "while editing the answer is whether editing is on";
    EXPECT_EQ(LinksAsked, 1) << "and no second editor is made";

    EXPECT_TRUE(Tree->EndEditNode());
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(Tree->EditLink(), nullptr);
    EXPECT_EQ(Fake.use_count(), 1) << "the tree dropped the link";
    EXPECT_EQ(Fake->Calls.back(), "end");
    EXPECT_EQ(Edited, (std::vector<std::pair<PDataNode, TColumnIndex>>{{Nodes[1], 1}}));
    EXPECT_TRUE(Tree->EndEditNode()) << "nothing to end";

    Fake->Calls.clear();
    ASSERT_TRUE(Tree->EditNode(Nodes[2], 0));
    EXPECT_TRUE(Tree->CancelEditNode());
    EXPECT_EQ(Fake->Calls.back(), "cancel");
    EXPECT_FALSE(Tree->IsEditing());
    ASSERT_EQ(Edited.size(), 2u) << "OnEdited follows a cancellation too";
    EXPECT_EQ(Edited[1], std::make_pair(Nodes[2], TColumnIndex{0}));
    EXPECT_EQ(Cancelled, 0) << "OnEditCancelled never fires";
    EXPECT_TRUE(Tree->Focused()) << "the tree takes the focus back";
}

TEST_F(TreeEditing, RefusedEditsAnswerFalseAndLeaveTheTreeIdle)
{
    UseFakeLink();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        TColumnIndex column;
        int linksAsked;
    };
    const Case cases[] = {
        {"not editable", [&] { Misc({}, TDTMiscOptions{toEditable}); }, 0, 0},
        {"read-only", [&] { Misc(TDTMiscOptions{toReadOnly}, {}); }, 0, 0},
        {"disabled tree", [&] { Tree->SetEnabled(false); }, 0, 0},
        {"column without coEditable",
         [&] { Columns()[1]->SetOptions(Columns()[1]->Options() - TDTColumnOptions{coEditable}); }, 1, 0},
        {"OnEditing refuses",
         [&] { Tree->OnEditing = +[](plat::TObject*, PDataNode, TColumnIndex, bool& allowed) { allowed = false; }; },
         0, 0},
        {"focus change refused",
         [&] {
             Tree->OnFocusChanging = +[](plat::TObject*, PDataNode, PDataNode, TColumnIndex, TColumnIndex,
                                        bool& allowed) { allowed = false; };
         },
         0, 0},
        {"prepare refuses", [&] { Fake->Prepares = false; }, 0, 1},
        {"begin refuses", [&] { Fake->Begins = false; }, 0, 1},
    };
    for (const Case& c : cases) {
        Tree->SetFocusedNode(Nodes[0]);
        c.arrange();
        LinksAsked = 0;
        EXPECT_FALSE(Tree->EditNode(Nodes[2], c.column)) << c.name;
        EXPECT_FALSE(Tree->IsEditing()) << c.name;
        EXPECT_EQ(Tree->EditLink(), nullptr) << c.name;
        EXPECT_EQ(LinksAsked, c.linksAsked) << c.name;
        // Back to an editable tree.
        Misc(TDTMiscOptions{toEditable}, TDTMiscOptions{toReadOnly});
        Tree->SetEnabled(true);
        Columns()[1]->SetOptions(Columns()[1]->Options() + TDTColumnOptions{coEditable});
        Tree->OnEditing = nullptr;
        Tree->OnFocusChanging = nullptr;
        *Fake = TFakeLink{};
    }
    Tree->SetDisabled(Nodes[3], true);
    EXPECT_FALSE(Tree->EditNode(Nodes[3], 0)) << "a disabled node";
    EXPECT_FALSE(Tree->IsEditing());
}

TEST_F(TreeEditing, ALinkThatWillNotEndKeepsTheEditAndTheClickIsIgnored)
{
    UseFakeLink();
    ASSERT_TRUE(Tree->EditNode(Nodes[0], 0));
    Fake->Ends = false;
    Fake->Cancels = false;
    EXPECT_FALSE(Tree->EndEditNode());
    EXPECT_FALSE(Tree->CancelEditNode());
    EXPECT_TRUE(Tree->IsEditing());
    Host.Click(LabelPoint(Nodes[2], 0));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->FocusedNode(), Nodes[0]) << "the click that could not end the edit did nothing";
    EXPECT_TRUE(Edited.empty());
    Fake->Cancels = true;
    EXPECT_TRUE(Tree->CancelEditNode());
    EXPECT_FALSE(Tree->IsEditing());
}

TEST_F(TreeEditing, EditNodeAssertsANodeAndAValidColumn)
{
    const auto message = [&](PDataNode node, TColumnIndex column) -> std::string {
        try {
            Tree->EditNode(node, column);
        } catch (const EAssertionFailed& e) {
            return e.what();
        }
        return "no assertion";
    };
    EXPECT_EQ(message(nullptr, 0), "Node must not be nil.");
    const std::string column = "Column must be a valid column index (-1 if no header is shown).";
    EXPECT_EQ(message(Nodes[0], -2), column);
    EXPECT_EQ(message(Nodes[0], 3), column);
    EXPECT_FALSE(Tree->IsEditing());
}

TEST_F(TreeEditing, TheEditTimerStartsAnEditAfterTheDelayOrAtOnceAfterADoubleClick)
{
    UseFakeLink();
    Misc(TDTMiscOptions{toEditOnClick, toEditOnDblClick}, {});
    Tree->SetFocusedNode(Nodes[1]);
    Tree->SetSelected(Nodes[1], true);
    Host.PumpUntilIdle();
    ASSERT_EQ(Tree->EditDelay(), 1000u);

    Host.Click(LabelPoint(Nodes[1], 0));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsEditPending)) << "a click on the focused, selected label";
    Host.AdvanceClock(999);
    Host.PumpUntilIdle();
    EXPECT_FALSE(Tree->IsEditing()) << "999 ms after the click";
    Host.AdvanceClock(1);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->IsEditing()) << "1000 ms after the click";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsEditPending));
    EXPECT_EQ(Fake->Node, Nodes[1]);
    EXPECT_TRUE(Tree->EndEditNode());

    // A click on another node selects it and schedules nothing.
    Host.AdvanceClock(2000);
    Host.Click(LabelPoint(Nodes[2], 0));
    Host.PumpUntilIdle();
    Host.AdvanceClock(2000);
    Host.PumpUntilIdle();
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(Tree->FocusedNode(), Nodes[2]);

    // The second press of a double click, before its release.
    const plat::TPoint point = LabelPoint(Nodes[2], 0);
    Host.Click(point);
    Host.MouseDown(point);
    Host.AdvanceClock(plat::USER_TIMER_MINIMUM);
    EXPECT_TRUE(Tree->IsEditing()) << "at once (the least timer interval) after a double click";
    EXPECT_EQ(Fake->Node, Nodes[2]);
    Host.MouseUp(point);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->IsEditing());
}

TEST_F(TreeEditing, TheEditorIsKeptOnTheTextOrTheWholeCellWithGridExtensions)
{
    UseFakeLink();
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    EXPECT_EQ(Fake->Bounds, Tree->GetDisplayRect(Nodes[1], 1, true, true)) << "the text, unclipped";
    EXPECT_TRUE(Tree->EndEditNode());

    Misc(TDTMiscOptions{toGridExtensions}, {});
    TCustomDataTreeOptions* options = Tree->TreeOptions();
    options->SetPaintOptions(options->PaintOptions() + TDTPaintOptions{toShowHorzGridLines});
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    plat::TRect cell = Tree->GetDisplayRect(Nodes[1], 1, false);
    cell.Bottom -= 1;
    EXPECT_EQ(Fake->Bounds, cell) << "the whole cell of a column that is not the main one, less the grid line";
}

TEST_F(TreeEditing, TheEditorFollowsItsTextWhenRowsChangeHeightOrTheWindowItsSize)
{
    UseFakeLink();
    ASSERT_TRUE(Tree->EditNode(Nodes[2], 1));
    Tree->SetNodeHeight(Nodes[0], 40);
    EXPECT_EQ(Fake->Bounds, Tree->GetDisplayRect(Nodes[2], 1, true, true)) << "moved down with the row";
    EXPECT_EQ(Fake->Bounds.Top, 40 + 18);
    EXPECT_TRUE(Tree->EndEditNode());

    // Without columns a right-aligned text moves with the width.
    Columns().Clear();
    Tree->SetAlignment(taRightJustify);
    ASSERT_TRUE(Tree->EditNode(Nodes[1], NoColumn));
    const plat::TRect before = Fake->Bounds;
    Tree->SetBounds(0, 0, 400, 240);
    Host.PumpUntilIdle();
    EXPECT_EQ(Fake->Bounds, Tree->GetDisplayRect(Nodes[1], NoColumn, true, true));
    EXPECT_EQ(Fake->Bounds.Right, before.Right - 60);

    // A window without height is not worked on.
    bool sized = false;
    Tree->OnStateChange = [&sized](plat::TObject*, const TDataTreeStates& enter, const TDataTreeStates&) {
        sized = sized || enter.Contains(tsSizing);
    };
    Tree->SetBounds(0, 0, 300, 0);
    Host.PumpUntilIdle();
    EXPECT_FALSE(sized);
    Tree->SetBounds(0, 0, 300, 100);
    Host.PumpUntilIdle();
    EXPECT_TRUE(sized);
    Tree->OnStateChange = nullptr;
}

// A column changing its width moves the editor at once.
TEST_F(TreeEditing, TheEditorFollowsAColumnResize)
{
    UseFakeLink();
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    Columns()[0]->SetWidth(200);
    EXPECT_EQ(Fake->Bounds, Tree->GetDisplayRect(Nodes[1], 1, true, true));
    EXPECT_GT(Fake->Bounds.Left, 200) << "right of the wider first column";
}

// ---- the string tree's editor ----

TEST_F(TreeEditing, TypingReplacesTheSelectedTextAndReturnStoresIt)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    TDTEdit* edit = Editor();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Visible());
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->Text(), "r1c1");
    EXPECT_EQ(edit->SelLength(), 4) << "the whole text is selected";

    // The key-down of A is the editor's own (Ctrl+A), its character is typed.
    Type("banana");
    EXPECT_EQ(edit->Text(), "banana");
    if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS")) {
        Host.SaveScreenshot(Form->Handle(), std::string(folder) + "/tree_edit.png");
    }
    Key(plat::VK_LEFT);
    Key('A', plat::ModControl);
    EXPECT_EQ(edit->SelLength(), 6) << "Ctrl+A selects all";
    EXPECT_EQ(edit->Text(), "banana");

    Key(plat::VK_RETURN);
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(Stored, (std::vector<std::string>{"banana"}));
    EXPECT_EQ(Texts[CellKey(Nodes[1], 1)], "banana");
    EXPECT_TRUE(Tree->Focused());
    EXPECT_EQ(Edited.size(), 1u);
}

TEST_F(TreeEditing, OnlyTheEditedCellLeavesItsTextToTheEditor)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    ASSERT_EQ(Tree->FocusedColumn(), 0) << "the focus stays in the first column";
    static_cast<TBaseDataTree*>(Tree)->Invalidate();
    Host.PumpUntilIdle();
    const auto capture = Host.CaptureScreen();
    // The colours inside a cell's text rectangle: one alone means no text.
    const auto colours = [&](TColumnIndex column) {
        const plat::TRect text = Tree->GetDisplayRect(Nodes[1], column, true);
        const plat::TPoint origin = Tree->ClientToScreen(plat::Point(text.Left, text.Top));
        std::vector<std::uint32_t> seen;
        for (int y = 0; y < text.Height(); ++y) {
            const std::uint8_t* row = capture->ScanLine(origin.Y + y);
            for (int x = 0; x < text.Width(); ++x) {
                const std::uint8_t* p = row + 4 * (origin.X + x);
                const std::uint32_t colour = p[0] | (p[1] << 8) | (p[2] << 16);
                if (std::find(seen.begin(), seen.end(), colour) == seen.end()) {
                    seen.push_back(colour);
                }
            }
        }
        return seen.size();
    };
    EXPECT_GT(colours(0), 1u) << "the focused cell beside the editor keeps its text";
    EXPECT_GT(colours(2), 1u);
}

TEST_F(TreeEditing, EscapeCancelsAndTheTextIsLost)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[0], 0));
    Type("gone");
    Key(plat::VK_ESCAPE);
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_TRUE(Stored.empty());
    EXPECT_EQ(Texts[CellKey(Nodes[0], 0)], "r0c0");
    EXPECT_EQ(Edited.size(), 1u) << "OnEdited after the cancellation";
    const auto children = Tree->ControlCount();
    Host.PumpUntilIdle();
    EXPECT_LE(Tree->ControlCount(), children) << "the released editor frees itself";
}

TEST_F(TreeEditing, LeavingTheEditorStoresTheTextOnlyWithAutoAccept)
{
    auto* other = new plat::TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(0, 250, 100, 24);
    for (const bool autoAccept : {true, false}) {
        auto* options = Tree->TreeOptions();
        auto* stringOptions = dynamic_cast<TCustomStringTreeOptions*>(options);
        ASSERT_NE(stringOptions, nullptr);
        stringOptions->SetStringOptions(autoAccept ? stringOptions->StringOptions() + TDTStringOptions{toAutoAcceptEditChange}
                                                   : stringOptions->StringOptions() - TDTStringOptions{toAutoAcceptEditChange});
        Stored.clear();
        Tree->SetFocus();
        ASSERT_TRUE(Tree->EditNode(Nodes[2], 0)) << autoAccept;
        Type("moved");
        other->SetFocus();
        Host.PumpUntilIdle();
        EXPECT_FALSE(Tree->IsEditing()) << autoAccept;
        EXPECT_EQ(Stored, autoAccept ? std::vector<std::string>{"moved"} : std::vector<std::string>{})
            << autoAccept;
    }
}

TEST_F(TreeEditing, TabMovesTheEditToTheNextNodeAndEndsOnTheLast)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[2], 0));
    Type("x");
    Key(plat::VK_TAB);
    EXPECT_EQ(Stored, (std::vector<std::string>{"x"}));
    EXPECT_TRUE(Tree->IsEditing());
    EXPECT_EQ(Tree->FocusedNode(), Nodes[3]);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Text(), "r3c0");

    Key(plat::VK_TAB, plat::ModShift);
    EXPECT_EQ(Tree->FocusedNode(), Nodes[2]) << "Shift+Tab goes back";
    EXPECT_TRUE(Tree->IsEditing());
    Key(plat::VK_TAB);
    Key(plat::VK_TAB);
    EXPECT_FALSE(Tree->IsEditing()) << "Tab on the last visible node starts no new edit";
    EXPECT_EQ(Tree->FocusedNode(), Nodes[3]);
}

TEST_F(TreeEditing, TabOrReturnAfterAnEndTheLinkRefusesStartNoSecondEditor)
{
    Tree->OnCreateEditor = +[](plat::TObject*, PDataNode, TColumnIndex, PDTEditLink& link) {
        auto stubborn = std::make_shared<TStringEditLink>();
        stubborn->OnEndEdit = +[](TBaseEditLink*, bool& result) { result = false; };
        link = stubborn;
    };
    Tree->TreeOptions()->SetEditOptions(toVerticalEdit);
    for (const plat::TVirtualKey key : {plat::VK_TAB, plat::VK_RETURN}) {
        ASSERT_TRUE(Tree->EditNode(Nodes[1], 0));
        const PDTEditLink link = Tree->EditLink();
        TDTEdit* edit = Editor();
        ASSERT_NE(edit, nullptr);
        Type("x");
        Key(key);
        EXPECT_TRUE(Tree->IsEditing()) << key;
        EXPECT_EQ(Tree->FocusedNode(), Nodes[1]) << key;
        EXPECT_EQ(Tree->EditLink(), link) << key;
        EXPECT_EQ(Editor(), edit) << key << ": the refused edit keeps its editor";
        EXPECT_EQ(edit->Text(), "x") << key;
        EXPECT_TRUE(Stored.empty()) << key;
        Tree->CancelEditNode();
        EXPECT_FALSE(Tree->IsEditing()) << key;
    }
}

TEST_F(TreeEditing, ReturnFollowsTheEditMode)
{
    TCustomDataTreeOptions* options = Tree->TreeOptions();
    options->SetEditOptions(toVerticalEdit);
    Tree->SetFocusedColumn(1);
    ASSERT_TRUE(Tree->EditNode(Nodes[0], 1));
    Key(plat::VK_RETURN);
    EXPECT_TRUE(Tree->IsEditing()) << "vertical: the edit goes on below";
    EXPECT_EQ(Tree->FocusedNode(), Nodes[1]);
    EXPECT_EQ(Tree->EditColumn(), 1);

    Columns()[1]->SetEditOptions(toHorizontalEdit);
    Key(plat::VK_RETURN);
    EXPECT_TRUE(Tree->IsEditing()) << "the column's mode replaces the tree's";
    EXPECT_EQ(Tree->FocusedNode(), Nodes[1]);
    EXPECT_EQ(Tree->FocusedColumn(), 2);
    EXPECT_EQ(Tree->EditColumn(), 2);

    options->SetEditOptions(toHorizontalEdit);
    Key(plat::VK_RETURN);
    EXPECT_FALSE(Tree->IsEditing()) << "no editable column to the right: the edit just ends";

    Columns()[0]->SetEditOptions(toHorizontalEdit);
    Columns()[0]->SetEditNextColumn(2);
    Columns()[2]->SetOptions(Columns()[2]->Options() - TDTColumnOptions{coEditable});
    Tree->SetFocusedColumn(0);
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 0));
    Key(plat::VK_RETURN);
    EXPECT_FALSE(Tree->IsEditing()) << "a next column that cannot be edited means none";
}

TEST_F(TreeEditing, ReturnInAMultilineNodeBreaksTheLineUnlessCtrlIsHeld)
{
    Tree->SetMultiline(Nodes[1], true);
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 0));
    Type("one");
    Key(plat::VK_RETURN);
    Type("two");
    EXPECT_TRUE(Tree->IsEditing());
    ASSERT_NE(Editor(), nullptr);
    EXPECT_NE(Editor()->Text().find("one"), std::string::npos);
    EXPECT_NE(Editor()->Text().find('\n'), std::string::npos) << Editor()->Text();
    Key(plat::VK_RETURN, plat::ModControl);
    EXPECT_FALSE(Tree->IsEditing());
    ASSERT_EQ(Stored.size(), 1u);
    EXPECT_EQ(Stored[0].substr(0, 3), "one");
}

TEST_F(TreeEditing, UpAndDownMoveTheCaretInOneLine)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[0], 0));
    Key(plat::VK_HOME);
    Key(plat::VK_DOWN);
    EXPECT_EQ(Editor()->CaretPosition(), 1) << "Down acts as Right";
    Key(plat::VK_UP);
    EXPECT_EQ(Editor()->CaretPosition(), 0) << "Up acts as Left";
    EXPECT_TRUE(Tree->IsEditing());
}

TEST_F(TreeEditing, AnEditorForANarrowColumnIsThirtyPixelsWide)
{
    Columns()[1]->SetMinWidth(1);
    Columns()[1]->SetWidth(10);
    Texts[CellKey(Nodes[0], 1)] = "";
    ASSERT_TRUE(Tree->EditNode(Nodes[0], 1));
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Width(), 30);
    EXPECT_GE(Editor()->Height(), Editor()->CalcMinHeight() - 1);
}

// The editor is a multi-line edit box with a plain line as its frame
// (the tree draws no themes); its text stands in a formatting rectangle
// two pixels outside its client area vertically and the text margin less
// two inside it horizontally, moved down to the cell text's top, further
// right by the text's offset in a grid-extended column.
TEST_F(TreeEditing, TheEditorsFrameAndFormattingRectangle)
{
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    TDTEdit* edit = Editor();
    ASSERT_NE(edit, nullptr);
    const plat::DWORD style = plat::GetWindowStyle(edit->Handle());
    EXPECT_NE(style & plat::WS_BORDER, 0u);
    EXPECT_NE(style & plat::ES_MULTILINE, 0u);
    EXPECT_EQ(plat::GetWindowExStyle(edit->Handle()) & plat::WS_EX_CLIENTEDGE, 0u);
    const auto expected = [&](int offset) {
        auto link = std::dynamic_pointer_cast<TStringEditLink>(Tree->EditLink());
        plat::TRect r = edit->ClientRect();
        r.Left += offset;
        r = plat::InflateRect(r, 2 - Tree->TextMargin(), 2);
        if (link->TextBounds().Top > edit->Top()) {
            r = plat::OffsetRect(r, 0, static_cast<int>(link->TextBounds().Top) - edit->Top());
        }
        r.Top = std::max<decltype(r.Top)>(r.Top, -1);
        r.Left = std::max<decltype(r.Left)>(r.Left, -1);
        return r;
    };
    const auto formatting = [&] {
        plat::TRect r;
        plat::SendMessage(edit->Handle(), plat::EM_GETRECT, 0, reinterpret_cast<plat::LPARAM>(&r));
        return r;
    };
    EXPECT_EQ(formatting(), expected(0));
    EXPECT_TRUE(Tree->EndEditNode());

    Misc(TDTMiscOptions{toGridExtensions}, {});
    ASSERT_TRUE(Tree->EditNode(Nodes[1], 1));
    edit = Editor();
    ASSERT_NE(edit, nullptr);
    TDTOffsets offsets{};
    Tree->GetOffsets(Nodes[1], offsets, ofsText, 1);
    EXPECT_EQ(formatting(), expected(offsets[ofsText] - offsets[ofsMargin] + 1)) << "grid extensions";
}

TEST_F(TreeEditing, AnEditorNeedsALink)
{
    EXPECT_THROW(TDTEdit(nullptr), std::invalid_argument);
}

} // namespace
} // namespace qel::tree_test
