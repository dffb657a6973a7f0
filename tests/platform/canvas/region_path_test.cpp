// Regions, clipping and paths: combining, polygon fill modes, the clip as it
// reads back, widened paths as clips, text outlines, full-ellipse arcs.
#include "tests/platform/canvas/canvas_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace plat::test {
namespace {

std::int64_t Area(const TRegion& region)
{
    std::int64_t area = 0;
    for (const TRect& r : region.Rects())
        area += r.Width() * r.Height();
    return area;
}

TEST(Regions, CombineOverlappingRectangles)
{
    const TRegion a = CreateRectRgn(0, 0, 10, 10);
    const TRegion b = CreateRectRgn(5, 5, 15, 15);
    struct TCase {
        int Mode;
        int Kind;
        std::int64_t Area;
        TRect Box;
        bool HasCorner; // (12, 12) is in the result
    } cases[] = {
        {RGN_AND, SIMPLEREGION, 25, {5, 5, 10, 10}, false},
        {RGN_OR, COMPLEXREGION, 175, {0, 0, 15, 15}, true},
        {RGN_XOR, COMPLEXREGION, 150, {0, 0, 15, 15}, true},
        {RGN_DIFF, COMPLEXREGION, 75, {0, 0, 10, 10}, false},
        {RGN_COPY, SIMPLEREGION, 100, {0, 0, 10, 10}, false},
    };
    for (const TCase& c : cases) {
        TRegion result;
        EXPECT_EQ(CombineRgn(result, a, b, c.Mode), c.Kind) << c.Mode;
        EXPECT_EQ(Area(result), c.Area) << c.Mode;
        EXPECT_EQ(result.Box(), c.Box) << c.Mode;
        EXPECT_EQ(result.Contains(12, 12), c.HasCorner) << c.Mode;
        EXPECT_EQ(result.Contains(7, 7), c.Mode != RGN_XOR && c.Mode != RGN_DIFF) << c.Mode;
    }
    TRegion unchanged = a;
    EXPECT_EQ(CombineRgn(unchanged, a, b, 99), RGN_ERROR);
    EXPECT_EQ(unchanged, a);
    EXPECT_EQ(CombineRgn(unchanged, CreateRectRgn(0, 0, 1, 1), CreateRectRgn(5, 5, 6, 6), RGN_AND), NULLREGION);
}

TEST(Regions, PolygonFillModesDifferInTheOverlap)
{
    // A pentagram: its centre is covered twice.
    const TPoint star[] = {{50, 0}, {79, 90}, {2, 34}, {98, 34}, {21, 90}};
    const TRegion alternate = CreatePolygonRgn(star, 5, ALTERNATE);
    const TRegion winding = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(alternate.Contains(50, 50));
    EXPECT_TRUE(winding.Contains(50, 50));
    EXPECT_TRUE(alternate.Contains(50, 10));
    EXPECT_TRUE(winding.Contains(50, 10));
    // The rectangle as a polygon holds its pixels up to, not including, 10.
    const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(CreatePolygonRgn(square, 4, ALTERNATE), CreateRectRgn(0, 0, 10, 10));
    EXPECT_EQ(Area(CreateEllipticRgn(0, 0, 20, 20)), Area(CreateEllipticRgn(100, 100, 120, 120)));
    EXPECT_TRUE(CreatePolygonRgn(square, 2, ALTERNATE).IsEmpty());
}

TEST(Regions, ClipReadsBackAndAnswersVisibility)
{
    TCanvasSurface s(50, 40);
    TRegion clip;
    EXPECT_EQ(s.DC.GetClipRgn(clip), 0);
    TRect box;
    EXPECT_EQ(s.DC.GetClipBox(box), SIMPLEREGION);
    EXPECT_EQ(box, (TRect{0, 0, 50, 40}));
    EXPECT_TRUE(s.DC.PtVisible(49, 39));
    EXPECT_FALSE(s.DC.PtVisible(50, 39));

    const TRegion selected = CreateRectRgn(10, 10, 30, 20);
    EXPECT_EQ(s.DC.SelectClipRgn(&selected), SIMPLEREGION);
    s.DC.ExcludeClipRect(15, 10, 20, 20);
    ASSERT_EQ(s.DC.GetClipRgn(clip), 1);
    EXPECT_EQ(Area(clip), 150);
    struct TCase {
        int X, Y;
        bool Visible;
    } cases[] = {{10, 10, true}, {29, 19, true}, {30, 19, false}, {17, 15, false}, {9, 15, false}, {25, 15, true}};
    for (const TCase& c : cases)
        EXPECT_EQ(s.DC.PtVisible(c.X, c.Y), c.Visible) << c.X << "," << c.Y;
    EXPECT_TRUE(s.DC.RectVisible({0, 0, 11, 11}));
    EXPECT_FALSE(s.DC.RectVisible({15, 0, 20, 40}));

    s.DC.SaveDC();
    s.DC.IntersectClipRect(0, 0, 12, 40);
    s.DC.FillRect({0, 0, 50, 40}, CreateSolidBrush(Black));
    EXPECT_EQ(s.CountAll(Black), 20);
    s.DC.RestoreDC(-1);
    ASSERT_EQ(s.DC.GetClipRgn(clip), 1);
    EXPECT_EQ(Area(clip), 150);
    s.DC.SelectClipRgn(nullptr);
    EXPECT_EQ(s.DC.GetClipRgn(clip), 0);
}

TEST(Paths, WidenedLineBecomesTheClip)
{
    TCanvasSurface s(100, 60);
    s.DC.BeginPath();
    s.DC.MoveTo(10, 30);
    s.DC.LineTo(90, 30);
    s.DC.EndPath();
    s.DC.SelectPen(CreatePen(PS_SOLID, 7, 0));
    s.DC.WidenPath();
    EXPECT_NE(s.DC.SelectClipPath(RGN_COPY), RGN_ERROR);
    s.DC.FillRect({0, 0, 100, 60}, CreateSolidBrush(RGB(255, 0, 0)));
    EXPECT_EQ(s.Device(50, 30), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(50, 27), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(50, 33), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(50, 22), White);
    EXPECT_EQ(s.Device(50, 38), White);
    EXPECT_EQ(s.CountInColumn(50, RGB(255, 0, 0)), 7);
}

TEST(Paths, FilledTextOutlineKeepsTheGlyphsHole)
{
    TCanvasSurface s(60, 50);
    TLogFont font;
    font.FaceName = "DejaVu Sans";
    font.Height = -40;
    s.DC.SelectFont(font);
    s.DC.BeginPath();
    s.DC.TextOut(5, 0, "O");
    s.DC.EndPath();
    s.DC.SelectBrush(CreateSolidBrush(Black));
    s.DC.FillPath();
    const TRect ink = s.InkBox();
    ASSERT_FALSE(ink.IsEmpty());
    const int cx = static_cast<int>((ink.Left + ink.Right) / 2);
    const int cy = static_cast<int>((ink.Top + ink.Bottom) / 2);
    EXPECT_EQ(s.Device(cx, cy), White);
    EXPECT_EQ(s.Device(cx, ink.Top + 1), Black);
    EXPECT_EQ(s.Device(ink.Left + 1, cy), Black);
}

// The outline of text written into a path stands where the text itself is
// written: placed at its reference point, turned by the escapement.
TEST(Paths, TextOutlineStandsWhereTheTextIsWritten)
{
    struct TCase {
        int X, Y, Escapement;
    } cases[] = {{0, 0, 0}, {100, 60, 0}, {60, 100, 900}};
    for (const TCase& each : cases) {
        TLogFont font;
        font.FaceName = "DejaVu Sans";
        font.Height = -30;
        font.Escapement = each.Escapement;
        TCanvasSurface written(200, 160);
        written.DC.SelectFont(font);
        written.DC.SetBkMode(TRANSPARENT);
        written.DC.TextOut(each.X, each.Y, "H");
        TCanvasSurface outlined(200, 160);
        outlined.DC.SelectFont(font);
        outlined.DC.BeginPath();
        outlined.DC.TextOut(each.X, each.Y, "H");
        outlined.DC.EndPath();
        outlined.DC.SelectBrush(CreateSolidBrush(Black));
        outlined.DC.FillPath();
        const TRect text = written.InkBox();
        const TRect outline = outlined.InkBox();
        ASSERT_FALSE(outline.IsEmpty()) << each.X << "," << each.Y;
        EXPECT_LE(std::abs(outline.Left - text.Left), 1) << each.X << "," << each.Y << " turned " << each.Escapement;
        EXPECT_LE(std::abs(outline.Top - text.Top), 1) << each.X << "," << each.Y << " turned " << each.Escapement;
        EXPECT_LE(std::abs(outline.Right - text.Right), 1) << each.X << "," << each.Y << " turned " << each.Escapement;
        EXPECT_LE(std::abs(outline.Bottom - text.Bottom), 1) << each.X << "," << each.Y << " turned " << each.Escapement;
    }
}

// An arc-to continues the figure the lines before it started: the lines and
// the half disc fill as one shape.
TEST(Paths, ArcToContinuesTheOpenFigure)
{
    TCanvasSurface s(100, 80);
    s.DC.SetArcDirection(AD_COUNTERCLOCKWISE);
    s.DC.BeginPath();
    s.DC.MoveTo(80, 70);
    s.DC.LineTo(80, 10);
    s.DC.LineTo(50, 10);
    s.DC.ArcTo(20, 10, 81, 71, 50, 10, 50, 70);
    s.DC.CloseFigure();
    s.DC.EndPath();
    s.DC.SelectPen(CreatePen(PS_NULL, 0, 0));
    s.DC.SelectBrush(CreateSolidBrush(Black));
    s.DC.FillPath();
    EXPECT_EQ(s.Device(60, 60), Black) << "the corner below the first lines";
    EXPECT_EQ(s.Device(30, 40), Black) << "inside the half disc";
    EXPECT_EQ(s.Device(22, 15), White) << "outside the half disc";
    EXPECT_EQ(s.Device(90, 40), White);
}

TEST(Paths, PathShapesFillLikeTheirOutlines)
{
    TCanvasSurface viaPath(40, 40);
    viaPath.DC.BeginPath();
    const TPoint triangle[] = {{5, 5}, {35, 5}, {5, 35}};
    viaPath.DC.Polygon(triangle, 3);
    viaPath.DC.EndPath();
    const TRegion region = viaPath.DC.PathToRegion();
    EXPECT_EQ(region, CreatePolygonRgn(triangle, 3, ALTERNATE));
    // A used path is gone.
    EXPECT_TRUE(viaPath.DC.PathToRegion().IsEmpty());
}

TEST(Arcs, EqualRadialPointsDrawTheWholeEllipse)
{
    TCanvasSurface ellipse(50, 40);
    ellipse.DC.SelectBrush(CreateSolidBrush(RGB(0, 0, 255)));
    ellipse.DC.Ellipse(2, 3, 45, 37);
    TCanvasSurface pie(50, 40);
    pie.DC.SelectBrush(CreateSolidBrush(RGB(0, 0, 255)));
    pie.DC.Pie(2, 3, 45, 37, 45, 20, 45, 20);
    EXPECT_EQ(pie.Bytes(), ellipse.Bytes());

    TCanvasSurface outline(50, 40);
    outline.DC.SelectBrush(NullBrush());
    outline.DC.Ellipse(2, 3, 45, 37);
    TCanvasSurface arc(50, 40);
    arc.DC.Arc(2, 3, 45, 37, 10, 10, 10, 10);
    EXPECT_EQ(arc.Bytes(), outline.Bytes());
    EXPECT_GT(arc.CountAll(Black), 80);
    // The ellipse keeps inside its box: right and bottom edges exclusive.
    EXPECT_EQ(ellipse.InkBox(), (TRect{2, 3, 45, 37}));
}

TEST(Arcs, PieCoversTheQuarterBetweenItsRadials)
{
    TCanvasSurface s(40, 40);
    s.DC.SelectBrush(CreateSolidBrush(Black));
    // Counter-clockwise from the right (3 o'clock) to the top (12 o'clock).
    s.DC.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(s.Device(30, 10), Black);
    EXPECT_EQ(s.Device(10, 10), White);
    EXPECT_EQ(s.Device(30, 30), White);
    s.DC.SetArcDirection(AD_CLOCKWISE);
    TCanvasSurface clockwise(40, 40);
    clockwise.DC.SetArcDirection(AD_CLOCKWISE);
    clockwise.DC.SelectBrush(CreateSolidBrush(Black));
    clockwise.DC.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(clockwise.Device(30, 10), White);
    EXPECT_EQ(clockwise.Device(10, 30), Black);
}

} // namespace
} // namespace plat::test
