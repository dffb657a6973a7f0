// Darker and lighter shades of a colour: each of red, green and blue moved
// by the same amount and kept within 0 .. 255; the top byte of the result
// is 0.
#pragma once

#include "widgets/chart/chart_colors.h"

#include <cstdint>

namespace qel {

TColor DarkenColorBy(TColor Color, std::uint8_t Amount);
TColor LightenColorBy(TColor Color, std::uint8_t Amount);

} // namespace qel
