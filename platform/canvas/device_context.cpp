// The clip calls every device context answers through ExtSelectClipRgn.
#include "platform/canvas/device_context.h"

namespace plat {

int TDeviceContext::IntersectClipRect(int left, int top, int right, int bottom)
{
    const TRegion r(TRect{left, top, right, bottom});
    return ExtSelectClipRgn(&r, RGN_AND);
}

int TDeviceContext::ExcludeClipRect(int left, int top, int right, int bottom)
{
    const TRegion r(TRect{left, top, right, bottom});
    return ExtSelectClipRgn(&r, RGN_DIFF);
}

} // namespace plat
