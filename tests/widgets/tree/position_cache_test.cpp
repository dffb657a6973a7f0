// The position cache of large data trees and its background worker: which
// trees are queued, the entries, lookups through the cache against a plain
// walk, changes made while the worker rebuilds, errors of the application
// met on the way, and the worker's own life.
#include "tests/widgets/tree/tree_fixture.h"

#include "widgets/tree/tree_worker_thread.h"

#include <poll.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

namespace qel::tree_test {
namespace {

class PositionCache : public TreeTest {
protected:
    PositionCache()
    {
        ShowForm();
        Tree->OnStateChange = [this](plat::TObject*, const TDataTreeStates&, const TDataTreeStates& leave) {
            if (leave.Contains(tsValidating) && Tree->TreeStates().Contains(tsValidating)) {
                ++ValidationsEnded;
            }
        };
    }

    // Handles messages (the worker's calls among them) until done holds;
    // false when that takes more than ten seconds of real time.
    bool PumpUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            App.ProcessMessages();
            if (done()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            pollfd wake{App.Queue().WakeFd(), POLLIN, 0};
            poll(&wake, 1, 5);
        }
    }

    bool WaitForCache()
    {
        return PumpUntil([this] { return Tree->TreeStates().Contains(tsUseCache); });
    }

    // Waits until the worker has ended one more validation of the tree.
    bool WaitForValidationEnd(int before)
    {
        return PumpUntil([this, before] { return ValidationsEnded > before; });
    }

    bool Queued() const { return !Tree->TreeStates().Contains(tsStopValidation); }

    // Every row of the tree with its top, counted without the tree's help.
    struct TRow {
        PDataNode Node;
        std::int64_t Top;
        std::int64_t Height;
    };
    std::vector<TRow> Rows()
    {
        std::vector<TRow> rows;
        std::int64_t top = 0;
        for (PDataNode node : AllNodes(*Tree)) {
            if (TakesRow(*Tree, node)) {
                rows.push_back({node, top, node->fNodeHeight});
                top += node->fNodeHeight;
            }
        }
        return rows;
    }

    int ValidationsEnded = 0;
};

TEST_F(PositionCache, OnlyTreesOfMoreThan2000RowsAreQueued)
{
    struct TCase {
        std::uint32_t rows;
        std::vector<std::uint32_t> entries; // row numbers of the cached nodes
    };
    for (const TCase& each : {TCase{2000, {}}, TCase{2001, {0, 2000}}, TCase{4500, {0, 2000, 4000}}}) {
        SCOPED_TRACE(each.rows);
        Tree->Clear();
        Tree->SetRootNodeCount(each.rows);
        ASSERT_EQ(Tree->VisibleCount(), each.rows);
        if (each.entries.empty()) {
            EXPECT_FALSE(Queued());
            Tree->ValidateCache();
            EXPECT_FALSE(Queued()) << "never queued";
            EXPECT_FALSE(Tree->TreeStates().Contains(tsUseCache));
            continue;
        }
        ASSERT_TRUE(WaitForCache());
        const std::vector<PDataNode> rows = Children(*Tree);
        ASSERT_EQ(Tree->FPositionCache.size(), each.entries.size());
        for (std::size_t i = 0; i < each.entries.size(); ++i) {
            EXPECT_EQ(Tree->FPositionCache[i].Node, rows[each.entries[i]]);
            EXPECT_EQ(Tree->FPositionCache[i].AbsoluteTop, 18 * std::int64_t{each.entries[i]});
        }
        EXPECT_FALSE(Tree->TreeStates().Contains(tsValidating));
        EXPECT_FALSE(Tree->TreeStates().Contains(tsStopValidation));
    }
}

TEST_F(PositionCache, LookupsThroughTheCacheMatchAPlainCount)
{
    std::mt19937 engine(11);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Tree->BeginUpdate();
        Tree->Clear();
        Tree->SetRootNodeCount(400);
        for (PDataNode top : Children(*Tree)) {
            Tree->SetChildCount(top, engine() % 16);
            Tree->SetExpanded(top, engine() % 5 != 0);
            for (PDataNode child = top->FirstChild; child != nullptr; child = child->fNextSibling) {
                Tree->SetNodeHeight(child, 1 + engine() % 5);
                if (engine() % 9 == 0) {
                    Tree->SetVisible(child, false);
                }
                if (engine() % 9 == 0) {
                    Tree->SetFiltered(child, true);
                }
            }
        }
        Tree->EndUpdate();
        ASSERT_GT(Tree->VisibleCount(), 2000u);
        ASSERT_TRUE(WaitForCache());
        ASSERT_EQ(CheckInvariants(*Tree), "");

        const std::vector<TRow> rows = Rows();
        ASSERT_EQ(rows.size(), Tree->VisibleCount());
        for (const TCacheEntry& entry : Tree->FPositionCache) {
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const TRow& r) { return r.Node == entry.Node; });
            ASSERT_NE(row, rows.end());
            EXPECT_EQ(row->Top, entry.AbsoluteTop);
        }
        std::size_t expected = 0;
        const std::int64_t end = rows.back().Top + rows.back().Height;
        for (std::int64_t y = 0; y < end; ++y) {
            while (y >= rows[expected].Top + rows[expected].Height) {
                ++expected;
            }
            int nodeTop = -1;
            ASSERT_EQ(Tree->GetNodeAt(0, static_cast<int>(y), false, nodeTop), rows[expected].Node) << "y " << y;
            ASSERT_EQ(nodeTop, rows[expected].Top);
        }
        int nodeTop = 123;
        EXPECT_EQ(Tree->GetNodeAt(0, -7, true, nodeTop), rows.front().Node) << "above the first row";
        EXPECT_EQ(nodeTop, 0);
        nodeTop = 123;
        EXPECT_EQ(Tree->GetNodeAt(0, static_cast<int>(end), false, nodeTop), nullptr) << "below the last row";
        EXPECT_EQ(nodeTop, 123);
        EXPECT_EQ(Tree->GetNodeAt(plat::TPoint{5, 0}), rows.front().Node);
    }
}

TEST_F(PositionCache, LookupsPassRowsWithoutHeightAsAPlainCountDoes)
{
    // Long runs of rows without height, so that many lookups begin between
    // cache entries at tops that several rows share.
    std::mt19937 engine(23);
    Tree->BeginUpdate();
    Tree->SetRootNodeCount(3000);
    for (PDataNode top : Children(*Tree)) {
        Tree->SetNodeHeight(top, engine() % 3 == 0 ? 0 : 1 + engine() % 3);
    }
    Tree->EndUpdate();
    ASSERT_TRUE(WaitForCache());
    const std::vector<TRow> rows = Rows();
    const std::int64_t end = rows.back().Top + rows.back().Height;
    std::size_t expected = 0;
    for (std::int64_t y = 0; y < end; ++y) {
        while (y >= rows[expected].Top + rows[expected].Height) {
            ++expected;
        }
        int nodeTop = -1;
        ASSERT_EQ(Tree->GetNodeAt(0, static_cast<int>(y), false, nodeTop), rows[expected].Node) << "y " << y;
        ASSERT_EQ(nodeTop, rows[expected].Top) << "y " << y;
    }
    Tree->InterruptValidation();
    ASSERT_FALSE(Tree->TreeStates().Contains(tsUseCache));
    for (const std::int64_t y : {end - 1, end, end + 5}) {
        int walkedTop = -1;
        const PDataNode walked = Tree->GetNodeAt(0, static_cast<int>(y), false, walkedTop);
        Tree->ValidateCache();
        ASSERT_TRUE(WaitForCache());
        int cachedTop = -1;
        EXPECT_EQ(Tree->GetNodeAt(0, static_cast<int>(y), false, cachedTop), walked) << "y " << y;
        EXPECT_EQ(cachedTop, walkedTop) << "y " << y;
        Tree->InterruptValidation();
    }
}

TEST_F(PositionCache, AHeightChangedDuringTheRebuildLeavesTheCacheStale)
{
    Tree->SetRootNodeCount(2500);
    ASSERT_TRUE(WaitForCache());
    const std::vector<PDataNode> rows = Children(*Tree);

    // Measured on the worker's request: the handler changes a height while
    // the worker waits for it.
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toVariableNodeHeight});
    bool changed = false;
    Tree->OnMeasureItem = [&](plat::TObject*, plat::TCanvas*, PDataNode node, TDimension&) {
        if (!changed && node == rows[100]) {
            changed = true;
            Tree->SetNodeHeight(rows[2400], 40);
        }
    };
    Tree->InterruptValidation();
    // A hundred rows wait to be measured, each through a call the worker
    // waits for.
    for (PDataNode row : rows) {
        row->States.Include(vsHeightMeasured);
    }
    for (std::size_t i = 50; i < 150; ++i) {
        rows[i]->States.Exclude(vsHeightMeasured);
    }
    Tree->ValidateCache();
    // The end of a validation interrupted above may still be on its way;
    // the one that measured ends after the change.
    ASSERT_TRUE(PumpUntil([&] { return changed && !Tree->TreeStates().Contains(tsValidating); }));
    EXPECT_TRUE(Tree->TreeStates().Contains(tsValidationNeeded));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsUseCache));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsValidating));

    Tree->ValidateCache();
    ASSERT_TRUE(WaitForCache()) << "the next validation rebuilds it";
    int nodeTop = 0;
    EXPECT_EQ(Tree->GetNodeAt(0, 2400 * 18 + 39, false, nodeTop), rows[2400]);

    // Changed from the user-interface thread while queued or running.
    Tree->OnMeasureItem = nullptr;
    Tree->SetNodeHeight(rows[5], 30);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsValidationNeeded));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsUseCache));
}

TEST_F(PositionCache, ChangesWhileTheWorkerRunsAreSafe)
{
    std::mt19937 engine(5);
    Tree->SetRootNodeCount(60);
    for (PDataNode top : Children(*Tree)) {
        Tree->SetChildCount(top, 400);
        Tree->SetExpanded(top, true);
    }
    const std::vector<std::function<void()>> changes = {
        [&] { Tree->AddChild(Children(*Tree)[engine() % 60]); },
        [&] { Tree->InsertNode(Children(*Tree)[engine() % 60]->FirstChild, amInsertAfter); },
        [&] {
            const PDataNode top = Children(*Tree)[engine() % 60];
            if (top->fChildCount > 1) {
                Tree->DeleteNode(top->fLastChild);
            }
        },
        [&] { Tree->ToggleNode(Children(*Tree)[engine() % 60]); },
        [&] {
            const PDataNode child = Children(*Tree)[engine() % 60]->FirstChild;
            if (child != nullptr) {
                Tree->SetVisible(child, !child->States.Contains(vsVisible));
            }
        },
        [&] {
            const PDataNode child = Children(*Tree)[engine() % 60]->fLastChild;
            if (child != nullptr) {
                Tree->SetNodeHeight(child, 5 + engine() % 30);
            }
        },
        [&] { Tree->SetChildCount(Children(*Tree)[engine() % 60], 300 + engine() % 200); },
    };
    for (int i = 0; i < 300; ++i) {
        changes[engine() % changes.size()]();
        App.ProcessMessages();
    }
    Tree->ValidateCache();
    ASSERT_TRUE(WaitForCache());
    ASSERT_EQ(CheckInvariants(*Tree), "");
    const std::vector<TRow> rows = Rows();
    for (const TCacheEntry& entry : Tree->FPositionCache) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const TRow& r) { return r.Node == entry.Node; });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ(row->Top, entry.AbsoluteTop);
    }
    for (int i = 0; i < 2000; ++i) {
        const TRow& row = rows[engine() % rows.size()];
        int nodeTop = 0;
        ASSERT_EQ(Tree->GetNodeAt(0, static_cast<int>(row.Top), false, nodeTop), row.Node);
    }
}

TEST_F(PositionCache, ATreeFreedDuringTheRebuildIsLeftAlone)
{
    for (int round = 0; round < 20; ++round) {
        auto* tree = new TTestTree(Form);
        tree->SetParent(Form);
        ASSERT_TRUE(tree->HandleAllocated());
        tree->SetRootNodeCount(5000 + 500 * round);
        for (int i = 0; i < round % 4; ++i) {
            App.ProcessMessages();
        }
        delete tree;
    }
    Tree->SetRootNodeCount(2100);
    EXPECT_TRUE(WaitForCache()) << "the worker goes on with other trees";
}

TEST_F(PositionCache, AnErrorOfTheApplicationReachesItsHandler)
{
    // A paint measures the rows on screen as well; the worker is watched alone.
    Form->Hide();
    Tree->SetRootNodeCount(2100);
    ASSERT_TRUE(WaitForCache());
    std::vector<std::string> errors;
    App.OnException = [&](plat::TObject*, const std::exception& error) { errors.push_back(error.what()); };
    Tree->OnMeasureItem = +[](plat::TObject*, plat::TCanvas*, PDataNode, TDimension&) {
        throw std::runtime_error("measuring failed");
    };
    const std::shared_ptr<TWorkerThread> worker = TWorkerThread::Instance();
    const int before = ValidationsEnded;
    // Measured first by the worker, as it rebuilds the cache.
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toVariableNodeHeight});
    ASSERT_TRUE(WaitForValidationEnd(before));
    // A validation interrupted by the scroll-bar update may end first.
    PumpUntil([&errors] { return !errors.empty(); });
    EXPECT_EQ(errors, std::vector<std::string>{"measuring failed"});
    EXPECT_FALSE(Tree->TreeStates().Contains(tsUseCache));
    EXPECT_EQ(TWorkerThread::Instance(), worker) << "the worker goes on";
    App.OnException = nullptr;
}

TEST_F(PositionCache, AWorkerKilledByAForeignErrorIsReplaced)
{
    // A paint measures the rows on screen as well; the worker is watched alone.
    Form->Hide();
    Tree->SetRootNodeCount(2100);
    ASSERT_TRUE(WaitForCache());
    bool raise = true;
    Tree->OnMeasureItem = [&](plat::TObject*, plat::TCanvas*, PDataNode, TDimension&) {
        if (raise) {
            raise = false;
            throw 42;
        }
    };
    const std::shared_ptr<TWorkerThread> worker = TWorkerThread::Instance();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toVariableNodeHeight});
    // The option change may end a validation before the one that measures:
    // the measuring calls are answered here until the worker has died.
    ASSERT_TRUE(PumpUntil([&] { return worker->Finished(); }));
    EXPECT_FALSE(raise) << "the worker met the error";
    worker->WaitFor();
    EXPECT_EQ(TWorkerThread::Instance(), nullptr) << "the dead worker is forgotten";

    Tree->InvalidateCache();
    Tree->ValidateCache();
    ASSERT_TRUE(WaitForCache()) << "a new worker validates the tree";
    EXPECT_NE(TWorkerThread::Instance(), nullptr);
    EXPECT_NE(TWorkerThread::Instance(), worker);
}

// Whether a thread of this process carries the worker's name; the
// thread names itself as it starts, so a new one gets a moment.
bool WorkerThreadRuns()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do {
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
            std::ifstream comm(task.path() / "comm");
            std::string name;
            std::getline(comm, name);
            if (name == "DTWorker") {
                return true;
            }
        }
        std::this_thread::yield();
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

TEST_F(PositionCache, TheWorkerLivesWithTheTrees)
{
    const std::shared_ptr<TWorkerThread> first = TWorkerThread::Instance();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(WorkerThreadRuns());
    {
        TTestTree second(nullptr);
        EXPECT_EQ(TWorkerThread::Instance(), first) << "one worker for all trees";
    }
    EXPECT_EQ(TWorkerThread::Instance(), first);
    DropHandlers(*Tree);
    delete Tree;
    Tree = nullptr;
    EXPECT_EQ(TWorkerThread::Instance(), nullptr) << "the last tree ends it";
    first->WaitFor();
    EXPECT_TRUE(first->Finished());

    TTestTree again(nullptr);
    const std::shared_ptr<TWorkerThread> next = TWorkerThread::Instance();
    EXPECT_NE(next, nullptr);
    EXPECT_NE(next, first);
}

} // namespace
} // namespace qel::tree_test
