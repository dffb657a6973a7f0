// The data tree control's life: the constructor's settings, assignment from
// another tree, streaming with the form description (the count of top-level
// nodes made in Loaded, properties of older descriptions read and dropped)
// and window creation.
#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/image_list.h"
#include "platform/objects/class_registry.h"
#include "tests/widgets/tree/form_stream.h"
#include "tests/widgets/tree/tree_fixture.h"

#include <memory>

namespace qel::tree_test {
namespace {

using TreeLifecycle = TreeTest;

TEST_F(TreeLifecycle, ConstructorDefaults)
{
    TBaseDataTree tree(nullptr);
    const TScrollBarOptions& scroll = *tree.ScrollBarOptions();
    const plat::TControlStyle style = tree.ControlStyle();
    const PDataNode root = tree.RootNode();
    struct TDefault {
        const char* name;
        std::int64_t actual;
        std::int64_t expected;
    };
    const std::vector<TDefault> defaults = {
        {"TotalInternalDataSize", tree.TotalInternalDataSize(), 0},
        {"NodeDataSize", tree.NodeDataSize(), -1},
        {"Width", tree.Width(), 200},
        {"Height", tree.Height(), 100},
        {"TabStop", tree.TabStop(), 1},
        {"ParentColor", tree.ParentColor(), 0},
        {"DefaultNodeHeight", tree.DefaultNodeHeight(), 18},
        {"DragOperations", static_cast<std::int64_t>(tree.DragOperations().Bits()), 3},
        {"HotCursor", tree.HotCursor(), plat::crDefault},
        {"ScrollBarOptions.AlwaysVisible", scroll.AlwaysVisible(), 0},
        {"ScrollBarOptions.ScrollBars", scroll.ScrollBars(), ssBoth},
        {"ScrollBarOptions.ScrollBarStyle", scroll.ScrollBarStyle(), sbmRegular},
        {"ScrollBarOptions.HorizontalIncrement", scroll.HorizontalIncrement(), 20},
        {"ScrollBarOptions.VerticalIncrement", scroll.VerticalIncrement(), 20},
        {"FocusedColumn", tree.FocusedColumn(), -1},
        {"DragImageKind", tree.DragImageKind(), diComplete},
        {"SelectionBlendFactor", tree.SelectionBlendFactor(), 128},
        {"Indent", tree.Indent(), 18},
        {"BorderStyle", tree.BorderStyle(), bsSingle},
        {"ButtonStyle", tree.ButtonStyle(), bsRectangle},
        {"ButtonFillMode", tree.ButtonFillMode(), fmTreeColor},
        {"CheckImageKind", tree.CheckImageKind(), ckSystemDefault},
        {"AutoExpandDelay", tree.AutoExpandDelay(), 1000},
        {"AutoScrollDelay", tree.AutoScrollDelay(), 1000},
        {"AutoScrollInterval", tree.AutoScrollInterval(), 1},
        {"BackGroundImageTransparent", tree.BackGroundImageTransparent(), 0},
        {"DefaultPasteMode", tree.DefaultPasteMode(), amAddChildLast},
        {"Margin", tree.Margin(), 4},
        {"TextMargin", tree.TextMargin(), 4},
        {"ImagesMargin", tree.ImagesMargin(), 2},
        {"LastDragEffect", tree.LastDragEffect(), 0},
        {"DragType", tree.DragType(), dtOLE},
        {"DragHeight", tree.DragHeight(), 350},
        {"DragWidth", tree.DragWidth(), 200},
        {"EditDelay", tree.EditDelay(), 1000},
        {"AnimationDuration", tree.AnimationDuration(), 200},
        {"IncrementalSearchTimeout", tree.IncrementalSearchTimeout(), 1000},
        {"IncrementalSearchStart", tree.IncrementalSearchStart(), ssFocusedNode},
        {"NodeAlignment", tree.NodeAlignment(), naProportional},
        {"LineStyle", tree.LineStyle(), lsDotted},
        {"IncrementalSearch", tree.IncrementalSearch(), isNone},
        {"ChangeDelay", tree.ChangeDelay(), 0},
        {"TreeStates", static_cast<std::int64_t>(tree.TreeStates().Bits()), 0},
        {"UpdateCount", tree.UpdateCount(), 0},
        {"csSetCaption", style.Contains(plat::csSetCaption), 0},
        {"csCaptureMouse", style.Contains(plat::csCaptureMouse), 1},
        {"csOpaque", style.Contains(plat::csOpaque), 1},
        {"csReplicatable", style.Contains(plat::csReplicatable), 1},
        {"csDisplayDragImage", style.Contains(plat::csDisplayDragImage), 1},
        {"csReflector", style.Contains(plat::csReflector), 1},
        {"root states", root->States.Bits(),
         TDataNodeStates{vsInitialized, vsExpanded, vsHasChildren, vsVisible}.Bits()},
        {"root TotalCount", root->TotalCount, 1},
        {"root TotalHeight", root->TotalHeight, 18},
        {"root Align", root->Align, 50},
        {"root is its own sibling", root->fNextSibling == root && root->fPrevSibling == root, 1},
        {"VisibleCount", tree.VisibleCount(), 0},
    };
    for (const TDefault& d : defaults) {
        EXPECT_EQ(d.actual, d.expected) << d.name;
    }
}

TEST_F(TreeLifecycle, DefaultNodeHeightMovesTheRootOnly)
{
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->SetDefaultNodeHeight(19);
    EXPECT_EQ(Tree->RootNode()->fNodeHeight, 19);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, 19 + 18) << "existing nodes keep their height";
    EXPECT_EQ(Tree->AddChild(nullptr)->fNodeHeight, 19);
    EXPECT_EQ(node->fNodeHeight, 18);
    Tree->SetDefaultNodeHeight(0);
    EXPECT_EQ(Tree->DefaultNodeHeight(), 18) << "0 stands for 18";
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeLifecycle, AssignTakesSettingsAndTheTopLevelCount)
{
    TTestTree source(nullptr);
    // Without auto sort, whose end of update initialises the top level.
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    source.TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions());
    source.SetNodeDataSize(40);
    source.SetRootNodeCount(10);
    source.ValidateNode(nullptr, true);
    source.SetChangeDelay(70);
    source.SetIndent(25);
    source.SetDefaultNodeHeight(22);
    source.TreeOptions()->SetMiscOptions(source.TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport});
    source.ScrollBarOptions()->SetScrollBars(ssVertical);
    plat::TCustomImageList images(nullptr);
    plat::TCustomImageList states(nullptr);
    source.SetImages(&images);
    source.SetStateImages(&states);
    source.SetHintMode(hmTooltip);
    source.SetEmptyListMessage("Nothing read yet");
    source.SetSelectionCurveRadius(6);
    source.SetBiDiMode(bdRightToLeft);
    source.SetAnchors(plat::TAnchors{plat::akLeft, plat::akBottom});
    source.SetAutoSize(true);
    plat::TSizeConstraints constraints;
    constraints.MinHeight = 40;
    source.SetConstraints(constraints);
    source.Colors()->SetByIndex(ciGridLineColor, plat::clRed);
    source.Header()->Columns().Add()->SetText("Name");
    plat::TBitmap picture(4, 4, plat::pf32bit);
    source.Background()->Assign(&picture);
    source.SetBevelKind(bkFlat);
    source.SetBevelInner(bvRaised);
    source.SetBevelOuter(bvSpace);
    source.SetBevelEdges(TBevelEdges{beTop, beBottom});
    source.SetBevelWidth(3);
    source.SetBorderWidth(2);
    source.SetCtl3D(false);
    source.SetImeMode(plat::imHira);
    Tree->Assign(&source);
    EXPECT_EQ(Tree->Images(), &images);
    EXPECT_EQ(Tree->StateImages(), &states);
    EXPECT_EQ(Tree->HintMode(), hmTooltip);
    EXPECT_EQ(Tree->EmptyListMessage(), "Nothing read yet");
    EXPECT_EQ(Tree->SelectionCurveRadius(), 6);
    EXPECT_EQ(Tree->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(Tree->Anchors(), (plat::TAnchors{plat::akLeft, plat::akBottom}));
    EXPECT_TRUE(Tree->AutoSize());
    EXPECT_EQ(Tree->Constraints().MinHeight, 40);
    EXPECT_EQ(Tree->Colors()->GridLineColor(), plat::clRed);
    ASSERT_EQ(Tree->Header()->Columns().Count(), 1);
    EXPECT_EQ(Tree->Header()->Columns()[0]->Text(), "Name");
    ASSERT_NE(Tree->Background()->Graphic(), nullptr);
    EXPECT_EQ(Tree->Background()->Graphic()->Width(), 4);
    EXPECT_EQ(Tree->BevelKind(), bkFlat);
    EXPECT_EQ(Tree->BevelInner(), bvRaised);
    EXPECT_EQ(Tree->BevelOuter(), bvSpace);
    EXPECT_EQ(Tree->BevelEdges(), (TBevelEdges{beTop, beBottom}));
    EXPECT_EQ(Tree->BevelWidth(), 3);
    EXPECT_EQ(Tree->BorderWidth(), 2);
    EXPECT_FALSE(Tree->Ctl3D());
    EXPECT_EQ(Tree->ImeMode(), plat::imHira);
    EXPECT_EQ(Tree->RootNodeCount(), 10u);
    for (PDataNode node : Children(*Tree)) {
        EXPECT_FALSE(node->States.Contains(vsInitialized));
        EXPECT_EQ(node->fNodeHeight, 22);
    }
    EXPECT_EQ(Tree->NodeDataSize(), 40);
    EXPECT_EQ(Tree->ChangeDelay(), 70u);
    EXPECT_EQ(Tree->Indent(), 25);
    EXPECT_TRUE(Tree->TreeOptions()->MiscOptions().Contains(toCheckSupport));
    EXPECT_EQ(Tree->ScrollBarOptions()->ScrollBars(), ssVertical);
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->SetImages(nullptr);
    Tree->SetStateImages(nullptr);
    plat::TComponent other(nullptr);
    EXPECT_THROW(Tree->Assign(&other), plat::EAssignError);
}

class TreeStreaming : public TreeTest {
protected:
    TreeStreaming() { plat::RegisterClass(TDataStringTree::StaticClass()); }
};

TEST_F(TreeStreaming, PropertiesSurviveTheFormDescription)
{
    TDataStringTree tree(nullptr);
    tree.SetName("DT");
    tree.SetRootNodeCount(5);
    tree.SetDefaultNodeHeight(19);
    tree.SetNodeDataSize(48);
    tree.SetChangeDelay(30);
    tree.SetLineStyle(lsSolid);
    tree.TreeOptions()->SetMiscOptions(tree.TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport, toReadOnly});
    tree.TreeOptions()->SetStringOptions({toShowStaticText});
    tree.ScrollBarOptions()->SetVerticalIncrement(40);
    const std::unique_ptr<plat::TComponent> read = ReadTree(WriteTree(&tree));
    auto* loaded = dynamic_cast<TDataStringTree*>(read.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->RootNodeCount(), 5u) << "made in Loaded, although the tree is read-only";
    EXPECT_EQ(CheckInvariants(*loaded), "");
    EXPECT_FALSE(loaded->TreeStates().Contains(tsNeedRootCountUpdate));
    EXPECT_EQ(loaded->DefaultNodeHeight(), 19);
    EXPECT_EQ(loaded->RootNode()->FirstChild->fNodeHeight, 19);
    EXPECT_EQ(loaded->NodeDataSize(), 48);
    EXPECT_EQ(loaded->ChangeDelay(), 30u);
    EXPECT_EQ(loaded->LineStyle(), lsSolid);
    EXPECT_EQ(loaded->TreeOptions()->MiscOptions().Bits(), 16811u + (1u << toReadOnly));
    EXPECT_EQ(loaded->TreeOptions()->StringOptions(), TDTStringOptions{toShowStaticText});
    EXPECT_EQ(loaded->ScrollBarOptions()->VerticalIncrement(), 40);
}

TEST_F(TreeStreaming, ColumnsTravelWithTheFormDescription)
{
    TDataStringTree tree(nullptr);
    tree.SetName("DT");
    const char* const texts[] = {"Name", "Start", "Length", "Rate"};
    const int minimum[] = {200, 150, 80, 80};
    for (int i = 0; i < 4; ++i) {
        TDataTreeColumn* column = tree.Header()->Columns().Add();
        column->SetText(texts[i]);
        column->SetMinWidth(minimum[i]);
    }
    tree.Header()->Columns()[3]->SetPosition(0);
    const std::unique_ptr<plat::TComponent> read = ReadTree(WriteTree(&tree));
    auto* loaded = dynamic_cast<TDataStringTree*>(read.get());
    ASSERT_NE(loaded, nullptr);
    TDataTreeColumns& columns = loaded->Header()->Columns();
    ASSERT_EQ(columns.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(columns[i]->Text(), texts[i]);
        EXPECT_EQ(columns[i]->MinWidth(), minimum[i]);
        EXPECT_EQ(columns[i]->Width(), minimum[i]);
    }
    EXPECT_EQ(columns.GetFirstVisibleColumn(), 3) << "the order comes back";
    EXPECT_EQ(columns[0]->AbsoluteLeft(), 80);
    EXPECT_EQ(loaded->Header()->MainColumn(), 0) << "set when the tree has loaded";
    EXPECT_FALSE(loaded->Header()->States().Contains(hsLoading));

    // A tree without columns reads none; columns in any form but a stored
    // collection are refused.
    TDataStringTree bare(nullptr);
    bare.SetName("DT");
    const std::unique_ptr<plat::TComponent> none = ReadTree(WriteTree(&bare));
    EXPECT_EQ(dynamic_cast<TDataStringTree*>(none.get())->Header()->Columns().Count(), 0);
    const std::string header = std::string("QCF1") + Str("TDataStringTree") + Str("DT");
    const std::string binary = header + Str("Columns") + '\x0C' + std::string("\x04\0\0\0", 4) +
                               std::string("\x06\0\0\0", 4) + '\0' + '\0';
    EXPECT_THROW(ReadTree(binary), plat::EReadError);
}

// Once loaded, the tree lets its header finish: the main column moves off a
// hidden column and the auto-size column fills the client width.
TEST_F(TreeStreaming, LoadingEndsWithTheHeaderFinishingItsLoading)
{
    ShowForm();
    plat::BeginLoading();
    auto* loading = new TTestTree(Form);
    loading->SetParent(Form);
    loading->SetBounds(0, 0, 300, 100);
    TDataTreeColumns& columns = loading->Header()->Columns();
    for (int i = 0; i < 3; ++i) {
        columns.Add()->SetWidth(60);
    }
    columns[0]->SetOptions(columns[0]->Options() - TDTColumnOptions{coVisible});
    loading->Header()->SetMainColumn(0);
    loading->Header()->SetAutoSizeIndex(2);
    loading->Header()->SetOptions(loading->Header()->Options() + TDTHeaderOptions{hoVisible, hoAutoResize});
    plat::EndLoading();
    Host.PumpUntilIdle();
    EXPECT_EQ(loading->Header()->MainColumn(), 1);
    EXPECT_EQ(columns[1]->Width() + columns[2]->Width(), loading->ClientWidth());
    delete loading;
}

TEST_F(TreeStreaming, OlderDescriptionsNameIdentifiersThatAreDropped)
{
    const std::string header = std::string("QCF1") + Str("TDataStringTree") + Str("DT");
    const std::string good = header + Str("CheckImageKind") + '\x0A' + Str("ckDarkCheck") + Str("HintAnimation") +
                             '\x0A' + Str("hatFade") + Str("RootNodeCount") + '\x02' + '\x03' + '\0' + '\0';
    const std::unique_ptr<plat::TComponent> read = ReadTree(good);
    auto* loaded = dynamic_cast<TDataStringTree*>(read.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->RootNodeCount(), 3u);
    EXPECT_EQ(loaded->CheckImageKind(), ckSystemDefault);

    const std::string bad = header + Str("HintAnimation") + '\x02' + '\x01' + '\0' + '\0';
    try {
        ReadTree(bad);
        FAIL() << "a value that is no identifier must be refused";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Assertion fehlgeschlagen");
    }
}

// DefaultText travels only when it is not "Node"; older descriptions name
// it "WideDefaultText" and keep string options in the old set.
TEST_F(TreeStreaming, DefaultTextAndTheOlderStringProperties)
{
    TDataStringTree tree(nullptr);
    tree.SetName("DT");
    EXPECT_EQ(WriteTree(&tree).find("DefaultText"), std::string::npos) << "\"Node\" is not written";
    tree.SetDefaultText("Entry");
    const std::string bytes = WriteTree(&tree);
    EXPECT_NE(bytes.find(Str("DefaultText") + '\x07'), std::string::npos) << "written as a string";
    const std::unique_ptr<plat::TComponent> read = ReadTree(bytes);
    EXPECT_EQ(dynamic_cast<TDataStringTree*>(read.get())->DefaultText(), "Entry");

    const std::string header = std::string("QCF1") + Str("TDataStringTree") + Str("DT");
    const std::string older = header + Str("WideDefaultText") + '\x07' + std::string("\x03\0\0\0", 4) + "Alt" +
                              Str("StringOptions") + '\x0B' + Str("soShowStaticText") + Str("soUnknown") + '\0' +
                              '\0' + '\0';
    const std::unique_ptr<plat::TComponent> old = ReadTree(older);
    auto* loaded = dynamic_cast<TDataStringTree*>(old.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->DefaultText(), "Alt");
    EXPECT_EQ(loaded->TreeOptions()->StringOptions(), TDTStringOptions{toShowStaticText})
        << "the old set replaces the defaults; unknown names are dropped";
}

TEST_F(TreeLifecycle, WindowCreationLeavesTheThemeStatesOff)
{
    std::vector<std::pair<TDataTreeStates, TDataTreeStates>> changes;
    Tree->OnStateChange = [&changes](plat::TObject*, const TDataTreeStates& enter, const TDataTreeStates& leave) {
        changes.emplace_back(enter, leave);
    };
    ShowForm();
    ASSERT_TRUE(Tree->HandleAllocated());
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes[0].first, TDataTreeStates{tsWindowCreating});
    EXPECT_EQ(changes[1].second, TDataTreeStates{tsWindowCreating});
    EXPECT_FALSE(Tree->TreeStates().Contains(tsWindowCreating));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsUseThemes));
}

} // namespace
} // namespace qel::tree_test
