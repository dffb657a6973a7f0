// The wheel panning mark: while the middle button pans the view, a round
// mark of 32 x 32 pixels sits over the rows at the panning centre. Its
// arrows show the directions the view can move: all four, only sideways or
// only up and down. It is painted after the rows, so it never scrolls with
// them.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/controls/control_canvas.h"

namespace qel {

namespace {

constexpr int MarkSize = 32;

// A filled arrow head with its tip at (x, y), pointing by (dx, dy).
void Arrow(plat::TCanvas& canvas, int x, int y, int dx, int dy)
{
    // Base of the head five pixels behind the tip, four to each side.
    const int baseX = x - 5 * dx;
    const int baseY = y - 5 * dy;
    const plat::TPoint points[] = {plat::Point(x, y), plat::Point(baseX + 4 * dy, baseY + 4 * dx),
                                   plat::Point(baseX - 4 * dy, baseY - 4 * dx)};
    canvas.Polygon(points, 3);
}

} // namespace

void TBaseDataTree::PaintWindow(plat::HDC dc)
{
    plat::TCustomControl::PaintWindow(dc);
    if (!FStates.Contains(tsWheelPanning) && !FStates.Contains(tsWheelScrolling)) {
        return;
    }
    auto* canvas = dynamic_cast<plat::TControlCanvas*>(Canvas());
    if (canvas != nullptr) {
        plat::TControlCanvas::TPaintScope painting(*canvas, dc);
        PaintPanningMark(*canvas);
    }
}

plat::TRect TBaseDataTree::PanningMarkRect() const
{
    return plat::Rect(FLastClickPos.X - MarkSize / 2, FLastClickPos.Y - MarkSize / 2, FLastClickPos.X + MarkSize / 2,
                      FLastClickPos.Y + MarkSize / 2);
}

void TBaseDataTree::PaintPanningMark(plat::TCanvas& canvas)
{
    const plat::TRect mark = PanningMarkRect();
    const bool sideways = ClientWidth() < FRangeX;
    const bool upAndDown = ClientHeight() < FRangeY || !sideways;
    const int cx = mark.Left + MarkSize / 2;
    const int cy = mark.Top + MarkSize / 2;
    canvas.Pen()->SetStyle(plat::psSolid);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(plat::clGray);
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(plat::clWhite);
    // Ring, dot and arrow tips all centre on (cx, cy): the ring is 31
    // pixels across, each tip 12 pixels from the centre.
    canvas.Ellipse(cx - 15, cy - 15, cx + 16, cy + 16);
    canvas.Pen()->SetColor(plat::clBlack);
    canvas.Brush()->SetColor(plat::clBlack);
    canvas.Ellipse(cx - 2, cy - 2, cx + 3, cy + 3);
    if (upAndDown) {
        Arrow(canvas, cx, cy - 12, 0, -1);
        Arrow(canvas, cx, cy + 12, 0, 1);
    }
    if (sideways) {
        Arrow(canvas, cx - 12, cy, -1, 0);
        Arrow(canvas, cx + 12, cy, 1, 0);
    }
}

} // namespace qel
