// Tests of the colour filters: the worked values of grey scale, invert,
// brightness, contrast, colour shift, gamma, sepia and equalize, their
// 24- and 32-bit rows, regions, and amounts far outside the editor's range.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/color_filters.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace qel {
namespace {

using namespace test;

// A one-row 24-bit bitmap of the given grey levels.
std::unique_ptr<plat::TBitmap> GreyRow(std::initializer_list<std::uint8_t> Levels)
{
    const std::vector<std::uint8_t> All(Levels);
    return MakeBitmap(static_cast<int>(All.size()), 1, plat::pf24bit, [&](int X, int) {
        const std::uint8_t V = All[static_cast<std::size_t>(X)];
        return TPixelBytes{V, V, V, 0};
    });
}

// The blue bytes of a one-row bitmap.
std::vector<int> Blues(plat::TBitmap& Bitmap)
{
    std::vector<int> All;
    for (int X = 0; X < Bitmap.Width(); ++X) {
        All.push_back(PixelAt(Bitmap, X, 0)[0]);
    }
    return All;
}

TPixelBytes Bgr(int Red, int Green, int Blue, int Alpha = 0)
{
    return {static_cast<std::uint8_t>(Blue), static_cast<std::uint8_t>(Green), static_cast<std::uint8_t>(Red),
        static_cast<std::uint8_t>(Alpha)};
}

// The pixel R 200, G 100, B 50 after the filter.
TPixelBytes OnePixelAfter(TChtFilter& Filter, int Red = 200, int Green = 100, int Blue = 50)
{
    auto Bitmap = MakeBitmap(1, 1, plat::pf24bit, [&](int, int) { return Bgr(Red, Green, Blue); });
    Filter.Apply(*Bitmap);
    return PixelAt(*Bitmap, 0, 0);
}

TEST(GrayScaleFilter, EachMethodGivesItsGrey)
{
    const std::pair<TGrayMethod, int> Cases[] = {{gmSimple, 116}, {gmEye, 124}, {gmEye2, 126}, {gmLight, 125}};
    for (const auto& [Method, Grey] : Cases) {
        TGrayScaleFilter Filter(nullptr);
        Filter.SetMethod(Method);
        EXPECT_EQ(OnePixelAfter(Filter), Bgr(Grey, Grey, Grey)) << "method " << Method;

        auto Deep = MakeBitmap(2, 1, plat::pf32bit, [](int, int) { return Bgr(200, 100, 50, 77); });
        Filter.RGBA = true;
        Filter.Apply(*Deep);
        EXPECT_EQ(PixelAt(*Deep, 1, 0), Bgr(Grey, Grey, Grey, 77)) << "32-bit rows keep the fourth byte";
    }
}

TEST(InvertFilter, InvertsColourBytesAndTwiceRestores)
{
    for (const bool Deep : {false, true}) {
        auto Bitmap = MakeBitmap(7, 4, Deep ? plat::pf32bit : plat::pf24bit, [](int X, int Y) {
            return Bgr(X * 30, Y * 60, 255 - X, 9 * X);
        });
        const std::vector<std::uint8_t> Before = PixelBytes(*Bitmap);
        TInvertFilter Filter(nullptr);
        Filter.RGBA = Deep;
        Filter.Apply(*Bitmap);
        EXPECT_EQ(PixelAt(*Bitmap, 3, 2), Bgr(255 - 90, 255 - 120, 3, Deep ? 27 : 0));
        Filter.Apply(*Bitmap);
        EXPECT_EQ(PixelBytes(*Bitmap), Before) << (Deep ? "32-bit" : "24-bit");
    }
}

TEST(InvertFilter, ChangesOnlyTheRegion)
{
    auto Bitmap = UniformBitmap(10, 6, 100);
    TInvertFilter Filter(nullptr);
    Filter.Region()->SetRectangle({2, 1, 4, 3});
    Filter.Apply(*Bitmap);
    for (int Y = 0; Y < 6; ++Y) {
        for (int X = 0; X < 10; ++X) {
            const bool Inside = X >= 2 && X <= 4 && Y >= 1 && Y <= 3;
            EXPECT_EQ(PixelAt(*Bitmap, X, Y)[1], Inside ? 155 : 100) << X << ", " << Y;
        }
    }
}

// Levels of a grey row after an amount filter.
std::vector<int> LevelsAfter(TAmountFilter& Filter, int Amount, bool Percent, std::initializer_list<std::uint8_t> Levels)
{
    Filter.SetAmount(Amount);
    Filter.SetPercent(Percent);
    auto Bitmap = GreyRow(Levels);
    Filter.Apply(*Bitmap);
    return Blues(*Bitmap);
}

TEST(AmountFilters, BrightnessContrastAndGammaGiveTheirWorkedValues)
{
    constexpr int Huge = std::numeric_limits<int>::max();
    constexpr int Tiny = std::numeric_limits<int>::min();
    struct TCase {
        const char* Name;
        std::function<std::unique_ptr<TAmountFilter>()> Make;
        int Amount;
        bool Percent;
        std::initializer_list<std::uint8_t> Levels;
        std::vector<int> Expected;
    };
    const auto Brightness = [] { return std::make_unique<TBrightnessFilter>(nullptr); };
    const auto Contrast = [] { return std::make_unique<TContrastFilter>(nullptr); };
    const auto Gamma = [] { return std::make_unique<TGammaCorrectionFilter>(nullptr); };
    const TCase Cases[] = {
        {"brightness 10 %: 25.5 rounds to 26", Brightness, 10, true, {0, 100, 250}, {26, 126, 255}},
        {"brightness 10 plain", Brightness, 10, false, {0, 100, 250}, {10, 110, 255}},
        {"brightness -30 %", Brightness, -30, true, {0, 100, 250}, {0, 24, 174}},
        {"brightness of the largest amount", Brightness, Huge, false, {0, 100}, {255, 255}},
        {"brightness of the smallest amount", Brightness, Tiny, true, {0, 255}, {0, 0}},
        {"contrast 64 plain: -19.5 goes towards zero", Contrast, 64, false, {200, 50, 128}, {218, 31, 128}},
        {"contrast 50 %", Contrast, 50, true, {200, 50, 128}, {228, 43, 128}},
        {"contrast -100 %", Contrast, -100, true, {0, 255}, {0, 129}},
        {"contrast of the largest amount", Contrast, Huge, false, {0, 127, 128, 129, 255}, {0, 0, 128, 255, 255}},
        {"contrast of the smallest amount", Contrast, Tiny, true, {0, 200}, {0, 0}},
        {"gamma 100 % is the identity", Gamma, 100, true, {0, 1, 64, 128, 254, 255}, {0, 1, 64, 128, 254, 255}},
        {"gamma 70 %", Gamma, 70, true, {64, 128, 192}, {35, 95, 170}},
        {"gamma 0 acts as 0.001", Gamma, 0, true, {0, 100, 253, 254, 255}, {0, 0, 0, 5, 255}},
        {"gamma -70 % is gamma 70 %", Gamma, -70, true, {64, 128, 192}, {35, 95, 170}},
        {"gamma 255 plain is the identity", Gamma, 255, false, {3, 64, 250}, {3, 64, 250}},
        {"gamma of the smallest amount", Gamma, Tiny, false, {0, 1, 255}, {0, 255, 255}},
    };
    for (const TCase& Case : Cases) {
        auto Filter = Case.Make();
        EXPECT_EQ(LevelsAfter(*Filter, Case.Amount, Case.Percent, Case.Levels), Case.Expected) << Case.Name;
    }
}

TEST(AmountFilters, BrightnessZeroLeavesEvenThePixelFormatAlone)
{
    auto Deep = UniformBitmap(3, 3, 80, plat::pf32bit);
    TBrightnessFilter Brightness(nullptr);
    Brightness.SetAmount(0);
    Brightness.Apply(*Deep);
    EXPECT_EQ(Deep->PixelFormat(), plat::pf32bit);

    TContrastFilter Contrast(nullptr);
    Contrast.SetAmount(0);
    Contrast.Apply(*Deep);
    EXPECT_EQ(Deep->PixelFormat(), plat::pf24bit) << "the other filters prepare their rows first";
    EXPECT_EQ(PixelAt(*Deep, 1, 1), Bgr(80, 80, 80));
}

TEST(ColorFilter, ShiftsEachChannelClampedAndAllZerosOnlyConverts)
{
    auto Deep = UniformBitmap(2, 2, 90, plat::pf32bit);
    TColorFilter Filter(nullptr);
    Filter.Apply(*Deep);
    EXPECT_EQ(Deep->PixelFormat(), plat::pf24bit);
    EXPECT_EQ(PixelAt(*Deep, 0, 0), Bgr(90, 90, 90));

    Filter.SetRed(20);
    Filter.SetGreen(-300);
    Filter.SetBlue(std::numeric_limits<int>::max());
    EXPECT_EQ(OnePixelAfter(Filter), Bgr(220, 0, 255));
    Filter.SetGreen(0);
    Filter.SetBlue(-49);
    EXPECT_EQ(OnePixelAfter(Filter), Bgr(220, 100, 1));
}

TEST(SepiaFilter, MixesTheOldChannels)
{
    TSepiaFilter Filter(nullptr);
    EXPECT_EQ(OnePixelAfter(Filter, 255, 255, 255), Bgr(255, 255, 239)) << "238.935 to the nearest";
    EXPECT_EQ(OnePixelAfter(Filter, 100, 50, 20), Bgr(82, 73, 57));
    EXPECT_EQ(OnePixelAfter(Filter, 0, 0, 0), Bgr(0, 0, 0));
}

TEST(EqualizeFilter, StretchesEachChannelOfTheInnerPixels)
{
    // Inner pixels: red 0 .. 51, green constant 40, blue already 0 .. 255;
    // the border holds values the stretch must neither read nor change.
    auto Bitmap = MakeBitmap(6, 4, plat::pf24bit, [](int X, int Y) {
        const bool Border = X == 0 || X == 5 || Y == 0 || Y == 3;
        if (Border) {
            return Bgr(200, 200, 100);
        }
        return Bgr((X - 1) * 17, 40, X == 1 ? 0 : X == 4 ? 255 : 90);
    });
    TEqualizeFilter Filter(nullptr);
    Filter.Apply(*Bitmap);
    for (int X = 1; X <= 4; ++X) {
        EXPECT_EQ(PixelAt(*Bitmap, X, 1), Bgr((X - 1) * 85, 0, X == 1 ? 0 : X == 4 ? 255 : 90)) << X;
    }
    EXPECT_EQ(PixelAt(*Bitmap, 0, 1), Bgr(200, 200, 100));
    EXPECT_EQ(PixelAt(*Bitmap, 2, 3), Bgr(200, 200, 100));

    auto Full = MakeBitmap(5, 5, plat::pf24bit, [](int X, int Y) {
        return (X + Y) % 2 == 0 ? Bgr(0, 0, 0) : Bgr(255, 255, 255);
    });
    const auto Before = PixelBytes(*Full);
    Filter.Apply(*Full);
    EXPECT_EQ(PixelBytes(*Full), Before) << "channels that already span 0 .. 255 stay";

    auto Thin = UniformBitmap(2, 9, 70);
    Filter.Apply(*Thin);
    EXPECT_EQ(PixelAt(*Thin, 1, 4)[0], 70) << "a rectangle without inner pixels";
}

TEST(ColourFilters, With32BitRowsAskedForTheTwentyFourBitOnesChangeNothing)
{
    TBrightnessFilter Brightness(nullptr);
    TSepiaFilter Sepia(nullptr);
    TColorFilter Color(nullptr);
    Color.SetRed(50);
    for (TChtFilter* Filter : std::initializer_list<TChtFilter*>{&Brightness, &Sepia, &Color}) {
        auto Flat = UniformBitmap(4, 4, 10);
        Filter->Apply(*Flat);   // leaves 24-bit rows of another bitmap behind
        auto Deep = UniformBitmap(4, 4, 60, plat::pf32bit);
        const auto Before = PixelBytes(*Deep);
        Filter->RGBA = true;
        Filter->Apply(*Deep);
        EXPECT_EQ(PixelBytes(*Deep), Before) << Filter->ClassName();
    }
}

} // namespace
} // namespace qel
