// Semi-transparent drawing for canvases that cannot blend by themselves: a
// snapshot of a rectangle taken before the drawing is mixed back over the
// new pixels afterwards, in proportion to a transparency; and the bitmap
// blend it rests on.
#pragma once

#include "widgets/chart/chart_points.h"
#include "widgets/chart/gradient_colors.h"

#include <memory>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

class TChtCanvas;

class TChtBlend {
public:
    // Takes the snapshot of R at once when ACanvas is given.
    TChtBlend(TChtCanvas* ACanvas, const TRect& R);
    ~TChtBlend();
    TChtBlend(const TChtBlend&) = delete;
    TChtBlend& operator=(const TChtBlend&) = delete;

    // Brings R into the canvas (not left of or above 0, at least one pixel
    // wide and high, not right of or below its bounds) and snapshots it.
    void SetRectangle(const TRect& R);
    // Mixes the snapshot over what was drawn since, Transparency percent of
    // it; nothing while the canvas records a metafile or for a rectangle
    // without pixels.
    void DoBlend(TChtTransparency Transparency);

    // The snapshot, 24 bits a pixel; nullptr before the first valid one.
    plat::TBitmap* Bitmap() const { return FBitmap.get(); }
    // The rectangle after clamping; it holds pixels.
    const TRect& Rectangle() const { return FRect; }
    bool ValidSize() const { return IValidSize; }

private:
    std::unique_ptr<plat::TBitmap> FBitmap;
    TChtCanvas* FCanvas;     // not owned
    TRect FRect;
    bool IValidSize = false;
};

// The weight of the source, 0 .. 255, when Opacity percent of the
// destination stays visible: 255 - Round(Opacity * 2.55), halves to even.
int BlendSourceWeight(double Opacity);

// Mixes Source into Dest at Position (a negative coordinate counts as 0):
// each colour byte becomes Source * a / 255 + Dest * (255 - a) / 255
// rounded, a = BlendSourceWeight(Opacity). The part that falls outside
// Dest is left out; 24- and 32-bit bitmaps keep their format, alpha bytes
// stay.
void BlendBitmap(double Opacity, plat::TBitmap& Source, plat::TBitmap& Dest, TPoint Position);

} // namespace qel
