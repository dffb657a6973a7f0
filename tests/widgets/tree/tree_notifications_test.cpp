// Update counting and change notifications of the data tree on the manual
// clock: delayed OnChange and OnStructureChange, accumulated reasons,
// OnUpdating phases, synchronous mode, state changes, operations, and the
// end of an update when a handler raises.
#include "platform/controls/window_paint.h"
#include "tests/widgets/tree/tree_fixture.h"

#include <stdexcept>

namespace qel::tree_test {
namespace {

class TreeNotifications : public TreeTest {
protected:
    TreeNotifications()
    {
        Tree->OnChange = [this](plat::TObject*, PDataNode node) { Changes.push_back({Host.Clock().NowMs(), node}); };
        Tree->OnStructureChange = [this](plat::TObject*, PDataNode node, TChangeReason reason) {
            StructureChanges.push_back({node, reason});
        };
    }

    struct TChangeSeen {
        std::int64_t AtMs;
        PDataNode Node;
    };
    std::vector<TChangeSeen> Changes;
    std::vector<std::pair<PDataNode, TChangeReason>> StructureChanges;
};

TEST_F(TreeNotifications, WithoutDelayOnChangeComesInsideTheCall)
{
    ShowForm();
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->Change(node);
    ASSERT_EQ(Changes.size(), 1u);
    EXPECT_EQ(Changes[0].Node, node);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsChangePending));
}

TEST_F(TreeNotifications, ADelayCollapsesABurstIntoOneChange)
{
    ShowForm();
    Tree->SetChangeDelay(100);
    Tree->SetRootNodeCount(3);
    const std::vector<PDataNode> nodes = Children(*Tree);
    const std::int64_t start = Host.Clock().NowMs();
    for (PDataNode node : nodes) {
        Tree->Change(node);
        Host.AdvanceClock(25);
    }
    // The last change came at start + 50; the clock is at start + 75.
    Host.AdvanceClock(149 - 75);
    EXPECT_TRUE(Changes.empty());
    EXPECT_TRUE(Tree->TreeStates().Contains(tsChangePending));
    Host.AdvanceClock(1);
    ASSERT_EQ(Changes.size(), 1u);
    EXPECT_EQ(Changes[0].Node, nodes[2]);
    EXPECT_EQ(Changes[0].AtMs, start + 50 + 100);
    Host.AdvanceClock(500);
    EXPECT_EQ(Changes.size(), 1u) << "the timer stopped";
}

TEST_F(TreeNotifications, StructureChangesWaitForTheDelayToo)
{
    ShowForm();
    Tree->SetChangeDelay(100);
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->AddChild(node);
    EXPECT_TRUE(StructureChanges.empty());
    Host.AdvanceClock(100);
    ASSERT_EQ(StructureChanges.size(), 1u);
    EXPECT_EQ(StructureChanges[0], std::make_pair(node, crAccumulated)) << "two additions, the last node";
}

TEST_F(TreeNotifications, WithoutAWindowChangesComeAtOnce)
{
    Tree->SetChangeDelay(100);
    Tree->Change(nullptr);
    EXPECT_EQ(Changes.size(), 1u);
}

TEST_F(TreeNotifications, AnUpdateDeliversOneAccumulatedStructureChange)
{
    Tree->BeginUpdate();
    Tree->AddChild(nullptr);   // inside an update an insertion records nothing
    Tree->SetChildCount(nullptr, 3);
    Tree->DeleteNode(Tree->RootNode()->FirstChild);
    Tree->Change(nullptr);
    EXPECT_TRUE(StructureChanges.empty());
    EXPECT_TRUE(Changes.empty());
    Tree->EndUpdate();
    ASSERT_EQ(StructureChanges.size(), 1u);
    EXPECT_EQ(StructureChanges[0].second, crAccumulated);
    EXPECT_EQ(Changes.size(), 1u);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsStructureChangePending));
}

TEST_F(TreeNotifications, OnUpdatingReportsEveryPhase)
{
    std::vector<TDTUpdateState> phases;
    Tree->OnUpdating = [&phases](plat::TObject*, TDTUpdateState state) { phases.push_back(state); };
    Tree->BeginUpdate();
    Tree->BeginUpdate();
    Tree->EndUpdate();
    Tree->EndUpdate();
    Tree->EndUpdate();
    EXPECT_EQ(phases, (std::vector<TDTUpdateState>{usBegin, usUpdate, usUpdate, usEnd}));
    EXPECT_EQ(Tree->UpdateCount(), 0u) << "a surplus EndUpdate is ignored";

    phases.clear();
    Tree->BeginSynch();
    Tree->BeginSynch();
    Tree->EndSynch();
    Tree->EndSynch();
    EXPECT_EQ(phases, (std::vector<TDTUpdateState>{usBeginSynch, usSynch, usSynch, usEndSynch}));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsSynchMode));
}

TEST_F(TreeNotifications, SynchronousModeDeliversAtOnce)
{
    ShowForm();
    Tree->SetChangeDelay(100);
    Tree->Change(nullptr);
    EXPECT_TRUE(Changes.empty());
    Tree->BeginSynch();
    EXPECT_EQ(Changes.size(), 1u) << "the pending change is delivered";
    Tree->Change(nullptr);
    EXPECT_EQ(Changes.size(), 2u);
    Tree->EndSynch();
    Host.AdvanceClock(200);
    EXPECT_EQ(Changes.size(), 2u);
}

TEST_F(TreeNotifications, RedrawingStopsForAnUpdate)
{
    ShowForm();
    Tree->BeginUpdate();
    EXPECT_TRUE(plat::IsRedrawOff(Tree->Handle()));
    Tree->BeginUpdate();
    Tree->EndUpdate();
    EXPECT_TRUE(plat::IsRedrawOff(Tree->Handle()));
    Tree->EndUpdate();
    EXPECT_FALSE(plat::IsRedrawOff(Tree->Handle()));
}

TEST_F(TreeNotifications, StateChangesAreAnnouncedBeforeTheyHappen)
{
    std::vector<TDataTreeStates> before;
    Tree->OnStateChange = [&](plat::TObject*, const TDataTreeStates&, const TDataTreeStates&) {
        before.push_back(Tree->TreeStates());
    };
    Tree->DoStateChange({}, {tsChangePending});
    EXPECT_TRUE(before.empty()) << "leaving a state that is not set is no change";
    Tree->DoStateChange({tsEditPending});
    ASSERT_EQ(before.size(), 1u);
    EXPECT_FALSE(before[0].Contains(tsEditPending));
    EXPECT_TRUE(Tree->TreeStates().Contains(tsEditPending));
    Tree->DoStateChange({tsEditPending});
    EXPECT_EQ(before.size(), 1u);
    Tree->DoStateChange({tsScrolling}, {tsScrolling});
    EXPECT_FALSE(Tree->TreeStates().Contains(tsScrolling)) << "a state in both is left";
    Tree->DoStateChange({tsValidationNeeded});
    EXPECT_THROW(Tree->DoStateChange({tsUseCache}), EAssertionFailed) << "a stale cache cannot be in use";
}

TEST_F(TreeNotifications, OperationsCountAndCancel)
{
    std::vector<std::pair<char, TDTOperationKind>> seen;
    Tree->OnStartOperation = [&seen](plat::TObject*, TDTOperationKind kind) { seen.emplace_back('+', kind); };
    Tree->OnEndOperation = [&seen](plat::TObject*, TDTOperationKind kind) { seen.emplace_back('-', kind); };
    Tree->CancelOperation();
    Tree->BeginOperation(okExport);
    EXPECT_FALSE(Tree->OperationCanceled()) << "a cancel outside an operation is lost";
    Tree->BeginOperation(okExpand);
    Tree->CancelOperation();
    EXPECT_TRUE(Tree->OperationCanceled());
    Tree->EndOperation(okExpand);
    EXPECT_TRUE(Tree->OperationCanceled());
    Tree->EndOperation(okExport);
    EXPECT_FALSE(Tree->OperationCanceled());
    EXPECT_EQ(Tree->OperationCount(), 0u);
    try {
        Tree->EndOperation(okExport);
        FAIL();
    } catch (const EAssertionFailed& error) {
        EXPECT_STREQ(error.what(), "EndOperation must not be called when no operation in progress.");
    }
    const std::vector<std::pair<char, TDTOperationKind>> expected = {
        {'+', okExport}, {'+', okExpand}, {'-', okExpand}, {'-', okExport}};
    EXPECT_EQ(seen, expected);
}

TEST_F(TreeNotifications, AnOnChangeErrorStillEndsTheUpdate)
{
    ShowForm();
    std::vector<TDTUpdateState> phases;
    Tree->OnUpdating = [&phases](plat::TObject*, TDTUpdateState state) { phases.push_back(state); };
    Tree->OnChange = +[](plat::TObject*, PDataNode) { throw std::runtime_error("handler failed"); };
    Tree->BeginUpdate();
    Tree->SetRootNodeCount(2);
    Tree->Change(nullptr);
    EXPECT_THROW(Tree->EndUpdate(), std::runtime_error);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    EXPECT_FALSE(plat::IsRedrawOff(Tree->Handle())) << "redrawing resumed";
    for (PDataNode node : Children(*Tree)) {
        EXPECT_TRUE(node->States.Contains(vsInitialized)) << "the auto sort ran and initialised the nodes";
    }
    EXPECT_EQ(phases, (std::vector<TDTUpdateState>{usBegin, usUpdate, usUpdate})) << "no usEnd after the error";
}

} // namespace
} // namespace qel::tree_test
