// Bad input to the device contexts: coordinates at the ends of the 32-bit
// range, empty and inverted rectangles, null and short point lists, broken
// UTF-8, odd sizes. Nothing may crash, hang or write off the surface.
#include "platform/canvas/recording_dc.h"
#include "tests/platform/canvas/canvas_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace plat::test {
namespace {

constexpr int Min = INT_MIN;
constexpr int Max = INT_MAX;

void PaintEverythingAt(TDeviceContext& dc, int a, int b)
{
    const TPoint points[] = {{a, b}, {b, a}, {a, a}, {b, b}, {0, 0}};
    dc.MoveTo(a, b);
    dc.LineTo(b, a);
    dc.Polyline(points, 5);
    dc.Polygon(points, 5);
    dc.PolylineTo(points, 5);
    dc.Rectangle(a, a, b, b);
    dc.RoundRect(a, a, b, b, b, a);
    dc.Ellipse(a, b, b, a);
    dc.Arc(a, a, b, b, a, b, b, a);
    dc.Pie(a, a, b, b, a, b, b, a);
    dc.Chord(a, a, b, b, a, b, b, a);
    dc.ArcTo(a, a, b, b, 0, 0, 0, 0);
    dc.FillRect({a, a, b, b}, CreateHatchBrush(HS_DIAGCROSS, 0));
    dc.FrameRect({a, b, b, a}, CreateSolidBrush(0));
    dc.InvertRect({a, a, b, b});
    dc.DrawFocusRect({a, a, b, b});
    TRect edge{a, a, b, b};
    dc.DrawEdge(edge, EDGE_BUMP, BF_RECT | BF_MIDDLE | BF_ADJUST);
    dc.DrawFrameControl({a, a, b, b}, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    dc.SetPixel(a, b, 0);
    dc.GetPixel(a, b);
    dc.TextOut(a, b, "far");
    dc.ExtTextOut(b, a, ETO_OPAQUE | ETO_CLIPPED, &edge, "far away", nullptr);
    TRect text{a, a, b, b};
    dc.DrawText("far &away\twith words", text, DT_WORDBREAK | DT_EXPANDTABS | DT_END_ELLIPSIS);
    dc.PatBlt(a, a, b, b, PATINVERT);
    dc.BitBlt(a, b, b, a, &dc, a, b, SRCCOPY);
    dc.StretchBlt(a, a, b, b, &dc, b, b, a, a, SRCINVERT);
    dc.AlphaBlend(a, a, b, b, &dc, a, a, b, b, {AC_SRC_OVER, 0, 128, AC_SRC_ALPHA});
    dc.IntersectClipRect(a, a, b, b);
    dc.ExcludeClipRect(a, b, b, a);
    dc.PtVisible(a, b);
    dc.RectVisible({a, a, b, b});
    dc.BeginPath();
    dc.Rectangle(a, a, b, b);
    dc.TextOut(a, b, "O");
    dc.EndPath();
    dc.WidenPath();
    dc.SelectClipPath(RGN_AND);
    dc.SelectClipRgn(nullptr);
}

TEST(BadInput, ExtremeCoordinatesDrawNothingOffTheSurface)
{
    const int pairs[][2] = {{Min, Max}, {Max, Min}, {Max, Max}, {Min, Min}, {-5, Max}, {2147483647, 10},
        {Min + 1, Max - 1}, {10, 10}, {-1, 0}};
    for (const auto& pair : pairs) {
        TCanvasSurface s(40, 30);
        s.DC.SelectPen(CreatePen(PS_DASHDOT, 1, RGB(0, 0, 255)));
        PaintEverythingAt(s.DC, pair[0], pair[1]);
        s.DC.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 5, CreateSolidBrush(0), 0, nullptr));
        PaintEverythingAt(s.DC, pair[0], pair[1]);
        TRecordingDC recorder(&s.DC);
        PaintEverythingAt(recorder, pair[0], pair[1]);
        EXPECT_FALSE(recorder.Calls().empty());
    }
    // The caret's parking place: a line ending at x = 2147483647.
    TCanvasSurface s(40, 30);
    s.DC.MoveTo(0, 5);
    s.DC.LineTo(2147483647, 5);
    EXPECT_EQ(s.CountInRow(5, Black), 40);
}

TEST(BadInput, EmptyAndInvertedRectanglesAndShortPointLists)
{
    TCanvasSurface s(20, 20);
    const std::vector<std::uint8_t> before = s.Bytes();
    s.DC.FillRect({5, 5, 5, 10}, CreateSolidBrush(0));
    s.DC.FillRect({10, 10, 5, 5}, CreateSolidBrush(0));
    s.DC.InvertRect({10, 5, 5, 10});
    s.DC.Polygon(nullptr, 5);
    s.DC.Polygon(nullptr, -3);
    s.DC.Polyline(nullptr, 2);
    const TPoint one[] = {{3, 3}};
    s.DC.Polyline(one, 1);
    s.DC.PolylineTo(one, 0);
    s.DC.BitBlt(0, 0, 10, 10, nullptr, 0, 0, SRCCOPY);
    s.DC.StretchBlt(0, 0, 0, 10, &s.DC, 0, 0, 10, 10, SRCCOPY);
    s.DC.MaskBlt(0, 0, 10, 10, nullptr, 0, 0, nullptr, 0, 0, MAKEROP4(SRCCOPY, SRCCOPY));
    s.DC.AlphaBlend(0, 0, -4, 10, &s.DC, 0, 0, 10, 10, {});
    EXPECT_EQ(s.Bytes(), before);
    // An inverted rectangle is filled as its normal form only by Rectangle.
    s.DC.Rectangle(10, 10, 5, 5);
    EXPECT_EQ(s.InkBox(), (TRect{5, 5, 10, 10}));
    EXPECT_FALSE(s.DC.RestoreDC(1));
    EXPECT_FALSE(s.DC.RestoreDC(-1));
    EXPECT_EQ(s.DC.SetROP2(0), 0);
    EXPECT_EQ(s.DC.GetROP2(), R2_COPYPEN);
}

TEST(BadInput, BrokenUtf8AndLoneSurrogatesAreDrawnAsReplacements)
{
    TCanvasSurface s(200, 30);
    const std::string texts[] = {"\xED\xA0\x80", "a\xED\xB0\x80z", "\xFF\xFE", "\xC0\xAF", std::string("a\0b", 3),
        "\xF4\x90\x80\x80", "\xE2\x82", "\xCC\x81\xCC\x81", ""};
    const TSize replacement = s.DC.GetTextExtent("\xEF\xBF\xBD");
    for (const std::string& text : texts) {
        const TSize size = s.DC.GetTextExtent(text);
        EXPECT_GE(size.cx, 0);
        s.DC.TextOut(5, 5, text);
        const int advances[] = {5, 5, 5, 5, 5, 5, 5, 5};
        s.DC.ExtTextOut(5, 5, 0, nullptr, text, advances);
        TRect r{0, 0, 100, 30};
        s.DC.DrawText(text, r, DT_CALCRECT);
        s.DC.BeginPath();
        s.DC.TextOut(0, 0, text);
        s.DC.AbortPath();
    }
    EXPECT_EQ(s.DC.GetTextExtent("\xED\xA0\x80").cx, 3 * replacement.cx);
}

TEST(BadInput, OddFontsAndSpacingStayUsable)
{
    TCanvasSurface s(50, 50);
    const int heights[] = {Min, -1, 1, Max, 0};
    for (int height : heights) {
        TLogFont font;
        font.Height = height;
        font.Weight = Max;
        font.Escapement = Min;
        font.FaceName = std::string(300, 'x');
        s.DC.SelectFont(font);
        const TTextMetric m = s.DC.GetTextMetrics();
        EXPECT_GT(m.Height, 0) << height;
        s.DC.TextOut(0, 0, "Ag");
    }
    s.DC.SetTextCharacterExtra(Max);
    EXPECT_GT(s.DC.GetTextExtent("abc").cx, 0);
    s.DC.SetTextCharacterExtra(Min);
    s.DC.TextOut(0, 0, "abc");
}

} // namespace
} // namespace plat::test
