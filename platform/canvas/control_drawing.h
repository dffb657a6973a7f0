// Control drawings built from plain fills in the fixed system palette: 3D
// edges and frames, and the 13 x 13 check box, radio button and push button
// glyphs. They draw through any device context, so the recording twin sees
// them as fills.
#pragma once

#include "platform/canvas/device_context.h"

namespace plat {

bool DrawEdgeOn(TDeviceContext& dc, TRect& rect, std::uint32_t edge, std::uint32_t flags);
bool DrawFrameControlOn(TDeviceContext& dc, const TRect& rect, std::uint32_t kind, std::uint32_t state);
// A frame of the given width: top and left edges in one colour, bottom and
// right in the other; the rectangle shrinks by the width on every side.
void Frame3D(TDeviceContext& dc, TRect& rect, COLORREF topColor, COLORREF bottomColor, int width);

} // namespace plat
