// Pixel rules of the surface device context: exclusive edges, lines without
// their end pixel, mix modes, inverting blits and frames, edges, system
// colours and the device scale.
#include "platform/canvas/control_drawing.h"
#include "platform/canvas/raster_ops.h"
#include "tests/platform/canvas/canvas_fixture.h"

#include <gtest/gtest.h>

namespace plat::test {
namespace {

TEST(PixelRules, FillRectPaintsUpToButNotIncludingItsRightAndBottomEdges)
{
    // The meter at 50 %: its used part fills (2, 2, 99, 22) on a 200 x 24 bar.
    TCanvasSurface s(200, 24);
    s.DC.FillRect({2, 2, 99, 22}, CreateSolidBrush(RGB(0, 255, 0)));
    const COLORREF lime = RGB(0, 255, 0);
    struct TCase {
        int X, Y;
        COLORREF Expected;
    } cases[] = {{2, 2, lime}, {98, 21, lime}, {99, 10, White}, {98, 22, White}, {1, 10, White}, {50, 1, White}};
    for (const TCase& c : cases)
        EXPECT_EQ(s.Device(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
    EXPECT_EQ(s.CountInRow(10, lime), 97);
    EXPECT_EQ(s.CountInColumn(50, lime), 20);
}

TEST(PixelRules, LineToLeavesOutItsEndPixelInEveryDirection)
{
    struct TCase {
        int X0, Y0, X1, Y1, Pixels;
    } cases[] = {{0, 0, 5, 0, 5}, {5, 0, 0, 0, 5}, {0, 0, 0, 7, 7}, {0, 0, 6, 6, 6}, {3, 3, 3, 3, 0}, {0, 0, 9, 3, 9}};
    for (const TCase& c : cases) {
        TCanvasSurface s(16, 16);
        s.DC.MoveTo(c.X0, c.Y0);
        s.DC.LineTo(c.X1, c.Y1);
        EXPECT_EQ(s.CountAll(Black), c.Pixels) << c.X0 << "," << c.Y0 << " -> " << c.X1 << "," << c.Y1;
        if (c.Pixels > 0) {
            EXPECT_EQ(s.Device(c.X0, c.Y0), Black);
            EXPECT_EQ(s.Device(c.X1, c.Y1), White);
        }
        EXPECT_EQ(s.DC.CurrentPosition(), (TPoint{c.X1, c.Y1}));
    }
}

TEST(PixelRules, XorPenLineDrawnTwiceRestoresEveryByte)
{
    TCanvasSurface s(40, 40);
    s.DC.FillRect({0, 0, 20, 40}, CreateSolidBrush(RGB(10, 200, 30)));
    const std::vector<std::uint8_t> before = s.Bytes();
    s.DC.SetROP2(R2_XORPEN);
    s.DC.SelectPen(CreatePen(PS_SOLID, 1, RGB(255, 128, 7)));
    for (int pass = 0; pass < 2; ++pass) {
        s.DC.MoveTo(1, 2);
        s.DC.LineTo(37, 29);
        if (pass == 0) {
            EXPECT_NE(s.Bytes(), before);
        }
    }
    EXPECT_EQ(s.Bytes(), before);
}

TEST(PixelRules, XorRectangleMixesOutlineAndInsideOnce)
{
    TCanvasSurface s(20, 20);
    const std::vector<std::uint8_t> before = s.Bytes();
    s.DC.SetROP2(R2_XORPEN);
    s.DC.SelectPen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    s.DC.SelectBrush(CreateSolidBrush(RGB(255, 255, 255)));
    s.DC.Rectangle(2, 2, 12, 12);
    // Outline and inside are both inverted once: white becomes black.
    EXPECT_EQ(s.CountAll(Black), 100);
    s.DC.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(s.Bytes(), before);
}

TEST(PixelRules, MixModesFollowTheirTruthTables)
{
    const std::uint32_t pen = PixelFromColor(RGB(0xF0, 0x0F, 0x55));
    const std::uint32_t dst = PixelFromColor(RGB(0xCC, 0x33, 0xAA));
    struct TCase {
        int Mode;
        std::uint32_t Expected;
    } cases[] = {
        {R2_BLACK, 0}, {R2_WHITE, 0xFFFFFF}, {R2_COPYPEN, pen}, {R2_NOTCOPYPEN, ~pen}, {R2_NOP, dst},
        {R2_NOT, ~dst}, {R2_XORPEN, pen ^ dst}, {R2_NOTXORPEN, ~(pen ^ dst)}, {R2_MASKPEN, pen & dst},
        {R2_MERGEPEN, pen | dst}, {R2_MASKPENNOT, pen & ~dst}, {R2_MERGENOTPEN, ~pen | dst},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MixRop2(c.Mode, pen, dst) & 0xFFFFFF, c.Expected & 0xFFFFFF) << "mode " << c.Mode;
    EXPECT_EQ(MixRop3(SRCINVERT, 0, pen, dst) & 0xFFFFFF, (pen ^ dst) & 0xFFFFFF);
    EXPECT_EQ(MixRop3(MERGEPAINT, 0, pen, dst) & 0xFFFFFF, (~pen | dst) & 0xFFFFFF);
    EXPECT_EQ(MixRop3(PATINVERT, pen, 0, dst) & 0xFFFFFF, (pen ^ dst) & 0xFFFFFF);
}

TEST(PixelRules, FocusRectInvertsEveryOtherFramePixelAndASecondCallRestores)
{
    TCanvasSurface s(30, 20);
    const std::vector<std::uint8_t> before = s.Bytes();
    s.DC.DrawFocusRect({3, 4, 23, 14});
    int inverted = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool frame = (x == 3 || x == 22 || y == 4 || y == 13) && x >= 3 && x < 23 && y >= 4 && y < 14;
            const bool dark = s.Device(x, y) == Black;
            if (dark) {
                ++inverted;
                EXPECT_TRUE(frame) << x << "," << y;
                EXPECT_EQ((x + y) % 2, 0) << x << "," << y;
            }
        }
    EXPECT_EQ(inverted, 28); // half of the 56 frame pixels
    s.DC.DrawFocusRect({3, 4, 23, 14});
    EXPECT_EQ(s.Bytes(), before);
}

TEST(PixelRules, SourceInvertBlitOfWhiteTextOnBlackChangesOnlyGlyphPixels)
{
    // The meter's inverting percent text.
    TCanvasSurface bar(200, 24);
    bar.DC.FillRect({0, 0, 100, 24}, CreateSolidBrush(RGB(0, 255, 0)));
    const std::vector<std::uint8_t> before = bar.Bytes();
    TCanvasSurface text(200, 24);
    text.DC.FillRect({0, 0, 200, 24}, CreateSolidBrush(Black));
    text.DC.SetBkMode(TRANSPARENT);
    text.DC.SetTextColor(White);
    text.DC.TextOut(85, 5, "50%");
    bar.DC.BitBlt(0, 0, 200, 24, &text.DC, 0, 0, SRCINVERT);
    int changed = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool glyph = text.Device(x, y) != Black;
            const std::size_t at = static_cast<std::size_t>(y) * bar.Surface.RowBytes() + static_cast<std::size_t>(x) * 4;
            const bool same = before[at] == bar.Surface.ScanLine(y)[x * 4] && before[at + 1] == bar.Surface.ScanLine(y)[x * 4 + 1]
                && before[at + 2] == bar.Surface.ScanLine(y)[x * 4 + 2];
            EXPECT_EQ(!same, glyph) << x << "," << y;
            changed += !same;
        }
    EXPECT_GT(changed, 20);
}

TEST(PixelRules, SunkenEdgeHasButtonShadowTopLeftAndHighlightBottomRight)
{
    TCanvasSurface s(20, 20);
    TRect r{0, 0, 20, 20};
    s.DC.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(s.Device(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.Device(10, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.Device(0, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.Device(19, 19), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.Device(19, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.Device(10, 19), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.Device(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(s.Device(18, 18), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(r, (TRect{2, 2, 18, 18}));
}

TEST(PixelRules, Frame3DOwnsTheFarCornersWithTheBottomColourAndShrinksByItsWidth)
{
    const COLORREF top = RGB(255, 0, 0);
    const COLORREF bottom = RGB(0, 0, 255);
    struct TCase {
        int Width;
        TRect After;
        int TopPixels, BottomPixels;
    } cases[] = {{0, {2, 2, 12, 10}, 0, 0}, {1, {3, 3, 11, 9}, 15, 17}, {2, {4, 4, 10, 8}, 26, 30}};
    for (const TCase& c : cases) {
        TCanvasSurface s(14, 12);
        TRect r{2, 2, 12, 10};
        Frame3D(s.DC, r, top, bottom, c.Width);
        EXPECT_EQ(r, c.After) << "width " << c.Width;
        EXPECT_EQ(s.CountAll(top), c.TopPixels) << "width " << c.Width;
        EXPECT_EQ(s.CountAll(bottom), c.BottomPixels) << "width " << c.Width;
        if (c.Width > 0) {
            EXPECT_EQ(s.Device(2, 2), top);
            EXPECT_EQ(s.Device(11, 2), bottom) << "top-right corner";
            EXPECT_EQ(s.Device(2, 9), bottom) << "bottom-left corner";
            EXPECT_EQ(s.Device(11, 9), bottom);
            EXPECT_EQ(s.Device(12, 5), White) << "the right edge stays exclusive";
        }
    }
}

TEST(PixelRules, SystemColoursMapThroughTheFixedPalette)
{
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF00000F)), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    for (int index = 0; index <= COLOR_ENDCOLORS; ++index)
        EXPECT_EQ(ColorToRGB(clSystemColor | index), static_cast<TColor>(GetSysColor(index))) << index;
    EXPECT_EQ(ColorToRGB(clSystemColor | 0x1F), clSystemColor | 0x1F);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ToColorRef(clWindow), RGB(255, 255, 255));
    EXPECT_EQ(ToColorRef(clWindowText), RGB(0, 0, 0));
}

TEST(PixelRules, DeviceScaleTwoCoversTwiceThePixelsEachWay)
{
    TCanvasSurface s(20, 10, 32, 2);
    EXPECT_EQ(s.DC.Width(), 20);
    s.DC.FillRect({2, 2, 7, 5}, CreateSolidBrush(RGB(255, 0, 0)));
    EXPECT_EQ(s.CountInRow(5, RGB(255, 0, 0)), 10);
    EXPECT_EQ(s.CountInColumn(5, RGB(255, 0, 0)), 6);
    EXPECT_EQ(s.Device(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(3, 4), White);
    EXPECT_EQ(s.DC.GetPixel(6, 4), RGB(255, 0, 0));
    EXPECT_EQ(s.DC.GetPixel(7, 4), White);
    s.DC.MoveTo(0, 9);
    s.DC.LineTo(5, 9);
    EXPECT_EQ(s.CountInRow(18, Black), 10);
    EXPECT_EQ(s.CountInRow(19, Black), 10);
}

TEST(PixelRules, OffSurfaceAndClippedPixelsAreNotWrittenAndReadInvalid)
{
    TCanvasSurface s(10, 10);
    const std::vector<std::uint8_t> before = s.Bytes();
    struct TCase {
        int X, Y;
    } off[] = {{-1, 0}, {0, -1}, {10, 0}, {0, 10}, {INT32_MIN, INT32_MAX}};
    for (const TCase& c : off) {
        EXPECT_EQ(s.DC.SetPixel(c.X, c.Y, 0), CLR_INVALID);
        EXPECT_EQ(s.DC.GetPixel(c.X, c.Y), CLR_INVALID);
    }
    EXPECT_EQ(s.Bytes(), before);
    s.DC.IntersectClipRect(2, 2, 5, 5);
    EXPECT_EQ(s.DC.GetPixel(6, 6), CLR_INVALID);
    EXPECT_EQ(s.DC.SetPixel(6, 6, 0), CLR_INVALID);
    EXPECT_EQ(s.DC.GetPixel(3, 3), White);
    s.DC.FillRect({0, 0, 10, 10}, CreateSolidBrush(Black));
    EXPECT_EQ(s.CountAll(Black), 9);
}

} // namespace
} // namespace plat::test

namespace plat::test {
namespace {

TEST(Blits, AlphaBlendMixesByConstantAndByPixelAlpha)
{
    TPixelSurface red(4, 4, 32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* p = red.ScanLine(y) + 4 * x;
            // Left half opaque red, right half transparent (premultiplied: all zero).
            const bool opaque = x < 2;
            p[0] = 0;
            p[1] = 0;
            p[2] = opaque ? 255 : 0;
            p[3] = opaque ? 255 : 0;
        }
    TSurfaceDC source(red);
    TCanvasSurface constant(4, 4);
    constant.DC.AlphaBlend(0, 0, 4, 4, &source, 0, 0, 4, 4, {AC_SRC_OVER, 0, 128, 0});
    EXPECT_EQ(constant.Device(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(constant.Device(3, 0), RGB(127, 127, 127));
    TCanvasSurface perPixel(4, 4);
    perPixel.DC.AlphaBlend(0, 0, 4, 4, &source, 0, 0, 4, 4, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    EXPECT_EQ(perPixel.Device(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(perPixel.Device(3, 0), White);
}

TEST(Blits, MaskBltTakesTheForegroundWhereTheMaskIsWhite)
{
    TCanvasSurface source(4, 1);
    source.DC.FillRect({0, 0, 4, 1}, CreateSolidBrush(RGB(0, 0, 255)));
    TPixelSurface mask(4, 1, 24);
    TSurfaceDC maskDC(mask);
    maskDC.FillRect({0, 0, 2, 1}, CreateSolidBrush(White));
    TCanvasSurface s(4, 1);
    // Foreground: copy the source; background: keep the destination.
    s.DC.MaskBlt(0, 0, 4, 1, &source.DC, 0, 0, &mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029));
    EXPECT_EQ(s.Device(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(s.Device(1, 0), RGB(0, 0, 255));
    EXPECT_EQ(s.Device(2, 0), White);
    EXPECT_EQ(s.Device(3, 0), White);
}

TEST(Blits, PlainCopyTakesEachVisibleSourcePixelAndLeavesTheRest)
{
    // Source pixel (x, y) of a 6 x 4 source: RGB(x * 40, y * 60, 7).
    const struct {
        const char* name;
        int x, y, width, height, sx, sy;
        TRect clip;   // empty: no clip
        int scale;
    } cases[] = {
        {"whole block", 1, 1, 6, 4, 0, 0, {}, 1},
        {"inside a clip", 0, 0, 6, 4, 0, 0, {2, 1, 5, 3}, 1},
        {"target partly off the surface", -2, 5, 6, 4, 0, 0, {}, 1},
        {"source partly off its surface", 0, 0, 6, 4, 3, 2, {}, 1},
        {"device scale 2", 1, 0, 4, 3, 1, 1, {0, 0, 4, 2}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TCanvasSurface source(6, 4, 32, c.scale);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                source.DC.FillRect({x, y, x + 1, y + 1}, CreateSolidBrush(RGB(x * 40, y * 60, 7)));
        TCanvasSurface s(8, 7, 32, c.scale);
        if (!c.clip.IsEmpty())
            s.DC.IntersectClipRect(c.clip.Left, c.clip.Top, c.clip.Right, c.clip.Bottom);
        s.DC.BitBlt(c.x, c.y, c.width, c.height, &source.DC, c.sx, c.sy, SRCCOPY);
        for (int dy = 0; dy < 7 * c.scale; ++dy)
            for (int dx = 0; dx < 8 * c.scale; ++dx) {
                const int x = dx / c.scale;
                const int y = dy / c.scale;
                const int fx = x - c.x + c.sx;
                const int fy = y - c.y + c.sy;
                const bool inBlock = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
                const bool onSource = fx >= 0 && fx < 6 && fy >= 0 && fy < 4;
                const bool inClip = c.clip.IsEmpty() || (x >= c.clip.Left && x < c.clip.Right && y >= c.clip.Top && y < c.clip.Bottom);
                const COLORREF expected = inBlock && onSource && inClip ? RGB(fx * 40, fy * 60, 7) : White;
                EXPECT_EQ(s.Device(dx, dy), expected) << dx << "," << dy;
            }
    }
}

TEST(Blits, UnstretchedBlitsMixEachSourcePixelWithItsDestination)
{
    const COLORREF background = RGB(10, 200, 30);
    const struct {
        const char* name;
        std::uint32_t rop;
        COLORREF (*mix)(COLORREF s, COLORREF d);
    } cases[] = {
        {"SRCINVERT", SRCINVERT, [](COLORREF s, COLORREF d) { return (s ^ d) & 0xFFFFFFu; }},
        {"SRCAND", SRCAND, [](COLORREF s, COLORREF d) { return s & d; }},
        {"SRCPAINT", SRCPAINT, [](COLORREF s, COLORREF d) { return s | d; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](COLORREF s, COLORREF) { return ~s & 0xFFFFFFu; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TCanvasSurface source(3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                source.DC.FillRect({x, y, x + 1, y + 1}, CreateSolidBrush(RGB(x * 90, 255 - y * 100, 17)));
        TCanvasSurface s(5, 3);
        s.DC.FillRect({0, 0, 5, 3}, CreateSolidBrush(background));
        s.DC.IntersectClipRect(0, 0, 3, 3);
        s.DC.BitBlt(1, 1, 3, 2, &source.DC, 0, 0, c.rop);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool mixed = x >= 1 && x < 3 && y >= 1;
                const COLORREF expected = mixed ? c.mix(RGB((x - 1) * 90, 255 - (y - 1) * 100, 17), background) : background;
                EXPECT_EQ(s.Device(x, y), expected) << x << "," << y;
            }
    }
}

TEST(Blits, BlitWithinOneSurfaceMayOverlap)
{
    TCanvasSurface s(8, 1);
    for (int x = 0; x < 8; ++x)
        s.DC.SetPixel(x, 0, RGB(x * 10, 0, 0));
    s.DC.BitBlt(2, 0, 6, 1, &s.DC, 0, 0, SRCCOPY);
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(s.Device(x, 0), RGB((x - 2) * 10, 0, 0)) << x;
}

} // namespace
} // namespace plat::test
