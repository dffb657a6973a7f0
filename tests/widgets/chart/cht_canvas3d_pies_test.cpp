// Tests of the 3D chart canvas's pies: flat slices by degrees and by
// radial points, donut outlines as device paths, and 3D slices by their
// whole-degree angles, hole and bevel rectangles, hidden faces, blending,
// dark sides, edge hook and the order in which their sides are drawn.
#include "shape_canvas_scene.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/color_shades.h"
#include "widgets/chart/pie3d_drawer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace qel {
namespace {

using test::TNotedFill;
using test::TShapeScene;

constexpr double Degree = std::numbers::pi / 180;

std::vector<std::int64_t> Args(const plat::TRecordedCall* Call)
{
    return Call->Args;
}

TEST(ChtCanvas3DPies, FlatPiesByDegrees)
{
    struct TCase {
        double Start;
        double End;
        std::size_t Ellipses;
        std::size_t Pies;
    };
    for (const TCase Case : {TCase{0, 360, 1, 0}, TCase{0, 359.97, 1, 0}, TCase{0, 180, 0, 1}, TCase{90, 90.1, 0, 0}}) {
        TShapeScene Scene;
        Scene.Begin(false);
        Scene.Canvas.Pie(TRect{10, 10, 90, 70}, Case.Start, Case.End);
        EXPECT_EQ(Scene.Count("Ellipse"), Case.Ellipses) << Case.Start << ".." << Case.End;
        EXPECT_EQ(Scene.Count("Pie"), Case.Pies) << Case.Start << ".." << Case.End;
    }
    TShapeScene Half;
    Half.Begin(false);
    Half.Canvas.Brush()->SetColor(clRed);
    Half.Canvas.Pie(TRect{10, 10, 90, 70}, 0, 180);
    EXPECT_EQ(Args(Half.Recorder.CallsNamed("Pie")[0]), (std::vector<std::int64_t>{10, 10, 90, 70, 90, 40, 10, 40}));
    EXPECT_NE(Half.PixelColor(50, 30), clWhite);
    EXPECT_EQ(Half.PixelColor(50, 55), clWhite);
}

TEST(ChtCanvas3DPies, EqualRoundedPointsDrawTheRadiusLine)
{
    TShapeScene Scene;
    Scene.Begin(false);
    Scene.Canvas.Pie(TRect{10, 10, 90, 70}, 0, 0.1);
    EXPECT_EQ(Scene.Count("Pie"), 0u);
    EXPECT_EQ(Scene.Count("Ellipse"), 0u);
    ASSERT_EQ(Scene.Count("LineTo"), 1u);
    EXPECT_EQ(Args(Scene.Recorder.CallsNamed("MoveTo")[0]), (std::vector<std::int64_t>{50, 40}));
    EXPECT_EQ(Args(Scene.Recorder.CallsNamed("LineTo")[0]), (std::vector<std::int64_t>{90, 40}));

    // Nearly a whole turn with equal points is the ellipse and the line.
    Scene.Recorder.Clear();
    Scene.Canvas.Pie(TRect{10, 10, 90, 70}, 0, 359.5);
    EXPECT_EQ(Scene.Count("Ellipse"), 1u);
    EXPECT_EQ(Scene.Count("LineTo"), 1u);
}

TEST(ChtCanvas3DPies, EightValuePieWithEqualRadialsDrawsNothing)
{
    for (const bool Gradiented : {false, true}) {
        TShapeScene Scene;
        Scene.Begin(false);
        Scene.Canvas.Gradient()->SetVisible(Gradiented);
        Scene.Canvas.Pie(10, 10, 90, 90, 90, 50, 90, 50);
        EXPECT_EQ(Scene.Count("Pie"), 0u);
        EXPECT_EQ(Scene.Count("PatBlt") + Scene.Count("FillRect"), 0u) << "gradient " << Gradiented;
        EXPECT_EQ(Scene.Canvas.ReferenceCanvas()->Brush()->Style(), plat::bsSolid);
    }
}

TEST(ChtCanvas3DPies, AGradientPiePaintsOnlyInsideTheSlice)
{
    TShapeScene Scene;
    Scene.Begin(false);
    Scene.Canvas.Pen()->SetStyle(plat::psClear);
    TChtGradient& Shade = *Scene.Canvas.Gradient();
    Shade.SetStartColor(clRed);
    Shade.SetEndColor(clBlue);
    Shade.SetVisible(true);
    Scene.Canvas.Pie(10, 10, 90, 90, 90, 50, 50, 10);   // the upper right quarter
    EXPECT_NE(Scene.PixelColor(65, 35), clWhite);
    int Stray = 0;
    for (int Y = 0; Y < 100; ++Y) {
        for (int X = 0; X < 100; ++X) {
            const bool Inside = X >= 49 && Y <= 51 && std::hypot(X + 0.5 - 50, Y + 0.5 - 50) <= 41.5;
            Stray += !Inside && Scene.PixelColor(X, Y) != clWhite ? 1 : 0;
        }
    }
    EXPECT_EQ(Stray, 0);
    EXPECT_EQ(Scene.Canvas.ReferenceCanvas()->Brush()->Style(), plat::bsSolid) << "the device brush comes back";
}

TEST(ChtCanvas3DPies, DonutsAreOutlinedAsDevicePaths)
{
    TShapeScene Solid;
    Solid.Begin(false);
    Solid.Canvas.Donut(50, 50, 40, 30, 0, std::numbers::pi / 2, 0);
    const auto& Calls = Solid.Recorder.Calls();
    std::string Names;
    for (const auto& Call : Calls) {
        if (Call.Name == "BeginPath" || Call.Name == "Pie" || Call.Name == "EndPath" || Call.Name == "StrokeAndFillPath") {
            Names += Call.Name + " ";
        }
    }
    EXPECT_EQ(Names, "BeginPath Pie EndPath StrokeAndFillPath ");
    EXPECT_EQ(Args(Solid.Recorder.CallsNamed("Pie")[0]), (std::vector<std::int64_t>{10, 20, 90, 80, 90, 50, 50, 20}));

    TShapeScene Holed;
    Holed.Begin(false);
    Holed.Canvas.Donut(50, 50, 40, 30, 0, std::numbers::pi / 2, 50);
    const auto Arcs = Holed.Recorder.CallsNamed("ArcTo");
    ASSERT_EQ(Arcs.size(), 2u);
    EXPECT_EQ(Args(Arcs[0]), (std::vector<std::int64_t>{10, 20, 90, 80, 90, 50, 50, 20}));
    EXPECT_EQ(Args(Arcs[1]), (std::vector<std::int64_t>{30, 35, 70, 65, 50, 20, 90, 50})) << "half radii, back";
    EXPECT_EQ(Arcs[1]->State.ArcDirection, plat::AD_CLOCKWISE);

    TShapeScene Ring;
    Ring.Begin(false);
    Ring.Canvas.Brush()->SetColor(clRed);
    Ring.Canvas.Pen()->SetStyle(plat::psClear);
    Ring.Canvas.Donut(50, 50, 40, 40, 0, 2 * std::numbers::pi, 50);
    EXPECT_EQ(Ring.Count("ArcTo"), 2u);
    EXPECT_EQ(Ring.PixelColor(50, 50), clWhite) << "the hole stays open";
    for (const TPoint P : {TPoint{20, 50}, TPoint{80, 50}, TPoint{50, 20}, TPoint{50, 80}}) {
        EXPECT_EQ(Ring.PixelColor(P.X, P.Y), clRed) << P.X << ", " << P.Y;
    }
}

TEST(ChtCanvas3DPies, SliceAnglesAndRectangles)
{
    TShapeScene Scene;
    Scene.Begin(false);
    TPie3DSlice Slice{200, 150, 100, 60, 0, 20, 0, 2 * std::numbers::pi};
    TPieDrawer Full(Scene.Canvas, Slice);
    EXPECT_EQ(Full.StartAngle(), 0);
    EXPECT_EQ(Full.EndAngle(), 360);
    EXPECT_TRUE(Full.FullCircle());

    Slice.StartAngle = 300 * Degree;
    Slice.EndAngle = 30 * Degree;
    Slice.DonutPercent = 50;
    Slice.BevelPercent = 10;
    TPieDrawer Wrapped(Scene.Canvas, Slice);
    EXPECT_EQ(Wrapped.StartAngle(), 300);
    EXPECT_EQ(Wrapped.EndAngle(), 390);
    EXPECT_FALSE(Wrapped.FullCircle());
    EXPECT_EQ(Wrapped.HoleRect(), (TRect{150, 120, 250, 180}));
    EXPECT_EQ(Wrapped.BevelTopRect(), (TRect{102, 92, 298, 208}));
    EXPECT_EQ(Wrapped.BevelBottomRect(), (TRect{100, 92, 300, 212}));
}

TEST(ChtCanvas3DPies, NormalizeAngleKeepsAWholeTurn)
{
    struct TCase {
        int In;
        int Out;
    };
    for (const TCase Case : {TCase{0, 0}, TCase{360, 360}, TCase{361, 1}, TCase{720, 360}, TCase{-90, 270},
             TCase{-360, 0}, TCase{-450, 270}, TCase{std::numeric_limits<int>::min(), 232}}) {
        EXPECT_EQ(TPieDrawer::NormalizeAngle(Case.In), Case.Out) << Case.In;
    }
}

// A flat slice on (60, 50) of radius 40, 10 thick, seen through, with a
// hole of half the radius and its sides drawn.
struct TSliceScene : TShapeScene {
    TSliceScene() : TShapeScene(130, 120)
    {
        Begin(false);
        Canvas.Pen()->SetStyle(plat::psClear);
        Canvas.Brush()->SetColor(clRed);
    }

    void Draw(double StartDegrees, double EndDegrees, int Transparency, int Hole = 50, bool HideSides = false)
    {
        Canvas.Pie3D(60, 50, 40, 40, 0, 10, StartDegrees * Degree, EndDegrees * Degree, false, true, Hole, nullptr,
            0, edNone, Transparency, 0, false, HideSides);
    }

    // F a face, I the hole's wall, O the outer wall, S and E the flat
    // sides; repeats of one letter run together.
    std::string Order(double StartDegrees) const
    {
        std::string Letters;
        for (const TNotedFill& Fill : Canvas.Fills) {
            const char Letter = Fill.FourPoints ? SideLetter(Fill, StartDegrees) : WallLetter(Fill);
            if (Letters.empty() || Letters.back() != Letter) {
                Letters += Letter;
            }
        }
        return Letters;
    }

    static char SideLetter(const TNotedFill& Fill, double StartDegrees)
    {
        const TPoint& Rim = Fill.Points[1];
        const double Angle = std::atan2(-(Rim.Y - 50.0), Rim.X - 60.0) / Degree;
        const double Off = std::remainder(Angle - StartDegrees, 360);
        return std::abs(Off) < 3 ? 'S' : 'E';
    }

    static char WallLetter(const TNotedFill& Fill)
    {
        const auto Near = [](const TPoint& P, double Radius) {
            return std::abs(std::hypot(P.X - 60.0, P.Y - 50.0) - Radius) < 1.5
                || std::abs(std::hypot(P.X - 60.0, P.Y - 60.0) - Radius) < 1.5;
        };
        const auto All = [&](double Radius) {
            return std::all_of(
                Fill.Points.begin(), Fill.Points.end(), [&](const TPoint& P) { return Near(P, Radius); });
        };
        return All(40) ? 'O' : All(20) ? 'I' : 'F';
    }
};

TEST(ChtCanvas3DPies, SidesAreDrawnInTheOrderOfTheirRow)
{
    struct TCase {
        double Start;
        double End;
        const char* Order;
    };
    const TCase Cases[] = {
        {120, 300, "FISEOF"},   // end right, start left
        {30, 330, "FISEOF"},    // end right, start right, wide
        {300, 30, "FEIOSF"},    // end right, start right, narrow
        {200, 140, "FIESOF"},   // end left, start left, wide
        {100, 200, "FSIOEF"},   // end left, start left, narrow
        {300, 140, "FIEOSF"},   // end left, start right, wide
        {30, 150, "FIOSEF"},    // end left, start right, narrow
    };
    for (const TCase& Case : Cases) {
        TSliceScene Scene;
        Scene.Draw(Case.Start, Case.End, 50);
        EXPECT_EQ(Scene.Order(Case.Start), Case.Order) << Case.Start << ".." << Case.End;
        EXPECT_GT(Scene.Count("Polygon"), 5u);
    }
}

TEST(ChtCanvas3DPies, HiddenFacesNeedTransparencyAndBlendingIsBalanced)
{
    struct TCase {
        int Transparency;
        bool HideSides;
        bool Bottom;
    };
    for (const TCase Case : {TCase{0, false, false}, TCase{40, false, true}, TCase{40, true, false}}) {
        TSliceScene Scene;
        Scene.Draw(200, 340, Case.Transparency, 0, Case.HideSides);
        const std::string Order = Scene.Order(200);
        ASSERT_FALSE(Scene.Canvas.Fills.empty());
        const TPoint& First = Scene.Canvas.Fills.front().Points.front();
        EXPECT_EQ(First == (TPoint{60, 60}), Case.Bottom) << "the bottom face starts at its centre: " << Order;
        EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 0u);
        EXPECT_EQ(Scene.Canvas.Transparency, 0);
    }
}

TEST(ChtCanvas3DPies, WholeAndEmptySlicesDrawNoFlatSides)
{
    for (const double End : {360.0, 90.0}) {
        TSliceScene Scene;
        Scene.Draw(End == 360 ? 0 : 90, End, 50, 0);
        EXPECT_TRUE(std::none_of(Scene.Canvas.Fills.begin(), Scene.Canvas.Fills.end(),
            [](const TNotedFill& F) { return F.FourPoints; }))
            << "end " << End;
        EXPECT_FALSE(Scene.Canvas.Fills.empty());
    }
    TSliceScene Empty;
    Empty.Draw(90, 90, 0, 0);
    ASSERT_EQ(Empty.Canvas.Fills.size(), 1u) << "only the top face";
    EXPECT_EQ(Empty.Canvas.Fills[0].Points, (TPointArray{{60, 50}, {60, 10}, {60, 50}}));
}

TEST(ChtCanvas3DPies, DarkSidesAreDrawnDarkerAndTheTopInTheSliceColour)
{
    for (const bool SamePen : {false, true}) {
        TSliceScene Scene;
        Scene.Canvas.Pen()->SetStyle(plat::psSolid);
        Scene.Canvas.Pen()->SetColor(SamePen ? clRed : clBlack);
        Scene.Canvas.Pie3D(60, 50, 40, 40, 0, 10, 200 * Degree, 340 * Degree, true, true, 0, nullptr, 0, edNone, 0, 0,
            false, false);
        const auto& Fills = Scene.Canvas.Fills;
        ASSERT_GE(Fills.size(), 2u);
        const TColor Darker = DarkenColorBy(clRed, 32);
        for (std::size_t i = 0; i + 1 < Fills.size(); ++i) {
            EXPECT_EQ(Fills[i].BrushColor, Darker);
            EXPECT_EQ(Fills[i].PenColor, SamePen ? Darker : clBlack);
        }
        EXPECT_EQ(Fills.back().BrushColor, clRed);
        EXPECT_EQ(Fills.back().PenColor, SamePen ? clRed : clBlack);
        EXPECT_EQ(Scene.Canvas.Brush()->Color(), clRed);
    }
}

TEST(ChtCanvas3DPies, APieShowsItsTopColourAndADarkerSideBelowTheNearRim)
{
    TSliceScene Scene;
    Scene.Canvas.Pie3D(60, 50, 40, 40, 0, 10, 180 * Degree, 360 * Degree, true, true, 0, nullptr, 0, edNone, 0, 0,
        false, false);
    EXPECT_EQ(Scene.PixelColor(60, 60), clRed) << "the top face";
    EXPECT_EQ(Scene.PixelColor(60, 94), DarkenColorBy(clRed, 32)) << "the side just below the near rim";
    EXPECT_EQ(Scene.PixelColor(60, 30), clWhite) << "nothing on the far half";
}

TEST(ChtCanvas3DPies, TheEdgeHookIsCalledOnlyForAnEdgeOrAVisibleGradient)
{
    TChtGradient Hidden;
    TChtGradient Shown;
    Shown.SetVisible(true);
    struct TCase {
        TEdgeStyle Style;
        const TChtGradient* Gradient;
        int Calls;
    };
    for (const TCase Case : {TCase{edNone, nullptr, 0}, TCase{edNone, &Hidden, 0}, TCase{edNone, &Shown, 1},
             TCase{edFlat, nullptr, 1}, TCase{edCurved, &Hidden, 1}}) {
        TSliceScene Scene;
        Scene.Canvas.Pie3D(60, 50, 40, 40, 0, 10, 0, 1, false, false, 0, Case.Gradient, 0, Case.Style, 0, 0, false,
            false);
        EXPECT_EQ(Scene.Canvas.PieEdges, Case.Calls) << "style " << Case.Style;
    }
}

TEST(ChtCanvas3DPies, AnOpaqueSliceLeavesAnOuterBlendAlone)
{
    TSliceScene Scene;
    auto Outer = Scene.Canvas.BeginBlending(TRect{0, 0, 50, 50}, 30);
    ASSERT_EQ(Scene.Canvas.TransparencyDepth(), 1u);
    Scene.Draw(200, 340, 0);
    EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 1u) << "no blend begun, none ended";
    Scene.Draw(200, 340, 60);
    EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 1u);
    Scene.Canvas.EndBlending(std::move(Outer));
    EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 0u);
}

TEST(ChtCanvas3DPies, AFlatSliceKeepsItsRimUnprojected)
{
    TShapeScene Scene;
    Scene.Begin(true, 100);
    Scene.Canvas.Pie3D(50, 50, 30, 30, 5, 5, 0, std::numbers::pi / 2, false, false, 0, nullptr, 0, edNone, 0, 0,
        false, false);
    ASSERT_EQ(Scene.Canvas.Fills.size(), 1u) << "only the top face";
    const TPointArray& Top = Scene.Canvas.Fills[0].Points;
    EXPECT_EQ(Top.front(), Scene.Canvas.Calculate3DPosition(50, 50, 0)) << "the centre is projected";
    EXPECT_EQ(Top[1], (TPoint{80, 50})) << "the rim at 0 degrees is not";
    EXPECT_EQ(Top[Top.size() - 2], (TPoint{50, 20}));
}

TEST(ChtCanvas3DPies, ArcPathsDrawTheTopAndTheNearSideWhenAsked)
{
    TSliceScene Scene;
    Scene.Canvas.Pie3DUsingArcs = true;
    Scene.Draw(200, 340, 0, 0);
    std::string Names;
    for (const auto& Call : Scene.Recorder.Calls()) {
        if (Call.Name == "BeginPath" || Call.Name == "ArcTo" || Call.Name == "StrokeAndFillPath") {
            Names += Call.Name + " ";
        }
    }
    EXPECT_EQ(Names, "BeginPath ArcTo ArcTo StrokeAndFillPath BeginPath ArcTo StrokeAndFillPath ")
        << "the near outer side, then the top face";
    EXPECT_EQ(Scene.PixelColor(60, 62), clRed);
    EXPECT_EQ(Scene.PixelColor(60, 94), clRed) << "the near side, below the rim";
}

TEST(ChtCanvas3DPies, BadNumbersDrawNothing)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const double Inf = std::numeric_limits<double>::infinity();
    const int Big = std::numeric_limits<int>::max();
    const int Small = std::numeric_limits<int>::min();
    struct TCase {
        int Radius;
        int Depth;
        double Start;
        double End;
    };
    const TCase Cases[] = {{40, 10, NaN, 1}, {40, 10, 0, Inf}, {40, 10, -Inf, 0}, {40, 10, 0, 1e300},
        {40, 10, -1e12, 1e12}, {Big, 10, 0, 1}, {Small, 10, 0, 1}, {40, Big, 0, 1}, {40, Small, 0, 1}};
    for (const TCase& Case : Cases) {
        TShapeScene Scene;
        Scene.Begin(true, 100);
        Scene.Canvas.Pie3D(60, 50, Case.Radius, Case.Radius, 0, Case.Depth, Case.Start, Case.End, true, true, 50,
            nullptr, 10, edFlat, 30, 5, true, false);
        Scene.Canvas.Donut(60, 50, Case.Radius, Case.Radius, Case.Start, Case.End, Case.Depth);
        Scene.Canvas.Pie(TRect{0, 0, Case.Radius, Case.Depth}, Case.Start, Case.End * 1e9);
        EXPECT_EQ(Scene.Count("Polygon") + Scene.Count("Pie") + Scene.Count("Ellipse") + Scene.Count("ArcTo"), 0u)
            << Case.Radius << " " << Case.Depth << " " << Case.Start << " " << Case.End;
        EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 0u);
    }
}

TEST(ChtCanvas3DPies, ExtremeSolidsNeverOverflow)
{
    const int Big = std::numeric_limits<int>::max();
    const int Small = std::numeric_limits<int>::min();
    TShapeScene Scene;
    Scene.Options.SetOrthogonal(false);
    Scene.Begin(true, 100);
    Scene.Canvas.Cylinder(false, Small, Small, Big, Big, Small, Big, true);
    Scene.Canvas.Cone(true, 0, 0, 40, 40, 0, 10, false, Big);
    Scene.Canvas.Pyramid(true, Small, Small, Big, Big, Small, Big, true);
    Scene.Canvas.Pyramid(false, Big, Small, Small, Big, Big, Small, true);
    Scene.Canvas.Cube(Small, Big, Small, Big, Small, Big, true, 0);
    Scene.Canvas.Arrow(false, TPoint{Small, Small}, TPoint{Big, Big}, Big, Big, Big, Big, 1e300);
    Scene.Canvas.EllipseWithZ(Small, Small, Big, Big, Big);
    Scene.Canvas.Sphere(Big, Small, Big, 2);
    EXPECT_GE(Scene.Count("Polygon"), 1u) << "the pyramids and the cube still draw their saturated corners";

    // Faces whose corners lie near both ends of the int range: the turn
    // tests multiply differences of more than 32 bits.
    for (const bool Orthogonal : {false, true}) {
        for (const bool Is3D : {false, true}) {
            TShapeScene Wide;
            Wide.Options.SetOrthogonal(Orthogonal);
            Wide.Begin(Is3D, 100);
            Wide.Canvas.Cube(Small + 5, Big - 5, Big - 5, Small + 5, 0, 10, false, 0);
            Wide.Canvas.Cube(Big - 5, Small + 5, Small + 5, Big - 5, 10, 0, true, 0);
            Wide.Canvas.Cube(Small, Big, Small, Big, Big, Small, false, 0);
        }
    }

    // Beyond the drawable extent cylinders and spheres draw nothing.
    Scene.Recorder.Clear();
    Scene.Canvas.Cylinder(true, 0, 0, Big, 50, 0, 10, true);
    Scene.Canvas.Cone(false, 0, Small, 40, 50, 0, 10, true, 50);
    for (const double Radius : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
        Scene.Canvas.Sphere(50, 50, 0, Radius);
    }
    EXPECT_EQ(Scene.Count("Polygon") + Scene.Count("Ellipse"), 0u);
}

} // namespace
} // namespace qel
