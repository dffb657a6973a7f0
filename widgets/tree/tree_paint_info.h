// What one paint of the data tree carries from cell to cell: the internal
// paint options, the node and column being painted, the cell and content
// rectangles, the text width, alignment, images and row offsets.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/objects/set.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/tree_geometry_types.h"

#include <array>
#include <cstdint>

namespace plat {
class TCanvas;
}

namespace qel {

enum TDTInternalPaintOption {
    poBackground,     // the background picture may be used
    poColumnColor,    // cells are filled with their column colour
    poDrawFocusRect,
    poDrawSelection,
    poDrawDropMark,
    poGridLines,
    poMainOnly,       // only the main column
    poSelectedOnly,   // only selected nodes and their descendants
    poUnbuffered,     // straight onto the target, no row bitmap
};
using TDTInternalPaintOptions = plat::TSet<TDTInternalPaintOption>;

enum TDTImageInfoIndex { iiNormal, iiState, iiCheck, iiOverlay };

enum TItemEraseAction { eaColor, eaDefault, eaNone };
// The string tree's two texts of a cell: the main one and the static one after it.
enum TDSTTextType { ttNormal, ttStatic };
enum TDTCellPaintMode { cpmPaint, cpmGetContentMargin };

struct TDTPaintInfo {
    plat::TCanvas* Canvas = nullptr;   // the row bitmap's canvas, or the target when unbuffered
    TDTInternalPaintOptions PaintOptions;
    PDataNode Node = nullptr;
    TColumnIndex Column = NoColumn;    // NoColumn when the header uses no columns
    TColumnPosition Position = 0;
    plat::TRect CellRect;
    plat::TRect ContentRect;           // the part of the cell that holds label and text
    int NodeWidth = 0;                 // the text width
    TAlignment Alignment = taLeftJustify;
    TBiDiMode BidiMode = bdLeftToRight;
    plat::TPoint BrushOrigin;
    std::array<TDTImageInfo, 4> ImageInfo;
    TDTOffsets Offsets{};
    int VAlign = 0;

    // ContentRect from the cell and the label offset, and the images'
    // places from the row offsets and VAlign.
    void AdjustImageCoordinates();
};

} // namespace qel
