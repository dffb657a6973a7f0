// The string tree's texts: the default text, the order of the text events,
// static texts, paths, the measured width and the cache of the main
// column's width with every point that clears it.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphics_objects.h"

#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class StringTreeText : public TreeTest {
protected:
    StringTreeText()
    {
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType type,
                                 std::string& text) {
            ++Requests;
            if (type == ttStatic) {
                text = "static";
            } else if (Texts) {
                text = "n" + std::to_string(Tree->AbsoluteIndex(node)) + "c" + std::to_string(column);
            }
        };
    }

    int MeasuredWidth(const std::string& text)
    {
        plat::TBitmap bitmap(1, 1);
        bitmap.Canvas()->Font()->Assign(Tree->Font());
        return bitmap.Canvas()->TextWidth(text);
    }

    bool Texts = true;
    int Requests = 0;
};

TEST_F(StringTreeText, DefaultTextUnlessTheApplicationSetsOne)
{
    Tree->SetRootNodeCount(2);
    const PDataNode first = Tree->GetFirst();
    EXPECT_EQ(Tree->GetText(first, NoColumn), "n0c-1");
    Texts = false;
    EXPECT_EQ(Tree->DefaultText(), "Node");
    EXPECT_EQ(Tree->GetText(first, 0), "Node");
    Tree->SetDefaultText("");
    EXPECT_EQ(Tree->GetText(first, 0), "");
    EXPECT_THROW(Tree->GetText(nullptr, 0), EAssertionFailed);

    // The cell text event goes first and alone.
    Tree->OnGetCellText = +[](plat::TObject*, TDSTGetCellTextEventArgs& e) { e.CellText = "cell"; };
    Requests = 0;
    EXPECT_EQ(Tree->GetText(first, 0), "cell");
    EXPECT_EQ(Requests, 0);
}

TEST_F(StringTreeText, StaticTextOnlyWithItsOption)
{
    Tree->SetRootNodeCount(1);
    const PDataNode node = Tree->GetFirst();
    EXPECT_EQ(Tree->GetStaticText(node, 0), "");
    Tree->TreeOptions()->SetStringOptions(Tree->TreeOptions()->StringOptions() + TDTStringOptions{toShowStaticText});
    EXPECT_EQ(Tree->GetStaticText(node, 0), "static");
}

TEST_F(StringTreeText, ImageTextComesFromItsEventOnAnInitialisedNode)
{
    Tree->SetRootNodeCount(1);
    const PDataNode node = Tree->RootNode()->FirstChild;
    ASSERT_FALSE(node->States.Contains(vsInitialized));
    EXPECT_EQ(Tree->GetImageText(node, ikNormal, 0), "") << "no handler, no text";
    EXPECT_TRUE(node->States.Contains(vsInitialized));
    Tree->OnGetImageText = +[](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex column, std::string& text) {
        EXPECT_EQ(text, "");
        text = (kind == ikState ? "state " : "image ") + std::to_string(column);
    };
    EXPECT_EQ(Tree->GetImageText(node, ikState, 2), "state 2");
    EXPECT_EQ(Tree->GetImageText(node, ikNormal, -1), "image -1");
    EXPECT_THROW(Tree->GetImageText(nullptr, ikNormal, 0), EAssertionFailed);
}

// The selection kept across a refill finds its nodes by their texts,
// whatever their letter case, beyond ASCII too.
TEST_F(StringTreeText, RestoredSelectionMatchesTextsWithoutCase)
{
    std::vector<std::string> names = {"\xC3\x84pfel", "Birne"};
    Tree->OnGetText = [&names](plat::TObject*, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
        text = names[node->fIndex];
    };
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toRestoreSelection});
    Tree->AddChild(nullptr);
    Tree->AddChild(nullptr);
    Tree->SetSelected(Tree->GetFirst(), true);
    Tree->Clear();
    names = {"Birne", "\xC3\xA4PFEL"};
    const PDataNode first = Tree->AddChild(nullptr);
    const PDataNode second = Tree->AddChild(nullptr);
    EXPECT_FALSE(Tree->GetSelected(first));
    EXPECT_TRUE(Tree->GetSelected(second));
}

TEST_F(StringTreeText, PathJoinsTheTextsFromTheTopLevelDown)
{
    Tree->SetRootNodeCount(2);
    const PDataNode second = Tree->GetFirst()->fNextSibling;
    Tree->SetChildCount(second, 1);
    const PDataNode child = Tree->GetFirstChild(second);
    EXPECT_EQ(Tree->Path(second, 0, '/'), "n1c0/");
    EXPECT_EQ(Tree->Path(child, 0, '/'), "n1c0/n2c0/");
    EXPECT_EQ(Tree->Path(nullptr, 0, '\\'), "\\");
}

TEST_F(StringTreeText, NodeWidthIsTheMeasuredTextAndTheMarginsCachedForTheMainColumn)
{
    ShowForm();
    Tree->SetRootNodeCount(3);
    const PDataNode node = Tree->GetFirst();
    const int expected = MeasuredWidth("n0c-1") + 2 * Tree->TextMargin();
    EXPECT_EQ(Tree->CachedTextWidth(node), 0);
    EXPECT_EQ(Tree->GetDisplayRect(node, NoColumn, true).Width(), expected);
    EXPECT_EQ(Tree->CachedTextWidth(node), expected);
    Requests = 0;
    EXPECT_EQ(Tree->GetDisplayRect(node, NoColumn, true).Width(), expected);
    EXPECT_EQ(Requests, 0) << "the cached width asks for no text";
    Texts = false;
    Tree->SetText(node, 0, "ignored");
    EXPECT_EQ(Tree->CachedTextWidth(node), 0) << "a new text clears the cache";
    EXPECT_EQ(Tree->GetDisplayRect(node, NoColumn, true).Width(), MeasuredWidth("Node") + 2 * Tree->TextMargin());
}

TEST_F(StringTreeText, WidthCacheIsClearedWhereverTheTextMayChange)
{
    ShowForm();
    Tree->Header()->Columns().Add();
    Tree->Header()->Columns().Add();
    Tree->SetRootNodeCount(3);
    struct TCase {
        const char* name;
        void (*apply)(TTestTree&, PDataNode);
        bool allNodes; // the change clears every node's cache
    };
    const std::vector<TCase> cases = {
        {"InvalidateNode", [](TTestTree& t, PDataNode n) { t.InvalidateNode(n); }, false},
        {"ReinitNode", [](TTestTree& t, PDataNode n) { t.ReinitNode(n, false); }, false},
        {"child count", [](TTestTree& t, PDataNode n) { t.SetChildCount(n, 2); }, false},
        {"main column", [](TTestTree& t, PDataNode) { t.Header()->SetMainColumn(1); }, true},
        {"font", [](TTestTree& t, PDataNode) { t.Font()->SetHeight(t.Font()->Height() - 3); }, true},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        const PDataNode node = Tree->GetFirst();
        const PDataNode other = node->fNextSibling;
        for (PDataNode run : {node, other}) {
            Tree->GetDisplayRect(run, Tree->Header()->MainColumn(), true);
            ASSERT_NE(Tree->CachedTextWidth(run), 0);
        }
        each.apply(*Tree, node);
        EXPECT_EQ(Tree->CachedTextWidth(node), 0);
        EXPECT_EQ(Tree->CachedTextWidth(other) == 0, each.allNodes);
    }
}

TEST_F(StringTreeText, OtherColumnsAreMeasuredEachTime)
{
    ShowForm();
    Tree->Header()->Columns().Add();
    Tree->Header()->Columns().Add();
    Tree->SetRootNodeCount(1);
    const PDataNode node = Tree->GetFirst();
    Requests = 0;
    Tree->GetDisplayRect(node, 1, true);
    Tree->GetDisplayRect(node, 1, true);
    EXPECT_EQ(Requests, 2);
    EXPECT_EQ(Tree->CachedTextWidth(node), 0) << "only the main column is cached";
}

} // namespace
} // namespace qel::tree_test
