// Clip selection shared by the device contexts.
#include "platform/canvas/dc_clip.h"

#include "platform/canvas/gdi_constants.h"

namespace plat {

int TDCClip::Select(const TRegion* region, int mode, const TRect& surface)
{
    if (region == nullptr) {
        if (mode != RGN_COPY)
            return RGN_ERROR;
        FRegion.reset();
        return SIMPLEREGION;
    }
    auto combined = std::make_shared<TRegion>();
    const int kind = mode == RGN_COPY ? combined->Combine(*region, *region, RGN_COPY)
                                      : combined->Combine(FRegion ? *FRegion : TRegion(surface), *region, mode);
    if (kind == RGN_ERROR)
        return RGN_ERROR;
    TRegion visible;
    FVisibleKind = visible.Combine(*combined, TRegion(surface), RGN_AND);
    FVisibleBox = visible.Box();
    FRegion = std::move(combined);
    return kind;
}

int TDCClip::Box(const TRect& surface, TRect& box) const
{
    if (!FRegion) {
        box = surface;
        return SIMPLEREGION;
    }
    box = FVisibleBox;
    return FVisibleKind;
}

bool TDCClip::Visible(int x, int y, const TRect& surface) const
{
    return surface.Contains(x, y) && (!FRegion || FRegion->Contains(x, y));
}

bool TDCClip::Visible(const TRect& rect, const TRect& surface) const
{
    const TRect onSurface = IntersectRect(NormalizedRect(rect), surface);
    return !onSurface.IsEmpty() && (!FRegion || FRegion->Intersects(onSurface));
}

} // namespace plat
