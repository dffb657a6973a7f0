// Painting a two-colour gradient with plain device-context calls: bands
// along an edge, rectangular rings from the centre, L-shaped layers from a
// corner, or diagonal pen lines. One painter serves one fill; it keeps the
// colour steps and the device brush it recolours.
#pragma once

#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_points.h"

#include "platform/canvas/gdi_objects.h"

namespace plat {
class TDeviceContext;
} // namespace plat

namespace qel {

class TChtCanvas;

class TGradientFillPainter {
public:
    // Fills Rect (ordered) of Canvas from Start (step 0) to End under
    // Balance; the device brush becomes the device-colour brush until the
    // painter ends.
    TGradientFillPainter(TChtCanvas& Canvas, const TRect& Rect, TColor Start, TColor End, int Balance);
    ~TGradientFillPainter();
    TGradientFillPainter(const TGradientFillPainter&) = delete;
    TGradientFillPainter& operator=(const TGradientFillPainter&) = delete;

    // Bands across the rectangle, step 0 along the bottom edge (Vertical)
    // or the right edge; at most 256 bands whose sizes differ by at most
    // one pixel, and none for a rectangle one pixel long.
    void Bands(bool Vertical);
    // One-pixel rectangular rings, the last colour step in the centre.
    // This and the next paint nothing that takes more than 67,108,864
    // steps; the diagonal lines nothing above that many pixels.
    void Rings();
    // L-shaped layers growing from the top-left (or bottom-left) corner.
    void CornerFill(bool FromBottom);
    // Pen lines parallel to the other diagonal, from the bottom-left corner
    // (Up) or the top-left one.
    void DiagonalLines(bool Up);

    // The colour of step I of N.
    TColor StepColor(int I, int N) const;

private:
    // Makes step I of N the device brush colour.
    void UseStep(int I, int N);
    // Fills one rectangle that shows on the device.
    void Fill(std::int64_t X, std::int64_t Y, std::int64_t Width, std::int64_t Height);
    // The area reaches into the device's clip box.
    bool Visible(std::int64_t Left, std::int64_t Top, std::int64_t Right, std::int64_t Bottom) const;

    TChtCanvas& FCanvas;
    plat::TDeviceContext* FDC;      // nullptr: the canvas draws nowhere
    TRect FRect;
    int FRed, FGreen, FBlue;        // start channels
    int FDeltaRed, FDeltaGreen, FDeltaBlue;
    int FBalance;
    TColor FLastColor = static_cast<TColor>(-1);
    plat::TLogBrush FSavedBrush;    // selected before the painter
    TRect FVisible;                 // the device's clip box: fills beyond it are skipped
};

} // namespace qel
