// Colour values of the chart library: the drawing layer's colours (red in the
// low byte, green in the next, blue in the third) with its named colours, and
// the further named colours of the default palette.
#pragma once

#include "platform/canvas/colors.h"

#include <cstdint>
#include <vector>

namespace qel {

using plat::TColor;
using TColorArray = std::vector<TColor>;

constexpr TColor RGBToColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue)
{
    return static_cast<TColor>(Red | Green << 8 | Blue << 16);
}

using plat::clDefault;
using plat::clNone;

using plat::clAqua;
using plat::clBlack;
using plat::clBlue;
using plat::clFuchsia;
using plat::clGray;
using plat::clGreen;
using plat::clLime;
using plat::clMaroon;
using plat::clNavy;
using plat::clOlive;
using plat::clPurple;
using plat::clRed;
using plat::clSilver;
using plat::clTeal;
using plat::clWhite;
using plat::clYellow;

constexpr TColor clMoneyGreen = RGBToColor(192, 220, 192);
constexpr TColor clSkyBlue = RGBToColor(166, 202, 240);
constexpr TColor clCream = RGBToColor(255, 251, 240);
constexpr TColor clMedGray = RGBToColor(160, 160, 164);

} // namespace qel
