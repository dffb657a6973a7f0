// Colour values of the chart library: red in the low byte, green in the next,
// blue in the third; the named colours of the default palette.
#pragma once

#include <cstdint>
#include <vector>

namespace qel {

using TColor = std::int32_t;
using TColorArray = std::vector<TColor>;

constexpr TColor RGBToColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue)
{
    return static_cast<TColor>(Red | Green << 8 | Blue << 16);
}

constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clBlack = RGBToColor(0, 0, 0);
constexpr TColor clMaroon = RGBToColor(128, 0, 0);
constexpr TColor clGreen = RGBToColor(0, 128, 0);
constexpr TColor clOlive = RGBToColor(128, 128, 0);
constexpr TColor clNavy = RGBToColor(0, 0, 128);
constexpr TColor clPurple = RGBToColor(128, 0, 128);
constexpr TColor clTeal = RGBToColor(0, 128, 128);
constexpr TColor clGray = RGBToColor(128, 128, 128);
constexpr TColor clSilver = RGBToColor(192, 192, 192);
constexpr TColor clRed = RGBToColor(255, 0, 0);
constexpr TColor clLime = RGBToColor(0, 255, 0);
constexpr TColor clYellow = RGBToColor(255, 255, 0);
constexpr TColor clBlue = RGBToColor(0, 0, 255);
constexpr TColor clFuchsia = RGBToColor(255, 0, 255);
constexpr TColor clAqua = RGBToColor(0, 255, 255);
constexpr TColor clWhite = RGBToColor(255, 255, 255);
constexpr TColor clMoneyGreen = RGBToColor(192, 220, 192);
constexpr TColor clSkyBlue = RGBToColor(166, 202, 240);
constexpr TColor clCream = RGBToColor(255, 251, 240);
constexpr TColor clMedGray = RGBToColor(160, 160, 164);

} // namespace qel
