// The data tree under a large record tree: a million nodes (1,000 top-level
// nodes with 1,000 children each) added inside one update, each with a
// 48-byte record written, the update's end included; then the whole tree
// cleared. Prints nanoseconds per node and bytes per node; run by hand.
#include "platform/controls/application.h"
#include "platform/hosts/headless/headless_host.h"
#include "widgets/tree/string_data_tree.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kTopLevel = 1000;
constexpr int kChildren = 1000;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What the program keeps per record node: texts short enough to stay in
// the string itself, the record number and a count.
struct TRecordData {
    std::string Text;
    std::int64_t RecNo = -1;
    std::int64_t Pages = 0;
};
static_assert(sizeof(TRecordData) == 48);

} // namespace

int main()
{
    plat::THeadlessHost host;
    plat::TApplication application(host);
    qel::TDataStringTree tree(nullptr);
    tree.NodeDataType<TRecordData>();
    std::int64_t recordNumber = 0;

    const Clock::time_point addStart = Clock::now();
    tree.BeginUpdate();
    for (int top = 0; top < kTopLevel; ++top) {
        const qel::PDataNode logger = tree.AddChild(nullptr);
        TRecordData* loggerData = tree.GetNodeData<TRecordData>(logger);
        loggerData->Text = "QEL " + std::to_string(top);
        for (int child = 0; child < kChildren; ++child) {
            TRecordData* data = tree.GetNodeData<TRecordData>(tree.AddChild(logger));
            data->Text = "rec";
            data->RecNo = recordNumber++;
            data->Pages = child;
        }
    }
    const Clock::time_point endUpdateStart = Clock::now();
    tree.EndUpdate();
    const double endUpdateSeconds = SecondsSince(endUpdateStart);
    const double addSeconds = SecondsSince(addStart);

    const double nodes = static_cast<double>(tree.RootNode()->TotalCount - 1);
    const double blockSize = static_cast<double>(tree.NodeStore().BlockSize());
    const double bytesPerNode = static_cast<double>(tree.NodeStore().ReservedBytes()) / nodes;

    const Clock::time_point clearStart = Clock::now();
    tree.Clear();
    const double clearSeconds = SecondsSince(clearStart);

    std::printf("nodes:                 %.0f (block %.0f bytes: 80 header + 48 record + 8 string tree)\n", nodes,
                blockSize);
    std::printf("add, update included:  %.3f s, %.1f ns/node (target under 1 s)\n", addSeconds,
                addSeconds * 1e9 / nodes);
    std::printf("  of it EndUpdate:     %.6f s (auto sort without OnCompareNodes: no merge)\n", endUpdateSeconds);
    std::printf("Clear:                 %.3f s, %.1f ns/node (target under 0.3 s)\n", clearSeconds,
                clearSeconds * 1e9 / nodes);
    std::printf("memory:                %.1f bytes/node, %.3f x block size (target at most 1.25)\n", bytesPerNode,
                bytesPerNode / blockSize);
    const bool met = addSeconds < 1.0 && clearSeconds < 0.3 && bytesPerNode <= 1.25 * blockSize;
    std::printf("targets %s\n", met ? "met" : "MISSED");
    return 0;
}
