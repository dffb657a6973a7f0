// Tests of the canvas shapes and geometry (angle arcs, arc-to, 3D frames,
// arrows, convexity, hulls, bounds) and of clipping with its history.
#include "test_chart_canvas.h"

#include "widgets/chart/plane_geometry.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/region.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

using test::TTestChartCanvas;
using test::RecordedPoints;
using TArgs = std::vector<std::int64_t>;

TEST(CanvasShapes, AngleArcsRunCounterClockwiseFromTheSmallerAngle)
{
    struct TCase {
        float Start;
        float End;
        TArgs Args;
    };
    const TCase Cases[] = {
        {0, 90, {0, 0, 100, 100, 100, 50, 50, 0}},
        {90, 0, {0, 0, 100, 100, 100, 50, 50, 0}},
        {180, 270, {0, 0, 100, 100, 0, 50, 50, 100}},
        {45, 45, {0, 0, 100, 100, 85, 15, 85, 15}},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(10, 10);
        Canvas.Arc(0, 0, 100, 100, Case.Start, Case.End);
        const auto Calls = Canvas.Recorder.CallsNamed("Arc");
        ASSERT_EQ(Calls.size(), 1u);
        EXPECT_EQ(Calls[0]->Args, Case.Args) << Case.Start << " to " << Case.End;
    }
}

TEST(CanvasShapes, ArcToTurnsClockwiseOnlyWhenAsked)
{
    TTestChartCanvas Canvas(60, 60);
    Canvas.MoveTo(0, 0);
    Canvas.ArcTo(10, 10, 50, 50, 50, 30, 30, 10, true);
    const auto Calls = Canvas.Recorder.CallsNamed("ArcTo");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0]->State.ArcDirection, plat::AD_CLOCKWISE);
    EXPECT_EQ(Canvas.Recorder.SetArcDirection(plat::AD_CLOCKWISE), plat::AD_COUNTERCLOCKWISE)
        << "the direction comes back";
    EXPECT_EQ(Calls[0]->Args, (TArgs{10, 10, 50, 50, 50, 30, 30, 10}));
    const TPoint End = Canvas.Recorder.CurrentPosition();
    EXPECT_NEAR(End.X, 30, 1) << "the position at the arc's end";
    EXPECT_NEAR(End.Y, 10, 1) << "the position at the arc's end";
}

TEST(CanvasShapes, Frame3DDrawsWidthRingsAndShrinksTheRectangle)
{
    TTestChartCanvas Canvas(20, 20);
    Canvas.Pen()->SetWidth(3);
    Canvas.Pen()->SetStyle(plat::psDot);
    TRect Rect{2, 2, 18, 18};
    Canvas.Frame3D(Rect, clWhite, clBlack, 0);
    EXPECT_EQ(Rect, (TRect{2, 2, 18, 18}));
    EXPECT_TRUE(Canvas.Recorder.CallsNamed("Polyline").empty());
    EXPECT_EQ(Canvas.Pen()->Width(), 1);
    EXPECT_EQ(Canvas.Pen()->Style(), plat::psSolid);

    Canvas.ReferenceCanvas()->Brush()->SetColor(clSilver);
    Canvas.FillRect(TRect{0, 0, 20, 20});
    Canvas.Frame3D(Rect, clWhite, clGray, 2);
    EXPECT_EQ(Rect, (TRect{4, 4, 16, 16}));
    EXPECT_EQ(Canvas.Recorder.CallsNamed("Polyline").size(), 4u);
    struct TProbe {
        int X;
        int Y;
        TColor Color;
    };
    const TProbe Probes[] = {
        {2, 2, clWhite}, {10, 2, clWhite}, {2, 10, clWhite}, {3, 3, clWhite}, {15, 3, clWhite}, {16, 3, clGray},
        {17, 10, clGray}, {10, 17, clGray}, {17, 17, clGray}, {16, 16, clGray}, {2, 17, clGray},
        {4, 4, clSilver}, {10, 10, clSilver}, {1, 1, clSilver}, {18, 18, clSilver},
    };
    for (const TProbe& Probe : Probes) {
        EXPECT_EQ(Canvas.PixelColor(Probe.X, Probe.Y), Probe.Color) << Probe.X << ", " << Probe.Y;
    }

    // Wider than half the rectangle: every ring is still drawn, crossing
    // over past the middle.
    Canvas.Recorder.Clear();
    TRect Small{0, 0, 6, 6};
    Canvas.Frame3D(Small, clWhite, clGray, 5);
    EXPECT_EQ(Small, (TRect{5, 5, 1, 1}));
    const auto Rings = Canvas.Recorder.CallsNamed("Polyline");
    ASSERT_EQ(Rings.size(), 10u);
    EXPECT_EQ(RecordedPoints(*Rings[8]), (TPointArray{{4, 1}, {4, 4}, {1, 4}})) << "the fifth ring's top and left";
}

TEST(CanvasShapes, ArrowPoints)
{
    const TPointArray Points = TChtCanvas::GetArrowPoints(50, {0, 0}, {100, 0}, 20, 30);
    EXPECT_EQ(Points, (TPointArray{{0, 5}, {0, -5}, {70, -5}, {70, -10}, {100, 0}, {70, 10}, {70, 5}}));
    const TPointArray Upwards = TChtCanvas::GetArrowPoints(50, {0, 100}, {0, 0}, 20, 30);
    EXPECT_EQ(Upwards, (TPointArray{{5, 100}, {-5, 100}, {-5, 30}, {-10, 30}, {0, 0}, {10, 30}, {5, 30}}));
    const TPointArray Short = TChtCanvas::GetArrowPoints(100, {0, 0}, {10, 0}, 20, 30);
    EXPECT_EQ(Short[2], (TPoint{0, -10})) << "the head is at most the arrow's length";
    EXPECT_TRUE(TChtCanvas::GetArrowPoints(50, {3, 3}, {3, 3}, 20, 30).empty());

    TTestChartCanvas Canvas(10, 10);
    Canvas.Arrow(true, 50, {3, 3}, {3, 3}, 20, 30);
    Canvas.Arrow(false, 50, {3, 3}, {3, 3}, 20, 30);
    EXPECT_TRUE(Canvas.Recorder.Calls().empty()) << "equal points draw nothing";
    Canvas.Arrow(true, 50, {0, 0}, {100, 0}, 20, 30);
    ASSERT_EQ(Canvas.Recorder.CallsNamed("Polygon").size(), 1u);
    Canvas.Recorder.Clear();
    Canvas.Arrow(false, 50, {0, 0}, {100, 0}, 20, 30);
    EXPECT_TRUE(Canvas.Recorder.CallsNamed("Polygon").empty());
    EXPECT_EQ(Canvas.Recorder.CallsNamed("LineTo").size(), 3u) << "shaft and the two sides of the head";
}

TEST(CanvasShapes, Convexity)
{
    struct TCase {
        const char* Name;
        TPointArray Points;
        bool Convex;
    };
    const TCase Cases[] = {
        {"triangle", {{0, 0}, {10, 0}, {5, 8}}, true},
        {"square clockwise", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true},
        {"square anticlockwise", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, true},
        {"L-shaped hexagon", {{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}, false},
        {"collinear", {{0, 0}, {5, 5}, {10, 10}}, false},
        {"two points", {{0, 0}, {5, 5}}, false},
        {"huge square", {{0, 0}, {200000, 0}, {200000, 200000}, {0, 200000}}, true},
        {"huge dart", {{-200000, -200000}, {200000, -200000}, {0, -199999}, {0, 200000}}, false},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(TChtCanvas::IsConvexPolygon(std::span<const TPoint>(Case.Points)), Case.Convex) << Case.Name;
        TPointFloatArray Floats;
        for (const TPoint& P : Case.Points) {
            Floats.push_back({static_cast<float>(P.X), static_cast<float>(P.Y)});
        }
        EXPECT_EQ(TChtCanvas::IsConvexPolygon(std::span<const TPointFloat>(Floats)), Case.Convex) << Case.Name;
    }
}

TEST(CanvasShapes, TurnsAreExactBeyondThe32BitRange)
{
    const int Big = 2'000'000'000;
    EXPECT_TRUE(NegativeCross({0, Big}, {0, 0}, {Big, 0}));
    EXPECT_FALSE(NegativeCross({Big, 0}, {0, 0}, {0, Big}));
    EXPECT_TRUE(NegativeCross({-Big, Big}, {0, 0}, {Big, Big - 1})) << "one unit off collinear";
    EXPECT_FALSE(NegativeCross({-Big, -Big}, {0, 0}, {Big, Big})) << "collinear";
}

TEST(CanvasShapes, ConvexHullKeepsTheOutlineWithThePivotLast)
{
    TPointArray Points{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
    ASSERT_TRUE(TChtCanvas::ConvexHull(Points));
    EXPECT_EQ(Points, (TPointArray{{10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    TPointArray Two{{0, 0}, {1, 1}};
    EXPECT_FALSE(TChtCanvas::ConvexHull(Two));
    TPointArray Three{{0, 0}, {4, 0}, {2, 3}};
    EXPECT_TRUE(TChtCanvas::ConvexHull(Three));
    EXPECT_EQ(Three, (TPointArray{{0, 0}, {4, 0}, {2, 3}})) << "three points stay as they are";
}

TEST(CanvasShapes, BoundsAndOrderedRectangles)
{
    EXPECT_EQ(PolygonBounds(TPointArray{{3, 4}}), (TRect{3, 4, 4, 5}));
    EXPECT_EQ(PolygonBounds(TPointArray{}), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(PolygonBounds(TPointArray{{3, 4}, {-2, 9}, {5, 1}}), (TRect{-2, 1, 6, 10}));
    EXPECT_EQ(OrderedRect(10, 20, 0, 5), (TRect{0, 5, 10, 20}));
}

// --- Clipping ------------------------------------------------------------------

TRect ClipBox(TTestChartCanvas& Canvas)
{
    TRect Box;
    Canvas.Recorder.GetClipBox(Box);
    return Box;
}

bool Clipped(TTestChartCanvas& Canvas)
{
    plat::TRegion Region;
    return Canvas.Recorder.GetClipRgn(Region) == 1;
}

TEST(CanvasClipping, AFirstClipPushesNothingAndUnClipRemovesIt)
{
    TTestChartCanvas Canvas(50, 50);
    Canvas.ClipRectangle(TRect{5, 5, 20, 20});
    EXPECT_TRUE(Canvas.ClipHistory().empty());
    EXPECT_EQ(ClipBox(Canvas), (TRect{5, 5, 20, 20}));
    Canvas.UnClip();
    EXPECT_FALSE(Clipped(Canvas));
    Canvas.UnClip();
    EXPECT_FALSE(Clipped(Canvas)) << "more UnClips than clips";
}

TEST(CanvasClipping, NestedClipsComeBackInOrder)
{
    TTestChartCanvas Canvas(50, 50);
    Canvas.ClipRectangle(TRect{5, 5, 30, 30});
    Canvas.ClipRectangle(TRect{10, 0, 40, 20});
    EXPECT_EQ(ClipBox(Canvas), (TRect{10, 5, 30, 20})) << "clips combine";
    EXPECT_EQ(Canvas.ClipHistory().size(), 1u);
    Canvas.UnClip();
    EXPECT_EQ(ClipBox(Canvas), (TRect{5, 5, 30, 30}));
    Canvas.UnClip();
    EXPECT_FALSE(Clipped(Canvas));
    EXPECT_TRUE(Canvas.ClipHistory().empty());
}

// Fills the whole canvas blue on white.
void FillAll(TTestChartCanvas& Canvas)
{
    Canvas.ReferenceCanvas()->Brush()->SetColor(clBlue);
    Canvas.FillRect(TRect{0, 0, 40, 40});
}

TEST(CanvasClipping, AnInvertedEllipseBlocksOnlyItsInside)
{
    for (const bool ClipFirst : {true, false}) {
        TTestChartCanvas Canvas(40, 40);
        if (ClipFirst) {
            Canvas.ClipRectangle(TRect{0, 0, 40, 40});
        }
        Canvas.ClipEllipse(TRect{10, 10, 30, 30}, true);
        FillAll(Canvas);
        EXPECT_EQ(Canvas.PixelColor(20, 20), clWhite) << "clipped first: " << ClipFirst;
        EXPECT_EQ(Canvas.PixelColor(2, 2), clBlue) << "clipped first: " << ClipFirst;
        EXPECT_EQ(Canvas.PixelColor(11, 11), clBlue) << "the box's corner is outside the ellipse";
        EXPECT_EQ(Canvas.PixelColor(39, 39), clBlue);
    }
}

TEST(CanvasClipping, AnEllipseAndAPolygonClipTheirInsides)
{
    TTestChartCanvas Canvas(40, 40);
    Canvas.ClipEllipse(TRect{10, 10, 30, 30}, false);
    FillAll(Canvas);
    EXPECT_EQ(Canvas.PixelColor(20, 20), clBlue);
    EXPECT_EQ(Canvas.PixelColor(11, 11), clWhite);
    Canvas.UnClip();

    TTestChartCanvas Cut(40, 40);
    Cut.ClipRectangle(TRect{0, 0, 30, 40});
    const TPointArray Triangle{{0, 0}, {20, 0}, {0, 20}, {39, 39}};
    const TPointArray Copy = Triangle;
    Cut.ClipPolygon(Triangle, 3, true);
    EXPECT_EQ(Triangle, Copy) << "the caller's points stay";
    EXPECT_EQ(Cut.ClipHistory().size(), 1u);
    FillAll(Cut);
    EXPECT_EQ(Cut.PixelColor(3, 3), clWhite) << "cut out";
    EXPECT_EQ(Cut.PixelColor(25, 25), clBlue) << "the fourth point is not used";
    EXPECT_EQ(Cut.PixelColor(35, 5), clWhite) << "outside the first clip";
}

TEST(CanvasClipping, RoundedRectangleClipAndHeldRegionsGoWithTheCanvas)
{
    auto Canvas = std::make_unique<TTestChartCanvas>(40, 40);
    Canvas->ClipRectangle(TRect{0, 0, 40, 40}, 20, 20);
    FillAll(*Canvas);
    EXPECT_EQ(Canvas->PixelColor(0, 0), clWhite) << "rounded away";
    EXPECT_EQ(Canvas->PixelColor(20, 0), clBlue);
    Canvas->ClipRectangle(TRect{0, 0, 20, 20});
    Canvas->ClipEllipse(TRect{0, 0, 20, 20}, false);
    EXPECT_EQ(Canvas->ClipHistory().size(), 2u);
    Canvas.reset();
}

} // namespace
} // namespace qel
