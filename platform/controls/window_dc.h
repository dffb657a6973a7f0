// The device contexts BeginPaint, GetDC and the screen context hand out: each
// draws on a copy of part of a top-level window's pixels (or of the screen)
// and, when released, writes back the pixels inside its mask that it changed.
//
// A context clipped to its mask copies in only the box of the mask at first,
// so that painting a small part of a large window costs in proportion to that
// part. The rest of its area is copied in before anything could reach it (a
// clip that grows past the box, the pixels asked for as a whole) and before
// the window's pixels change under it, so that whatever the context draws or
// reads is the same as on a copy of the whole area.
#pragma once

#include "platform/canvas/region.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/window.h"

#include <cstdint>
#include <memory>

namespace plat {

class TWindowDC;
class TWindowManager;

// Copies a block of device pixels between 32-bit surfaces, cut to both.
void CopyPixels(TPixelSurface& from, std::int64_t fromX, std::int64_t fromY, TPixelSurface& to, std::int64_t toX,
                std::int64_t toY, std::int64_t width, std::int64_t height);

// The surface context of a window context: it has the rest of the area
// copied in before its clip reaches past what is there or its pixels are
// asked for.
class TWindowSurfaceDC final : public TSurfaceDC {
public:
    TWindowSurfaceDC(TWindowDC& owner, TPixelSurface& pixels, int scale);

    TPixelSurface* Surface() override;
    int ExtSelectClipRgn(const TRegion* region, int mode) override;
    bool RestoreDC(int level) override;

private:
    void CoverClip();

    TWindowDC& FOwner;
};

class TWindowDC {
public:
    // A context on areaInTop (top-level coordinates; the screen's for top 0)
    // whose copy is width x height logical pixels from the area's top-left
    // corner; mask (area coordinates) is what goes back.
    TWindowDC(TWindowManager& manager, HWND top, const TRect& areaInTop, TRegion mask, int scale, int width,
              int height);

    // Copies in from source (the top-level window's or the screen's pixels,
    // null for none: black; sourceOrigin, logical, is where the area starts
    // in it) the whole copy, or with a clip only the mask's box, and selects
    // the clip; keeps the mask's pixels as they came.
    void Load(TPixelSurface* source, TPoint sourceOrigin, const TRegion* clip);
    // Copies in what is not there yet from the top-level window's pixels.
    void LoadRest();
    // Called before the top-level window's pixels in changedInTop change:
    // copies in the rest unless all of those that the copy holds are in.
    void BeforeChange(const TRect& changedInTop);
    bool FullyLoaded() const { return FLoaded == FWhole; }
    // Whether the device rectangle lies in what is copied in.
    bool Covers(const TRect& deviceRect) const;
    // Writes the pixels of region (logical, target coordinates) that the
    // context changed into target, whose (0, 0) lies at fromOrigin (logical)
    // of the copy's coordinates; region must lie inside the mask.
    void WriteChanged(TPixelSurface& target, TPoint fromOrigin, const TRegion& region);

    HDC Handle() { return &FDC; }

    const HWND Top;      // the top-level window whose pixels these are; 0 for the screen
    const TRect Area;    // in the top-level window (screen for the screen context)
    const TRegion Mask;  // area coordinates: the pixels that go back
    const int Scale;

private:
    // Copies the device rectangle of the copy in from source; black where
    // source has no pixels.
    void LoadBlock(TPixelSurface* source, const TRect& deviceRect);

    TWindowManager& FManager;
    TPoint FSourceOrigin;                  // logical: where the area starts in the source
    TPixelSurface FPixels;
    const TRect FWhole;                    // device pixels of the copy
    TRect FLoaded;                         // device pixels copied in so far
    TRect FOriginalBox;                    // device pixels FOriginal holds: the mask's box
    std::unique_ptr<TPixelSurface> FOriginal; // the mask's box as copied in; null when empty
    TWindowSurfaceDC FDC;
};

} // namespace plat
