// Tests of the drawing every 3D chart canvas shares: points on circles and
// spirals, rotated ellipses, diamonds, front planes, cube hulls, arrows,
// truncated pyramids, pictures laid into a plane, flat shadows and
// triangle surfaces.
#include "test_chart_canvas.h"
#include "test_chart_canvas3d.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_shadow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

using test::TCanvas3DScene;

using test::RecordedPoints;

TEST(Canvas3D, PointsOnACircle)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    const TRect Box{0, 0, 10, 20};
    struct TCase {
        double Degrees;
        bool ClockWise;
        TPointFloat Point;
    };
    const TCase Cases[] = {{0, false, {10, 10}}, {90, false, {5, 0}}, {90, true, {5, 20}}, {180, false, {0, 10}}};
    for (const TCase& Case : Cases) {
        const TPointFloat P = Scene.Canvas.PointFromCircle(Box, Case.Degrees, 0, Case.ClockWise);
        EXPECT_NEAR(P.X, Case.Point.X, 1e-4) << Case.Degrees << " clockwise " << Case.ClockWise;
        EXPECT_NEAR(P.Y, Case.Point.Y, 1e-4) << Case.Degrees << " clockwise " << Case.ClockWise;
    }
    const TPointFloat Deep = Scene.Canvas.PointFromCircle(Box, 0, 4, false);
    EXPECT_NEAR(Deep.X, 14, 1e-4) << "projected at depth 4";
    EXPECT_NEAR(Deep.Y, 6, 1e-4) << "projected at depth 4";
}

TEST(Canvas3D, ASpiralWithoutTwistLiesOnTheInscribedCircle)
{
    const TRect Box{0, 0, 40, 20};
    for (const double Degrees : {0.0, 45.0, 90.0, 200.0}) {
        const TPoint P = TCanvas3D::PointFromSpiral(Box, Degrees, 0);
        EXPECT_NEAR(std::hypot(P.X - 20, P.Y - 10), 10, 0.75) << Degrees;
    }
    EXPECT_EQ(TCanvas3D::PointFromSpiral(Box, 0, 1), (TPoint{30, 10}));
    EXPECT_GT(TCanvas3D::PointFromSpiral(Box, 90, 0.5).Y, 10 + 10) << "a twist grows the radius";
}

TEST(Canvas3D, ARotatedEllipseIsOneClosedOutline)
{
    TCanvas3DScene Scene;
    Scene.Begin(false);
    Scene.Canvas.RotatedEllipse(10, 20, 70, 60, 0, 30);
    auto Polygons = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 1u);
    const TPointArray Points = RecordedPoints(*Polygons[0]);
    ASSERT_EQ(Points.size(), static_cast<std::size_t>(CirclePointCount));
    EXPECT_EQ(Points.front(), Points.back());

    Scene.Recorder.Clear();
    Scene.Canvas.Brush()->SetStyle(plat::bsClear);
    Scene.Canvas.RotatedEllipse(10, 20, 70, 60, 0, 30);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Polyline").size(), 1u) << "outlined with a clear brush";
    Scene.Recorder.Clear();
    Scene.Canvas.Pen()->SetStyle(plat::psClear);
    Scene.Canvas.RotatedEllipse(10, 20, 70, 60, 0, 30);
    EXPECT_TRUE(Scene.Recorder.CallsNamed("Polyline").empty());
    EXPECT_TRUE(Scene.Recorder.CallsNamed("Polygon").empty());
}

TEST(Canvas3D, ADiamondLiesAtTheMiddleDepth)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    Scene.Canvas.Diamond(10, 20, 30, 60, 3, 4);
    const auto Polygons = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 1u);
    EXPECT_EQ(RecordedPoints(*Polygons[0]), (TPointArray{{23, 17}, {33, 37}, {23, 57}, {13, 37}}));
}

TEST(Canvas3D, NestedFrontPlanesSwitchTheRotationOnce)
{
    TCanvas3DScene Scene;
    Scene.Begin(true, 10);
    Scene.Canvas.FrontPlaneBegin();
    Scene.Canvas.FrontPlaneBegin();
    EXPECT_FALSE(Scene.Canvas.Is3D());
    Scene.Canvas.FrontPlaneEnd();
    EXPECT_FALSE(Scene.Canvas.Is3D());
    Scene.Canvas.FrontPlaneEnd();
    EXPECT_TRUE(Scene.Canvas.Is3D()) << "a second disabling would have saved the flat state";
}

TEST(Canvas3D, CubeHullAndArrowsAreProjected)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    EXPECT_EQ(Scene.Canvas.CubeHull({10, 20, 60, 70}, 0, 10),
        (TPointArray{{70, 60}, {60, 70}, {10, 70}, {10, 20}, {20, 10}, {70, 10}}));
    const TPointArray Arrow = Scene.Canvas.GetArrowPoints(50, {0, 0}, {100, 0}, 20, 30, 5);
    EXPECT_EQ(Arrow, (TPointArray{{5, 0}, {5, -10}, {75, -10}, {75, -15}, {105, -5}, {75, 5}, {75, 0}}));
    EXPECT_TRUE(Scene.Canvas.GetArrowPoints(50, {4, 4}, {4, 4}, 20, 30, 5).empty());
    EXPECT_EQ(Scene.Canvas.RectFromRectZ({10, 20, 60, 70}, 10), (TRect{20, 10, 71, 61}));
}

TEST(Canvas3D, APictureInAPlaneIsOneCellPerPixel)
{
    TCanvas3DScene Scene(20, 20);
    Scene.Begin(false);
    plat::TBitmap Picture(2, 2, plat::pf24bit);
    const TColor Colors[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 2; ++X) {
            Picture.Canvas()->SetPixel(X, Y, Colors[Y][X]);
        }
    }
    Scene.Canvas.StretchDraw({0, 0, 10, 10}, &Picture, 0, cpZ);
    EXPECT_EQ(Scene.Canvas.Pen()->Style(), plat::psClear);
    const auto Cells = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Cells.size(), 4u);
    EXPECT_EQ(RecordedPoints(*Cells[0]), (TPointArray{{0, 0}, {5, 0}, {5, 5}, {0, 5}}));
    EXPECT_EQ(RecordedPoints(*Cells[3]), (TPointArray{{5, 5}, {10, 5}, {10, 10}, {5, 10}}));
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 2; ++X) {
            EXPECT_EQ(Scene.PixelColor(X * 5 + 2, Y * 5 + 2), Colors[Y][X]) << X << ", " << Y;
        }
    }
    EXPECT_EQ(Scene.PixelColor(12, 12), clWhite);

    Scene.Recorder.Clear();
    plat::TBitmap Empty;
    Scene.Canvas.StretchDraw({0, 0, 10, 10}, &Empty, 0, cpZ);
    EXPECT_TRUE(Scene.Recorder.CallsNamed("Polygon").empty());
}

TEST(Canvas3D, PicturesLieInTheChosenPlane)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    plat::TBitmap Pixel(1, 1, plat::pf24bit);
    struct TCase {
        TCanvas3DPlane Plane;
        TPointArray Cell;
    };
    // Corners (a, b) of (0, 0, 10, 10) at position 20: x plane (20, b, a),
    // y plane (a, 20, b), z plane (a, b, 20).
    const TCase Cases[] = {
        {cpX, {{20, 0}, {30, -10}, {30, 0}, {20, 10}}},
        {cpY, {{0, 20}, {10, 20}, {20, 10}, {10, 10}}},
        {cpZ, {{20, -20}, {30, -20}, {30, -10}, {20, -10}}},
    };
    for (const TCase& Case : Cases) {
        Scene.Recorder.Clear();
        Scene.Canvas.StretchDraw({0, 0, 10, 10}, &Pixel, 20, Case.Plane);
        const auto Cells = Scene.Recorder.CallsNamed("Polygon");
        ASSERT_EQ(Cells.size(), 1u);
        EXPECT_EQ(RecordedPoints(*Cells[0]), Case.Cell) << "plane " << Case.Plane;
    }
}

TEST(Canvas3D, PyramidTruncDrawsTheFacesTurnedToTheViewer)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(45);
    Scene.Begin(true, 10);
    Scene.Canvas.PyramidTrunc({20, 20, 60, 80}, 5, 5, 0, 0, true, true);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Polygon").size(), 2u) << "a flat triangle: the base and one face";
    Scene.Recorder.Clear();
    Scene.Canvas.PyramidTrunc({20, 20, 60, 80}, 0, 10, 0, 0, false, false);
    const std::size_t Faces = Scene.Recorder.CallsNamed("Polygon").size();
    EXPECT_GE(Faces, 1u);
    EXPECT_LE(Faces, 3u) << "the back faces are left out";
    Scene.Recorder.Clear();
    Scene.Canvas.PyramidTrunc({20, 20, 60, 80}, 0, 10, 5, 2, true, true);
    EXPECT_GE(Scene.Recorder.CallsNamed("Polygon").size(), 3u) << "both covers and the front";
}

TEST(Canvas3D, FlatShadowsTakeTheShapeInTheShadowColour)
{
    TCanvas3DScene Scene;
    Scene.Begin(false);
    TChtShadow Shadow;
    Shadow.SetColor(clGray);
    Shadow.SetSmooth(false);
    const TPointArray Triangle{{10, 10}, {40, 10}, {25, 40}};
    Scene.Canvas.DrawShadow(Shadow, {}, false, 0, Triangle, 0, 0, 360);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Polygon").size(), 1u);
    EXPECT_EQ(Scene.PixelColor(25, 20), clGray);
    EXPECT_EQ(Scene.Canvas.Pen()->Color(), clGray);

    Scene.Recorder.Clear();
    Scene.Canvas.DrawShadow(Shadow, {50, 50, 90, 90}, true, 0, {}, 0, 0, 360);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Ellipse").size(), 1u) << "a whole turn is an ellipse";
    Scene.Canvas.DrawShadow(Shadow, {50, 50, 90, 90}, true, 0, {}, 0, 90, 360);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Pie").size(), 1u) << "otherwise a pie";
    Scene.Canvas.DrawShadow(Shadow, {0, 60, 40, 90}, false, 8, {}, 0, 0, 360);
    EXPECT_EQ(Scene.Recorder.CallsNamed("RoundRect").size(), 1u);

    Shadow.SetSmooth(true);
    Scene.Canvas.Gradient()->SetStartColor(clLime);
    Scene.Canvas.DrawShadow(Shadow, {50, 50, 90, 90}, true, 0, {}, 0, 0, 360);
    EXPECT_EQ(Scene.Canvas.Gradient()->StartColor(), clLime) << "the canvas gradient comes back";
    EXPECT_EQ(Scene.Canvas.Pen()->Style(), plat::psClear);
}

TEST(Canvas3D, GradientsFillPolygonsThroughTheCanvasGradient)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    TChtGradient Gradient;
    Gradient.SetStartColor(clLime);
    const std::array<TPoint, 4> Quad{{{10, 10}, {30, 10}, {30, 20}, {10, 20}}};
    Gradient.Draw(Scene.Canvas, Quad, 5);
    EXPECT_EQ(Scene.Canvas.Gradient()->StartColor(), clLime);
    EXPECT_EQ(Scene.Canvas.Pen()->Style(), plat::psClear);
    auto Polygons = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 1u);
    EXPECT_EQ(RecordedPoints(*Polygons[0]), (TPointArray{{15, 5}, {35, 5}, {35, 15}, {15, 15}}));

    Scene.Recorder.Clear();
    Scene.Canvas.Pen()->SetStyle(plat::psSolid);
    const TPointArray Triangle{{0, 0}, {10, 0}, {5, 5}};
    Gradient.Draw(Scene.Canvas, Triangle, 2, false);
    Gradient.Draw(Scene.Canvas, Triangle, 2, true);
    Polygons = Scene.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 2u);
    EXPECT_EQ(RecordedPoints(*Polygons[0]), Triangle);
    EXPECT_EQ(RecordedPoints(*Polygons[1]), (TPointArray{{2, -2}, {12, -2}, {7, 3}}));
    EXPECT_EQ(Scene.Canvas.Pen()->Style(), plat::psSolid) << "this form keeps the pen";
}

TEST(Canvas3D, FontsForProjectedTextFollowTheViewZoom)
{
    TCanvas3DScene Scene;
    Scene.Options.SetZoomFloat(200);
    Scene.Begin(true, 10);
    TChtFont Font;
    Font.SetSizeFloat(10);
    Scene.Canvas.AssignFont3D(Font);
    EXPECT_EQ(Scene.Canvas.Font()->SizeFloat(), 20.0f) << "zoomed once by the view";
    Scene.Options.SetZoomText(ztNo);
    Scene.Canvas.AssignFont3D(Font);
    EXPECT_EQ(Scene.Canvas.Font()->SizeFloat(), 10.0f) << "the view keeps text unzoomed";

    test::TDrawingCanvas3D Copy;
    Scene.Canvas.SetMonochrome(true);
    Scene.Canvas.SetPenZoom(120);
    Copy.Assign(Scene.Canvas);
    EXPECT_TRUE(Copy.GetMonochrome());
    EXPECT_EQ(Copy.View3DOptions(), &Scene.Options) << "the same options";
    EXPECT_EQ(Copy.PenZoom(), 120);
    EXPECT_EQ(Copy.FontZoom(), Scene.Canvas.FontZoom());
}

TEST(Canvas3D, TriangleSurfacesAskForEachTriangleAndBlendIt)
{
    // A canvas drawing each triangle as a flat polygon in its first colour.
    class TTriangles : public test::TDrawingCanvas3D {
    public:
        void Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors) override
        {
            Brush()->SetColor(Colors[0]);
            const TTrianglePoints Corners = TrianglePointsTo2D(Points);
            Polygon(Corners);
        }
    };
    plat::TBitmap Bitmap(40, 40, plat::pf24bit);
    TView3DOptions Options(nullptr);
    TTriangles Canvas;
    Canvas.SetUseBuffer(false);
    Canvas.InitWindow(Bitmap.Canvas(), &Options, clWhite, false, {0, 0, 40, 40});
    Canvas.Projection(0, {0, 0, 40, 40}, {0, 0, 40, 40});
    Canvas.Pen()->Hide();
    std::vector<int> Asked;
    TChtBlend Blend(&Canvas, {0, 0, 1, 1});
    TChtCachedObject* Cached = nullptr;
    Canvas.TriSurface(2, true, true, &Blend, 50,
        [&](int Index, TTrianglePoints3D& Points, TTriangleColors3D& Colors, TTriangleIndexes&) {
            Asked.push_back(Index);
            const int Left = Index == 1 ? 0 : 20;
            Points = {TPoint3D{Left, 0, 0}, TPoint3D{Left + 20, 0, 0}, TPoint3D{Left, 20, 0}};
            Colors = {clBlue, clBlue, clBlue};
        },
        Cached);
    EXPECT_EQ(Asked, (std::vector<int>{1, 2}));
    EXPECT_EQ(Cached, nullptr) << "no cache is made";
    EXPECT_EQ(Bitmap.Canvas()->Pixel(3, 3), static_cast<TColor>(0xFF8080)) << "half blue over white";
    EXPECT_EQ(Bitmap.Canvas()->Pixel(23, 3), static_cast<TColor>(0xFF8080));
}

} // namespace
} // namespace qel
