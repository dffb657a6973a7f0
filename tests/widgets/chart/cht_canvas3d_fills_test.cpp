// Tests of the 3D chart canvas's fills: gradient bands, rings, corner and
// diagonal fills by their device calls and pixels, gradient objects with a
// middle colour or in grey, radial and second gradients, rectangles with
// picture and gradient brushes, stretched pictures, and the colour shades.
#include "chart_bitmap_fixture.h"
#include "test_chart_canvas3d.h"

#include "widgets/chart/chart_filters_unit.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/color_shades.h"

#include "platform/canvas/graphics_errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace qel {
namespace {

using test::TCanvas3DScene;

// The fill colour of a recorded pattern fill with the device-colour brush.
TColor FillColor(const plat::TRecordedCall& Call)
{
    return static_cast<TColor>(Call.State.DCBrushColor);
}

TEST(ChtCanvas3DFills, TopToBottomBandsRunFromTheStartAtTheBottomToTheEndAtTheTop)
{
    TCanvas3DScene Scene(100, 300);
    Scene.Begin(false);
    Scene.Canvas.GradientFill({0, 0, 100, 300}, clRed, clBlue, gdTopBottom, 50, 0, 0);
    const auto Bands = Scene.Recorder.CallsNamed("PatBlt");
    ASSERT_EQ(Bands.size(), 256u);
    std::set<std::int64_t> Heights;
    std::int64_t Covered = 0;
    for (const auto* Band : Bands) {
        EXPECT_EQ(Band->Args[0], 0);
        EXPECT_EQ(Band->Args[2], 100);
        Heights.insert(Band->Args[3]);
        Covered += Band->Args[3];
    }
    EXPECT_EQ(Covered, 300);
    EXPECT_LE(*Heights.rbegin() - *Heights.begin(), 1) << "band heights differ by at most one pixel";
    EXPECT_EQ(Bands.front()->Args[1] + Bands.front()->Args[3], 300) << "step 0 lies on the bottom edge";
    EXPECT_EQ(FillColor(*Bands.front()), clRed);
    EXPECT_EQ(Bands.back()->Args[1], 0);
    EXPECT_EQ(FillColor(*Bands.back()), clBlue);
    EXPECT_EQ(Scene.PixelColor(50, 299), clRed);
    EXPECT_EQ(Scene.PixelColor(50, 0), clBlue);
}

TEST(ChtCanvas3DFills, SwappedDirectionsWithSwappedColoursPaintTheSame)
{
    struct TCase {
        TGradientDirection Direction;
        TGradientDirection Opposite;
    };
    for (const TCase Case : {TCase{gdTopBottom, gdBottomTop}, TCase{gdLeftRight, gdRightLeft}}) {
        TCanvas3DScene One(60, 40);
        One.Begin(false);
        One.Canvas.GradientFill({0, 0, 60, 40}, clRed, clNavy, Case.Direction, 70, 0, 0);
        TCanvas3DScene Other(60, 40);
        Other.Begin(false);
        Other.Canvas.GradientFill({0, 0, 60, 40}, clNavy, clRed, Case.Opposite, 70, 0, 0);
        EXPECT_EQ(test::PixelBytes(One.Bitmap), test::PixelBytes(Other.Bitmap)) << "direction " << Case.Direction;
    }
}

TEST(ChtCanvas3DFills, ABandFillOnePixelLongPaintsNothing)
{
    for (const TGradientDirection Direction : {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft}) {
        const bool Vertical = Direction == gdTopBottom || Direction == gdBottomTop;
        TCanvas3DScene Scene(100, 10);
        Scene.Begin(false);
        Scene.Canvas.GradientFill(Vertical ? TRect{0, 0, 100, 1} : TRect{0, 0, 1, 10}, clRed, clBlue, Direction, 50,
            0, 0);
        EXPECT_TRUE(Scene.Recorder.CallsNamed("PatBlt").empty()) << "direction " << Direction;
        EXPECT_EQ(Scene.PixelColor(0, 0), clWhite) << "direction " << Direction;
    }
    TCanvas3DScene Two(100, 10);
    Two.Begin(false);
    Two.Canvas.GradientFill({0, 0, 100, 2}, clRed, clBlue, gdTopBottom, 50, 0, 0);
    EXPECT_EQ(Two.Recorder.CallsNamed("PatBlt").size(), 2u) << "two pixels make two bands";
    EXPECT_EQ(Two.PixelColor(50, 1), clRed) << "the start colour at the bottom";
    EXPECT_EQ(Two.PixelColor(50, 0), clBlue) << "the end colour at the top";
}

TEST(ChtCanvas3DFills, RingsCornersAndDiagonalsByTheirCornerPixels)
{
    struct TCase {
        TGradientDirection Direction;
        TColor TopLeft, TopRight, BottomLeft, BottomRight, Centre;
    };
    // Start red, end blue.
    const TCase Cases[] = {
        {gdFromCenter, clBlue, clBlue, clBlue, clBlue, clRed},
        {gdFromTopLeft, clBlue, 0, 0, clRed, 0},
        {gdFromBottomLeft, 0, 0, clBlue, clRed, 0},
        {gdDiagonalUp, 0, clBlue, clRed, 0, 0},
        {gdDiagonalDown, clRed, 0, 0, clBlue, 0},
    };
    for (const TCase& Case : Cases) {
        TCanvas3DScene Scene(41, 31);
        Scene.Begin(false);
        Scene.Canvas.GradientFill({0, 0, 41, 31}, clRed, clBlue, Case.Direction, 50, 0, 0);
        const TColor Seen[] = {Scene.PixelColor(0, 0), Scene.PixelColor(40, 0), Scene.PixelColor(0, 30),
            Scene.PixelColor(40, 30), Scene.PixelColor(20, 15)};
        const TColor Wanted[] = {Case.TopLeft, Case.TopRight, Case.BottomLeft, Case.BottomRight, Case.Centre};
        // Corner and diagonal fills reach their end colour within a few
        // steps of it.
        const auto Near = [](TColor A, TColor B) {
            for (int Shift : {0, 8, 16}) {
                if (std::abs(static_cast<int>((A >> Shift) & 0xFF) - static_cast<int>((B >> Shift) & 0xFF)) > 8) {
                    return false;
                }
            }
            return true;
        };
        for (std::size_t I = 0; I < 5; ++I) {
            if (Wanted[I] != 0) {
                EXPECT_PRED2(Near, Seen[I], Wanted[I]) << "direction " << Case.Direction << " probe " << I;
            } else {
                EXPECT_NE(Seen[I], clWhite) << "direction " << Case.Direction << " probe " << I << " is painted";
            }
        }
        for (int Y = 0; Y < 31; Y += 5) {
            for (int X = 0; X < 41; X += 4) {
                ASSERT_NE(Scene.PixelColor(X, Y), clWhite) << "direction " << Case.Direction << " at " << X << "," << Y;
            }
        }
    }
}

TEST(ChtCanvas3DFills, BadRectanglesPaintNothingOutsideThemselves)
{
    const TRect Cases[] = {{30, 30, 30, 60}, {30, 30, 60, 30}, {-2000, -2000, 2000, 2000}, {60, 60, 10, 10}};
    for (const TRect& R : Cases) {
        for (int Direction = gdTopBottom; Direction <= gdDiagonalDown; ++Direction) {
            TCanvas3DScene Scene(80, 80);
            Scene.Begin(false);
            Scene.Canvas.GradientFill(R, clRed, clBlue, static_cast<TGradientDirection>(Direction), 50, 0, 0);
            if (R.Width() == 0 || R.Height() == 0) {
                EXPECT_EQ(test::PixelBytes(Scene.Bitmap), test::PixelBytes(*test::UniformBitmap(80, 80, 255)))
                    << "empty, direction " << Direction;
            } else if (R.Left > R.Right) {
                EXPECT_NE(Scene.PixelColor(30, 30), clWhite) << "inverted, direction " << Direction;
                EXPECT_EQ(Scene.PixelColor(5, 5), clWhite) << "inverted, direction " << Direction;
                EXPECT_EQ(Scene.PixelColor(65, 65), clWhite) << "inverted, direction " << Direction;
            } else {
                EXPECT_NE(Scene.PixelColor(40, 40), clWhite) << "huge, direction " << Direction;
            }
        }
    }
    // The diagonal lines refuse more than 67,108,864 pixels; rings and
    // corner fills of that area are still painted.
    struct THuge {
        TGradientDirection Direction;
        bool Painted;
    };
    for (const THuge Case : {THuge{gdDiagonalUp, false}, THuge{gdFromCenter, true}, THuge{gdFromTopLeft, true}}) {
        TCanvas3DScene Huge(10, 10);
        Huge.Begin(false);
        Huge.Canvas.GradientFill({0, 0, 10000, 6711}, clRed, clBlue, Case.Direction, 50, 0, 0);
        EXPECT_EQ(Huge.PixelColor(5, 5) != clWhite, Case.Painted) << "direction " << Case.Direction;
    }
    TCanvas3DScene Endless(10, 10);
    Endless.Begin(false);
    Endless.Canvas.GradientFill({0, 0, 0x7FFFFFFF, 0x7FFFFFFF}, clRed, clBlue, gdFromCenter, 50, 0, 0);
    EXPECT_TRUE(Endless.Recorder.CallsNamed("PatBlt").empty()) << "rings beyond 67,108,864 steps";
}

TEST(ChtCanvas3DFills, GradientObjectsSplitAtTheMiddleColourOrIgnoreIt)
{
    TChtGradient Gradient;
    Gradient.SetStartColor(clRed);
    Gradient.SetMidColor(clLime);
    Gradient.SetEndColor(clBlue);
    Gradient.SetBalance(80);
    TCanvas3DScene Split(40, 100);
    Split.Begin(false);
    Split.Canvas.GradientFill(Gradient, {0, 0, 40, 100});
    EXPECT_EQ(Split.PixelColor(5, 99), clRed);
    EXPECT_EQ(Split.PixelColor(5, 0), clBlue);
    EXPECT_EQ(Split.PixelColor(5, 50), clLime) << "the lower half ends in the middle colour";
    EXPECT_EQ(Split.PixelColor(5, 49), clLime) << "the upper half starts with it";

    Gradient.SetDirection(gdFromCenter);
    TCanvas3DScene Centre(40, 40);
    Centre.Begin(false);
    Centre.Canvas.GradientFill(Gradient, {0, 0, 40, 40});
    TCanvas3DScene Plain(40, 40);
    Plain.Begin(false);
    Plain.Canvas.GradientFill({0, 0, 40, 40}, clRed, clBlue, gdFromCenter, 50, 0, 0);
    EXPECT_EQ(test::PixelBytes(Centre.Bitmap), test::PixelBytes(Plain.Bitmap)) << "no middle colour, balance 50";
}

TEST(ChtCanvas3DFills, AMonochromeCanvasPaintsGradientsInGrey)
{
    TChtGradient Gradient;
    Gradient.SetStartColor(static_cast<TColor>(0x306090));
    Gradient.SetEndColor(clRed);
    TCanvas3DScene Scene(10, 50);
    Scene.Begin(false);
    Scene.Canvas.SetMonochrome(true);
    Scene.Canvas.GradientFill(Gradient, {0, 0, 10, 50});
    for (int Y = 0; Y < 50; Y += 7) {
        const TColor C = Scene.PixelColor(3, Y);
        EXPECT_EQ(C & 0xFF, (C >> 8) & 0xFF) << Y;
        EXPECT_EQ(C & 0xFF, (C >> 16) & 0xFF) << Y;
    }
    EXPECT_EQ(Scene.PixelColor(3, 49), static_cast<TColor>(0x606060));
    EXPECT_EQ(Scene.PixelColor(3, 0), static_cast<TColor>(0x555555));
}

TEST(ChtCanvas3DFills, RadialFillsDrawShrinkingEllipses)
{
    TCanvas3DScene Scene(120, 80);
    Scene.Begin(false);
    Scene.Canvas.GradientFill({0, 0, 101, 51}, clRed, clBlue, gdRadial, 50, 0, 0);
    const auto Ellipses = Scene.Recorder.CallsNamed("Ellipse");
    ASSERT_EQ(Ellipses.size(), 101u);
    const auto& Last = Ellipses.back()->Args;
    EXPECT_EQ(Last[0], Last[2]) << "radius 0";
    EXPECT_EQ(Last[1], Last[3]) << "radius 0";
    EXPECT_EQ(Scene.PixelColor(0, 0), clBlue) << "the end colour outside";

    Scene.Recorder.Clear();
    TChtGradient Radial;
    Radial.SetDirection(gdRadial);
    EXPECT_NO_THROW(Radial.DrawRadial(Scene.Canvas, {30, 30, 30, 30}));
    EXPECT_TRUE(Scene.Recorder.CallsNamed("Ellipse").empty());
    EXPECT_TRUE(Scene.Recorder.CallsNamed("ExtSelectClipRgn").empty());
}

TEST(ChtCanvas3DFills, ATurnedGradientIsTurnedByTheFilterUnitsHook)
{
    TChtGradient Gradient;
    Gradient.SetStartColor(clRed);
    Gradient.SetEndColor(clBlue);
    Gradient.SetAngle(90);
    // The red channel at a point: 255 at the start colour, 0 at the end.
    const auto Red = [](test::TCanvas3DScene& Scene, int X, int Y) { return Scene.PixelColor(X, Y) & 0xFF; };
    for (const bool Hooked : {false, true}) {
        if (Hooked) {
            InitChartFilters();
        }
        TCanvas3DScene Scene(60, 60);
        Scene.Begin(false);
        Scene.Canvas.GradientFill(Gradient, {10, 10, 50, 50});
        EXPECT_EQ(Scene.PixelColor(5, 5), clWhite) << "clipped to the rectangle";
        EXPECT_EQ(Scene.PixelColor(55, 30), clWhite) << "clipped to the rectangle";
        const int Vertical = std::abs(static_cast<int>(Red(Scene, 30, 12)) - static_cast<int>(Red(Scene, 30, 47)));
        const int Horizontal = std::abs(static_cast<int>(Red(Scene, 12, 30)) - static_cast<int>(Red(Scene, 47, 30)));
        if (Hooked) {
            EXPECT_GT(Horizontal, 150) << "turned a quarter: the colours run across";
            EXPECT_LT(Vertical, 30);
            FinalizeChartFilters();
        } else {
            EXPECT_GT(Vertical, 150) << "without the filter unit the fill stays unturned";
            EXPECT_LT(Horizontal, 30);
        }
    }
}

TEST(ChtCanvas3DFills, LargeTurnedGradientsArePaintedAndTooLargeOnesRaise)
{
    InitChartFilters();
    TChtGradient Gradient;
    Gradient.SetStartColor(clRed);
    Gradient.SetEndColor(clBlue);
    Gradient.SetAngle(90);
    TCanvas3DScene Scene(60, 60);
    Scene.Begin(false);
    Scene.Canvas.GradientFill(Gradient, {-2500, 10, 2500, 50});
    EXPECT_NE(Scene.PixelColor(30, 30), clWhite) << "a turned fill 5000 pixels wide";
    Gradient.SetAngle(45);
    EXPECT_THROW(Scene.Canvas.GradientFill(Gradient, {0, 0, 40000, 40000}), plat::EInvalidGraphic);
    FinalizeChartFilters();
}

TEST(ChtCanvas3DFills, ASecondGradientIsBlendedOverTheFirst)
{
    TCanvas3DScene Scene(20, 20);
    Scene.Begin(false);
    TChtGradient Gradient;
    Gradient.SetVisible(true);
    Gradient.SetStartColor(clRed);
    Gradient.SetEndColor(clRed);
    Gradient.SubGradient()->SetVisible(true);
    Gradient.SubGradient()->SetStartColor(clBlue);
    Gradient.SubGradient()->SetEndColor(clBlue);
    Gradient.SubGradient()->SetTransparency(50);
    Gradient.Draw(Scene.Canvas, TRect{0, 0, 20, 20}, 0);
    EXPECT_EQ(Scene.PixelColor(10, 10), static_cast<TColor>(0x7F0080));
    EXPECT_EQ(Scene.Canvas.Transparency, 0);
}

TEST(ChtCanvas3DFills, RectanglesWithPictureOrGradientBrushes)
{
    TCanvas3DScene Scene(60, 60);
    Scene.Begin(false);
    auto Picture = test::MakeBitmap(2, 2, plat::pf24bit, [](int, int) { return test::TPixelBytes{0, 0, 255, 0}; });
    Scene.Canvas.Brush()->Image()->SetGraphic(Picture.get());
    Scene.Canvas.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(Scene.PixelColor(20, 20), clRed) << "the picture inside";
    EXPECT_EQ(Scene.Canvas.ReferenceCanvas()->Brush()->Style(), plat::bsClear) << "the device brush stays clear";

    Scene.Canvas.Brush()->SetImage(nullptr);
    Scene.Canvas.Brush()->SetStyle(plat::bsSolid);
    Scene.Canvas.Gradient()->SetVisible(true);
    Scene.Canvas.Gradient()->SetStartColor(clLime);
    Scene.Canvas.Gradient()->SetEndColor(clLime);
    Scene.Canvas.Brush()->SetColor(clYellow);
    Scene.Canvas.RoundRect(30, 30, 60, 60, 10, 10);
    EXPECT_EQ(Scene.PixelColor(45, 45), clLime);
    EXPECT_EQ(Scene.PixelColor(30, 30), clWhite) << "clipped to the rounded corner";
    EXPECT_EQ(Scene.Canvas.ReferenceCanvas()->Brush()->Style(), plat::bsSolid) << "the brush comes back";
    EXPECT_EQ(Scene.Canvas.ReferenceCanvas()->Brush()->Color(), clYellow);

    Scene.Canvas.Gradient()->SetVisible(false);
    Scene.Canvas.FillRect({0, 40, 10, 50});
    EXPECT_EQ(Scene.PixelColor(5, 45), clYellow);
}

TEST(ChtCanvas3DFills, StretchedPicturesAndTurnedOnesLookTheSame)
{
    auto Picture = test::MakeBitmap(8, 6, plat::pf24bit, [](int X, int Y) {
        return test::TPixelBytes{static_cast<std::uint8_t>(X * 30), static_cast<std::uint8_t>(Y * 40), 90, 0};
    });
    TCanvas3DScene Straight(40, 40);
    Straight.Begin(false);
    Straight.Canvas.StretchDraw({3, 4, 33, 24}, Picture.get());
    TCanvas3DScene Turned(40, 40);
    Turned.Begin(false);
    Turned.Canvas.StretchRotate({3, 4, 33, 24}, Picture.get(), 45);
    EXPECT_EQ(test::PixelBytes(Straight.Bitmap), test::PixelBytes(Turned.Bitmap));
    EXPECT_NE(Straight.PixelColor(10, 10), clWhite);
    EXPECT_EQ(Straight.PixelColor(33, 10), clWhite);

    auto Line = test::MakeBitmap(1, 5, plat::pf24bit, [](int, int) { return test::TPixelBytes{0, 0, 255, 0}; });
    TCanvas3DScene Thin(40, 40);
    Thin.Begin(false);
    Thin.Canvas.StretchDraw({0, 0, 20, 10}, Line.get());
    EXPECT_EQ(Thin.PixelColor(19, 9), clRed) << "a side of one pixel is stretched, not lost";
}

TEST(ChtCanvas3DFills, ColourShades)
{
    EXPECT_EQ(DarkenColorBy(static_cast<TColor>(0x00102030), 0x20), static_cast<TColor>(0x00000010));
    EXPECT_EQ(LightenColorBy(static_cast<TColor>(0x00F01010), 0x20), static_cast<TColor>(0x00FF3030));
    EXPECT_EQ(DarkenColorBy(static_cast<TColor>(0xFF102030), 0), static_cast<TColor>(0x00102030));
    for (const double Balance : {0.0, 20.0, 50.0, 99.0}) {
        EXPECT_DOUBLE_EQ(BalanceCurve(7, Balance, 7), 1) << Balance;
    }
    EXPECT_NEAR(BalanceCurve(0, 50, 3), 0.25, 1e-12);
}

} // namespace
} // namespace qel
