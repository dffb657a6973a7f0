// Node arrays as the selection keeps them: ordered by node address, with
// entries marked for removal by the lowest bit of the stored reference
// (node blocks are 8-aligned, so the bit is free) and packed in one pass.
#pragma once

#include "widgets/tree/data_node.h"

#include <cstdint>

namespace qel {

inline bool IsMarkedForRemoval(PDataNode entry)
{
    return (reinterpret_cast<std::uintptr_t>(entry) & 1U) != 0;
}

inline void MarkForRemoval(PDataNode& entry)
{
    entry = reinterpret_cast<PDataNode>(reinterpret_cast<std::uintptr_t>(entry) | 1U);
}

// Moves the unmarked entries of the first count entries together, keeping
// their order; answers how many there are (the caller shortens the array).
int PackArray(TNodeArray& nodes, int count);

} // namespace qel
