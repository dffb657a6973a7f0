// Tests of the area filters: mosaic bands and blocks with their means,
// bevel rings with their corners and clamping, and Sobel edges with the
// border of the rectangle counting as black.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/area_filters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace qel {
namespace {

using namespace test;

using TSpans = std::vector<std::pair<int, int>>;

// Pixels that name their place: blue 10 x column + row, green the row.
std::unique_ptr<plat::TBitmap> Places(int Width, int Height)
{
    return MakeBitmap(Width, Height, plat::pf24bit, [](int X, int Y) {
        return TPixelBytes{static_cast<std::uint8_t>(10 * X + Y), static_cast<std::uint8_t>(Y), 50, 0};
    });
}

// Runs of equal pixels along row 0 (Columns) or column 0.
TSpans Runs(plat::TBitmap& Bitmap, bool Columns)
{
    TSpans All;
    const int Count = Columns ? Bitmap.Width() : Bitmap.Height();
    int Start = 0;
    for (int I = 1; I <= Count; ++I) {
        const bool Ends = I == Count
            || PixelAt(Bitmap, Columns ? I : 0, Columns ? 0 : I) != PixelAt(Bitmap, Columns ? I - 1 : 0, Columns ? 0 : I - 1);
        if (Ends) {
            All.emplace_back(Start, I - 1);
            Start = I;
        }
    }
    return All;
}

TEST(MosaicFilter, CutsBandsAndBlocksWithTheRestInTheLastOne)
{
    struct TCase {
        int Side;
        TSpans Expected;
    };
    const TCase Cases[] = {
        {20, {{0, 7}, {8, 15}, {16, 19}}},
        {17, {{0, 7}, {8, 16}}},
        {16, {{0, 7}, {8, 15}}},
        {9, {{0, 8}}},
    };
    for (const TCase& Case : Cases) {
        auto Bitmap = Places(Case.Side, Case.Side);
        TMosaicFilter Mosaic(nullptr);
        EXPECT_EQ(Mosaic.Amount(), 8);
        EXPECT_FALSE(Mosaic.Percent());
        Mosaic.Apply(*Bitmap);
        EXPECT_EQ(Runs(*Bitmap, true), Case.Expected) << Case.Side;
        EXPECT_EQ(Runs(*Bitmap, false), Case.Expected) << Case.Side;
    }
}

TEST(MosaicFilter, EachBlockTakesTheMeanOfItsPixels)
{
    auto Bitmap = Places(20, 20);
    const auto Before = PixelBytes(*Bitmap);
    TMosaicFilter Mosaic(nullptr);
    Mosaic.Apply(*Bitmap);
    // The last block of the last band: columns and rows 16 .. 19.
    std::uint32_t Sum = 0;
    for (int Y = 16; Y < 20; ++Y) {
        for (int X = 16; X < 20; ++X) {
            Sum += Before[static_cast<std::size_t>((Y * 20 + X) * 3)];
        }
    }
    const auto Mean = static_cast<int>(std::nearbyint(static_cast<float>(Sum) * static_cast<float>(1.0 / 16)));
    EXPECT_EQ(PixelAt(*Bitmap, 19, 19)[0], Mean);
    EXPECT_EQ(PixelAt(*Bitmap, 3, 12), (TPixelBytes{46, 12, 50, 0})) << "block 0 .. 7 x 8 .. 15: 46.5 and 11.5 to the even";
}

TEST(MosaicFilter, APercentIsOfTheShorterSide)
{
    auto Bitmap = Places(100, 50);
    TMosaicFilter Mosaic(nullptr);
    Mosaic.SetPercent(true);
    Mosaic.SetAmount(10);
    Mosaic.Apply(*Bitmap);
    const TSpans Rows = Runs(*Bitmap, false);
    ASSERT_EQ(Rows.size(), 10u) << "4.9 rounds to blocks of 5";
    EXPECT_EQ(Rows.back(), (std::pair{45, 49}));
    const TSpans Columns = Runs(*Bitmap, true);
    EXPECT_EQ(Columns.size(), 20u);
}

TEST(MosaicFilter, ChangesNothingWithoutAmountOrRowsAndEndsAtOnceForHugeAmounts)
{
    auto Deep = UniformBitmap(6, 6, 40, plat::pf32bit);
    TMosaicFilter Mosaic(nullptr);
    Mosaic.SetAmount(0);
    Mosaic.Apply(*Deep);
    EXPECT_EQ(Deep->PixelFormat(), plat::pf24bit);

    auto Line = Places(30, 1);
    const auto Before = PixelBytes(*Line);
    Mosaic.SetAmount(4);
    Mosaic.Apply(*Line);
    EXPECT_EQ(PixelBytes(*Line), Before) << "a one-row rectangle";

    for (const bool Percent : {false, true}) {
        auto Bitmap = Places(20, 20);
        TMosaicFilter Huge(nullptr);
        Huge.SetAmount(std::numeric_limits<int>::max());
        Huge.SetPercent(Percent);
        Huge.Apply(*Bitmap);
        EXPECT_EQ(Runs(*Bitmap, true), (TSpans{{0, 19}})) << "one block of all of R";
    }
}

// The blue bytes of a grey bitmap after a bevel, row by row.
std::vector<std::vector<int>> Bevelled(int Side, int Size, int Bright, std::uint8_t Grey = 128)
{
    auto Bitmap = UniformBitmap(Side, Side, Grey);
    TBevelFilter Bevel(nullptr);
    Bevel.SetSize(Size);
    Bevel.SetBright(Bright);
    Bevel.Apply(*Bitmap);
    std::vector<std::vector<int>> Rows(static_cast<std::size_t>(Side));
    for (int Y = 0; Y < Side; ++Y) {
        for (int X = 0; X < Side; ++X) {
            const TPixelBytes P = PixelAt(*Bitmap, X, Y);
            EXPECT_TRUE(P[0] == P[1] && P[1] == P[2]);
            Rows[static_cast<std::size_t>(Y)].push_back(P[0]);
        }
    }
    return Rows;
}

TEST(BevelFilter, LightensTopAndLeftAndDarkensBottomAndRight)
{
    struct TCase {
        int Bright;
        int Top, Left, Bottom, Right, LowerLeft, LowerRight;
    };
    const TCase Cases[] = {
        {64, 192, 192, 64, 64, 128, 0},
        {300, 255, 255, 0, 0, 255, 0},
        {-300, 0, 0, 255, 255, 0, 255},
    };
    for (const TCase& Case : Cases) {
        const auto Rows = Bevelled(10, 1, Case.Bright);
        EXPECT_EQ(Rows[0][0], Case.Top) << Case.Bright;
        EXPECT_EQ(Rows[0][9], Case.Top) << "the upper-right corner is only lightened";
        EXPECT_EQ(Rows[4][0], Case.Left);
        EXPECT_EQ(Rows[9][4], Case.Bottom);
        EXPECT_EQ(Rows[4][9], Case.Right);
        EXPECT_EQ(Rows[9][0], Case.LowerLeft) << "darkened, then lightened";
        EXPECT_EQ(Rows[9][9], Case.LowerRight) << "darkened twice";
        EXPECT_EQ(Rows[5][5], 128);
    }
}

TEST(BevelFilter, RingsStopAtTheMiddle)
{
    // Rings 0 .. 3 on 10 x 10: ring 3 runs through rows and columns 3 .. 6.
    const auto Rows = Bevelled(10, 100, 10);
    EXPECT_EQ(Rows[3][3], 138);
    EXPECT_EQ(Rows[3][6], 138);
    EXPECT_EQ(Rows[4][3], 138);
    EXPECT_EQ(Rows[4][6], 118);
    EXPECT_EQ(Rows[6][3], 128);
    EXPECT_EQ(Rows[6][6], 108);
    EXPECT_EQ(Rows[4][4], 128) << "no ring beyond the middle";
    EXPECT_EQ(Rows[5][5], 128);
    EXPECT_EQ(Rows[2][0], 138);

    const auto None = Bevelled(10, 0, 10);
    EXPECT_EQ(None[0][0], 128) << "Size 0 draws no ring";
}

TEST(SobelFilter, FindsEdgesAndSeesTheBorderOfTheRectangleAsBlack)
{
    auto Bitmap = UniformBitmap(8, 6, 128);
    TSobelFilter Sobel(nullptr);
    Sobel.Apply(*Bitmap);
    for (int Y = 0; Y < 6; ++Y) {
        for (int X = 0; X < 8; ++X) {
            const bool Border = X == 0 || Y == 0 || X == 7 || Y == 5;
            const bool NextToBorder = !Border && (X == 1 || Y == 1 || X == 6 || Y == 4);
            const int Expected = Border ? 128 : NextToBorder ? 255 : 0;
            EXPECT_EQ(PixelAt(*Bitmap, X, Y)[1], Expected) << X << ", " << Y;
        }
    }

    auto Edge = MakeBitmap(12, 9, plat::pf24bit, [](int X, int) {
        return X < 6 ? TPixelBytes{30, 30, 30, 0} : TPixelBytes{60, 60, 60, 0};
    });
    Sobel.Apply(*Edge);
    EXPECT_EQ(PixelAt(*Edge, 3, 4)[0], 0);
    EXPECT_EQ(PixelAt(*Edge, 5, 4)[0], 120) << "(30 - 60) x 4 from the grey the pixels had";
    EXPECT_EQ(PixelAt(*Edge, 6, 4)[0], 120);
    EXPECT_EQ(PixelAt(*Edge, 8, 4)[0], 0);

    auto Narrow = UniformBitmap(2, 9, 77);
    Sobel.Apply(*Narrow);
    EXPECT_EQ(PixelAt(*Narrow, 1, 4)[0], 77) << "no inner pixels";
}

} // namespace
} // namespace qel
