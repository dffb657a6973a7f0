// Darker and lighter shades of a colour.
#include "widgets/chart/color_shades.h"

#include <algorithm>

namespace qel {

namespace {

// Channel Shift (0 red, 8 green, 16 blue) of Color, moved by Delta and kept
// within a byte.
int MovedChannel(TColor Color, int Shift, int Delta)
{
    const int Channel = (static_cast<std::uint32_t>(Color) >> Shift) & 0xFF;
    return std::clamp(Channel + Delta, 0, 255) << Shift;
}

TColor Shifted(TColor Color, int Delta)
{
    return MovedChannel(Color, 0, Delta) | MovedChannel(Color, 8, Delta) | MovedChannel(Color, 16, Delta);
}

} // namespace

TColor DarkenColorBy(TColor Color, std::uint8_t Amount)
{
    return Shifted(Color, -Amount);
}

TColor LightenColorBy(TColor Color, std::uint8_t Amount)
{
    return Shifted(Color, Amount);
}

} // namespace qel
