// The hue, luminance and saturation model of the chart's colour filters:
// 0 .. 240 for all three values, 255 the largest colour byte, hue 160 for a
// grey without hue. The conversions mix single and double precision step
// by step, so that each pixel converts to the same values everywhere; the
// divisions they need are looked up in tables made once.
#pragma once

#include "widgets/chart/filter_pixels.h"

#include <algorithm>
#include <cstdint>

namespace qel {

// Hue, luminance and saturation of a pixel.
struct THLS {
    std::uint16_t Hue;
    std::uint16_t Luminance;
    std::uint16_t Saturation;
};

// The quotients of the conversion to the model, by colour byte values.
struct THlsTables {
    float Reciprocal[256];                   // Single(1 / d), d the spread of the bytes
    std::uint8_t Saturation[256][256];       // by largest and smallest byte
    std::uint8_t Luminance[511];             // by largest + smallest byte
};

// Made on first use; safe to share between threads.
const THlsTables& HlsTables();

namespace hls_detail {

// The hue share of one byte V of a pixel whose largest byte is Max and
// spread Spread, K = Single(1 / Spread).
inline float HueShare(int Max, int V, int Spread, float K)
{
    return static_cast<float>(((Max - V) * 40 + Spread * 0.5) * static_cast<double>(K));
}

inline int NearestOfSingle(float V)
{
    return NearestOf(static_cast<double>(V));
}

} // namespace hls_detail

// The hue of Pixel, 0 .. 240.
inline std::uint16_t HueOf(const THlsTables& Tables, const TRGB& Pixel)
{
    using hls_detail::HueShare;
    const int R = Pixel.Red, G = Pixel.Green, B = Pixel.Blue;
    const int Max = std::max({R, G, B});
    const int Spread = Max - std::min({R, G, B});
    if (Spread == 0) {
        return 160;
    }
    const float K = Tables.Reciprocal[Spread];
    const float Rd = HueShare(Max, R, Spread, K);
    const float Gd = HueShare(Max, G, Spread, K);
    const float Bd = HueShare(Max, B, Spread, K);
    float H;
    if (R == Max) {
        H = Bd - Gd;
    } else if (G == Max) {
        H = static_cast<float>((static_cast<double>(Rd) + 80) - static_cast<double>(Bd));
    } else {
        H = (Gd + 160.0f) - Rd;
    }
    if (H < 0) {
        H = H + 240.0f;
    } else if (H > 240) {
        H = H - 240.0f;
    }
    return static_cast<std::uint16_t>(hls_detail::NearestOfSingle(H));
}

inline std::uint16_t LuminanceOf(const THlsTables& Tables, const TRGB& Pixel)
{
    const int Sum = std::max({Pixel.Red, Pixel.Green, Pixel.Blue}) + std::min({Pixel.Red, Pixel.Green, Pixel.Blue});
    return Tables.Luminance[Sum];
}

inline std::uint16_t SaturationOf(const THlsTables& Tables, const TRGB& Pixel)
{
    return Tables.Saturation[std::max({Pixel.Red, Pixel.Green, Pixel.Blue})]
                            [std::min({Pixel.Red, Pixel.Green, Pixel.Blue})];
}

inline THLS RGBToHLS(const THlsTables& Tables, const TRGB& Pixel)
{
    return {HueOf(Tables, Pixel), LuminanceOf(Tables, Pixel), SaturationOf(Tables, Pixel)};
}

// One colour channel from the two levels N1, N2 and a hue Hue, 0 .. 240.
inline int HueToRGB(float N1, float N2, float Hue)
{
    if (Hue < 40) {
        const float Rise = (N2 - N1) * Hue;
        return NearestOf(static_cast<double>(N1) + (static_cast<double>(Rise) + 20) * 0.025);
    }
    if (Hue < 120) {
        return hls_detail::NearestOfSingle(N2);
    }
    if (Hue < 160) {
        const double Fall = static_cast<double>(N2) - static_cast<double>(N1);
        return NearestOf(static_cast<double>(N1) + (Fall * (160 - static_cast<double>(Hue)) + 20) * 0.025);
    }
    return hls_detail::NearestOfSingle(N1);
}

namespace hls_detail {

// A channel's byte for hue H (brought into 0 .. 240 first); below 0 it is 0.
inline std::uint8_t Channel(float M1, float M2, float H)
{
    if (H < 0) {
        H = H + 240.0f;
    } else if (H > 240) {
        H = H - 240.0f;
    }
    const int V = HueToRGB(M1, M2, H);
    return ClampByte(NearestOf((V * 255 + 120) * 0.004166666666666667));
}

} // namespace hls_detail

// The pixel of hue H, luminance L and saturation S, each 0 .. 255.
inline TRGB HLSToRGB(int H, int L, int S)
{
    if (S == 0) {
        const auto V = ClampByte(NearestOf((L * 255) * 0.004166666666666667));
        return {V, V, V};
    }
    const auto M2 = static_cast<float>(L <= 120 ? (L * (S + 240) + 120) * 0.004166666666666667
                                                : (L + S) - (L * S + 120) * 0.004166666666666667);
    const float M1 = static_cast<float>(2 * L) - M2;
    TRGB Pixel;
    Pixel.Red = hls_detail::Channel(M1, M2, static_cast<float>(H + 80.0));
    Pixel.Green = hls_detail::Channel(M1, M2, static_cast<float>(H));
    Pixel.Blue = hls_detail::Channel(M1, M2, static_cast<float>(H - 80.0));
    return Pixel;
}

inline THLS RGBToHLS(const TRGB& Pixel)
{
    return RGBToHLS(HlsTables(), Pixel);
}

} // namespace qel
