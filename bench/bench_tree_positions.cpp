// Vertical positions in a large record tree shown in a window: 1,000
// top-level nodes with 1,000 children each, fully expanded; the worker's
// rebuild of the position cache over the million visible nodes; then
// GetNodeAt for random heights through the cache and by the plain walk from
// the top. Prints wall and CPU times and the ratio of the two lookups; run
// by hand.
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/hosts/headless/headless_host.h"
#include "widgets/tree/string_data_tree.h"

#include <poll.h>

#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kTopLevel = 1000;
constexpr int kChildren = 1000;
constexpr int kCachedLookups = 100000;
constexpr int kWalkedLookups = 200;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU seconds the calling thread has used: on a shared machine the wall
// times above include the time others held the cores.
double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The cache's rebuild and stop are the tree's own business; the benchmark
// starts and stops them.
class TBenchTree : public qel::TDataStringTree {
public:
    using TDataStringTree::TDataStringTree;
    using TDataStringTree::InterruptValidation;
    using TDataStringTree::ValidateCache;
};

// Handles messages (the worker's among them) until done holds.
void PumpUntil(plat::TApplication& application, const std::function<bool()>& done)
{
    for (;;) {
        application.ProcessMessages();
        if (done()) {
            return;
        }
        pollfd wake{application.Queue().WakeFd(), POLLIN, 0};
        poll(&wake, 1, 1);
    }
}

// Mean seconds of one GetNodeAt over count random heights below total,
// and the mean CPU seconds of this thread.
double MeanLookupSeconds(TBenchTree& tree, int count, std::int64_t total, std::uint32_t seed, double& cpuSeconds)
{
    std::mt19937 engine(seed);
    std::uniform_int_distribution<std::int64_t> height(0, total - 1);
    std::vector<int> ys(static_cast<std::size_t>(count));
    for (int& y : ys) {
        y = static_cast<int>(height(engine));
    }
    std::size_t found = 0;
    const double cpuStart = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    for (const int y : ys) {
        int nodeTop = 0;
        found += tree.GetNodeAt(0, y, false, nodeTop) != nullptr ? 1 : 0;
    }
    const double seconds = SecondsSince(start) / count;
    cpuSeconds = (ThreadCpuSeconds() - cpuStart) / count;
    if (found != ys.size()) {
        std::printf("lookups missed %zu rows\n", ys.size() - found);
    }
    return seconds;
}

} // namespace

int main()
{
    plat::THeadlessHost host;
    plat::TApplication application(host);
    auto* form = application.CreateForm<plat::TForm>();
    form->SetBounds(50, 50, 400, 300);
    auto* tree = new TBenchTree(form);
    tree->SetParent(form);
    form->Show();
    host.PumpUntilIdle();

    tree->BeginUpdate();
    for (int top = 0; top < kTopLevel; ++top) {
        const qel::PDataNode logger = tree->AddChild(nullptr);
        for (int child = 0; child < kChildren; ++child) {
            tree->AddChild(logger);
        }
    }
    tree->EndUpdate();

    const double expandCpuStart = ThreadCpuSeconds();
    const Clock::time_point expandStart = Clock::now();
    tree->FullExpand();
    const double expandSeconds = SecondsSince(expandStart);
    const double expandCpuSeconds = ThreadCpuSeconds() - expandCpuStart;
    const std::int64_t total = static_cast<std::int64_t>(tree->RootNode()->TotalHeight) - tree->DefaultNodeHeight();

    tree->InterruptValidation();
    const Clock::time_point rebuildStart = Clock::now();
    tree->ValidateCache();
    PumpUntil(application, [&] { return tree->TreeStates().Contains(qel::tsUseCache); });
    const double rebuildSeconds = SecondsSince(rebuildStart);

    double cachedCpu = 0;
    double walkedCpu = 0;
    const double cached = MeanLookupSeconds(*tree, kCachedLookups, total, 7, cachedCpu);
    tree->InterruptValidation();
    const double walked = MeanLookupSeconds(*tree, kWalkedLookups, total, 8, walkedCpu);

    std::printf("visible nodes:         %u\n", tree->VisibleCount());
    std::printf("FullExpand:            %.1f ms (target under 250 ms); CPU %.1f ms\n", expandSeconds * 1e3,
                expandCpuSeconds * 1e3);
    std::printf("cache rebuild:         %.1f ms on the worker, messages included (target under 50 ms)\n",
                rebuildSeconds * 1e3);
    std::printf("GetNodeAt, cache:      %.2f us mean of %d (target under 2 us); CPU %.2f us\n", cached * 1e6,
                kCachedLookups, cachedCpu * 1e6);
    std::printf("GetNodeAt, plain walk: %.2f us mean of %d; CPU %.2f us\n", walked * 1e6, kWalkedLookups,
                walkedCpu * 1e6);
    std::printf("ratio walk / cache:    %.0f (target at least 100)\n", walked / cached);
    const bool met = expandSeconds < 0.25 && rebuildSeconds < 0.05 && cached < 2e-6 && walked / cached >= 100;
    std::printf("targets %s\n", met ? "met" : "MISSED");
    return 0;
}
