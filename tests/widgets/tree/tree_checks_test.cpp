// Check elements on the record tree the program fills: clicks on radio
// buttons, "Select all" and recordings with the order of the events,
// vetoes, the program's own handler re-arranging the tree, check types,
// states for many nodes, and the check image of every state.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/image_list.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace qel::tree_test {
namespace {

class RecordTreeChecks : public RecordTreeTest {
protected:
    RecordTreeChecks()
    {
        Fill(SerialsABA);
        Tree->OnChecked = [this](plat::TObject*, PDataNode node) { Checked.push_back(node); };
    }

    // A left click on the check element, as the mouse handling passes it.
    void Click(PDataNode node) { Tree->HandleCheckClick(node, plat::MK_LBUTTON); }

    std::vector<TCheckState> States(const std::vector<PDataNode>& nodes) const
    {
        std::vector<TCheckState> states;
        for (PDataNode node : nodes) {
            states.push_back(node->CheckState);
        }
        return states;
    }

    std::vector<PDataNode> Checked;
};

TEST_F(RecordTreeChecks, TheFillIsAsTheProgramMakesIt)
{
    ASSERT_EQ(Loggers.size(), 3u) << "A, B, A: a new logger whenever the serial changes";
    EXPECT_EQ(States(Loggers), (std::vector<TCheckState>{csCheckedNormal, csUncheckedNormal, csUncheckedNormal}));
    EXPECT_EQ(Records(0).size(), 3u);
    EXPECT_EQ(Records(1).size(), 2u);
    EXPECT_EQ(Records(2).size(), 2u);
    for (std::size_t logger = 0; logger < 3; ++logger) {
        EXPECT_EQ(Loggers[logger]->CheckType, ctRadioButton);
        EXPECT_EQ(SelectAll(logger)->CheckType, ctTriStateCheckBox);
        EXPECT_EQ(SelectAll(logger)->CheckState, csUncheckedNormal);
    }
    const TRecordNodeData& sixth = *Tree->GetNodeData<TRecordNodeData>(Records(2)[0]);
    EXPECT_EQ(sixth.Caption, "6");
    EXPECT_EQ(sixth.RecNo, 5);
    EXPECT_EQ(Tree->GetNodeData<TRecordNodeData>(Loggers[2])->Caption, "QEL1001");
    EXPECT_TRUE(Checked.empty()) << "direct writes fire nothing";
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(RecordTreeChecks, CheckingARecordMakesSelectAllMixedAndTellsItFirst)
{
    const PDataNode record = Records(0)[1];
    Click(record);
    EXPECT_EQ(record->CheckState, csCheckedNormal);
    EXPECT_EQ(SelectAll(0)->CheckState, csMixedNormal);
    EXPECT_EQ(Loggers[0]->CheckState, csCheckedNormal) << "a radio parent is not touched";
    EXPECT_EQ(Checked, (std::vector<PDataNode>{SelectAll(0), record}));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCheckPropagation));
    EXPECT_EQ(Tree->UpdateCount(), 0u);

    Checked.clear();
    for (PDataNode other : Records(0)) {
        if (other != record) {
            Click(other);
        }
    }
    EXPECT_EQ(SelectAll(0)->CheckState, csCheckedNormal) << "all recordings checked";
    Click(record);
    EXPECT_EQ(SelectAll(0)->CheckState, csMixedNormal);
    for (PDataNode each : Records(0)) {
        if (each->CheckState == csCheckedNormal) {
            Click(each);
        }
    }
    EXPECT_EQ(SelectAll(0)->CheckState, csUncheckedNormal) << "none checked";
}

TEST_F(RecordTreeChecks, CheckingSelectAllChecksEveryRecordInOrder)
{
    Click(SelectAll(1));
    const std::vector<PDataNode> records = Records(1);
    EXPECT_EQ(Checked, (std::vector<PDataNode>{records[0], records[1], SelectAll(1)}));
    EXPECT_EQ(States(records), std::vector<TCheckState>(2, csCheckedNormal));
    EXPECT_EQ(SelectAll(1)->CheckState, csCheckedNormal);
    EXPECT_EQ(Loggers[1]->CheckState, csUncheckedNormal) << "never the logger";

    Checked.clear();
    Click(records[0]);
    EXPECT_EQ(SelectAll(1)->CheckState, csMixedNormal);
    Click(SelectAll(1));
    EXPECT_EQ(States(records), std::vector<TCheckState>(2, csCheckedNormal)) << "mixed toggles to checked";
    Click(SelectAll(1));
    EXPECT_EQ(States(records), std::vector<TCheckState>(2, csUncheckedNormal));
    EXPECT_EQ(Records(0)[0]->CheckState, csUncheckedNormal) << "other loggers untouched";
}

TEST_F(RecordTreeChecks, CheckingALoggerUnchecksTheOthersSilently)
{
    Click(SelectAll(0));
    Checked.clear();
    Click(Loggers[1]);
    EXPECT_EQ(States(Loggers), (std::vector<TCheckState>{csUncheckedNormal, csCheckedNormal, csUncheckedNormal}));
    EXPECT_EQ(Checked, std::vector<PDataNode>{Loggers[1]}) << "one event, for the clicked logger";
    EXPECT_EQ(States(Records(0)), std::vector<TCheckState>(3, csCheckedNormal)) << "records keep their states";

    Checked.clear();
    Click(Loggers[1]);
    EXPECT_TRUE(Checked.empty()) << "a checked radio button asks for the same state";
    Tree->HandleCheckClick(Loggers[2], 0x0002);
    EXPECT_EQ(Loggers[2]->CheckState, csUncheckedNormal) << "the right button does not toggle";
}

TEST_F(RecordTreeChecks, ARefusingSelectAllLeavesTheRecordCheckedAndAnnounced)
{
    Tree->OnChecking = [this](plat::TObject*, PDataNode node, TCheckState&, bool& allowed) {
        allowed = node != SelectAll(0);
    };
    const PDataNode record = Records(0)[2];
    Click(record);
    EXPECT_EQ(record->CheckState, csCheckedNormal);
    EXPECT_EQ(SelectAll(0)->CheckState, csUncheckedNormal);
    EXPECT_EQ(Checked, std::vector<PDataNode>{record}) << "every changed node is told";
}

TEST_F(RecordTreeChecks, ARefusedRecordKeepsSelectAllMixed)
{
    const PDataNode refused = Records(0)[1];
    Tree->OnChecking = [refused](plat::TObject*, PDataNode node, TCheckState&, bool& allowed) {
        allowed = node != refused;
    };
    Click(SelectAll(0));
    EXPECT_EQ(refused->CheckState, csUncheckedNormal);
    EXPECT_EQ(SelectAll(0)->CheckState, csMixedNormal);
    EXPECT_EQ(Checked, (std::vector<PDataNode>{Records(0)[0], Records(0)[2], SelectAll(0)}));
}

TEST_F(RecordTreeChecks, AHandlerRaisingLeavesTheTreeUsable)
{
    Tree->OnChecked = [this](plat::TObject*, PDataNode node) {
        if (node == SelectAll(0)) {
            throw std::runtime_error("handler failed");
        }
    };
    EXPECT_THROW(Click(Records(0)[0]), std::runtime_error);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCheckPropagation));
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    for (PDataNode node : AllNodes(*Tree)) {
        EXPECT_FALSE(node->States.Contains(vsChecking));
    }
    Tree->OnChecked = nullptr;
    Click(Records(0)[1]);
    EXPECT_EQ(Records(0)[1]->CheckState, csCheckedNormal);
}

// The program's check handler: checking a logger selects it, shows and
// opens its "Select all" and hides the other loggers' recordings.
TEST_F(RecordTreeChecks, TheProgramsHandlerReArrangesTheTree)
{
    const auto showLogger = [this](PDataNode chosen) {
        if (chosen == nullptr || chosen->CheckType != ctRadioButton) {
            return;
        }
        for (PDataNode logger : Loggers) {
            if (logger == chosen) {
                Tree->SetSelected(logger, true);
                Tree->SetVisible(logger->FirstChild, true);
                Tree->SetExpanded(logger, true);
                Tree->SetExpanded(logger->FirstChild, true);
            } else {
                Tree->SetVisible(logger->FirstChild, false);
                logger->States.Exclude(vsExpanded);
            }
        }
    };
    Tree->OnChecked = [&](plat::TObject*, PDataNode node) {
        Checked.push_back(node);
        Tree->BeginUpdate();
        try {
            showLogger(node);
        } catch (...) {
            Tree->EndUpdate();
            throw;
        }
        Tree->EndUpdate();
    };
    ShowForm();
    Tree->BeginUpdate();
    showLogger(Loggers[0]);
    Tree->EndUpdate();
    Click(Records(0)[0]);
    EXPECT_EQ(Tree->VisibleCount(), 3u + 1 + 3);

    Click(Loggers[2]);
    EXPECT_EQ(Tree->FocusedNode(), Loggers[2]);
    EXPECT_TRUE(Tree->GetSelected(Loggers[2]));
    EXPECT_EQ(Tree->SelectedCount(), 1);
    EXPECT_FALSE(Tree->GetVisible(SelectAll(0)));
    EXPECT_EQ(Records(0)[0]->CheckState, csCheckedNormal) << "hidden records keep their states";
    EXPECT_EQ(Tree->GetFirstChecked(), Records(0)[0]);

    // What OK then reads: the checked records of the checked logger.
    PDataNode checkedLogger = nullptr;
    for (PDataNode logger : Loggers) {
        if (checkedLogger == nullptr && Tree->GetCheckState(logger) == csCheckedNormal) {
            checkedLogger = logger;
        }
    }
    EXPECT_EQ(checkedLogger, Loggers[2]);
    Click(Records(2)[1]);
    std::vector<std::int32_t> chosen;
    for (PDataNode record : Tree->ChildNodes(checkedLogger->FirstChild)) {
        if (Tree->GetCheckState(record) == csCheckedNormal) {
            chosen.push_back(Tree->GetNodeData<TRecordNodeData>(record)->RecNo);
        }
    }
    EXPECT_EQ(chosen, std::vector<std::int32_t>{6});
    // The list rebuilt after a new read of the card.
    Fill(SerialsABA);
    EXPECT_EQ(Tree->SelectedCount(), 0);
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

class CheckTypes : public TreeTest {
protected:
    CheckTypes()
    {
        Parent = Tree->AddChild(nullptr);
        Parent->CheckType = ctTriStateCheckBox;
        Child = Tree->AddChild(Parent);
        Tree->ValidateNode(nullptr, true);
    }

    PDataNode Parent = nullptr;
    PDataNode Child = nullptr;
};

TEST_F(CheckTypes, ANewBoxFollowsItsTriStateParent)
{
    Tree->SetCheckState(Parent, csCheckedNormal);
    Tree->SetCheckType(Child, ctTriStateCheckBox);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);

    Child->CheckState = csMixedNormal;
    Tree->SetCheckType(Child, ctRadioButton);
    EXPECT_EQ(Child->CheckState, csUncheckedNormal) << "only tri-state boxes are mixed";

    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    Tree->SetCheckType(Child, ctCheckBox);
    EXPECT_EQ(Child->CheckType, ctRadioButton) << "a read-only tree keeps its types";
}

TEST_F(CheckTypes, AMixedBoxBecomesAPlainUncheckedBox)
{
    Parent->CheckState = csMixedNormal; // a mixed parent is not followed
    Child->CheckType = ctTriStateCheckBox;
    Child->CheckState = csMixedNormal;
    Tree->SetCheckType(Child, ctCheckBox);
    EXPECT_EQ(Child->CheckType, ctCheckBox);
    EXPECT_EQ(Child->CheckState, csUncheckedNormal);
}

TEST_F(CheckTypes, WithoutTrackingABoxChangesAlone)
{
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoTristateTracking});
    Child->CheckType = ctTriStateCheckBox;
    Tree->SetCheckState(Child, csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csUncheckedNormal);
    Tree->SetCheckState(Parent, csCheckedNormal);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);
    Tree->SetCheckState(Parent, csUncheckedNormal);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);
}

TEST_F(CheckTypes, StatesForManyNodes)
{
    const PDataNode disabled = Tree->AddChild(Parent);
    Tree->ValidateNode(disabled, false);
    disabled->CheckState = csUncheckedDisabled;
    Tree->SetCheckStateForAll(csCheckedNormal, false, true);
    EXPECT_EQ(Parent->CheckState, csCheckedNormal);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);
    EXPECT_EQ(disabled->CheckState, csUncheckedDisabled);
    EXPECT_EQ(Tree->CheckedCount(), 2u);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    Tree->ClearChecked();
    EXPECT_EQ(Tree->CheckedCount(), 0u);
    EXPECT_EQ(disabled->CheckState, csUncheckedNormal) << "cleared like any other";

    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() + TDTSelectionOptions{toMultiSelect});
    Tree->SetSelected(Child, true);
    Tree->SetCheckStateForAll(csCheckedNormal, true, true);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csUncheckedNormal) << "only the selection";
}

TEST_F(CheckTypes, AClickOnOneOfSeveralSelectedNodesSetsThemAll)
{
    const PDataNode other = Tree->AddChild(Parent);
    const PDataNode unselected = Tree->AddChild(Parent);
    Tree->ValidateNode(nullptr, true);
    other->CheckType = Child->CheckType = unselected->CheckType = ctCheckBox;
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() + TDTSelectionOptions{toMultiSelect});
    Tree->SetSelected(Child, true);
    Tree->SetSelected(other, true);
    Tree->HandleCheckClick(other, plat::MK_LBUTTON);
    EXPECT_EQ(other->CheckState, csCheckedNormal);
    EXPECT_EQ(Child->CheckState, csCheckedNormal);
    EXPECT_EQ(unselected->CheckState, csUncheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal) << "two of its three children";
}

TEST(CheckImages, TheIndexOfEveryState)
{
    plat::THeadlessHost host;
    plat::TApplication application(host);
    TTestTree tree(nullptr);
    struct TRow {
        TCheckType type;
        TCheckState state;
        int disabled, enabled, hot;
    };
    const TRow rows[] = {
        {ctCheckBox, csUncheckedNormal, 12, 9, 10},     {ctCheckBox, csUncheckedPressed, 12, 11, 11},
        {ctCheckBox, csCheckedNormal, 16, 13, 14},      {ctCheckBox, csCheckedPressed, 16, 15, 15},
        {ctCheckBox, csMixedNormal, 20, 17, 18},        {ctCheckBox, csMixedPressed, 20, 19, 19},
        {ctRadioButton, csUncheckedNormal, 4, 1, 2},    {ctRadioButton, csUncheckedPressed, 4, 3, 3},
        {ctRadioButton, csCheckedNormal, 8, 5, 6},      {ctRadioButton, csCheckedPressed, 8, 7, 7},
        {ctRadioButton, csMixedNormal, 20, 17, 18},     {ctRadioButton, csMixedPressed, 20, 19, 19},
        {ctButton, csUncheckedNormal, 24, 21, 22},      {ctButton, csUncheckedPressed, 24, 23, 23},
        {ctButton, csCheckedNormal, 24, 21, 22},        {ctButton, csCheckedPressed, 24, 23, 23},
        {ctButton, csMixedNormal, 20, 17, 18},          {ctButton, csMixedPressed, 20, 19, 19},
        {ctTriStateCheckBox, csCheckedNormal, 16, 13, 14},
    };
    const PDataNode node = tree.AddChild(nullptr);
    tree.ValidateNode(node, false);
    for (const TRow& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.type) * 10 + row.state);
        EXPECT_EQ(tree.GetCheckImage(nullptr, row.type, row.state, false), row.disabled);
        EXPECT_EQ(tree.GetCheckImage(nullptr, row.type, row.state, true), row.enabled);
        node->CheckType = row.type;
        node->CheckState = row.state;
        tree.FHotNode = node;
        EXPECT_EQ(tree.GetCheckImage(node), row.hot);
        tree.FHotNode = nullptr;
        EXPECT_EQ(tree.GetCheckImage(node), row.enabled);
        node->States.Include(vsDisabled);
        EXPECT_EQ(tree.GetCheckImage(node), row.disabled);
        node->States.Exclude(vsDisabled);
    }
    EXPECT_EQ(tree.GetCheckImage(nullptr, ctNone, csCheckedNormal, true), -1);
    EXPECT_EQ(tree.GetCheckImage(nullptr, ctCheckBox, csCheckedDisabled, true), 16) << "a disabled state";

    // Under the mouse, the left button held after a check-box hit: pressed.
    node->CheckType = ctCheckBox;
    node->CheckState = csUncheckedNormal;
    tree.FHotNode = node;
    tree.CheckBoxHit = true;
    std::uint8_t keys[plat::KEY_STATE_COUNT] = {};
    keys[plat::VK_LBUTTON] = 0x80;
    plat::SetKeyboardState(keys);
    EXPECT_EQ(tree.GetCheckImage(node), 11);
    node->CheckState = csMixedNormal;
    EXPECT_EQ(tree.GetCheckImage(node), 18) << "mixed never shows pressed";
    keys[plat::VK_LBUTTON] = 0;
    plat::SetKeyboardState(keys);
    node->CheckState = csUncheckedNormal;
    EXPECT_EQ(tree.GetCheckImage(node), 10);
}

// Check boxes that follow the selection, shown from a list of check images.
void SyncCheckBoxesWithSelection(TTestTree& tree, plat::TCustomImageList& images, TDTSelectionOptions more = {})
{
    tree.FCheckImages = &images;
    TCustomDataTreeOptions& options = *tree.TreeOptions();
    options.SetMiscOptions(options.MiscOptions() + TDTMiscOptions{toCheckSupport});
    options.SetSelectionOptions(options.SelectionOptions() + more +
                                TDTSelectionOptions{toSyncCheckboxesWithSelection, toMultiSelect});
}

TEST(CheckImages, SyncedCheckBoxesFollowTheSelection)
{
    plat::THeadlessHost host;
    plat::TApplication application(host);
    TTestTree tree(nullptr);
    plat::TCustomImageList images(nullptr);
    SyncCheckBoxesWithSelection(tree, images);
    const PDataNode box = tree.AddChild(nullptr);
    const PDataNode radio = tree.AddChild(nullptr);
    tree.ValidateNode(nullptr, true);
    EXPECT_EQ(box->CheckType, ctCheckBox) << "nodes become check boxes as they are initialised";
    radio->CheckType = ctRadioButton;

    tree.SetSelected(box, true);
    EXPECT_EQ(box->CheckState, csCheckedNormal);
    tree.SetSelected(box, false);
    EXPECT_EQ(box->CheckState, csUncheckedNormal);
    tree.SetSelected(radio, true);
    EXPECT_EQ(radio->CheckState, csUncheckedNormal) << "other types are not touched";

    tree.SetCheckState(box, csCheckedNormal);
    EXPECT_TRUE(tree.GetSelected(box)) << "and the selection follows the check box";
    tree.SetCheckState(box, csUncheckedNormal);
    EXPECT_FALSE(tree.GetSelected(box));
    tree.FCheckImages = nullptr;
}

// Clearing a selection of synced check boxes where a node is always to be
// selected: the boxes are unchecked and the clearing ends.
TEST(CheckImages, ClearingSyncedCheckBoxesEndsWhenANodeIsAlwaysSelected)
{
    plat::THeadlessHost host;
    plat::TApplication application(host);
    TTestTree tree(nullptr);
    plat::TCustomImageList images(nullptr);
    SyncCheckBoxesWithSelection(tree, images, TDTSelectionOptions{toAlwaysSelectNode});
    tree.SetRootNodeCount(3);
    tree.ValidateNode(nullptr, true);
    tree.SelectAll(false);
    ASSERT_EQ(tree.SelectedCount(), 3);
    tree.ClearSelection();
    EXPECT_EQ(tree.SelectedCount(), 0);
    for (PDataNode node : Children(tree)) {
        EXPECT_EQ(node->CheckState, csUncheckedNormal);
    }
    EXPECT_FALSE(tree.SelectionLocked());
    tree.FCheckImages = nullptr;
}

} // namespace
} // namespace qel::tree_test
