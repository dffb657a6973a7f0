// Option sets of the data tree: their defaults, the option classes per tree
// class, what each setter does beyond storing, assignment between option
// objects, and the scroll-bar options that remake the window.
#include "tests/widgets/tree/tree_fixture.h"

#include <functional>

namespace qel::tree_test {
namespace {

using TreeOptions = TreeTest;

TEST_F(TreeOptions, DefaultsAndTheOptionClassOfEachTree)
{
    const TStringTreeOptions* options = Tree->TreeOptions();
    EXPECT_EQ(options->PaintOptions().Bits(), 23392u);
    EXPECT_TRUE(options->AnimationOptions().Empty());
    EXPECT_EQ(options->AutoOptions().Bits(), 1497u);
    EXPECT_EQ(options->SelectionOptions().Bits(), 8192u);
    EXPECT_EQ(options->MiscOptions().Bits(), 16809u);
    EXPECT_EQ(options->StringOptions().Bits(), 5u);
    EXPECT_EQ(options->ExportMode(), emAll);
    EXPECT_EQ(options->EditOptions(), toDefaultEdit);
    EXPECT_EQ(options->Owner(), Tree);
    EXPECT_EQ(options->ClassType(), TStringTreeOptions::StaticClass());

    TCustomDataStringTree custom(nullptr);
    EXPECT_EQ(custom.TreeOptions()->ClassType(), TCustomStringTreeOptions::StaticClass());
    TBaseDataTree base(nullptr);
    EXPECT_EQ(base.TreeOptions()->ClassType(), TCustomDataTreeOptions::StaticClass());
    EXPECT_EQ(base.TotalInternalDataSize(), 0u);
}

TEST_F(TreeOptions, TheRecordTreeAsTheProgramSetsItUp)
{
    ShowForm();
    TStringTreeOptions* options = Tree->TreeOptions();
    options->SetMiscOptions(options->MiscOptions() + TDTMiscOptions{toCheckSupport});
    options->SetAutoOptions(options->AutoOptions() + TDTAutoOptions{toAutoHideButtons});
    options->SetPaintOptions(options->PaintOptions() + TDTPaintOptions{toShowTreeLines});
    EXPECT_EQ(options->MiscOptions().Bits(), 16811u);
    EXPECT_EQ(options->AutoOptions().Bits(), 1497u);
    EXPECT_EQ(options->PaintOptions().Bits(), 23392u);
}

TEST_F(TreeOptions, AssigningTheSameSetDoesNothing)
{
    ShowForm();
    TStringTreeOptions* options = Tree->TreeOptions();
    const std::vector<std::pair<const char*, std::function<void()>>> setters = {
        {"paint", [&] { options->SetPaintOptions(options->PaintOptions()); }},
        {"auto", [&] { options->SetAutoOptions(options->AutoOptions()); }},
        {"misc", [&] { options->SetMiscOptions(options->MiscOptions()); }},
        {"selection", [&] { options->SetSelectionOptions(options->SelectionOptions()); }},
        {"string", [&] { options->SetStringOptions(options->StringOptions()); }},
    };
    for (const auto& [name, assign] : setters) {
        SCOPED_TRACE(name);
        const int before = Tree->Invalidations;
        assign();
        EXPECT_EQ(Tree->Invalidations, before);
    }
}

struct TSideEffectCase {
    const char* name;
    std::function<void(TStringTreeOptions&)> change;
    std::function<void(const TStringTreeOptions&, const TTestTree&)> check;
    bool invalidates;
};

TEST_F(TreeOptions, SetterSideEffects)
{
    ShowForm();
    const std::vector<TSideEffectCase> cases = {
        {"toFixedIndent brings toShowRoot",
         [](TStringTreeOptions& o) {
             o.SetPaintOptions(o.PaintOptions() - TDTPaintOptions{toShowRoot} + TDTPaintOptions{toFixedIndent});
         },
         [](const TStringTreeOptions& o, const TTestTree&) { EXPECT_TRUE(o.PaintOptions().Contains(toShowRoot)); },
         true},
        {"removing toFixedIndent keeps toShowRoot",
         [](TStringTreeOptions& o) {
             o.SetPaintOptions(o.PaintOptions() + TDTPaintOptions{toFixedIndent});
             o.SetPaintOptions(o.PaintOptions() - TDTPaintOptions{toFixedIndent});
         },
         [](const TStringTreeOptions& o, const TTestTree&) { EXPECT_TRUE(o.PaintOptions().Contains(toShowRoot)); },
         true},
        {"toEditOnDblClick drops toToggleOnDblClick",
         [](TStringTreeOptions& o) { o.SetMiscOptions(o.MiscOptions() + TDTMiscOptions{toEditOnDblClick}); },
         [](const TStringTreeOptions& o, const TTestTree&) {
             EXPECT_FALSE(o.MiscOptions().Contains(toToggleOnDblClick));
             EXPECT_TRUE(o.MiscOptions().Contains(toEditOnDblClick));
         },
         false},
        {"toCheckSupport repaints",
         [](TStringTreeOptions& o) { o.SetMiscOptions(o.MiscOptions() + TDTMiscOptions{toCheckSupport}); },
         [](const TStringTreeOptions&, const TTestTree&) {}, true},
        {"toFullRepaintOnResize remakes the window",
         [](TStringTreeOptions& o) { o.SetMiscOptions(o.MiscOptions() - TDTMiscOptions{toFullRepaintOnResize}); },
         [](const TStringTreeOptions&, const TTestTree& tree) { EXPECT_EQ(tree.WindowsMade, 2); }, false},
        {"toAutoSpanColumns repaints",
         [](TStringTreeOptions& o) { o.SetAutoOptions(o.AutoOptions() + TDTAutoOptions{toAutoSpanColumns}); },
         [](const TStringTreeOptions&, const TTestTree&) {}, true},
        {"other auto options do not",
         [](TStringTreeOptions& o) { o.SetAutoOptions(o.AutoOptions() + TDTAutoOptions{toAutoExpand}); },
         [](const TStringTreeOptions&, const TTestTree&) {}, false},
        {"toShowStaticText repaints",
         [](TStringTreeOptions& o) { o.SetStringOptions(o.StringOptions() + TDTStringOptions{toShowStaticText}); },
         [](const TStringTreeOptions&, const TTestTree&) {}, true},
        {"toSaveCaptions does not",
         [](TStringTreeOptions& o) { o.SetStringOptions(o.StringOptions() - TDTStringOptions{toSaveCaptions}); },
         [](const TStringTreeOptions&, const TTestTree&) {}, false},
    };
    for (const TSideEffectCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* tree = new TTestTree(Form);
        tree->SetParent(Form);
        tree->HandleNeeded();
        ASSERT_EQ(tree->WindowsMade, 1);
        const int before = tree->Invalidations;
        c.change(*tree->TreeOptions());
        c.check(*tree->TreeOptions(), *tree);
        EXPECT_EQ(tree->Invalidations > before, c.invalidates);
        delete tree;
    }
}

TEST_F(TreeOptions, WithoutAWindowOrWhileLoadingTheSettersOnlyStore)
{
    TStringTreeOptions* options = Tree->TreeOptions();
    options->SetMiscOptions(options->MiscOptions() + TDTMiscOptions{toEditOnDblClick});
    EXPECT_TRUE(options->MiscOptions().Contains(toToggleOnDblClick)) << "no window: both stay";

    plat::BeginLoading();
    auto* loading = new TTestTree(Form);
    loading->SetParent(Form);
    loading->HandleNeeded();
    TStringTreeOptions* loadingOptions = loading->TreeOptions();
    loadingOptions->SetMiscOptions(loadingOptions->MiscOptions() + TDTMiscOptions{toEditOnDblClick});
    EXPECT_TRUE(loadingOptions->MiscOptions().Contains(toToggleOnDblClick)) << "loading: both stay";
    plat::EndLoading();
}

TEST_F(TreeOptions, VariableNodeHeightReinitialisesTheInitialisedNodes)
{
    ShowForm();
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    Tree->SetRootNodeCount(3);
    Tree->ValidateNode(Tree->RootNode()->FirstChild, false);
    std::vector<bool> reinit;
    Tree->OnInitNode = [&reinit](plat::TObject*, PDataNode, PDataNode, TDataNodeInitStates& states) {
        reinit.push_back(states.Contains(ivsReInit));
    };
    std::vector<TDTUpdateState> phases;
    Tree->OnUpdating = [&phases](plat::TObject*, TDTUpdateState state) { phases.push_back(state); };
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toVariableNodeHeight});
    EXPECT_EQ(reinit, std::vector<bool>{true}) << "only the one initialised node";
    EXPECT_EQ(phases, (std::vector<TDTUpdateState>{usBegin, usEnd}));
}

TEST_F(TreeOptions, ShowingFilteredNodesGivesThemTheirRowsBack)
{
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    Tree->OnInitNode = +[](plat::TObject*, PDataNode parent, PDataNode, TDataNodeInitStates& states) {
        if (parent != nullptr) {
            states.Include(ivsFiltered);
        }
    };
    const PDataNode top = Tree->AddChild(nullptr);
    Tree->SetChildCount(top, 2);
    Tree->SetExpanded(top, true);
    Tree->ValidateNode(top, true);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    TStringTreeOptions* options = Tree->TreeOptions();
    for (bool shown : {true, false, true}) {
        SCOPED_TRACE(shown);
        TDTPaintOptions paint = options->PaintOptions();
        if (shown) {
            paint.Include(toShowFilteredNodes);
        } else {
            paint.Exclude(toShowFilteredNodes);
        }
        options->SetPaintOptions(paint);
        EXPECT_EQ(Tree->VisibleCount(), shown ? 3u : 1u);
        EXPECT_EQ(Tree->RootNode()->TotalHeight, 18 + 18 + (shown ? 36 : 0));
        EXPECT_EQ(top->States.Contains(vsAllChildrenHidden), !shown);
        EXPECT_EQ(CheckInvariants(*Tree), "");
    }
}

TEST_F(TreeOptions, StringTreeOptionsAssignStringAndEditOptionsFirst)
{
    TTestTree source(nullptr);
    TStringTreeOptions* from = source.TreeOptions();
    from->SetStringOptions({toShowStaticText});
    from->SetEditOptions(toVerticalEdit);
    from->SetExportMode(emChecked);
    from->SetPaintOptions({toHotTrack});
    from->SetAutoOptions({toAutoScroll});
    from->SetSelectionOptions({toMultiSelect});
    from->SetMiscOptions({toReadOnly});
    from->SetAnimationOptions({toAnimatedToggle});
    Tree->SetTreeOptions(from);
    const TStringTreeOptions* to = Tree->TreeOptions();
    EXPECT_EQ(to->StringOptions(), TDTStringOptions{toShowStaticText});
    EXPECT_EQ(to->EditOptions(), toVerticalEdit);
    EXPECT_EQ(to->ExportMode(), emAll) << "never copied";
    EXPECT_EQ(to->PaintOptions(), TDTPaintOptions{toHotTrack});
    EXPECT_EQ(to->AutoOptions(), TDTAutoOptions{toAutoScroll});
    EXPECT_EQ(to->SelectionOptions(), TDTSelectionOptions{toMultiSelect});
    EXPECT_EQ(to->MiscOptions(), TDTMiscOptions{toReadOnly});
    EXPECT_EQ(to->AnimationOptions(), TDTAnimationOptions{toAnimatedToggle});

    // Into a base options object: the five sets only.
    TBaseDataTree base(nullptr);
    base.SetTreeOptions(from);
    EXPECT_EQ(base.TreeOptions()->PaintOptions(), TDTPaintOptions{toHotTrack});
    EXPECT_EQ(base.TreeOptions()->EditOptions(), toDefaultEdit);
    EXPECT_THROW(base.TreeOptions()->Assign(source.ScrollBarOptions()), plat::EAssignError);
}

TEST_F(TreeOptions, ScrollBarOptionsRemakeTheWindowOncePerChangedStyle)
{
    ShowForm();
    ASSERT_EQ(Tree->WindowsMade, 1);
    TScrollBarOptions given(nullptr);
    given.SetAlwaysVisible(true);
    given.SetScrollBars(ssVertical);
    given.SetScrollBarStyle(sbm3D);
    given.SetHorizontalIncrement(7);
    given.SetVerticalIncrement(20000);
    Tree->SetScrollBarOptions(&given);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->WindowsMade, 3) << "once for AlwaysVisible, once for ScrollBars";
    const TScrollBarOptions* options = Tree->ScrollBarOptions();
    EXPECT_TRUE(options->AlwaysVisible());
    EXPECT_EQ(options->ScrollBars(), ssVertical);
    EXPECT_EQ(options->ScrollBarStyle(), sbm3D);
    EXPECT_EQ(options->HorizontalIncrement(), 7);
    EXPECT_EQ(options->VerticalIncrement(), MaxScrollIncrement) << "brought into 1 .. 10000";
    Tree->SetScrollBarOptions(&given);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->WindowsMade, 3) << "nothing changed";
}

TEST_F(TreeOptions, SelectionOptionsEndASelectionMadeUnderOtherRules)
{
    ShowForm();
    TDataTreeColumns& columns = Tree->Header()->Columns();
    for (int i = 0; i < 3; ++i) {
        columns.Add();
    }
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    Tree->Header()->SetMainColumn(1);
    Tree->SetRootNodeCount(3);
    const TDTSelectionOptions base = DefaultSelectionOptions + TDTSelectionOptions{toMultiSelect, toExtendedFocus};
    struct TCase {
        const char* name;
        TDTSelectionOptions before;
        TDTSelectionOptions after;
        bool clears;
        TColumnIndex focusedColumn;   // afterwards, from column 2
    };
    const TCase cases[] = {
        {"toMultiSelect off", base, base - TDTSelectionOptions{toMultiSelect}, true, 2},
        {"toMultiSelect on", base - TDTSelectionOptions{toMultiSelect}, base, true, 2},
        {"level constraint added", base, base + TDTSelectionOptions{toLevelSelectConstraint}, true, 2},
        {"sibling constraint added", base, base + TDTSelectionOptions{toSiblingSelectConstraint}, true, 2},
        {"level constraint removed", base + TDTSelectionOptions{toLevelSelectConstraint}, base, false, 2},
        {"other options", base, base + TDTSelectionOptions{toCenterScrollIntoView}, false, 2},
        {"toExtendedFocus removed", base, base - TDTSelectionOptions{toExtendedFocus}, false, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Tree->TreeOptions()->SetSelectionOptions(c.before);
        Tree->SetFocusedColumn(2);
        Tree->SetSelected(Tree->GetFirst(), true);
        ASSERT_EQ(Tree->SelectedCount(), 1);
        int changes = 0;
        Tree->OnChange = [&changes](plat::TObject*, PDataNode) { ++changes; };
        Tree->TreeOptions()->SetSelectionOptions(c.after);
        Tree->OnChange = nullptr;
        EXPECT_EQ(Tree->SelectedCount(), c.clears ? 0 : 1);
        EXPECT_EQ(changes > 0, c.clears) << "the clearing is announced";
        EXPECT_EQ(Tree->FocusedColumn(), c.focusedColumn);
        Tree->ClearSelection();
    }
}

TEST_F(TreeOptions, ThemeOptionsRebuildTheButtonPictures)
{
    ShowForm();
    int prepared = 0;
    Tree->SetOnPrepareButtonBitmaps([&prepared](plat::TObject*, plat::TBitmap*, plat::TBitmap*, plat::TBitmap*,
                                                plat::TBitmap*, plat::TBitmap*, plat::TBitmap*,
                                                plat::TSize&) { ++prepared; });
    TStringTreeOptions* options = Tree->TreeOptions();
    struct TCase {
        const char* name;
        TDTPaintOptions change;
        int prepared;
    };
    for (const TCase& c : {TCase{"toThemeAware", TDTPaintOptions{toThemeAware}, 1},
                           TCase{"toUseExplorerTheme", TDTPaintOptions{toUseExplorerTheme}, 1},
                           TCase{"toHotTrack", TDTPaintOptions{toHotTrack}, 0}}) {
        SCOPED_TRACE(c.name);
        prepared = 0;
        const TDTPaintOptions before = options->PaintOptions();
        options->SetPaintOptions((before - c.change) + (c.change - before));
        EXPECT_EQ(prepared, c.prepared);
    }
    Tree->SetOnPrepareButtonBitmaps(nullptr);
}

TEST_F(TreeOptions, AnimationDurationSwitchesTheToggleAnimation)
{
    Tree->SetAnimationDuration(0);
    EXPECT_FALSE(Tree->TreeOptions()->AnimationOptions().Contains(toAnimatedToggle));
    Tree->SetAnimationDuration(150);
    EXPECT_TRUE(Tree->TreeOptions()->AnimationOptions().Contains(toAnimatedToggle));
    EXPECT_EQ(Tree->AnimationDuration(), 150u);
}

} // namespace
} // namespace qel::tree_test
