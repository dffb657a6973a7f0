// Tests of the geometric filters: flip, reverse, rotate with its sizes,
// angles and backgrounds, mirror, resize, crop against the canvas's own
// rectangle copy and stretch, zoom, tile, and the gradient rotation.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/flip_filters.h"
#include "widgets/chart/resize_filters.h"
#include "widgets/chart/rotate_filter.h"
#include "widgets/chart/smooth_stretch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qel {
namespace {

using namespace test;

// Every pixel names where it stood: blue its column, green its row.
std::unique_ptr<plat::TBitmap> Positions(int Width, int Height, plat::TPixelFormat Format = plat::pf24bit)
{
    return MakeBitmap(Width, Height, Format, [](int X, int Y) {
        return TPixelBytes{static_cast<std::uint8_t>(X), static_cast<std::uint8_t>(Y), 200, 255};
    });
}

// The column (blue) and row (green) a pixel came from.
std::pair<int, int> From(plat::TBitmap& Bitmap, int X, int Y)
{
    const TPixelBytes P = PixelAt(Bitmap, X, Y);
    return {P[0], P[1]};
}

std::vector<int> RowOrder(plat::TBitmap& Bitmap, int Column = 0)
{
    std::vector<int> Rows;
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        Rows.push_back(From(Bitmap, Column, Y).second);
    }
    return Rows;
}

std::vector<int> ColumnOrder(plat::TBitmap& Bitmap, int Row = 0)
{
    std::vector<int> Columns;
    for (int X = 0; X < Bitmap.Width(); ++X) {
        Columns.push_back(From(Bitmap, X, Row).first);
    }
    return Columns;
}

TEST(FlipFilters, FlipAndReverseMirrorRowsAndColumns)
{
    auto Four = Positions(3, 4);
    TChtFilter::ApplyTo(TFlipFilter::StaticClass(), *Four);
    EXPECT_EQ(RowOrder(*Four), (std::vector<int>{3, 2, 1, 0}));
    TChtFilter::ApplyTo(TFlipFilter::StaticClass(), *Four);
    EXPECT_EQ(PixelBytes(*Four), PixelBytes(*Positions(3, 4))) << "flip twice restores";

    auto Five = Positions(2, 5);
    TChtFilter::ApplyTo(TFlipFilter::StaticClass(), *Five);
    EXPECT_EQ(RowOrder(*Five), (std::vector<int>{4, 3, 2, 1, 0}));

    auto Wide = Positions(5, 2, plat::pf32bit);
    TChtFilter::ApplyTo(TReverseFilter::StaticClass(), *Wide);
    EXPECT_EQ(ColumnOrder(*Wide, 1), (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(Wide->PixelFormat(), plat::pf24bit);
}

TEST(FlipFilters, ARegionMirrorsItsRowsAmongThemselves)
{
    auto Bitmap = Positions(6, 30);
    TFlipFilter Flip(nullptr);
    Flip.Region()->SetRectangle({1, 10, 4, 19});
    Flip.Apply(*Bitmap);
    for (int Y = 0; Y < 30; ++Y) {
        const bool Inside = Y >= 10 && Y <= 19;
        EXPECT_EQ(From(*Bitmap, 2, Y).second, Inside ? 29 - Y : Y) << Y;
        EXPECT_EQ(From(*Bitmap, 5, Y).second, Y) << "columns outside the region stay";
    }
    TReverseFilter Reverse(nullptr);
    Reverse.Region()->SetRectangle({2, 0, 4, 0});
    Reverse.Apply(*Bitmap);
    EXPECT_EQ(ColumnOrder(*Bitmap, 0), (std::vector<int>{0, 1, 4, 3, 2, 5}));
}

TEST(RotateFilter, RightAnglesMovePixelsExactly)
{
    auto Bitmap = Positions(3, 2);
    TRotateFilter Rotate(nullptr);
    Rotate.SetAngle(90);
    Rotate.Apply(*Bitmap);
    ASSERT_EQ(Bitmap->Width(), 2);
    ASSERT_EQ(Bitmap->Height(), 3);
    EXPECT_EQ(From(*Bitmap, 0, 0), (std::pair{0, 1})) << "the top row is the left column read upwards";
    EXPECT_EQ(From(*Bitmap, 1, 0), (std::pair{0, 0}));
    EXPECT_EQ(From(*Bitmap, 0, 2), (std::pair{2, 1}));

    auto Large = Positions(70, 90);
    Rotate.SetAngle(270);
    Rotate.Apply(*Large);
    ASSERT_EQ(Large->Width(), 90);
    for (int Y = 0; Y < 70; Y += 7) {
        for (int X = 0; X < 90; X += 11) {
            EXPECT_EQ(From(*Large, X, Y), (std::pair{69 - Y, X}));
        }
    }
}

TEST(RotateFilter, SizesFollowTheAngle)
{
    struct TCase {
        double Angle;
        bool AutoSize;
        int Width, Height;
    };
    const TCase Cases[] = {{45, true, 106, 106}, {30, true, 112, 93}, {30, false, 100, 50}, {-30, true, 112, 93},
        {360, true, 100, 50}, {90, false, 50, 100}, {0, true, 100, 50}};
    for (const TCase& Case : Cases) {
        auto Bitmap = UniformBitmap(100, 50, 9);
        TRotateFilter Rotate(nullptr);
        Rotate.SetAngle(Case.Angle);
        Rotate.SetAutoSize(Case.AutoSize);
        Rotate.Apply(*Bitmap);
        EXPECT_EQ(Bitmap->Width(), Case.Width) << Case.Angle;
        EXPECT_EQ(Bitmap->Height(), Case.Height) << Case.Angle;
    }
}

TEST(RotateFilter, AnglesAbove360AreBroughtIntoRangeAndOddAnglesChangeNothing)
{
    struct TCase {
        double Angle;
        double After;
    };
    const TCase Cases[] = {{540, 180}, {720, 360}, {1e300, 360}, {1e17 + 8, 280}, {361, 1}};
    for (const TCase& Case : Cases) {
        auto Bitmap = Positions(4, 3);
        TRotateFilter Rotate(nullptr);
        Rotate.SetAngle(Case.Angle);
        Rotate.Apply(*Bitmap);
        EXPECT_EQ(Rotate.Angle(), Case.After) << Case.Angle;
        EXPECT_GT(Rotate.Angle(), 0);
        EXPECT_LE(Rotate.Angle(), 360);
    }
    auto Turned = Positions(4, 3);
    TRotateFilter Half(nullptr);
    Half.SetAngle(540);
    Half.Apply(*Turned);
    EXPECT_EQ(From(*Turned, 0, 0), (std::pair{3, 2})) << "180 flips and reverses";

    auto Copied = Positions(5, 4);
    TRotateFilter Full(nullptr);
    Full.SetAngle(360);
    Full.Apply(*Copied);
    EXPECT_EQ(PixelBytes(*Copied), PixelBytes(*Positions(5, 4)));

    for (const double Odd : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        auto Deep = Positions(5, 4, plat::pf32bit);
        const auto Before = PixelBytes(*Deep);
        TRotateFilter Rotate(nullptr);
        Rotate.SetAngle(Odd);
        Rotate.Apply(*Deep);
        EXPECT_EQ(Deep->PixelFormat(), plat::pf32bit);
        EXPECT_EQ(PixelBytes(*Deep), Before);
    }
    auto Far = Positions(5, 4);
    TRotateFilter Below(nullptr);
    Below.SetAngle(-1e300);
    Below.Apply(*Far);
    EXPECT_EQ(PixelBytes(*Far), PixelBytes(*Positions(5, 4))) << "a turn beyond single precision turns nothing";

    auto Line = Positions(1, 6);
    TRotateFilter Thin(nullptr);
    Thin.SetAngle(30);
    Thin.Apply(*Line);
    EXPECT_EQ(Line->Width(), 1) << "a bitmap one pixel wide stays";
}

TEST(RotateFilter, TheBackgroundIsWhiteTheBackColourOrTransparent)
{
    struct TCase {
        TColor BackColor;
        TPixelBytes Corner;
        bool Transparent;
    };
    const TCase Cases[] = {{clWhite, {255, 255, 255, 0}, false}, {clRed, {0, 0, 255, 0}, false},
        {clNone, {255, 255, 255, 0}, true}};
    for (const TCase& Case : Cases) {
        auto Bitmap = UniformBitmap(40, 40, 90);
        TRotateFilter Rotate(nullptr);
        Rotate.SetAngle(45);
        Rotate.SetBackColor(Case.BackColor);
        Rotate.Apply(*Bitmap);
        ASSERT_EQ(Bitmap->Width(), 57);
        EXPECT_EQ(PixelAt(*Bitmap, 0, 0), Case.Corner);
        EXPECT_EQ(PixelAt(*Bitmap, 56, 56), Case.Corner);
        EXPECT_EQ(PixelAt(*Bitmap, 28, 28), (TPixelBytes{90, 90, 90, 0})) << "the picture lands in the middle";
        EXPECT_EQ(Bitmap->Transparent(), Case.Transparent);
    }
}

TEST(RotateFilter, PositiveAnglesTurnClockwise)
{
    auto Bitmap = MakeBitmap(41, 41, plat::pf24bit, [](int X, int Y) {
        return X < 5 && Y < 5 ? TPixelBytes{0, 0, 0, 0} : TPixelBytes{200, 200, 200, 0};
    });
    TRotateFilter Rotate(nullptr);
    Rotate.SetAngle(89);
    Rotate.SetAutoSize(false);
    Rotate.Apply(*Bitmap);
    EXPECT_EQ(PixelAt(*Bitmap, 38, 2)[0], 0) << "the top-left corner moves to the top right";
    EXPECT_EQ(PixelAt(*Bitmap, 2, 2)[0], 200) << "and the bottom-left corner to the top left";
}

TEST(MirrorFilter, DoublesTheBitmapWithTheMirrorImageBeside)
{
    struct TCase {
        TMirrorDirection Direction;
        int Width, Height;
        std::vector<int> Order;   // columns of row 0, or rows of column 0
        bool Columns;
    };
    const TCase Cases[] = {
        {mdRight, 20, 5, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, true},
        {mdLeft, 20, 5, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        {mdDown, 10, 10, {0, 1, 2, 3, 4, 4, 3, 2, 1, 0}, false},
        {mdUp, 10, 10, {4, 3, 2, 1, 0, 0, 1, 2, 3, 4}, false},
    };
    for (const TCase& Case : Cases) {
        auto Bitmap = Positions(10, 5);
        TMirrorFilter Mirror(nullptr);
        EXPECT_FALSE(Mirror.AllowRegion);
        Mirror.SetDirection(Case.Direction);
        Mirror.Apply(*Bitmap);
        ASSERT_EQ(Bitmap->Width(), Case.Width) << Case.Direction;
        ASSERT_EQ(Bitmap->Height(), Case.Height) << Case.Direction;
        EXPECT_EQ(Case.Columns ? ColumnOrder(*Bitmap, 3) : RowOrder(*Bitmap, 7), Case.Order) << Case.Direction;
    }
}

// All of Source smoothly stretched to Width x Height.
std::unique_ptr<plat::TBitmap> Stretched(plat::TBitmap& Source, int Width, int Height)
{
    auto Result = std::make_unique<plat::TBitmap>(Width, Height, plat::pf24bit);
    SmoothStretch(&Source, Result.get());
    return Result;
}

TEST(ResizeFilter, ResamplesTheWholeBitmapToTheNewSize)
{
    auto Bitmap = MakeBitmap(200, 100, plat::pf32bit, [](int X, int) {
        return X < 100 ? TPixelBytes{0, 0, 255, 255} : TPixelBytes{255, 0, 0, 255};
    });
    const auto Expected = Stretched(*Bitmap, 50, 50);
    TResizeFilter Resize(nullptr);
    Resize.SetWidth(50);
    Resize.SetHeight(50);
    Resize.Apply(*Bitmap);
    ASSERT_EQ(Bitmap->Width(), 50);
    ASSERT_EQ(Bitmap->Height(), 50);
    EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(*Expected));
    EXPECT_GT(PixelAt(*Bitmap, 5, 25)[2], 250);
    EXPECT_GT(PixelAt(*Bitmap, 45, 25)[0], 250);

    auto Line = Positions(1, 30);
    Resize.SetWidth(4);
    Resize.SetHeight(3);
    Resize.Apply(*Line);
    EXPECT_EQ(From(*Line, 3, 2), (std::pair{0, 25})) << "a side of 1 takes the nearest pixels, not white";

    auto Kept = Positions(8, 8);
    Resize.SetHeight(0);
    Resize.Apply(*Kept);
    EXPECT_EQ(Kept->Height(), 8);
}

// The crop through the canvas: the rectangle (Left, Top) to (Left + Width
// - 1, Top + Height - 1) stretched onto a Width x Height part, the part
// stretched onto the bitmap but for its last column and row.
std::unique_ptr<plat::TBitmap> CanvasCrop(plat::TBitmap& Source, int Left, int Top, int Width, int Height)
{
    auto Result = std::make_unique<plat::TBitmap>();
    Result->Assign(&Source);
    plat::TBitmap Part(Width, Height, Source.PixelFormat());
    Part.Canvas()->CopyRect({0, 0, Width, Height}, Source.Canvas(), {Left, Top, Left + Width - 1, Top + Height - 1});
    Result->Canvas()->StretchDraw({0, 0, Result->Width() - 1, Result->Height() - 1}, &Part);
    return Result;
}

TEST(CropFilter, StretchesTheRectangleOverAllButTheLastColumnAndRow)
{
    struct TCase {
        int Left, Top, Width, Height;
        plat::TPixelFormat Format;
    };
    const TCase Cases[] = {{5, 5, 90, 90, plat::pf24bit}, {0, 0, 100, 100, plat::pf24bit},
        {30, 10, 7, 13, plat::pf32bit}, {95, 90, 20, 20, plat::pf24bit}, {-10, -4, 30, 30, plat::pf24bit}};
    for (const TCase& Case : Cases) {
        auto Bitmap = Positions(100, 100, Case.Format);
        const auto Expected = CanvasCrop(*Bitmap, Case.Left, Case.Top, Case.Width, Case.Height);
        TCropFilter Crop(nullptr);
        Crop.SetLeft(Case.Left);
        Crop.SetTop(Case.Top);
        Crop.SetWidth(Case.Width);
        Crop.SetHeight(Case.Height);
        Crop.Apply(*Bitmap);
        EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(*Expected)) << Case.Left << ", " << Case.Top;
    }
    auto Bitmap = Positions(100, 100);
    TCropFilter Crop(nullptr);
    Crop.SetLeft(5);
    Crop.SetTop(5);
    Crop.SetWidth(90);
    Crop.SetHeight(90);
    Crop.Apply(*Bitmap);
    EXPECT_EQ(From(*Bitmap, 0, 0), (std::pair{5, 5}));
    EXPECT_EQ(From(*Bitmap, 98, 98), (std::pair{93, 93})) << "the rectangle's column and row 94 are left out";
    EXPECT_EQ(From(*Bitmap, 99, 40), (std::pair{99, 40})) << "the last column keeps its pixels";
    EXPECT_EQ(From(*Bitmap, 40, 99), (std::pair{40, 99})) << "the last row keeps its pixels";

    // A rectangle one pixel wide copies that column instead of nothing.
    auto Narrow = Positions(20, 20);
    TCropFilter Column(nullptr);
    Column.SetLeft(7);
    Column.SetWidth(1);
    Column.SetHeight(20);
    Column.Apply(*Narrow);
    for (const int X : {0, 9, 18}) {
        EXPECT_EQ(From(*Narrow, X, 3).first, 7) << X;
    }
    EXPECT_EQ(From(*Narrow, 19, 3).first, 19);

    Crop.SetWidth(0);
    const auto Before = PixelBytes(*Bitmap);
    Crop.Apply(*Bitmap);
    EXPECT_EQ(PixelBytes(*Bitmap), Before);
}

TEST(CropFilter, SmoothlyEnlargesWithTheSmoothStretch)
{
    auto Bitmap = MakeBitmap(40, 40, plat::pf24bit, [](int X, int) {
        return X < 20 ? TPixelBytes{0, 0, 0, 0} : TPixelBytes{250, 250, 250, 0};
    });
    TCropFilter Crop(nullptr);
    Crop.SetLeft(10);
    Crop.SetWidth(20);
    Crop.SetHeight(40);
    Crop.SetSmooth(true);
    Crop.Apply(*Bitmap);
    EXPECT_EQ(PixelAt(*Bitmap, 0, 5)[0], 0);
    EXPECT_EQ(PixelAt(*Bitmap, 39, 5)[0], 250);
    // The part holds source columns 10 to 28 stretched over 20 columns, so
    // its edge lies between its columns 10 and 11; the bitmap's column 22
    // falls on it.
    const int Edge = PixelAt(*Bitmap, 22, 5)[0];
    EXPECT_GT(Edge, 0) << "the edge is resampled, not repeated";
    EXPECT_LT(Edge, 250);
    EXPECT_EQ(PixelAt(*Bitmap, 20, 5)[0], 0) << "the part's column 10 is still black";
}

TEST(ZoomFilter, EnlargesTheMiddleOfTheRectangle)
{
    auto Bitmap = Positions(100, 100);
    TZoomFilter Zoom(nullptr);
    Zoom.Apply(*Bitmap);
    auto Cropped = Positions(100, 100);
    TCropFilter Crop(nullptr);
    Crop.SetLeft(5);
    Crop.SetTop(5);
    Crop.SetWidth(90);
    Crop.SetHeight(90);
    Crop.Apply(*Cropped);
    EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(*Cropped)) << "10 % cuts 5 pixels from each side";

    auto Framed = Positions(60, 40);
    TZoomFilter Inner(nullptr);
    Inner.SetPercent(50);
    Inner.Region()->SetRectangle({10, 10, 29, 29});
    Inner.Apply(*Framed);
    EXPECT_EQ(From(*Framed, 9, 9), (std::pair{9, 9})) << "outside the region nothing moves";
    EXPECT_EQ(From(*Framed, 30, 30), (std::pair{30, 30}));
    EXPECT_EQ(From(*Framed, 10, 10), (std::pair{15, 15})) << "20 pixels lose 5 on each side";
    EXPECT_EQ(From(*Framed, 29, 29), (std::pair{28, 28}))
        << "the region's 20 pixels come from 19 and the crop leaves their last column and row";

    for (const double Odd : {std::numeric_limits<double>::quiet_NaN(), 1e308, -1e308}) {
        auto Any = Positions(30, 20);
        TZoomFilter Wild(nullptr);
        Wild.SetPercent(Odd);
        Wild.Apply(*Any);
        EXPECT_EQ(Any->Width(), 30) << Odd;
    }
}

TEST(TileFilter, DrawsTheSmallPictureFromTheTopLeftCorner)
{
    auto Bitmap = MakeBitmap(100, 100, plat::pf24bit, [](int X, int Y) {
        return X == 99 || Y == 99 ? TPixelBytes{1, 2, 3, 0} : TPixelBytes{0, 0, 255, 0};
    });
    const auto Small = Stretched(*Bitmap, 33, 33);
    TTileFilter Tile(nullptr);
    Tile.Apply(*Bitmap);
    for (int T = 0; T < 9; ++T) {
        for (int Y = 0; Y < 33; Y += 4) {
            for (int X = 0; X < 33; X += 4) {
                EXPECT_EQ(PixelAt(*Bitmap, T % 3 * 33 + X, T / 3 * 33 + Y), PixelAt(*Small, X, Y)) << "tile " << T;
            }
        }
    }
    EXPECT_EQ(PixelAt(*Bitmap, 99, 40), (TPixelBytes{1, 2, 3, 0})) << "column 99 keeps its pixels";
    EXPECT_EQ(PixelAt(*Bitmap, 40, 99), (TPixelBytes{1, 2, 3, 0}));
    EXPECT_NE(PixelAt(*Bitmap, 98, 40), (TPixelBytes{1, 2, 3, 0})) << "tiles end at 98";

    auto Big = Positions(20, 20);
    const auto Before = PixelBytes(*Big);
    TTileFilter Many(nullptr);
    Many.SetNumCols(5000000);
    Many.SetNumRows(-7);
    Many.Apply(*Big);
    EXPECT_EQ(Many.NumRows(), 1) << "counts below 1 become 1";
    EXPECT_EQ(PixelBytes(*Big), Before) << "tiles narrower than a pixel draw nothing";
}

TEST(GradientRotate, TurnsBitmapsBelow4096By4096)
{
    TChtGradient Gradient;
    Gradient.SetAngle(180);
    {
        plat::TBitmap Huge(4096, 4096, plat::pf24bit);
        Huge.ScanLine(0)[0] = 7;
        GradientRotate(Gradient, Huge);
        EXPECT_EQ(Huge.ScanLine(0)[0], 7);
    }
    plat::TBitmap Large(4096, 4095, plat::pf24bit);
    Large.ScanLine(0)[0] = 7;
    GradientRotate(Gradient, Large);
    EXPECT_EQ(Large.ScanLine(0)[0], 255);
    EXPECT_EQ(Large.ScanLine(4094)[3 * 4095], 7);
}

} // namespace
} // namespace qel
