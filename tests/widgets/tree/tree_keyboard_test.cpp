// The data tree's keys through the headless host: what the dialog code
// answers, Right and Left through expanding and the parent, '+', Space on
// radio buttons, boxes and plain nodes, Ctrl+A in a single-selection tree,
// paging and scrolling, and incremental search on the manual clock.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"

#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class TreeKeys : public RecordTreeTest {
protected:
    TreeKeys()
    {
        Form->SetBounds(0, 0, 700, 400);
        ShowForm();
        Tree->SetBounds(0, 0, 660, 330);
        SetUpAsRecordPage();
        Fill(SerialsABA);
        Tree->SetFocus();
        Tree->SetFocusedNode(Loggers[0]);
        Host.PumpUntilIdle();
    }

    void Key(plat::TVirtualKey key, std::uint8_t modifiers = 0)
    {
        Host.Key(key, modifiers);
        Host.PumpUntilIdle();
    }
};

TEST_F(TreeKeys, TheDialogCodeAsksForArrowsAndCharactersAndTabWhenWanted)
{
    EXPECT_EQ(plat::SendMessage(Tree->Handle(), plat::WM_GETDLGCODE, 0, 0), 0x81);
    Tree->SetWantTabs(true);
    EXPECT_EQ(plat::SendMessage(Tree->Handle(), plat::WM_GETDLGCODE, 0, 0), 0x83);
}

TEST_F(TreeKeys, RightAndLeftExpandEnterReturnAndCollapse)
{
    ASSERT_FALSE(Tree->GetExpanded(Loggers[0]));
    Key(plat::VK_RIGHT);
    EXPECT_TRUE(Tree->GetExpanded(Loggers[0]));
    EXPECT_EQ(Tree->FocusedNode(), Loggers[0]);
    Key(plat::VK_RIGHT);
    EXPECT_EQ(Tree->FocusedNode(), SelectAll(0)) << "the first visible child";
    Key(plat::VK_LEFT);
    EXPECT_EQ(Tree->FocusedNode(), Loggers[0]) << "back to the parent";
    Key(plat::VK_LEFT);
    EXPECT_FALSE(Tree->GetExpanded(Loggers[0]));
    EXPECT_EQ(Tree->GetSortedSelection(false), std::vector<PDataNode>{Loggers[0]});
}

TEST_F(TreeKeys, PlusExpandsSpaceChecksAndCtrlAIsRefusedWithoutMultiSelect)
{
    Key(plat::VK_OEM_PLUS, plat::ModShift);
    EXPECT_TRUE(Tree->GetExpanded(Loggers[0])) << "'+' expands the focused node";

    Tree->SetFocusedNode(Loggers[1]);
    Key(plat::VK_SPACE);
    EXPECT_EQ(Loggers[1]->CheckState, csCheckedNormal) << "Space on a radio button checks it";
    EXPECT_EQ(Loggers[0]->CheckState, csUncheckedNormal) << "and unchecks its sibling";

    Tree->SetFocusedNode(SelectAll(0));
    Key(plat::VK_SPACE);
    EXPECT_EQ(SelectAll(0)->CheckState, csCheckedNormal);
    for (PDataNode record : Records(0)) {
        EXPECT_EQ(record->CheckState, csCheckedNormal);
    }

    SelectAll(0)->CheckType = ctNone;
    Key(plat::VK_SPACE);
    EXPECT_EQ(SelectAll(0)->CheckState, csCheckedNormal) << "a plain node sends Space to the search instead";

    Tree->SetFocusedNode(Loggers[0]);
    const int selected = Tree->SelectedCount();
    Key('A', plat::ModControl);
    EXPECT_EQ(Tree->SelectedCount(), selected) << "SelectAll needs toMultiSelect";
}

// With toReverseFullExpandHotKey, Ctrl+'+' and Ctrl+Shift+'+' both expand
// the whole tree, Ctrl+'-' collapses it and Ctrl+Shift+'-' gives the
// columns back their last widths; without it Ctrl+'+' fits the columns.
TEST_F(TreeKeys, ReversedFullExpandKeys)
{
    const auto expanded = [this] {
        int count = 0;
        for (PDataNode node = Tree->GetFirst(); node != nullptr; node = Tree->GetNext(node)) {
            count += Tree->GetExpanded(node) ? 1 : 0;
        }
        return count;
    };
    const int all = 2 * static_cast<int>(Loggers.size());   // each logger and its "Select all"
    ASSERT_EQ(expanded(), 0);
    Key(plat::VK_ADD, plat::ModControl);
    EXPECT_EQ(expanded(), 0) << "without the option Ctrl+'+' fits the columns";

    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() +
                                        TDTMiscOptions{toReverseFullExpandHotKey});
    struct TCase {
        const char* name;
        plat::TVirtualKey key;
        std::uint8_t modifiers;
        int expected;
    };
    const std::vector<TCase> cases = {
        {"Ctrl+'+'", plat::VK_ADD, plat::ModControl, all},
        {"Ctrl+'-'", plat::VK_SUBTRACT, plat::ModControl, 0},
        {"Ctrl+Shift+'+'", plat::VK_ADD, plat::ModControl | plat::ModShift, all},
        {"Ctrl+'-' on the main keys", plat::VK_OEM_MINUS, plat::ModControl, 0},
        {"Ctrl+Shift+'+' on the main keys", plat::VK_OEM_PLUS, plat::ModControl | plat::ModShift, all},
    };
    for (const TCase& c : cases) {
        Key(c.key, c.modifiers);
        EXPECT_EQ(expanded(), c.expected) << c.name;
    }

    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    const int width = time->Width();
    time->SetWidth(width + 40);
    ASSERT_EQ(time->Width(), width + 40);
    Key(plat::VK_SUBTRACT, plat::ModControl | plat::ModShift);
    EXPECT_EQ(time->Width(), width) << "Ctrl+Shift+'-' restores the column";
    EXPECT_EQ(expanded(), all) << "and leaves the tree expanded";
}

// F1 asks the focused node and then its ancestors for a help context and
// hands the first one found to OnHelp; the Applications key asks for the
// focused node's pop-up menu.
TEST_F(TreeKeys, F1AsksForHelpUpTheAncestorsAndTheApplicationsKeyForAMenu)
{
    Tree->SetExpanded(Loggers[0], true);
    Tree->SetExpanded(SelectAll(0), true);
    Tree->SetFocusedNode(Records(0)[1]);
    std::vector<PDataNode> asked;
    Tree->OnGetHelpContext = [&](plat::TObject*, PDataNode node, TColumnIndex, int& context) {
        asked.push_back(node);
        context = node == SelectAll(0) ? 77 : 0;
    };
    std::vector<int> help;
    Tree->OnHelp = [&help](plat::TObject*, int context) { help.push_back(context); };
    Key(plat::VK_F1);
    EXPECT_EQ(asked, (std::vector<PDataNode>{Records(0)[1], SelectAll(0)}));
    EXPECT_EQ(help, std::vector<int>{77});

    // No node has a topic: the tree's own, else the nearest parent's.
    Tree->OnGetHelpContext = [&](plat::TObject*, PDataNode node, TColumnIndex, int&) { asked.push_back(node); };
    Form->SetHelpContext(55);
    Key(plat::VK_F1);
    Tree->SetHelpContext(66);
    Key(plat::VK_F1);
    Form->SetHelpContext(0);
    Tree->SetHelpContext(0);
    Key(plat::VK_F1);
    EXPECT_EQ(help, (std::vector<int>{77, 55, 66})) << "no topic anywhere: no help";

    std::vector<PDataNode> menus;
    Tree->OnGetPopupMenu = [&menus](plat::TObject*, PDataNode node, TColumnIndex, const plat::TPoint&,
                                    bool& askParent, plat::TComponent*&) {
        menus.push_back(node);
        askParent = false;
    };
    Key(plat::VK_APPS);
    EXPECT_EQ(menus, std::vector<PDataNode>{Records(0)[1]});
}

// With toAutoSpanColumns a logger's name runs over its empty cells: Tab,
// Shift+Tab, End and the column arrows pass over them.
TEST_F(TreeKeys, CellsCoveredByAnEarlierColumnsTextAreNotFocused)
{
    TCustomDataTreeOptions* options = Tree->TreeOptions();
    options->SetSelectionOptions(options->SelectionOptions() + TDTSelectionOptions{toExtendedFocus});
    Tree->SetWantTabs(true);
    struct TCase {
        const char* name;
        bool autoSpan;
        PDataNode from;
        TColumnIndex fromColumn;
        plat::TVirtualKey key;
        std::uint8_t modifiers;
        PDataNode to;
        TColumnIndex toColumn;
    };
    const TCase cases[] = {
        {"Tab", false, Loggers[0], 0, plat::VK_TAB, 0, Loggers[0], 1},
        {"Tab over covered cells", true, Loggers[0], 0, plat::VK_TAB, 0, Loggers[1], 0},
        {"Shift+Tab over covered cells", true, Loggers[1], 0, plat::VK_TAB, plat::ModShift, Loggers[0], 0},
        {"Shift+Tab", false, Loggers[1], 0, plat::VK_TAB, plat::ModShift, Loggers[0], 3},
        {"End", false, Loggers[0], 0, plat::VK_END, 0, Loggers[2], 3},
        {"End over covered cells", true, Loggers[0], 0, plat::VK_END, 0, Loggers[2], 0},
        {"Right over covered cells", true, Loggers[0], 0, plat::VK_RIGHT, 0, Loggers[0], 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        options->SetAutoOptions(c.autoSpan ? options->AutoOptions() + TDTAutoOptions{toAutoSpanColumns}
                                           : options->AutoOptions() - TDTAutoOptions{toAutoSpanColumns});
        options->SetMiscOptions(c.key == plat::VK_TAB ? options->MiscOptions() - TDTMiscOptions{toGridExtensions}
                                                      : options->MiscOptions() + TDTMiscOptions{toGridExtensions});
        Tree->SetFocusedNode(c.from);
        Tree->SetFocusedColumn(c.fromColumn);
        Key(c.key, c.modifiers);
        EXPECT_EQ(Tree->FocusedNode(), c.to);
        EXPECT_EQ(Tree->FocusedColumn(), c.toColumn);
    }
}

TEST_F(TreeKeys, UpDownPagesAndScrolling)
{
    Tree->FullExpand();
    Tree->SetBounds(0, 0, 660, 100);   // rows below the client to scroll to
    Host.PumpUntilIdle();
    const PDataNode last = Tree->GetLastVisible();
    Tree->SetFocusedNode(last);
    Key(plat::VK_DOWN);
    EXPECT_EQ(Tree->FocusedNode(), last) << "Down on the last row only repaints it";
    Tree->SetOffsetY(-3 * Tree->DefaultNodeHeight());
    const int offset = Tree->OffsetY();
    Key(plat::VK_UP, plat::ModControl);
    EXPECT_EQ(Tree->OffsetY(), offset + Tree->DefaultNodeHeight());
    EXPECT_EQ(Tree->FocusedNode(), last) << "Ctrl+Up scrolls without moving the focus";
    Tree->SetFocusedNode(Records(2)[0]);
    Key(plat::VK_NEXT);
    EXPECT_EQ(Tree->FocusedNode(), last) << "fewer rows than a page left: the last one";
    Key(plat::VK_HOME);
    EXPECT_EQ(Tree->FocusedNode(), Tree->GetFirstVisible());
    Key(plat::VK_DOWN);
    EXPECT_EQ(Tree->FocusedNode(), SelectAll(0));
    EXPECT_EQ(Tree->GetSortedSelection(false), std::vector<PDataNode>{SelectAll(0)});
}

// ---- incremental search ----

class IncrementalSearch : public TreeTest {
protected:
    IncrementalSearch()
    {
        Form->SetBounds(0, 0, 400, 400);
        ShowForm();
        Tree->SetBounds(0, 0, 300, 300);
        Tree->NodeDataType<std::string>();
        for (const char* name : {"cherry", "apple", "banana", "avocado", "abacus", "date"}) {
            *Tree->GetNodeData<std::string>(Tree->AddChild(nullptr)) = name;
        }
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
            text = *Tree->GetNodeData<std::string>(node);
        };
        Tree->SetIncrementalSearch(isAll);
        Tree->SetFocus();
        Tree->SetFocusedNode(Tree->GetFirst());
        Host.PumpUntilIdle();
    }

    std::string Focused() { return *Tree->GetNodeData<std::string>(Tree->FocusedNode()); }
    void Type(const std::string& text)
    {
        Host.TypeText(text);
        Host.PumpUntilIdle();
    }
};

TEST_F(IncrementalSearch, TypingJumpsToTheFirstMatchAfterTheFocusedNode)
{
    Type("a");
    EXPECT_EQ(Focused(), "apple");
    Type("b");
    EXPECT_EQ(Focused(), "abacus") << "then the first node from there starting with ab";
    EXPECT_EQ(Tree->SearchBuffer(), "ab");
    Host.AdvanceClock(999);
    EXPECT_EQ(Tree->SearchBuffer(), "ab");
    Host.AdvanceClock(2);
    EXPECT_EQ(Tree->SearchBuffer(), "") << "the search ends with its timer";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsIncrementalSearching));
}

TEST_F(IncrementalSearch, ARepeatedLetterCyclesUnlessItIsTyped)
{
    Type("a");
    EXPECT_EQ(Focused(), "apple");
    Type("a");
    EXPECT_EQ(Focused(), "avocado") << "no node starts with aa: the next one with a";
    Type("a");
    EXPECT_EQ(Focused(), "abacus");
    Host.AdvanceClock(1001);
    *Tree->GetNodeData<std::string>(Tree->GetFirst()) = "aardvark";
    Tree->SetFocusedNode(Tree->GetLast());
    Type("a");
    EXPECT_EQ(Focused(), "aardvark") << "wrapped round";
    Type("a");
    EXPECT_EQ(Focused(), "aardvark") << "a node starts with aa: the second a is typed";
    EXPECT_EQ(Tree->SearchBuffer(), "aa");
}

// Letter case is ignored beyond ASCII: "äp" finds "Äpfel", "ÉT" finds
// "étoile".
TEST_F(IncrementalSearch, CaseIsIgnoredBeyondAscii)
{
    *Tree->GetNodeData<std::string>(Tree->GetLast()) = "\xC3\x84pfel";
    *Tree->GetNodeData<std::string>(Tree->GetFirst()->fNextSibling) = "\xC3\xA9toile";
    Type("\xC3\xA4p");
    EXPECT_EQ(Focused(), "\xC3\x84pfel");
    Host.AdvanceClock(1001);
    Type("\xC3\x89T");
    EXPECT_EQ(Focused(), "\xC3\xA9toile");
}

TEST_F(IncrementalSearch, NoMatchBeepsAndBackspaceSearchesBackwards)
{
    Type("ba");
    EXPECT_EQ(Focused(), "banana");
    const int beeps = Host.BeepCount();
    Type("z");
    EXPECT_EQ(Host.BeepCount(), beeps + 1);
    EXPECT_EQ(Focused(), "banana");
    EXPECT_EQ(Tree->SearchBuffer(), "ba") << "the buffer keeps its text";
    Host.Key(plat::VK_BACK);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->SearchBuffer(), "b");
    EXPECT_EQ(Focused(), "banana");
    EXPECT_EQ(Host.BeepCount(), beeps + 2) << "backwards from banana's predecessor the search stops at banana";

    Tree->SetIncrementalSearch(isNone);
    Tree->SetFocusedNode(Tree->GetFirst());
    Type("d");
    EXPECT_EQ(Focused(), "cherry") << "isNone: no search";
}

TEST_F(IncrementalSearch, TheSearchStopsWithoutAHitWhereItStarted)
{
    // From banana a new search starts at its successor and wraps round;
    // coming back to banana ends it without comparing banana.
    Tree->SetFocusedNode(Tree->GetFirst()->fNextSibling->fNextSibling);
    ASSERT_EQ(Focused(), "banana");
    const int beeps = Host.BeepCount();
    Type("b");
    EXPECT_EQ(Host.BeepCount(), beeps + 1);
    EXPECT_EQ(Focused(), "banana");
    EXPECT_EQ(Tree->SearchBuffer(), "");
}

TEST_F(IncrementalSearch, SynchronousModeEndsARunningSearch)
{
    Type("ab");
    ASSERT_EQ(Tree->SearchBuffer(), "ab");
    Tree->BeginSynch();
    EXPECT_EQ(Tree->SearchBuffer(), "");
    EXPECT_EQ(Tree->FLastSearchNode, nullptr);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsIncrementalSearching));
    EXPECT_FALSE(plat::KillTimer(Tree->Handle(), SearchTimer));
    Tree->EndSynch();
}

TEST_F(IncrementalSearch, SwitchingItOffEndsARunningSearch)
{
    Type("ab");
    ASSERT_EQ(Focused(), "abacus");
    Tree->SetIncrementalSearch(isNone);
    EXPECT_EQ(Tree->SearchBuffer(), "");
    EXPECT_EQ(Tree->FLastSearchNode, nullptr);
    EXPECT_FALSE(plat::KillTimer(Tree->Handle(), SearchTimer)) << "the search timer is stopped";
    // Another mode keeps the search as it is.
    Tree->SetIncrementalSearch(isAll);
    Type("d");
    Tree->SetIncrementalSearch(isVisibleOnly);
    EXPECT_EQ(Tree->SearchBuffer(), "d");
    EXPECT_NE(Tree->FLastSearchNode, nullptr);
}

} // namespace
} // namespace qel::tree_test
