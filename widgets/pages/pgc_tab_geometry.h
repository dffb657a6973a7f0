// Where the notebook's tabs and pages stand: tab lengths and rows from the
// caption widths, the rows of the old style justified to the available
// length, the place of every tab in painting order for the four edges, the
// band the tabs stand in, the pages' bounds inside the body frame, and the
// caption, focus and repaint rectangles of one tab. Plain arithmetic on
// plain values; the notebook measures, the tab painter draws.
#pragma once

#include "platform/canvas/graphics_types.h"

#include <cstdint>
#include <vector>

namespace qel {

enum TPgcTabOrientation : std::uint8_t { toTop, toRight, toBottom, toLeft };
// Stored by the notebook; no drawing consults it.
enum TTabTextOrientation : std::uint8_t { ttoHorizontal, ttoVerticalRight, ttoVerticalLeft };

// Tabs on the left or right edge carry their captions turned sideways.
constexpr bool IsSideways(TPgcTabOrientation Orientation)
{
    return Orientation == toLeft || Orientation == toRight;
}

// A tab never gets shorter than this, nor the notebook along its tab edge.
constexpr int kMinTabLength = 20;
// Room a tab leaves beside its caption, both sides together.
constexpr int kTabCaptionMargin = 12;

// One page as the tab layout sees it.
struct TTabSlot {
    bool TakesPart = false;   // PageVisible, or any page in design mode
    int CaptionWidth = 0;     // its widest caption measure, "&" removed
    int TabWidth = 0;         // out: the tab's length along the tab edge
    int Row = 0;              // out for pages that take part; the others keep theirs
};

struct TTabRows {
    int Total = 0;     // rows in use
    int Focused = 0;   // the active page's row
};

// Tab lengths, rows and (OldStyle) justification of the slots. RowCount 0
// fills rows greedily up to Available; N > 0 deals the pages into N rows.
// ActiveIndex outside the slots leaves the focused row at 0.
TTabRows LayoutTabRows(std::vector<TTabSlot>& Slots, int Available, int RowCount, bool OldStyle, int ActiveIndex);

// The number of taking-part slots in Row.
int TabsInRow(const std::vector<TTabSlot>& Slots, int Row);

// The bounds every page takes, as a rectangle: the whole notebook without
// tabs (TabHeight 0), else the body inside its frame. RowsHeight is the
// rows times the tab height.
plat::TRect PageBounds(TPgcTabOrientation Orientation, int TabHeight, int RowsHeight, int Width, int Height);

// One tab in painting order.
struct TTabPlacement {
    int Index = 0;               // the page
    plat::TRect Area;            // its rectangle in the notebook's client area
    bool FirstInRow = false;     // the first tab of its row (page order)
    bool FirstPaintedRow = false;
};

// Every taking-part tab placed, rows in rotation from the one after the
// focused row, so that the focused row comes last, next to the body; the
// tabs of a row in page order.
std::vector<TTabPlacement> PlaceTabs(const std::vector<TTabSlot>& Slots, TPgcTabOrientation Orientation,
                                     int TabHeight, TTabRows Rows, int Width, int Height);

// The parent-coloured band behind the tabs: the rectangles to fill, the
// edge strip last. The old style fills only the two end strips of the band.
std::vector<plat::TRect> TabBand(TPgcTabOrientation Orientation, int RowsHeight, int Width, int Height,
                                 bool OldStyle);

// The active tab drawn once more, larger, over its neighbours.
plat::TRect EnlargedTab(TPgcTabOrientation Orientation, const plat::TRect& Area);

// The caption rectangle of a tab (what OnDrawTab gets); empty without tabs.
plat::TRect TabTextRect(TPgcTabOrientation Orientation, int TabHeight, const plat::TRect& Area);

// The focus rectangle around a tab's caption.
plat::TRect TabFocusRect(TPgcTabOrientation Orientation, int TabHeight, const plat::TRect& Area);

// A tab's area with the 5 pixels toward the body that its repaint covers.
plat::TRect TabRepaintRect(TPgcTabOrientation Orientation, const plat::TRect& Area);

// The point half a tab height beyond the tab's outer edge, where a press
// reaches the row outside the active one.
plat::TPoint RowChangePoint(TPgcTabOrientation Orientation, int TabHeight, int TabWidth, const plat::TRect& Area);

} // namespace qel
