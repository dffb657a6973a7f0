// Tests of paths recorded on a chart canvas (arcs, curves, the order in
// which Draw paints picture, gradient, outline and fill) and of the outline
// path of a rectangle with round, bevelled and square corners.
#include "test_chart_canvas.h"

#include "widgets/chart/chart_corners.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_path.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/cht_canvas3d.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <span>
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

// Formats numbers the way the step lists below are written.
std::string Step(const std::string& Name, std::initializer_list<float> Values)
{
    std::string Text = Name;
    for (const float Value : Values) {
        char Number[32];
        std::snprintf(Number, sizeof Number, " %g", static_cast<double>(Value));
        Text += Number;
    }
    return Text;
}

// A path that only notes its commands.
class TNotingPath : public TChtBasePath {
public:
    explicit TNotingPath(std::vector<std::string>& ASteps) : Steps(ASteps) {}
    void ArcTo(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle) override
    {
        Steps.push_back(Step("ArcTo", {X, Y, Width, Height, StartAngle, SweepAngle}));
    }
    void Close() override { Steps.push_back("Close"); }
    void Curve(std::span<const TPoint>, float, bool) override { Steps.push_back("Curve"); }
    void Draw(TChtCanvas&) override { Steps.push_back("Draw"); }
    void GetPoints(TPathPointTypes&, TPointFloatArray&, TRectF&) override {}
    void LineTo(float X, float Y) override { Steps.push_back(Step("LineTo", {X, Y})); }
    void MoveTo(float X, float Y) override { Steps.push_back(Step("MoveTo", {X, Y})); }
    void TextOut(float, float, const std::string&) override { Steps.push_back("TextOut"); }
    using TChtBasePath::LineTo;
    using TChtBasePath::MoveTo;

private:
    std::vector<std::string>& Steps;
};

// A test canvas that notes the arcs by angle it is asked for and hands out
// paths that note their commands.
class TNotingCanvas : public TTestChartCanvas {
public:
    TNotingCanvas() : TTestChartCanvas(60, 60) {}
    void Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle) override
    {
        Steps.push_back(Step("Arc", {static_cast<float>(Left), static_cast<float>(Top), static_cast<float>(Right),
                                        static_cast<float>(Bottom), StartAngle, EndAngle}));
        TTestChartCanvas::Arc(Left, Top, Right, Bottom, StartAngle, EndAngle);
    }
    using TTestChartCanvas::Arc;
    std::unique_ptr<TChtBasePath> CreatePath(const TPointFloatArray&, const TPathPointTypes&) override
    {
        return std::make_unique<TNotingPath>(Steps);
    }
    using TTestChartCanvas::CreatePath;

    std::vector<std::string> Steps;
};

TEST(ChtPath, ArcToIsTheCanvasArcByAnglesOnTheRoundedBox)
{
    struct TCase {
        float Start;
        float Sweep;
        const char* Arc;
        TPoint From;   // the device arc's radial points: the smaller angle's first
        TPoint To;
    };
    // The box rounds to (10, 21, 40, 61): centre (25, 41), half sizes 15, 20.
    const TCase Cases[] = {
        {0, 90, "Arc 10 21 40 61 0 90", {40, 41}, {25, 21}},
        {90, -90, "Arc 10 21 40 61 90 0", {40, 41}, {25, 21}},
        {270, 90, "Arc 10 21 40 61 270 360", {25, 61}, {40, 41}},
    };
    for (const TCase& Case : Cases) {
        TNotingCanvas Canvas;
        TChtPath Path(Canvas);
        Path.ArcTo(10.4f, 20.6f, 30, 40, Case.Start, Case.Sweep);
        EXPECT_EQ(Canvas.Steps, (std::vector<std::string>{Case.Arc})) << Case.Start << " over " << Case.Sweep;
        const auto Arcs = Canvas.Recorder.CallsNamed("Arc");
        ASSERT_EQ(Arcs.size(), 1u);
        EXPECT_EQ(Arcs[0]->Args,
            (std::vector<std::int64_t>{10, 21, 40, 61, Case.From.X, Case.From.Y, Case.To.X, Case.To.Y}))
            << Case.Start << " over " << Case.Sweep;
        Path.Draw(Canvas);
    }
}

TEST(ChtPath, APathNeedsADeviceToRecordOn)
{
    TChtCanvas3D Canvas;   // attached to no window yet
    try {
        TChtPath Path(Canvas);
        ADD_FAILURE() << "a path without a device";
    } catch (const std::runtime_error& Error) {
        EXPECT_EQ(std::string(Error.what()).rfind("Cannot create GDI path. Error: ", 0), 0u) << Error.what();
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

// The commands of the corners path of R with X and Y.
std::vector<std::string> CornerSteps(const TChtCorners& Corners, const TRect& R, int X, int Y)
{
    TNotingCanvas Canvas;
    Corners.CreateCornersPath(Canvas, R, X, Y);
    return Canvas.Steps;
}

TEST(ChtCorners, EachCornerStyleGivesItsCommands)
{
    struct TCase {
        const char* Name;
        TChtCornerStyle RightTop, RightBottom, LeftBottom, LeftTop;
        int X, Y;
        std::vector<std::string> Steps;
    };
    // All on the rectangle (10, 10, 50, 40).
    const TCase Cases[] = {
        {"square", cosNone, cosNone, cosNone, cosNone, 16, 16,
            {"MoveTo 50 10", "LineTo 50 40", "LineTo 10 40", "LineTo 10 10", "Close"}},
        {"bevelled", cosBevel, cosBevel, cosBevel, cosBevel, 8, 4,
            {"MoveTo 46 10", "LineTo 50 12", "LineTo 50 38", "LineTo 46 40", "LineTo 14 40", "LineTo 10 38",
                "LineTo 10 12", "LineTo 14 10", "Close"}},
        {"round", cosRound, cosRound, cosRound, cosRound, 16, 12,
            {"ArcTo 34 10 16 12 270 90", "ArcTo 34 28 16 12 0 90", "ArcTo 10 28 16 12 90 90",
                "ArcTo 10 10 16 12 180 90", "Close"}},
        {"round top right only", cosRound, cosBevel, cosNone, cosNone, 16, 12,
            {"MoveTo 10 10", "LineTo 34 10", "ArcTo 34 10 16 12 270 90", "MoveTo 50 22", "LineTo 50 34",
                "LineTo 42 40", "LineTo 10 40", "Close"}},
        {"round bottoms", cosNone, cosRound, cosRound, cosBevel, 16, 12,
            {"MoveTo 50 10", "LineTo 50 28", "ArcTo 34 28 16 12 0 90", "ArcTo 10 28 16 12 90 90",
                "MoveTo 10 28", "LineTo 10 16", "LineTo 18 10", "Close"}},
    };
    for (const TCase& Case : Cases) {
        TChtCorners Corners;
        Corners.RightTop()->SetStyle(Case.RightTop);
        Corners.RightBottom()->SetStyle(Case.RightBottom);
        Corners.LeftBottom()->SetStyle(Case.LeftBottom);
        Corners.LeftTop()->SetStyle(Case.LeftTop);
        EXPECT_EQ(CornerSteps(Corners, {10, 10, 50, 40}, Case.X, Case.Y), Case.Steps) << Case.Name;
    }
}

TEST(ChtCorners, CornerSizesAreEvenAndWithinTheRectangle)
{
    struct TCase {
        int X;
        TRect R;
        const char* FirstArc;   // of the right top corner: its box is CX wide
    };
    const TCase Cases[] = {
        {7, {0, 0, 40, 40}, "ArcTo 34 0 6 8 270 90"},
        {1, {0, 0, 40, 40}, "ArcTo 39 0 1 8 270 90"},
        {0, {0, 0, 40, 40}, "ArcTo 39 0 1 8 270 90"},
        {20, {0, 0, 4, 40}, "ArcTo 0 0 4 8 270 90"},
    };
    for (const TCase& Case : Cases) {
        const std::vector<std::string> Steps = CornerSteps(TChtCorners(), Case.R, Case.X, 8);
        ASSERT_FALSE(Steps.empty()) << "X " << Case.X;
        EXPECT_EQ(Steps.front(), Case.FirstArc) << "X " << Case.X;
    }
}

TEST(ChtCorners, ARoundRectangleWithCornersDrawsTheirPath)
{
    TTestChartCanvas Canvas(40, 30);
    Canvas.Pen()->SetColor(clRed);
    Canvas.Brush()->SetColor(clBlue);
    TChtCorners Corners;
    SetAll(Corners, cosNone);
    Canvas.Recorder.Clear();
    Canvas.RoundRect(TRect{5, 5, 35, 25}, 16, 16, &Corners);
    EXPECT_EQ(DrawingCalls(Canvas.Recorder),
        (std::vector<std::string>{"BeginPath", "MoveTo", "LineTo", "LineTo", "LineTo", "CloseFigure", "EndPath",
            "StrokeAndFillPath"}));
    EXPECT_EQ(Canvas.PixelColor(20, 15), clBlue) << "filled with the brush";
    EXPECT_EQ(Canvas.PixelColor(20, 5), clRed) << "outlined with the pen";
    EXPECT_EQ(Canvas.PixelColor(2, 2), clWhite);
    Canvas.Recorder.Clear();
    Canvas.RoundRect(TRect{0, 0, 40, 30}, 16, 16);
    EXPECT_EQ(Canvas.Recorder.CallsNamed("RoundRect").size(), 1u) << "without corners the plain rounded rectangle";
}

} // namespace
} // namespace qel
