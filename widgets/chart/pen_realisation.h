// How a chart pen becomes the device pen of a platform pen: extended pens
// with end caps and joins for wide lines, dotted pens for small dots.
#pragma once

#include "widgets/chart/chart_colors.h"

#include "platform/canvas/gdi_objects.h"

namespace plat {
class TPen;
} // namespace plat

namespace qel {

class TChtPen;

// Pen takes APen's settings in colour AColor: small dots become a dotted
// pen (only the mode of APen is copied besides), wider pens an extended
// pen with APen's style, end caps and joins, thin pens a plain copy.
void ApplyChtPen(plat::TPen& Pen, const TChtPen& APen, TColor AColor);

// One-pixel dots Space + 1 apart; Space 0 or less sets every other pixel.
plat::TLogPen CreateDottedPen(TColor AColor, int Space);

} // namespace qel
