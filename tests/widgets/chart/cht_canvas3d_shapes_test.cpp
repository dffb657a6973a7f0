// Tests of the 3D chart canvas's shapes: rounding of float polygons, the
// ellipse outline and the three ellipse forms, pixels, triangles, arrows,
// cylinders and cones by their rings, caps and shading gradient,
// pyramids, the buffer and monochrome setters, and gradient fills that
// stay inside their polygon or ellipse.
#include "shape_canvas_scene.h"

#include "widgets/chart/color_shades.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/solid_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

using test::TShapeScene;

TEST(ChtCanvas3DShapes, FloatPolygonsRoundHalvesToEven)
{
    TShapeScene Scene;
    Scene.Begin(false);
    const TPointFloat Points[] = {{2.5F, 3.5F}, {20.4F, 3.6F}, {10.5F, 30.5F}};
    Scene.Canvas.PolygonFloat(Points);
    const auto Polygons = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 1u);
    EXPECT_EQ(Polygons[0]->Args, (std::vector<std::int64_t>{3, 2, 4, 20, 4, 10, 30}));
}

TEST(ChtCanvas3DShapes, CircleOutlineStartsAtTheBottomCentreAndCloses)
{
    TShapeScene Scene;
    TCirclePoints P(CirclePointCount);
    Scene.Canvas.CalcCirclePoints(P, 0, 0, 100, 50);
    EXPECT_EQ(P[0], (TPointFloat{50, 50}));
    EXPECT_NEAR(P[CirclePointCount - 1].X, 50, 1e-3);
    EXPECT_NEAR(P[CirclePointCount - 1].Y, 50, 1e-3);
    for (const TPointFloat& Point : P) {
        const double u = (Point.X - 50) / 50;
        const double v = (Point.Y - 25) / 25;
        EXPECT_NEAR(u * u + v * v, 1, 1e-4);
    }
    // A quarter of the way round lies the right end (y downwards).
    EXPECT_GT(P[CirclePointCount / 4].X, 99);
}

TEST(ChtCanvas3DShapes, EllipseWithZDrawsByTheCanvasMode)
{
    TShapeScene Flat;
    Flat.Begin(false);
    Flat.Canvas.EllipseWithZ(10, 20, 30, 40, 5);
    auto Ellipses = Flat.Recorder.CallsNamed("Ellipse");
    ASSERT_EQ(Ellipses.size(), 1u);
    EXPECT_EQ(Ellipses[0]->Args, (std::vector<std::int64_t>{10, 20, 31, 41}));

    TShapeScene Ortho;
    Ortho.Begin(true, 100);
    const TPoint A = Ortho.Canvas.Calculate3DPosition(10, 20, 5);
    const TPoint B = Ortho.Canvas.Calculate3DPosition(30, 40, 5);
    Ortho.Canvas.EllipseWithZ(10, 20, 30, 40, 5);
    Ellipses = Ortho.Recorder.CallsNamed("Ellipse");
    ASSERT_EQ(Ellipses.size(), 1u);
    EXPECT_EQ(Ellipses[0]->Args, (std::vector<std::int64_t>{A.X, A.Y, B.X, B.Y}));

    TShapeScene Turned;
    Turned.Options.SetOrthogonal(false);
    Turned.Begin(true, 100);
    Turned.Canvas.Brush()->SetStyle(plat::bsClear);
    Turned.Canvas.Pen()->SetStyle(plat::psClear);
    Turned.Canvas.EllipseWithZ(10, 20, 30, 40, 5);
    EXPECT_EQ(Turned.Count("Polygon") + Turned.Count("Polyline") + Turned.Count("Ellipse"), 0u);
    Turned.Canvas.Pen()->SetStyle(plat::psSolid);
    Turned.Canvas.EllipseWithZ(10, 20, 30, 40, 5);
    const auto Outlines = Turned.Recorder.CallsNamed("Polyline");
    ASSERT_EQ(Outlines.size(), 1u);
    EXPECT_EQ(Outlines[0]->Args[0], CirclePointCount);
}

TEST(ChtCanvas3DShapes, APixelIsSetOrMarkedByAWidePen)
{
    TShapeScene Scene;
    Scene.Begin(false);
    Scene.Canvas.SetPixel3D(10, 12, 0, clRed);
    auto Pixels = Scene.Recorder.CallsNamed("SetPixel");
    ASSERT_EQ(Pixels.size(), 1u);
    EXPECT_EQ(Pixels[0]->Args, (std::vector<std::int64_t>{10, 12, clRed}));
    EXPECT_EQ(Scene.Canvas.GetPixel3D(10, 12, 0), clRed);

    Scene.Recorder.Clear();
    Scene.Canvas.Pen()->SetWidth(3);
    Scene.Canvas.Pen()->SetColor(clBlue);
    Scene.Canvas.SetPixel3D(40, 41, 0, clRed);
    EXPECT_EQ(Scene.Count("SetPixel"), 0u);
    const auto Moves = Scene.Recorder.CallsNamed("MoveTo");
    const auto Lines = Scene.Recorder.CallsNamed("LineTo");
    ASSERT_EQ(Moves.size(), 1u);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Moves[0]->Args, (std::vector<std::int64_t>{40, 41}));
    EXPECT_EQ(Lines[0]->Args, (std::vector<std::int64_t>{40, 41}));
    EXPECT_EQ(Scene.PixelColor(40, 41), clBlue);
}

TEST(ChtCanvas3DShapes, TrianglesTakeTheFirstColourUnlessTheBrushIsClear)
{
    const TTrianglePoints3D Points{TPoint3D{10, 10, 0}, TPoint3D{60, 10, 0}, TPoint3D{10, 60, 0}};
    const TTriangleColors3D Colors{clRed, clGreen, clBlue};
    TShapeScene Scene;
    Scene.Begin(false);
    Scene.Canvas.Brush()->SetColor(clYellow);
    Scene.Canvas.Triangle3D(Points, Colors);
    EXPECT_EQ(Scene.Canvas.Brush()->Color(), clRed);
    EXPECT_EQ(Scene.PixelColor(20, 20), clRed);

    Scene.Canvas.Brush()->SetColor(clYellow);
    Scene.Canvas.Brush()->SetStyle(plat::bsClear);
    Scene.Recorder.Clear();
    Scene.Canvas.Triangle3D(Points, Colors);
    EXPECT_EQ(Scene.Canvas.Brush()->Color(), clYellow);
    EXPECT_EQ(Scene.Count("Polygon"), 1u) << "the outline is still drawn";
}

TEST(ChtCanvas3DShapes, AnArrowBetweenEqualPointsDrawsNothing)
{
    for (const bool Filled : {true, false}) {
        TShapeScene Scene;
        Scene.Begin(false);
        Scene.Canvas.Arrow(Filled, TPoint{30, 30}, TPoint{30, 30}, 10, 10, 0, 0, 50);
        EXPECT_TRUE(Scene.Recorder.Calls().empty()) << "filled " << Filled;
        Scene.Canvas.Arrow(Filled, TPoint{10, 30}, TPoint{80, 30}, 10, 10, 0, 0, 50);
        EXPECT_EQ(Scene.Count("Polygon"), Filled ? 1u : 0u);
        EXPECT_EQ(Scene.Count("LineTo"), Filled ? 0u : 3u);
    }
}

// The ring points of a vertical cylinder or cone on (20, 30, 80, 90).
struct TConeCase {
    int Percent;
    std::size_t TopPoints;   // 0: a pointed cone
};

TEST(ChtCanvas3DShapes, CylindersAndConesBuildTheirTopRingFromThePercent)
{
    for (const TConeCase Case : {TConeCase{100, 32}, TConeCase{50, 32}, TConeCase{0, 0}}) {
        TShapeScene Scene(120, 120);
        Scene.Begin(false);
        Scene.Canvas.Brush()->SetColor(clRed);
        Scene.Canvas.Cone(true, 20, 30, 80, 90, 0, 40, false, Case.Percent);
        const auto& Fills = Scene.Canvas.Fills;
        if (Case.TopPoints == 0) {
            ASSERT_EQ(Fills.size(), 1u) << "no top cap";
            EXPECT_EQ(Fills[0].Points.back(), (TPoint{50, 30})) << "the apex closes the side";
            continue;
        }
        ASSERT_EQ(Fills.size(), 2u) << "percent " << Case.Percent;
        const TPointArray& Top = Fills[0].Points;
        ASSERT_EQ(Top.size(), Case.TopPoints);
        int MinX = Top[0].X;
        int MaxX = Top[0].X;
        for (const TPoint& P : Top) {
            EXPECT_EQ(P.Y, 30);
            MinX = std::min(MinX, P.X);
            MaxX = std::max(MaxX, P.X);
        }
        EXPECT_EQ(MaxX - MinX, Case.Percent == 100 ? 60 : 30) << "percent " << Case.Percent;
    }
}

TEST(ChtCanvas3DShapes, CylinderCapsFollowTopAndBottom)
{
    TShapeScene Up;
    Up.Begin(false);
    Up.Canvas.Cylinder(true, 20, 10, 80, 90, 0, 40, false);
    ASSERT_EQ(Up.Canvas.Fills.size(), 2u);
    EXPECT_EQ(Up.Canvas.Fills[0].Points.size(), 32u) << "top cap first";
    EXPECT_EQ(Up.Canvas.Fills[0].Points[0].Y, 10);
    EXPECT_NE(Up.Canvas.Fills[1].Points.size(), 32u) << "then the side";

    TShapeScene Down;
    Down.Begin(false);
    Down.Canvas.Cylinder(true, 20, 90, 80, 10, 0, 40, false);
    ASSERT_EQ(Down.Canvas.Fills.size(), 2u);
    EXPECT_NE(Down.Canvas.Fills[0].Points.size(), 32u) << "the side first";
    EXPECT_EQ(Down.Canvas.Fills[1].Points.size(), 32u) << "then the base cap";
    EXPECT_EQ(Down.Canvas.Fills[1].Points[0].Y, 10);
}

TEST(ChtCanvas3DShapes, ACylinderLeavesItsShadingGradientOnTheBrush)
{
    struct TCase {
        bool Dark3D;
        TColor Start;
        TColor End;
    };
    const TColor Face = static_cast<TColor>(plat::RGB(200, 120, 60));
    for (const TCase Case : {TCase{false, Face, DarkenColorBy(Face, 64)},
             TCase{true, LightenColorBy(Face, 64), DarkenColorBy(Face, 128)}}) {
        TShapeScene Scene;
        Scene.Begin(false);
        Scene.Canvas.Brush()->SetColor(Face);
        Scene.Canvas.Cylinder(true, 20, 10, 80, 90, 0, 40, Case.Dark3D);
        const TChtGradient& Shade = *Scene.Canvas.Gradient();
        EXPECT_TRUE(Shade.Visible());
        EXPECT_EQ(Shade.Direction(), gdLeftRight);
        EXPECT_EQ(Shade.StartColor(), Case.Start) << "dark " << Case.Dark3D;
        EXPECT_EQ(Shade.EndColor(), Case.End) << "dark " << Case.Dark3D;
        EXPECT_TRUE(Scene.Canvas.Fills.back().GradientVisible) << "the side is shaded";
    }
}

TEST(ChtCanvas3DShapes, AFlatPyramidDrawsOnlyItsBaseWhenItFacesTheViewer)
{
    TShapeScene Scene;
    Scene.Options.SetOrthogonal(false);
    Scene.Begin(true, 100);
    Scene.Canvas.Pyramid(true, 20, 50, 80, 50, 10, 60, false);
    const bool BaseSeen = NegativeCross(Scene.Canvas.Calculate3DPosition(20, 50, 10),
        Scene.Canvas.Calculate3DPosition(80, 50, 10), Scene.Canvas.Calculate3DPosition(20, 50, 60));
    ASSERT_EQ(Scene.Canvas.Fills.size(), BaseSeen ? 0u : 1u);
    EXPECT_EQ(Scene.Count("Polygon"), BaseSeen ? 0u : 1u);

    TShapeScene Tall;
    Tall.Begin(false);
    Tall.Canvas.Pyramid(true, 20, 10, 80, 90, 0, 0, false);
    EXPECT_GE(Tall.Count("Polygon"), 1u) << "the front face is always drawn";
}

TEST(ChtCanvas3DShapes, SwitchingTheBufferOffKeepsItWhenAsked)
{
    plat::TBitmap Target(50, 50, plat::pf24bit);
    plat::TCanvas Dest(Target.Canvas()->Handle());
    TView3DOptions Options(nullptr);
    TChtCanvas3D Canvas;
    Canvas.InitWindow(&Dest, &Options, clWhite, false, {0, 0, 50, 50});
    ASSERT_NE(Canvas.Bitmap(), nullptr);
    plat::TBitmap* Buffer = Canvas.Bitmap();
    plat::TCanvas* Reference = Canvas.ReferenceCanvas();
    Canvas.ShowImage(&Dest, &Dest, {0, 0, 50, 50});
    Canvas.SetReferenceCanvas(Reference);
    const bool DirtyBefore = Canvas.Dirty();

    Canvas.IKeepBitmap = true;
    Canvas.SetUseBuffer(false);
    EXPECT_FALSE(Canvas.GetUseBuffer());
    EXPECT_EQ(Canvas.Bitmap(), Buffer);
    EXPECT_EQ(Canvas.ReferenceCanvas(), Reference);
    EXPECT_EQ(Canvas.Dirty(), DirtyBefore);

    Canvas.SetUseBuffer(true);
    Canvas.IKeepBitmap = false;
    Canvas.SetUseBuffer(false);
    EXPECT_EQ(Canvas.Bitmap(), nullptr);
    EXPECT_EQ(Canvas.ReferenceCanvas(), nullptr);
    EXPECT_TRUE(Canvas.Dirty());
}

TEST(ChtCanvas3DShapes, MonochromeSetToItsValueChangesNothing)
{
    TShapeScene Scene;
    Scene.Begin(false);
    Scene.Canvas.ShowImage(&Scene.Dest, &Scene.Dest, {0, 0, 100, 100});
    const bool DirtyBefore = Scene.Canvas.Dirty();
    Scene.Canvas.SetMonochrome(false);
    EXPECT_EQ(Scene.Canvas.Dirty(), DirtyBefore);
    Scene.Canvas.SetMonochrome(true);
    EXPECT_TRUE(Scene.Canvas.GetMonochrome());
    EXPECT_TRUE(Scene.Canvas.Dirty());
}

// Every pixel outside Inside stays white.
void ExpectNothingOutside(TShapeScene& Scene, const std::function<bool(int, int)>& Inside)
{
    SCOPED_TRACE("pixels outside the shape");
    int Stray = 0;
    for (int Y = 0; Y < Scene.Bitmap.Height(); ++Y) {
        for (int X = 0; X < Scene.Bitmap.Width(); ++X) {
            if (!Inside(X, Y) && Scene.PixelColor(X, Y) != clWhite) {
                ++Stray;
            }
        }
    }
    EXPECT_EQ(Stray, 0);
}

void UseGradientBrush(TShapeScene& Scene)
{
    Scene.Canvas.Pen()->SetStyle(plat::psClear);
    TChtGradient& Shade = *Scene.Canvas.Gradient();
    Shade.SetStartColor(clRed);
    Shade.SetEndColor(clBlue);
    Shade.SetDirection(gdLeftRight);
    Shade.SetVisible(true);
}

TEST(ChtCanvas3DShapes, GradientPolygonsAndEllipsesPaintOnlyInsideTheShape)
{
    TShapeScene Triangle;
    Triangle.Begin(false);
    UseGradientBrush(Triangle);
    const TPoint Corners[] = {{10, 10}, {90, 10}, {10, 90}};
    Triangle.Canvas.Polygon(Corners);
    EXPECT_NE(Triangle.PixelColor(20, 20), clWhite);
    ExpectNothingOutside(Triangle, [](int X, int Y) { return X + Y <= 101; });
    EXPECT_EQ(Triangle.Canvas.ClipHistory().size(), 0u) << "the clip is undone";

    TShapeScene Round;
    Round.Begin(false);
    UseGradientBrush(Round);
    Round.Canvas.Ellipse(10, 20, 90, 80);
    EXPECT_NE(Round.PixelColor(50, 50), clWhite);
    EXPECT_NE(Round.PixelColor(15, 50), Round.PixelColor(85, 50)) << "the gradient runs across";
    // The gradient's clip takes one pixel more on the right and bottom.
    ExpectNothingOutside(Round, [](int X, int Y) {
        const double u = (X + 0.5 - 50.5) / 41;
        const double v = (Y + 0.5 - 50.5) / 31;
        return u * u + v * v <= 1;
    });
}

} // namespace
} // namespace qel
