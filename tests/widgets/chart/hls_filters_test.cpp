// Tests of the hue, luminance and saturation model and its two filters:
// the worked conversions, the tables against the conversion computed with
// its divisions, round trips, the channel below 0, the shift filter and
// the colour replacer.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/hls_color.h"
#include "widgets/chart/hls_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qel {
namespace {

using namespace test;

TRGB Rgb(int Red, int Green, int Blue)
{
    return {static_cast<std::uint8_t>(Blue), static_cast<std::uint8_t>(Green), static_cast<std::uint8_t>(Red)};
}

std::string Text(const TRGB& Pixel)
{
    return std::to_string(Pixel.Red) + ", " + std::to_string(Pixel.Green) + ", " + std::to_string(Pixel.Blue);
}

std::string Text(const THLS& Value)
{
    return std::to_string(Value.Hue) + ", " + std::to_string(Value.Luminance) + ", " + std::to_string(Value.Saturation);
}

// The conversion to the model with its divisions, step by step in the
// precisions the model prescribes.
THLS DividingRGBToHLS(int R, int G, int B)
{
    const int Max = std::max({R, G, B});
    const int Min = std::min({R, G, B});
    const int Sum = Max + Min;
    const auto L = static_cast<float>((Sum * 240 + 255) * 0.00196078431372549);
    if (Max == Min) {
        return {160, static_cast<std::uint16_t>(std::nearbyint(L)), 0};
    }
    const int D = Max - Min;
    const auto S = static_cast<float>(L <= 120 ? (D * 240 + Sum * 0.5) / Sum : (D * 240 + (255 - Sum * 0.5)) / (510 - Sum));
    const auto K = static_cast<float>(1.0 / D);
    const auto Share = [&](int V) { return static_cast<float>(((Max - V) * 40 + D * 0.5) * K); };
    const float Rd = Share(R), Gd = Share(G), Bd = Share(B);
    float H = R == Max ? Bd - Gd
        : G == Max     ? static_cast<float>((Rd + 80.0) - Bd)
                       : (Gd + 160.0f) - Rd;
    if (H < 0) {
        H = H + 240.0f;
    } else if (H > 240) {
        H = H - 240.0f;
    }
    return {static_cast<std::uint16_t>(std::nearbyint(H)), static_cast<std::uint16_t>(std::nearbyint(L)),
        static_cast<std::uint16_t>(std::nearbyint(S))};
}

TEST(HlsColor, ConvertsTheWorkedColours)
{
    struct TCase {
        TRGB Pixel;
        THLS Expected;
    };
    const TCase Cases[] = {
        {Rgb(255, 0, 0), {0, 120, 240}},
        {Rgb(0, 255, 0), {80, 120, 240}},
        {Rgb(0, 0, 255), {160, 120, 240}},
        {Rgb(255, 255, 255), {160, 240, 0}},
        {Rgb(0, 0, 0), {160, 0, 0}},
        {Rgb(200, 100, 50), {13, 118, 144}},
        {Rgb(255, 100, 0), {16, 120, 240}},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(Text(RGBToHLS(Case.Pixel)), Text(Case.Expected)) << Text(Case.Pixel);
    }
    EXPECT_EQ(Text(HLSToRGB(0, 120, 240)), "255, 0, 0");
    EXPECT_EQ(Text(HLSToRGB(160, 240, 0)), "255, 255, 255");
}

TEST(HlsColor, TheTablesGiveWhatTheDivisionsGive)
{
    const THlsTables& Tables = HlsTables();
    for (int R = 0; R < 256; R += 3) {
        for (int G = 0; G < 256; G += 5) {
            for (int B = 0; B < 256; ++B) {
                const THLS Expected = DividingRGBToHLS(R, G, B);
                const THLS Got = RGBToHLS(Tables, Rgb(R, G, B));
                if (Got.Hue != Expected.Hue || Got.Luminance != Expected.Luminance
                    || Got.Saturation != Expected.Saturation) {
                    FAIL() << Text(Rgb(R, G, B)) << " gives " << Text(Got) << ", not " << Text(Expected);
                }
            }
        }
    }
}

TEST(HlsColor, RoundTripsComeBackNearlyAndChannelsBelowZeroBecomeZero)
{
    const std::pair<TRGB, const char*> Cases[] = {
        {Rgb(200, 100, 50), "201, 100, 50"},
        {Rgb(128, 128, 128), "129, 129, 129"},
        {Rgb(255, 0, 0), "255, 0, 0"},
        {Rgb(0, 0, 0), "0, 0, 0"},
    };
    for (const auto& [Pixel, Back] : Cases) {
        const THLS Value = RGBToHLS(Pixel);
        EXPECT_EQ(Text(HLSToRGB(Value.Hue, Value.Luminance, Value.Saturation)), Back) << Text(Pixel);
    }
    EXPECT_EQ(Text(HLSToRGB(0, 120, 255)), "255, 0, 0") << "green and blue reach -8";
    for (int H = 0; H <= 255; H += 15) {
        for (int S = 200; S <= 255; S += 5) {
            const TRGB Pixel = HLSToRGB(H, 100, S);
            EXPECT_LE(std::min({Pixel.Red, Pixel.Green, Pixel.Blue}), 60) << "no low channel wraps to a high byte";
        }
    }
}

TEST(HueLumSatFilter, ShiftsAndConvertsEveryPixel)
{
    auto Deep = UniformBitmap(3, 3, 128, plat::pf32bit);
    THueLumSatFilter Filter(nullptr);
    Filter.Apply(*Deep);
    EXPECT_EQ(Deep->PixelFormat(), plat::pf24bit);
    EXPECT_EQ(PixelAt(*Deep, 1, 1)[0], 128) << "all amounts 0 change nothing";

    Filter.SetHue(1);
    Filter.Apply(*Deep);
    EXPECT_EQ(PixelAt(*Deep, 1, 1), (TPixelBytes{129, 129, 129, 0})) << "luminance 121 converts back to 129";

    THueLumSatFilter Lighter(nullptr);
    Lighter.SetLuminance(1000000);
    auto Bitmap = MakeBitmap(2, 1, plat::pf24bit, [](int X, int) {
        return X == 0 ? TPixelBytes{0, 0, 255, 0} : TPixelBytes{50, 100, 200, 0};
    });
    Lighter.Apply(*Bitmap);
    EXPECT_EQ(PixelAt(*Bitmap, 0, 0), (TPixelBytes{255, 255, 255, 0})) << "sums clamp to 255";
    EXPECT_EQ(PixelAt(*Bitmap, 1, 0), (TPixelBytes{255, 255, 255, 0}));
}

TEST(ColorReplaceFilter, PaintsThePixelsWhoseValueLiesInTheRange)
{
    // Pure red, orange (hue 16), grey 128, a dark blue (luminance 19) and a
    // greyish red (hue 0, saturation 30).
    const TRGB Row[] = {Rgb(255, 0, 0), Rgb(255, 100, 0), Rgb(128, 128, 128), Rgb(0, 0, 40), Rgb(150, 120, 120)};
    struct TCase {
        const char* Name;
        TColorMethod Method;
        int From, To;
        TColor Color;
        std::vector<std::string> Expected;
    };
    const TCase Cases[] = {
        {"hue 0 .. 20 red", cmHue, 0, 20, clRed, {"255, 0, 0", "255, 0, 0", "128, 128, 128", "0, 0, 40", "255, 0, 0"}},
        {"defaults: hue 0 white", cmHue, 0, 0, clWhite,
            {"255, 255, 255", "255, 100, 0", "128, 128, 128", "0, 0, 40", "255, 255, 255"}},
        {"From above To", cmHue, 30, 20, clRed,
            {"255, 0, 0", "255, 100, 0", "128, 128, 128", "0, 0, 40", "150, 120, 120"}},
        {"dark luminance", cmLum, 0, 30, clYellow,
            {"255, 0, 0", "255, 100, 0", "128, 128, 128", "255, 255, 0", "150, 120, 120"}},
        {"no saturation", cmSat, 0, 0, clLime,
            {"255, 0, 0", "255, 100, 0", "0, 255, 0", "0, 0, 40", "150, 120, 120"}},
        {"to 255 as to 240", cmSat, 240, 255, clBlue,
            {"0, 0, 255", "0, 0, 255", "128, 128, 128", "0, 0, 255", "150, 120, 120"}},
    };
    for (const TCase& Case : Cases) {
        auto Bitmap = MakeBitmap(5, 1, plat::pf24bit, [&](int X, int) {
            const TRGB& P = Row[X];
            return TPixelBytes{P.Blue, P.Green, P.Red, 0};
        });
        TColorReplaceFilter Filter(nullptr);
        Filter.SetMethod(Case.Method);
        Filter.SetFromValue(static_cast<std::uint8_t>(Case.From));
        Filter.SetToValue(static_cast<std::uint8_t>(Case.To));
        Filter.SetColor(Case.Color);
        Filter.Apply(*Bitmap);
        for (int X = 0; X < 5; ++X) {
            const TPixelBytes P = PixelAt(*Bitmap, X, 0);
            EXPECT_EQ(Text(Rgb(P[2], P[1], P[0])), Case.Expected[static_cast<std::size_t>(X)]) << Case.Name << ", pixel " << X;
        }
    }
}

} // namespace
} // namespace qel
