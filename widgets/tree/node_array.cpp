// Packing of node arrays whose removed entries are marked.
#include "widgets/tree/node_array.h"

namespace qel {

int PackArray(TNodeArray& nodes, int count)
{
    int kept = 0;
    while (kept < count && !IsMarkedForRemoval(nodes[kept])) {
        ++kept;
    }
    for (int run = kept + 1; run < count; ++run) {
        if (!IsMarkedForRemoval(nodes[run])) {
            nodes[kept++] = nodes[run];
        }
    }
    return kept;
}

} // namespace qel
