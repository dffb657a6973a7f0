// Check states of data tree nodes as the record tree uses them: tri-state
// boxes passing a change down to their children and up to their parent,
// disabled children, vetoes, and radio buttons excluding their siblings.
#include "tests/widgets/tree/tree_fixture.h"

namespace qel::tree_test {
namespace {

class CheckState : public TreeTest {
protected:
    CheckState()
    {
        Tree->OnChecked = [this](plat::TObject*, PDataNode node) { Checked.push_back(node); };
        Parent = Tree->AddChild(nullptr);
        Parent->CheckType = ctTriStateCheckBox;
        for (int i = 0; i < 3; ++i) {
            const PDataNode child = Tree->AddChild(Parent);
            child->CheckType = ctTriStateCheckBox;
            Kids.push_back(child);
        }
        Tree->ValidateNode(Parent, true);
        Checked.clear();
    }

    PDataNode Parent = nullptr;
    std::vector<PDataNode> Kids;
    std::vector<PDataNode> Checked;
};

TEST_F(CheckState, CheckingAParentChecksItsChildren)
{
    Tree->SetCheckState(Parent, csCheckedNormal);
    for (PDataNode kid : Kids) {
        EXPECT_EQ(kid->CheckState, csCheckedNormal);
    }
    EXPECT_EQ(Parent->CheckState, csCheckedNormal);
    EXPECT_EQ(Checked, (std::vector<PDataNode>{Kids[0], Kids[1], Kids[2], Parent}));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCheckPropagation));
    EXPECT_EQ(Tree->UpdateCount(), 0u);
}

TEST_F(CheckState, DisabledChildrenKeepTheirStateAndCountAsTheRulesSay)
{
    Kids[2]->CheckState = csUncheckedDisabled;
    Tree->SetCheckState(Parent, csCheckedNormal);
    EXPECT_EQ(Kids[2]->CheckState, csUncheckedDisabled);
    EXPECT_EQ(Parent->CheckState, csCheckedNormal) << "not counted while checking";

    Kids[2]->CheckState = csCheckedDisabled;
    Tree->SetCheckState(Parent, csUncheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal) << "counted as checked while unchecking";
}

TEST_F(CheckState, ChildrenSetTheirParent)
{
    Tree->SetCheckState(Kids[0], csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal);
    Tree->SetCheckState(Kids[1], csCheckedNormal);
    Tree->SetCheckState(Kids[2], csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csCheckedNormal);
    Tree->SetCheckState(Kids[1], csUncheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal);
    Tree->SetCheckState(Kids[0], csUncheckedNormal);
    Tree->SetCheckState(Kids[2], csUncheckedNormal);
    EXPECT_EQ(Parent->CheckState, csUncheckedNormal);
}

TEST_F(CheckState, AVetoedParentLeavesTheChildChangedAndAnnounced)
{
    Tree->OnChecking = [this](plat::TObject*, PDataNode node, TCheckState&, bool& allowed) {
        allowed = node != Parent;
    };
    Tree->SetCheckState(Kids[0], csCheckedNormal);
    EXPECT_EQ(Kids[0]->CheckState, csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csUncheckedNormal);
    EXPECT_EQ(Checked, std::vector<PDataNode>{Kids[0]}) << "the child's change is told, the parent's refusal kept";
    Tree->SetCheckState(Kids[0], csCheckedNormal);
    EXPECT_EQ(Checked.size(), 1u) << "the same state again fires nothing";
}

TEST_F(CheckState, RadioButtonsExcludeTheirSiblingsAndStopPropagation)
{
    const PDataNode logger = Tree->AddChild(nullptr);
    const PDataNode other = Tree->AddChild(nullptr);
    logger->CheckType = other->CheckType = ctRadioButton;
    other->CheckState = csCheckedNormal;
    Tree->SetCheckState(logger, csCheckedNormal);
    EXPECT_EQ(other->CheckState, csUncheckedNormal);
    EXPECT_EQ(Checked, std::vector<PDataNode>{logger});

    const PDataNode selectAll = Tree->AddChild(logger);
    selectAll->CheckType = ctTriStateCheckBox;
    Tree->ValidateNode(selectAll, false);
    Tree->SetCheckState(selectAll, csCheckedNormal);
    EXPECT_EQ(logger->CheckState, csCheckedNormal) << "a radio parent is not touched";
}

TEST_F(CheckState, AReadOnlyTreeRefusesChanges)
{
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    Tree->SetCheckState(Kids[0], csCheckedNormal);
    EXPECT_EQ(Kids[0]->CheckState, csUncheckedNormal);
    EXPECT_TRUE(Checked.empty());
}

TEST(CheckStateValues, PureHelpers)
{
    const TCheckState states[] = {csUncheckedNormal, csUncheckedPressed, csCheckedNormal,
                                  csCheckedPressed,  csMixedNormal,      csMixedPressed,
                                  csUncheckedDisabled, csCheckedDisabled, csMixedDisabled};
    const int unpressed[] = {0, 0, 2, 2, 4, 4, 6, 7, 8};
    const int enabled[] = {0, 1, 2, 3, 4, 5, 0, 2, 4};
    const int toggled[] = {2, 3, 0, 1, 2, 3, 6, 7, 8};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetUnpressed(states[i]), unpressed[i]);
        EXPECT_EQ(GetEnabled(states[i]), enabled[i]);
        EXPECT_EQ(GetToggled(states[i]), toggled[i]);
        EXPECT_EQ(IsDisabled(states[i]), i > 5);
        EXPECT_EQ(IsChecked(states[i]), i == 2 || i == 3 || i == 7);
    }
}

} // namespace
} // namespace qel::tree_test
