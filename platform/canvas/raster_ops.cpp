// Mix modes and raster operations as truth tables over the bits of the pixels.
#include "platform/canvas/raster_ops.h"

#include "platform/canvas/gdi_constants.h"

namespace plat {

std::uint32_t MixRop2(int mode, std::uint32_t p, std::uint32_t d)
{
    switch (mode) {
    case R2_COPYPEN: return p | 0xFF000000u;
    case R2_XORPEN: return (p ^ d) | 0xFF000000u;
    case R2_NOT: return ~d | 0xFF000000u;
    case R2_NOP: return d;
    default: break;
    }
    if (mode < R2_BLACK || mode > R2_WHITE)
        return p | 0xFF000000u;
    // Bit (pen << 1 | destination) of mode - 1 is the result bit.
    const unsigned table = static_cast<unsigned>(mode - 1);
    std::uint32_t result = 0;
    if (table & 1u) result |= ~p & ~d;
    if (table & 2u) result |= ~p & d;
    if (table & 4u) result |= p & ~d;
    if (table & 8u) result |= p & d;
    return result | 0xFF000000u;
}

std::uint32_t MixRop3(std::uint32_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    const unsigned table = rop >> 16 & 0xFFu;
    switch (table) {
    case 0xCC: return s | 0xFF000000u;
    case 0x66: return (s ^ d) | 0xFF000000u;
    case 0x88: return (s & d) | 0xFF000000u;
    case 0xEE: return (s | d) | 0xFF000000u;
    case 0xF0: return p | 0xFF000000u;
    case 0x5A: return (p ^ d) | 0xFF000000u;
    case 0x55: return ~d | 0xFF000000u;
    case 0xAA: return d;
    default: break;
    }
    std::uint32_t result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if ((table >> i & 1u) == 0)
            continue;
        result |= ((i & 4u) ? p : ~p) & ((i & 2u) ? s : ~s) & ((i & 1u) ? d : ~d);
    }
    return result | 0xFF000000u;
}

bool RopUsesSource(std::uint32_t rop)
{
    const unsigned t = rop >> 16 & 0xFFu;
    return ((t >> 2 ^ t) & 0x33u) != 0;
}

bool RopUsesPattern(std::uint32_t rop)
{
    const unsigned t = rop >> 16 & 0xFFu;
    return ((t >> 4 ^ t) & 0x0Fu) != 0;
}

} // namespace plat
