// Tests of paths recorded on a chart canvas (arcs, curves, the order in
// which Draw paints picture, gradient, outline and fill) and of the outline
// path of a rectangle with round, bevelled and square corners.
#include "test_chart_canvas.h"

#include "widgets/chart/chart_corners.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_path.h"
#include "widgets/chart/chart_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace qel {
namespace {

using test::TTestChartCanvas;
using TArgs = std::vector<std::int64_t>;

// The names of the recorded calls, in order, leaving out state changes.
std::vector<std::string> DrawingCalls(const plat::TRecordingDC& Recorder)
{
    std::vector<std::string> Names;
    for (const plat::TRecordedCall& Call : Recorder.Calls()) {
        if (Call.Name.rfind("Select", 0) != 0 && Call.Name.rfind("Set", 0) != 0) {
            Names.push_back(Call.Name);
        }
    }
    return Names;
}

using test::RecordedPoints;

TEST(ChtPath, ArcToRoundsTheBoxAndContinuesTheFigureAlongTheArc)
{
    struct TCase {
        float Start;
        float Sweep;
        TPoint First;
        TPoint Last;
        TPoint Middle;
        std::size_t Count;
    };
    // Box (10.4, 20.6, 30, 40) rounds to (10, 21, 40, 61): centre (25, 41),
    // half sizes 15 and 20.
    const TCase Cases[] = {
        {0, 90, {40, 41}, {25, 21}, {35, 27}, 46},
        {90, -90, {25, 21}, {40, 41}, {36, 27}, 46},
        {0, -270, {40, 41}, {25, 21}, {14, 55}, 136},
        {0, 720, {40, 41}, {40, 41}, {10, 41}, 181},
        {30, 1, {38, 31}, {38, 31}, {38, 31}, 2},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(80, 80);
        auto Path = Canvas.CreatePath();
        Path->MoveTo(0, 0);
        Path->ArcTo(10.4f, 20.6f, 30, 40, Case.Start, Case.Sweep);
        const auto Lines = Canvas.Recorder.CallsNamed("PolylineTo");
        ASSERT_EQ(Lines.size(), 1u) << Case.Start << " over " << Case.Sweep;
        const TPointArray Points = RecordedPoints(*Lines[0]);
        ASSERT_EQ(Points.size(), Case.Count) << Case.Start << " over " << Case.Sweep;
        EXPECT_EQ(Points.front(), Case.First) << Case.Start << " over " << Case.Sweep;
        EXPECT_EQ(Points.back(), Case.Last) << Case.Start << " over " << Case.Sweep;
        EXPECT_EQ(Points[Points.size() / 2], Case.Middle) << Case.Start << " over " << Case.Sweep;
        EXPECT_EQ(Canvas.Recorder.CurrentPosition(), Case.Last);
        Path->Draw(Canvas);
    }
}

TEST(ChtPath, AClosedCurveIsATriangleEndingAtItsLastPoint)
{
    TTestChartCanvas Canvas(20, 20);
    auto Path = Canvas.CreatePath();
    const TPointArray Points{{1, 1}, {10, 2}, {5, 9}};
    Path->Curve(Points, 0.5f, true);
    const auto Polygons = Canvas.Recorder.CallsNamed("Polygon");
    ASSERT_EQ(Polygons.size(), 1u);
    EXPECT_EQ(Canvas.Recorder.CurrentPosition(), (TPoint{5, 9}));
    Path->Curve(Points, 0.5f, false);
    EXPECT_EQ(Canvas.Recorder.CallsNamed("PolylineTo").size(), 1u) << "an open curve goes on from the position";
    TPathPointTypes Types{1};
    TPointFloatArray Floats{{1, 2}};
    TRectF Bounds{1, 2, 3, 4};
    Path->GetPoints(Types, Floats, Bounds);
    EXPECT_TRUE(Types.empty());
    EXPECT_TRUE(Floats.empty());
    Path->Draw(Canvas);
}

TEST(ChtPath, DrawStrokesAndFillsAsThePenAndBrushSay)
{
    struct TCase {
        const char* Name;
        bool PenVisible;
        plat::TBrushStyle Brush;
        std::vector<std::string> Ending;
    };
    const TCase Cases[] = {
        {"pen and brush", true, plat::bsSolid, {"EndPath", "StrokeAndFillPath"}},
        {"pen only", true, plat::bsClear, {"EndPath", "StrokePath"}},
        {"brush only", false, plat::bsSolid, {"EndPath", "FillPath"}},
        {"neither", false, plat::bsClear, {"EndPath"}},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(20, 20);
        Canvas.Pen()->SetVisible(Case.PenVisible);
        Canvas.Brush()->SetStyle(Case.Brush);
        auto Path = Canvas.CreatePath();
        Path->MoveTo(2, 2);
        Path->LineTo(15, 3);
        Path->LineTo(8, 15);
        Path->Close();
        Canvas.Recorder.Clear();
        Path->Draw(Canvas);
        EXPECT_EQ(DrawingCalls(Canvas.Recorder), Case.Ending) << Case.Name;
    }
}

TEST(ChtPath, APictureThenAGradientArePaintedInsideThePathThenTheOutline)
{
    TTestChartCanvas Canvas(30, 30);
    plat::TBitmap Picture(2, 2);
    Canvas.Brush()->Image()->SetGraphic(&Picture);
    Canvas.Gradient()->SetVisible(true);
    Canvas.Gradient()->SetStartColor(clRed);
    auto Path = Canvas.CreatePath();
    Path->MoveTo(5, 5);
    Path->LineTo(25, 5);
    Path->LineTo(25, 25);
    Path->Close();
    Canvas.Recorder.Clear();
    Path->Draw(Canvas);
    const std::vector<std::string> Calls = DrawingCalls(Canvas.Recorder);
    const auto Position = [&](const std::string& Name, std::size_t From = 0) {
        for (std::size_t I = From; I < Calls.size(); ++I) {
            if (Calls[I] == Name) {
                return I;
            }
        }
        return Calls.size();
    };
    const std::size_t Picture1 = Position("StretchBlt");
    const std::size_t Gradient = Position("FillRect", Picture1);
    const std::size_t Stroke = Position("StrokePath");
    ASSERT_LT(Picture1, Calls.size()) << "the picture is drawn";
    ASSERT_LT(Gradient, Calls.size()) << "the gradient fills after the picture";
    ASSERT_LT(Stroke, Calls.size());
    EXPECT_LT(Gradient, Stroke);
    EXPECT_EQ(Position("StrokeAndFillPath"), Calls.size()) << "no plain fill over them";
    EXPECT_EQ(Canvas.Recorder.CallsNamed("SelectClipPath").size(), 2u) << "each painted inside the path";
    EXPECT_EQ(Canvas.Gradient()->StartColor(), clRed) << "the canvas gradient keeps its settings";
}

// --- Corners -------------------------------------------------------------------

TEST(ChtCorners, StylesNotifyTheOwnerAndAssignFromAnotherClassRaises)
{
    int Changes = 0;
    TChtCorners Corners(plat::TNotifyEvent([&](plat::TObject*) { ++Changes; }));
    Corners.LeftTop()->SetStyle(cosBevel);
    Corners.LeftTop()->SetStyle(cosBevel);
    EXPECT_EQ(Changes, 1);
    TChtCorners Copy;
    Copy.Assign(&Corners);
    EXPECT_EQ(Copy.LeftTop()->Style(), cosBevel);
    EXPECT_EQ(Copy.RightTop()->Style(), cosRound);
    TChtBrush NotCorners;
    EXPECT_ANY_THROW(Copy.Assign(&NotCorners));
    EXPECT_ANY_THROW(Copy.LeftTop()->Assign(&NotCorners));
}

void SetAll(TChtCorners& Corners, TChtCornerStyle Style)
{
    for (TChtCorner* Corner : {Corners.LeftTop(), Corners.RightTop(), Corners.RightBottom(), Corners.LeftBottom()}) {
        Corner->SetStyle(Style);
    }
}

// The moves and lines of a corners path of R, as "MoveTo x y" texts.
std::vector<std::string> Outline(const TChtCorners& Corners, const TRect& R, int X, int Y)
{
    TTestChartCanvas Canvas(60, 60);
    auto Path = Corners.CreateCornersPath(Canvas, R, X, Y);
    std::vector<std::string> Steps;
    for (const plat::TRecordedCall& Call : Canvas.Recorder.Calls()) {
        std::string Step = Call.Name;
        for (const std::int64_t Arg : Call.Args) {
            Step += " " + std::to_string(Arg);
        }
        if (Call.Name != "BeginPath" && Call.Name.rfind("Se", 0) != 0) {
            Steps.push_back(Step);
        }
    }
    Path->Draw(Canvas);
    return Steps;
}

TEST(ChtCorners, SquareAndBevelledOutlines)
{
    TChtCorners Corners;
    SetAll(Corners, cosNone);
    EXPECT_EQ(Outline(Corners, {10, 10, 50, 40}, 16, 16),
        (std::vector<std::string>{"MoveTo 50 10", "LineTo 50 40", "LineTo 10 40", "LineTo 10 10", "CloseFigure"}));
    SetAll(Corners, cosBevel);
    EXPECT_EQ(Outline(Corners, {10, 10, 50, 40}, 8, 4),
        (std::vector<std::string>{"MoveTo 46 10", "LineTo 50 12", "LineTo 50 38", "LineTo 46 40", "LineTo 14 40",
            "LineTo 10 38", "LineTo 10 12", "LineTo 14 10", "CloseFigure"}));
}

// The corners path of R with X and Y drawn on a recording canvas; the
// point lists of its arcs, in order.
std::vector<TPointArray> CornerArcs(const TChtCorners& Corners, const TRect& R, int X, int Y)
{
    TTestChartCanvas Canvas(60, 60);
    auto Path = Corners.CreateCornersPath(Canvas, R, X, Y);
    std::vector<TPointArray> Arcs;
    for (const plat::TRecordedCall* Call : Canvas.Recorder.CallsNamed("PolylineTo")) {
        Arcs.push_back(RecordedPoints(*Call));
    }
    Path->Draw(Canvas);
    return Arcs;
}

TEST(ChtCorners, RoundCornersAreOutwardQuartersOfTheCornerEllipse)
{
    TChtCorners Corners;
    Corners.LeftBottom()->SetStyle(cosNone);
    Corners.LeftTop()->SetStyle(cosNone);
    Corners.RightBottom()->SetStyle(cosNone);
    const std::vector<std::string> Steps = Outline(Corners, {10, 10, 50, 40}, 16, 12);
    ASSERT_EQ(Steps.size(), 6u);
    EXPECT_EQ(Steps[0], "MoveTo 42 10");
    EXPECT_EQ(Steps[1].rfind("PolylineTo", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(Steps.begin() + 2, Steps.end()),
        (std::vector<std::string>{"LineTo 50 40", "LineTo 10 40", "LineTo 10 10", "CloseFigure"}));

    SetAll(Corners, cosRound);
    const std::vector<TPointArray> Arcs = CornerArcs(Corners, {10, 10, 50, 40}, 16, 12);
    ASSERT_EQ(Arcs.size(), 4u);
    // Right top, right bottom, left bottom, left top: each from the middle
    // of one side of its 16 x 12 corner box to the middle of the next,
    // bulging towards the rectangle's corner.
    const TPoint Ends[4][2] = {{{42, 10}, {50, 16}}, {{50, 34}, {42, 40}}, {{18, 40}, {10, 34}}, {{10, 16}, {18, 10}}};
    const TPoint Corner[4] = {{50, 10}, {50, 40}, {10, 40}, {10, 10}};
    for (std::size_t I = 0; I < 4; ++I) {
        EXPECT_EQ(Arcs[I].front(), Ends[I][0]) << "corner " << I;
        EXPECT_EQ(Arcs[I].back(), Ends[I][1]) << "corner " << I;
        const TPoint Middle = Arcs[I][Arcs[I].size() / 2];
        const TPoint Chord{(Ends[I][0].X + Ends[I][1].X) / 2, (Ends[I][0].Y + Ends[I][1].Y) / 2};
        EXPECT_LT(std::abs(Middle.X - Corner[I].X) + std::abs(Middle.Y - Corner[I].Y),
            std::abs(Chord.X - Corner[I].X) + std::abs(Chord.Y - Corner[I].Y))
            << "corner " << I << " bulges outwards";
    }
}

TEST(ChtCorners, CornerSizesAreEvenAndWithinTheRectangle)
{
    struct TCase {
        int X;
        TRect R;
        int Inset;   // of the top right arc's start from the right edge: CX / 2
    };
    const TCase Cases[] = {{7, {0, 0, 40, 40}, 3}, {1, {0, 0, 40, 40}, 1}, {0, {0, 0, 40, 40}, 1}, {20, {0, 0, 4, 40}, 2}};
    for (const TCase& Case : Cases) {
        const std::vector<TPointArray> Arcs = CornerArcs(TChtCorners(), Case.R, Case.X, 8);
        ASSERT_EQ(Arcs.size(), 4u) << "X " << Case.X;
        EXPECT_EQ(Case.R.Right - Arcs[0].front().X, Case.Inset) << "X " << Case.X;
    }
}

TEST(ChtCorners, AFilledRoundedRectangleLeavesItsCornersOut)
{
    TTestChartCanvas Canvas(40, 30);
    Canvas.Pen()->Hide();
    Canvas.Brush()->SetColor(clBlue);
    TChtCorners Corners;
    Canvas.RoundRect(TRect{0, 0, 40, 30}, 16, 16, &Corners);
    for (const TPoint Corner : {TPoint{0, 0}, TPoint{39, 0}, TPoint{0, 29}, TPoint{39, 29}}) {
        EXPECT_EQ(Canvas.PixelColor(Corner.X, Corner.Y), clWhite) << Corner.X << ", " << Corner.Y;
    }
    for (const TPoint Middle : {TPoint{20, 0}, TPoint{0, 15}, TPoint{39, 15}, TPoint{20, 29}, TPoint{20, 15}}) {
        EXPECT_EQ(Canvas.PixelColor(Middle.X, Middle.Y), clBlue) << Middle.X << ", " << Middle.Y;
    }
    Canvas.Recorder.Clear();
    Canvas.RoundRect(TRect{0, 0, 40, 30}, 16, 16);
    EXPECT_EQ(Canvas.Recorder.CallsNamed("RoundRect").size(), 1u) << "without corners the plain rounded rectangle";
}

} // namespace
} // namespace qel
