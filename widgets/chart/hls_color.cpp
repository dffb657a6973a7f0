// The quotient tables of the hue, luminance and saturation conversion.
#include "widgets/chart/hls_color.h"

namespace qel {

namespace {

// Luminance before rounding, by the sum of the largest and smallest byte.
float ExactLuminance(int Sum)
{
    return static_cast<float>((Sum * 240 + 255) * 0.00196078431372549);
}

THlsTables MakeHlsTables()
{
    THlsTables Tables{};
    for (int Spread = 1; Spread < 256; ++Spread) {
        Tables.Reciprocal[Spread] = static_cast<float>(1.0 / Spread);
    }
    for (int Sum = 0; Sum <= 510; ++Sum) {
        Tables.Luminance[Sum] = static_cast<std::uint8_t>(NearestOf(ExactLuminance(Sum)));
    }
    for (int Max = 1; Max < 256; ++Max) {
        for (int Min = 0; Min < Max; ++Min) {
            const int Sum = Max + Min;
            const int Spread = Max - Min;
            const double Saturation = ExactLuminance(Sum) <= 120
                ? (Spread * 240 + Sum * 0.5) / Sum
                : (Spread * 240 + (255 - Sum * 0.5)) / (510 - Sum);
            Tables.Saturation[Max][Min] = static_cast<std::uint8_t>(NearestOf(static_cast<float>(Saturation)));
        }
    }
    return Tables;
}

} // namespace

const THlsTables& HlsTables()
{
    static const THlsTables Tables = MakeHlsTables();
    return Tables;
}

} // namespace qel
