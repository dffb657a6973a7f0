// Value types of the data tree's geometry: the elements of a node row and
// their offsets, what a point over a row hits, drop modes, image kinds,
// reading directions and the directions auto scrolling moves.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/control_types.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/objects/set.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_types.h"

#include <array>
#include <cstdint>

namespace plat {
class TCustomImageList;
}

namespace qel {

using plat::TAlignment;
using plat::taCenter;
using plat::taLeftJustify;
using plat::taRightJustify;

enum TBiDiMode : std::uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// An alignment seen from the other side: left and right swap.
inline TAlignment MirroredAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taLeftJustify:
        return taRightJustify;
    case taRightJustify:
        return taLeftJustify;
    default:
        return alignment;
    }
}

// The x positions of a row's elements, from the cell's left edge (left to
// right) or right edge (right to left).
enum TDTElement : std::uint8_t {
    ofsMargin,            // left edge of the row content
    ofsToggleButton,      // left edge of the expand button
    ofsCheckBox,          // left edge of the check box area (end of the indentation)
    ofsStateImage,
    ofsImage,
    ofsLabel,             // end of the images
    ofsText,              // label plus text margin, minus 1
    ofsRightOfText,       // right end of the text with its extra width
    ofsEndOfClientArea,
};
using TDTOffsets = std::array<int, ofsEndOfClientArea + 1>;

enum TDTImageKind : std::uint8_t { ikNormal, ikSelected, ikState, ikOverlay };

enum THitPosition {
    hiAbove,
    hiBelow,
    hiNowhere,
    hiOnItem,
    hiOnItemButton,
    hiOnItemButtonExact,
    hiOnItemCheckbox,
    hiOnItemIndent,
    hiOnItemLabel,
    hiOnItemLeft,
    hiOnItemRight,
    hiOnNormalIcon,
    hiOnStateIcon,
    hiToLeft,
    hiToRight,
    hiUpperSplitter,
    hiLowerSplitter,
};
using THitPositions = plat::TSet<THitPosition>;

// What lies under a point of the client area.
struct THitInfo {
    PDataNode HitNode = nullptr;
    THitPositions HitPositions;
    TColumnIndex HitColumn = NoColumn;
    plat::TPoint HitPoint;
    plat::TShiftState ShiftState;
};

enum TDropMode : std::uint8_t { dmNowhere, dmAbove, dmOnNode, dmBelow };

enum TScrollDirection { sdLeft, sdRight, sdUp, sdDown };
using TScrollDirections = plat::TSet<TScrollDirection>;

// DoSetOffsetXY's update flags.
enum TScrollUpdateOption { suoRepaintHeader, suoRepaintScrollBars, suoScrollClientArea, suoUpdateNCArea };
using TScrollUpdateOptions = plat::TSet<TScrollUpdateOption>;
inline const TScrollUpdateOptions DefaultScrollUpdateFlags{suoRepaintHeader, suoRepaintScrollBars,
                                                            suoScrollClientArea, suoUpdateNCArea};

// One image of a cell as painting and vertical alignment see it.
struct TDTImageInfo {
    int Index = -1;                            // -1: none
    int XPos = 0;                              // where it is painted in the cell's canvas
    int YPos = 0;
    bool Ghosted = false;
    plat::TCustomImageList* Images = nullptr;  // not owned
};

} // namespace qel
