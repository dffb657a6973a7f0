// Formatted text in a rectangle (DrawText) over any device context: prefix
// characters, tab expansion, line and word breaks, ellipses, alignment,
// clipping and measuring.
#pragma once

#include "platform/canvas/device_context.h"

namespace plat {

// Answers the height of the text; with DT_CALCRECT nothing is drawn and the
// rectangle's right and bottom edges take the text's extent.
int DrawTextOn(TDeviceContext& dc, std::string_view text, TRect& rect, std::uint32_t format);

} // namespace plat
