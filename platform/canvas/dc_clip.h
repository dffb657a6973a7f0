// The clip of a device context: none (the whole surface) or a region shared
// by the saved states that hold it, with the box and kind of its visible
// part kept, so that copying a state or asking for the clip box is cheap.
#pragma once

#include "platform/canvas/region.h"

#include <memory>

namespace plat {

class TDCClip {
public:
    bool Active() const { return FRegion != nullptr; }
    // The clip region, or null without a clip.
    const TRegion* Region() const { return FRegion.get(); }
    // 1 and a copy of the region, or 0 without a clip.
    int CopyTo(TRegion& region) const
    {
        if (!FRegion)
            return 0;
        region = *FRegion;
        return 1;
    }

    // Combines region into the clip (mode RGN_AND ... RGN_COPY; a missing
    // clip counts as the whole surface). A null region with RGN_COPY
    // removes the clip. Answers the new kind, or RGN_ERROR.
    int Select(const TRegion* region, int mode, const TRect& surface);
    // The box of the visible part and its kind.
    int Box(const TRect& surface, TRect& box) const;
    bool Visible(int x, int y, const TRect& surface) const;
    bool Visible(const TRect& rect, const TRect& surface) const;

private:
    std::shared_ptr<const TRegion> FRegion;
    TRect FVisibleBox;  // box of the region within the surface it was selected for
    int FVisibleKind = 0;
};

} // namespace plat
