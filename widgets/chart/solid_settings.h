// Settings of the 3D chart canvas's solids, read at every call: the points
// of a cylinder or cone ring, the cone top asked for by percent 0, and how
// much side faces are darkened or brightened.
#pragma once

#include <cstdint>

namespace qel {

inline int CylinderSideCount = 32;
inline int DefaultConePercent = 0;
inline std::uint8_t DarkAmountHigh = 128;
inline std::uint8_t DarkAmountLow = 64;

} // namespace qel

namespace qel {

// Solids, pies and donuts whose coordinates, radii or depths lie beyond
// this many pixels draw nothing.
inline constexpr int MaxSolidExtent = 1 << 24;

} // namespace qel
