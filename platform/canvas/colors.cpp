// The fixed system palette: the same values on every machine, whatever the
// desktop's theme, so that every render is reproducible.
#include "platform/canvas/colors.h"

#include <array>

namespace plat {

namespace {

constexpr std::array<COLORREF, COLOR_ENDCOLORS + 1> SystemPalette = {
    RGB(200, 200, 200), // scroll bar
    RGB(0, 0, 0),       // desktop
    RGB(153, 180, 209), // active caption
    RGB(191, 205, 219), // inactive caption
    RGB(240, 240, 240), // menu
    RGB(255, 255, 255), // window
    RGB(100, 100, 100), // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(0, 0, 0),       // caption text
    RGB(180, 180, 180), // active border
    RGB(244, 247, 252), // inactive border
    RGB(171, 171, 171), // application work space
    RGB(0, 120, 215),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(240, 240, 240), // button face
    RGB(160, 160, 160), // button shadow
    RGB(109, 109, 109), // grey text
    RGB(0, 0, 0),       // button text
    RGB(0, 0, 0),       // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(105, 105, 105), // 3D dark shadow
    RGB(227, 227, 227), // 3D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
    RGB(0, 0, 0),       // index 25 has no colour of its own
    RGB(0, 102, 204),   // hot-tracked item
    RGB(185, 209, 234), // active caption gradient
    RGB(215, 228, 242), // inactive caption gradient
    RGB(51, 153, 255),  // menu highlight
    RGB(240, 240, 240), // menu bar
};

} // namespace

COLORREF GetSysColor(int index)
{
    if (index < 0 || index > COLOR_ENDCOLORS)
        return 0;
    return SystemPalette[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color)
{
    const auto bits = static_cast<std::uint32_t>(color);
    if ((bits & 0xFF000000u) != 0xFF000000u)
        return color;
    const std::uint32_t index = bits & 0x00FFFFFFu;
    if (index > COLOR_ENDCOLORS)
        return color;
    return static_cast<TColor>(GetSysColor(static_cast<int>(index)));
}

} // namespace plat
