// The drawing state of a device context, as SaveDC keeps it and as the
// recording twin notes it beside every call.
#pragma once

#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/graphics_types.h"
#include "platform/canvas/dc_clip.h"

namespace plat {

struct TDCState {
    TLogPen Pen;                      // black, one pixel, solid
    TLogBrush Brush;                  // solid white
    TLogFont Font;                    // the default family at its default size
    int Rop2 = R2_COPYPEN;
    int BkMode = OPAQUE;
    COLORREF BkColor = 0xFFFFFF;
    COLORREF TextColor = 0x000000;
    std::uint32_t TextAlign = TA_LEFT | TA_TOP;
    COLORREF DCBrushColor = 0xFFFFFF;
    COLORREF DCPenColor = 0x000000;
    int PolyFillMode = ALTERNATE;
    int ArcDirection = AD_COUNTERCLOCKWISE;
    int CharExtra = 0;
    TPoint BrushOrg;
    TPoint Position;
    TDCClip Clip;                     // logical coordinates
};

} // namespace plat
