// Tests of the chart palette, the default canvas class name and the hand cursor image.
#include "widgets/chart/chart_defaults.h"
#include "widgets/chart/chart_hand_cursor.h"
#include "widgets/chart/chart_resources.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/cursors.h"
#include "platform/controls/screen.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

class ChartDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterChartResources();
        InitChartDefaults();
    }
    void TearDown() override { FinalizeChartDefaults(); }
};

struct TRgb {
    int Red, Green, Blue;
};

TRgb Split(TColor Color)
{
    return {Color & 0xFF, Color >> 8 & 0xFF, Color >> 16 & 0xFF};
}

TEST_F(ChartDefaultsTest, StartUpPaletteIsTheTwentyDefaultColours)
{
    const TRgb Expected[] = {
        {255, 0, 0},     {0, 128, 0},     {255, 255, 0},   {0, 0, 255},     {255, 255, 255},
        {128, 128, 128}, {255, 0, 255},   {0, 128, 128},   {0, 0, 128},     {128, 0, 0},
        {0, 255, 0},     {128, 128, 0},   {128, 0, 128},   {192, 192, 192}, {0, 255, 255},
        {0, 0, 0},       {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
    };
    ASSERT_EQ(ChartColorPalette.size(), std::size(Expected));
    for (std::size_t I = 0; I < std::size(Expected); ++I) {
        const TRgb Got = Split(ChartColorPalette[I]);
        EXPECT_EQ(Got.Red, Expected[I].Red) << "colour " << I + 1;
        EXPECT_EQ(Got.Green, Expected[I].Green) << "colour " << I + 1;
        EXPECT_EQ(Got.Blue, Expected[I].Blue) << "colour " << I + 1;
        EXPECT_EQ(ChartColorPalette[I] >> 24, 0) << "colour " << I + 1;
    }
    EXPECT_EQ(ChartColorPalette.front(), 0x0000FF);
    EXPECT_EQ(ChartColorPalette.back(), 0xA4A0A0);
    EXPECT_EQ(ChartDefaultCanvasClassName, "TSmoothCanvas");
}

TEST_F(ChartDefaultsTest, SetChartPaletteCopiesItsColoursOrRestoresTheDefaults)
{
    const TColor Three[] = {clNavy, clCream, RGBToColor(1, 2, 3)};
    SetChartPalette(Three);
    EXPECT_EQ(ChartColorPalette, TColorArray(std::begin(Three), std::end(Three)));

    SetChartPalette({});
    EXPECT_EQ(ChartColorPalette, TColorArray(ChartDefaultPalette.begin(), ChartDefaultPalette.end()));

    SetChartPalette(Three);
    SetDefaultChartPalette();
    EXPECT_EQ(ChartColorPalette.size(), 20u);
}

TEST_F(ChartDefaultsTest, ShutdownEmptiesThePaletteAndClearsTheClassName)
{
    FinalizeChartDefaults();
    EXPECT_TRUE(ChartColorPalette.empty());
    EXPECT_TRUE(ChartDefaultCanvasClassName.empty());
}

TEST(ChartHandCursor, IsAClosedHandWithTheHotSpotOnTheFingerTip)
{
    const TChartCursorImage& Image = ChartHandCursorImage();
    EXPECT_EQ(ChartHandCursor, 2020);
    EXPECT_EQ(Image.Width, 32);
    EXPECT_EQ(Image.Height, 32);
    EXPECT_EQ(Image.HotSpotX, 7);
    EXPECT_EQ(Image.HotSpotY, 7);
    EXPECT_EQ(Image.PixelAt(7, 7), TCursorPixel::Black);
    EXPECT_EQ(Image.PixelAt(7, 6), TCursorPixel::Transparent) << "nothing above the tip";

    int Black = 0;
    int White = 0;
    for (int Y = 0; Y < Image.Height; ++Y) {
        ASSERT_EQ(Image.Rows[Y].find_first_not_of(" #."), std::string_view::npos) << "row " << Y;
        for (int X = 0; X < Image.Width; ++X) {
            const TCursorPixel Pixel = Image.PixelAt(X, Y);
            Black += Pixel == TCursorPixel::Black;
            White += Pixel == TCursorPixel::White;
            if (Pixel == TCursorPixel::White) {
                // The outline encloses the hand: no white pixel touches the transparent area.
                for (auto [DX, DY] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    EXPECT_NE(Image.PixelAt(X + DX, Y + DY), TCursorPixel::Transparent) << X << "," << Y;
                }
            }
        }
        EXPECT_EQ(Image.PixelAt(-1, Y), TCursorPixel::Transparent);
        EXPECT_EQ(Image.PixelAt(Image.Width, Y), TCursorPixel::Transparent);
    }
    EXPECT_GT(Black, 50);
    EXPECT_GT(White, 100);
    for (int Y = Image.HotSpotY; Y < Image.HotSpotY + 8; ++Y) {
        EXPECT_NE(Image.PixelAt(Image.HotSpotX, Y + 1), TCursorPixel::Transparent) << "the finger runs down from the tip";
    }
}

TEST_F(ChartDefaultsTest, TheHandCursorIsInTheScreensTableFromStartUpUntilShutdown)
{
    const plat::HCURSOR Hand = plat::ScreenCursors(ChartHandCursor);
    ASSERT_NE(Hand, plat::ScreenCursors(plat::crDefault));
    const plat::TCursorImage* Picture = plat::CursorPicture(Hand);
    ASSERT_NE(Picture, nullptr);
    EXPECT_EQ(Picture->HotSpot, (plat::TPoint{7, 7}));
    ASSERT_EQ(Picture->Pixels->Width(), 32);
    ASSERT_EQ(Picture->Pixels->Height(), 32);
    // The finger's tip: black outline at the hot spot's row, white inside.
    auto& Pixels = const_cast<plat::TPixelSurface&>(*Picture->Pixels);
    const auto Pixel = [&](int X, int Y) { return Pixels.ScanLine(Y) + X * 4; };
    EXPECT_EQ(Pixel(7, 7)[3], 255);
    EXPECT_EQ(Pixel(7, 7)[0], 0);
    EXPECT_EQ(Pixel(7, 9)[0], 255);
    EXPECT_EQ(Pixel(0, 0)[3], 0) << "transparent around the hand";

    FinalizeChartDefaults();
    EXPECT_EQ(plat::ScreenCursors(ChartHandCursor), plat::ScreenCursors(plat::crDefault)) << "taken out";
    EXPECT_EQ(plat::CursorPicture(Hand), nullptr) << "and freed";
    InitChartDefaults();
}

TEST_F(ChartDefaultsTest, WithoutTheCursorResourceTheNumberStaysEmpty)
{
    FinalizeChartDefaults();
    plat::RegisterCursorResource(ChartHandCursorResource, {});
    InitChartDefaults();
    EXPECT_EQ(plat::ScreenCursors(ChartHandCursor), plat::ScreenCursors(plat::crDefault));
    FinalizeChartDefaults();
    RegisterChartResources();
    InitChartDefaults();
    EXPECT_NE(plat::ScreenCursors(ChartHandCursor), plat::ScreenCursors(plat::crDefault));
}

} // namespace
} // namespace qel
