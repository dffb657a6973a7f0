// Node enumerations for range-for loops: a small value record says which
// walk of the tree to take (all nodes, checked, visible, one level ...) and
// an enumerator steps through it.
//
//     for (PDataNode node : tree.VisibleNodes()) { ... }
#pragma once

#include "widgets/tree/check_state.h"
#include "widgets/tree/data_node.h"

#include <cstdint>
#include <iterator>

namespace qel {

class TBaseDataTree;

enum TDZDataNodeEnumerationMode : std::uint8_t {
    vneAll,
    vneChecked,
    vneChild,
    vneCutCopy,
    vneInitialized,
    vneLeaf,
    vneLevel,
    vneNoInit,
    vneSelected,
    vneVisible,
    vneVisibleChild,
    vneVisibleNoInitChild,
    vneVisibleNoInit,
};

class TDTDataNodeEnumerator;

class TDTDataNodeEnumeration {
public:
    TDTDataNodeEnumeration(TDZDataNodeEnumerationMode mode, TBaseDataTree& tree, PDataNode node = nullptr,
                           bool considerChildrenAbove = false, bool includeFiltered = false,
                           TCheckState state = csCheckedNormal, std::uint32_t nodeLevel = 0)
        : FMode(mode), FTree(&tree), FConsiderChildrenAbove(considerChildrenAbove), FNode(node),
          FNodeLevel(nodeLevel), FState(state), FIncludeFiltered(includeFiltered)
    {
    }

    // The node after current in this walk (the first one for nullptr).
    PDataNode GetNext(PDataNode current) const;
    TDTDataNodeEnumerator GetEnumerator() const;
    TDTDataNodeEnumerator begin() const;
    std::default_sentinel_t end() const { return {}; }

private:
    PDataNode FirstNode() const;
    PDataNode NextNode(PDataNode current) const;

    TDZDataNodeEnumerationMode FMode;
    TBaseDataTree* FTree;
    bool FConsiderChildrenAbove;
    PDataNode FNode;               // the start or parent node
    std::uint32_t FNodeLevel;
    TCheckState FState;
    bool FIncludeFiltered;
};

// Holds its walk by value, so it may outlive the enumeration it came from.
class TDTDataNodeEnumerator {
public:
    explicit TDTDataNodeEnumerator(const TDTDataNodeEnumeration& enumeration) : FEnumeration(enumeration) {}

    // The next node of the walk; false (for good) once there is none.
    bool MoveNext();
    PDataNode Current() const { return FNode; }

    PDataNode operator*() const { return FNode; }
    TDTDataNodeEnumerator& operator++()
    {
        MoveNext();
        return *this;
    }
    bool operator!=(std::default_sentinel_t) const { return FCanMoveNext; }

private:
    PDataNode FNode = nullptr;  // nullptr before the first step
    bool FCanMoveNext = true;
    TDTDataNodeEnumeration FEnumeration;
};

inline TDTDataNodeEnumerator TDTDataNodeEnumeration::GetEnumerator() const
{
    return TDTDataNodeEnumerator(*this);
}

inline TDTDataNodeEnumerator TDTDataNodeEnumeration::begin() const
{
    TDTDataNodeEnumerator enumerator(*this);
    enumerator.MoveNext();
    return enumerator;
}

} // namespace qel
