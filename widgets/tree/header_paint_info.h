// What one paint of a header button carries: the canvas, the column, its
// button and caption rectangles, its hot, pressed and enabled looks, the
// glyphs it shows and where, and the drop mark of a column being dragged;
// and the parts of a button an application may draw itself.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/objects/set.h"

namespace plat {
class TCanvas;
}

namespace qel {

class TDataTreeColumn;

enum TDTDropMarkMode { dmmNone, dmmLeft, dmmRight };

enum THeaderPaintElement { hpeBackground, hpeDropMark, hpeHeaderGlyph, hpeSortGlyph, hpeText, hpeOverlay };
using THeaderPaintElements = plat::TSet<THeaderPaintElement>;

struct THeaderPaintInfo {
    plat::TCanvas* TargetCanvas = nullptr;  // the header bitmap's canvas
    TDataTreeColumn* Column = nullptr;      // nullptr for the background
    plat::TRect PaintRectangle;             // the button
    plat::TRect TextRectangle;              // where the caption goes
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool IsEnabled = false;
    bool ShowHeaderGlyph = false;           // an image or a check box
    bool ShowSortGlyph = false;
    bool ShowRightBorder = false;
    TDTDropMarkMode DropMark = dmmNone;
    plat::TPoint GlyphPos;
    plat::TPoint SortGlyphPos;
    plat::TSize SortGlyphSize;
};

} // namespace qel
