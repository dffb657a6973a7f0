// Small value types of the data tree: where a node is attached, column
// indexes and sort directions, and the enumerations of the control's
// appearance and behaviour properties that its constructor sets.
#pragma once

#include "platform/objects/set.h"

#include <cstdint>

namespace qel {

// Where a node is connected relative to a destination node.
enum TDTNodeAttachMode : std::uint8_t {
    amNoWhere,          // do nothing
    amInsertBefore,     // as the previous sibling
    amInsertAfter,      // as the next sibling
    amAddChildFirst,    // as the first child
    amAddChildLast,     // as the last child
};

using TColumnIndex = std::int32_t;
constexpr TColumnIndex NoColumn = -1;
constexpr TColumnIndex InvalidColumn = -2;

enum TSortDirection : std::uint8_t { sdAscending, sdDescending };

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
// The frame's bevels: their look, the cut of the inner and the outer one
// and the edges that have them.
enum TBevelKind : std::uint8_t { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = plat::TSet<TBevelEdge>;
enum TDTButtonStyle : std::uint8_t { bsRectangle, bsTriangle };
enum TDTButtonFillMode : std::uint8_t { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TDTLineStyle : std::uint8_t { lsCustomStyle, lsDotted, lsSolid };
enum TDTNodeAlignment : std::uint8_t { naFromBottom, naFromTop, naProportional };
enum TDTIncrementalSearch : std::uint8_t { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TDTSearchStart : std::uint8_t { ssAlwaysStartOver, ssLastHit, ssFocusedNode };
enum TDTDragType : std::uint8_t { dtOLE, dtVCL };
enum TDTDragImageKind : std::uint8_t { diComplete, diMainColumnOnly, diNoImage };
enum TCheckImageKind : std::uint8_t { ckCustom, ckSystemDefault };
enum TDTLineMode : std::uint8_t { lmNormal, lmBands };
enum TDTDrawSelectionMode : std::uint8_t { smDottedRectangle, smBlendedRectangle };

// What one indentation step of a row shows of the tree lines (values fixed).
enum TDTLineType : std::uint8_t {
    ltNone,
    ltBottomRight,   // from the row's centre line down, and right
    ltTopDown,       // full height
    ltTopDownRight,  // full height and right
    ltRight,         // right only
    ltTopRight,      // from the top to the centre line, and right
    ltLeft,          // full height at the step's left edge
    ltLeftBottom,    // the left edge and the bottom edge
};

enum TDragOperation { doCopy, doMove, doLink };
using TDragOperations = plat::TSet<TDragOperation>;

// Auto-scroll step interval, 1 .. 1000 ms.
using TAutoScrollInterval = std::uint16_t;

} // namespace qel
