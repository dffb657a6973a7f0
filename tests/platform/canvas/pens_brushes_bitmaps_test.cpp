// Pens, brushes and bitmaps: the extended dashed pen with flat caps and
// bevel joins, hatches anchored at the brush origin, rows and canvas of
// bitmaps seeing each other, mirrored stretching, image lists and their
// change links, frame-control glyphs, and the persistent attribute objects.
#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/image_list.h"
#include "tests/platform/canvas/canvas_fixture.h"

#include <gtest/gtest.h>

namespace plat::test {
namespace {

struct TChangeCounter {
    int Calls = 0;
    void Changed(TObject*) { ++Calls; }
};

TEST(Pens, WideDashedPenHasFlatCapsAndBevelJoins)
{
    // The chart's pen of width 3, psDash, flat ends, bevel joins.
    const TLogPen dashed = ExtCreatePen(0x10000 + 1 + 0x200 + 0x1000, 3, CreateSolidBrush(0), 0, nullptr);
    TCanvasSurface s(140, 60);
    s.DC.SelectPen(dashed);
    s.DC.MoveTo(10, 20);
    s.DC.LineTo(110, 20);
    const int inked = s.CountInRow(20, Black);
    EXPECT_GT(inked, 50);
    EXPECT_LT(inked, 100);
    EXPECT_EQ(s.Device(10, 20), Black);
    EXPECT_EQ(s.Device(9, 20), White);   // flat: nothing before the start
    EXPECT_EQ(s.CountInColumn(11, Black), 3);
    for (int x = 111; x < 140; ++x)
        EXPECT_EQ(s.Device(x, 20), White) << x;

    // Joins: the bevel cuts the outer corner that a mitre fills.
    const TPoint corner[] = {{10, 40}, {60, 40}, {60, 59}};
    TCanvasSurface bevel(80, 60);
    bevel.DC.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, 9, CreateSolidBrush(0), 0, nullptr));
    bevel.DC.Polyline(corner, 3);
    TCanvasSurface miter(80, 60);
    miter.DC.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 9, CreateSolidBrush(0), 0, nullptr));
    miter.DC.Polyline(corner, 3);
    EXPECT_EQ(bevel.Device(64, 36), White);
    EXPECT_EQ(miter.Device(64, 36), Black);
    EXPECT_EQ(bevel.Device(58, 40), Black);
}

TEST(Pens, CosmeticStylesLeaveGapsThatOpaqueModeFills)
{
    for (int mode : {TRANSPARENT, OPAQUE}) {
        TCanvasSurface s(60, 5);
        s.DC.SetBkMode(mode);
        s.DC.SetBkColor(RGB(255, 0, 0));
        s.DC.SelectPen(CreatePen(PS_DOT, 1, 0));
        s.DC.MoveTo(0, 2);
        s.DC.LineTo(60, 2);
        EXPECT_EQ(s.CountInRow(2, Black), 30) << mode;
        EXPECT_EQ(s.CountInRow(2, RGB(255, 0, 0)), mode == OPAQUE ? 30 : 0) << mode;
        EXPECT_EQ(s.Device(0, 2), Black);
        EXPECT_EQ(s.Device(3, 2), mode == OPAQUE ? RGB(255, 0, 0) : White);
    }
}

TEST(Brushes, HatchesRepeatEveryEightPixelsFromTheBrushOrigin)
{
    struct TCase {
        int Hatch;
        int OriginX;
        int OriginY;
    } cases[] = {{HS_VERTICAL, 0, 0}, {HS_VERTICAL, 3, 0}, {HS_HORIZONTAL, 0, 5}, {HS_FDIAGONAL, 2, 1},
        {HS_BDIAGONAL, 0, 0}, {HS_CROSS, 1, 1}, {HS_DIAGCROSS, 4, 7}};
    for (const TCase& c : cases) {
        TCanvasSurface s(32, 32);
        s.DC.SetBkMode(TRANSPARENT);
        s.DC.SetBrushOrg(c.OriginX, c.OriginY);
        s.DC.FillRect({0, 0, 32, 32}, CreateHatchBrush(c.Hatch, 0));
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                EXPECT_EQ(s.Device(x, y), s.Device(x + 8, y)) << c.Hatch << " " << x << "," << y;
                EXPECT_EQ(s.Device(x, y), s.Device(x, y + 8)) << c.Hatch << " " << x << "," << y;
            }
        // The pattern's first pixel sits at the origin.
        const bool lineAtOrigin = c.Hatch != HS_BDIAGONAL;
        EXPECT_EQ(s.Device(c.OriginX, c.OriginY) == Black, lineAtOrigin) << c.Hatch;
        EXPECT_GT(s.CountAll(White), 0);
    }
}

TEST(Brushes, HatchBackgroundIsPaintedOnlyWhenOpaque)
{
    for (int mode : {TRANSPARENT, OPAQUE}) {
        TCanvasSurface s(16, 16);
        s.DC.SetBkMode(mode);
        s.DC.SetBkColor(RGB(255, 255, 0));
        s.DC.FillRect({0, 0, 16, 16}, CreateHatchBrush(HS_CROSS, RGB(0, 0, 255)));
        // Lines at x and y = 0 and 8: 4 x 16 pixels less the 4 crossings.
        EXPECT_EQ(s.CountAll(RGB(0, 0, 255)), 60) << mode;
        EXPECT_EQ(s.CountAll(RGB(255, 255, 0)), mode == OPAQUE ? 256 - 60 : 0) << mode;
    }
}

TEST(Brushes, MonochromePatternTakesTextAndBackgroundColours)
{
    const std::uint16_t checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    TCanvasSurface s(8, 8);
    s.DC.SetTextColor(RGB(0, 0, 255));
    s.DC.SetBkColor(RGB(255, 0, 0));
    s.DC.FillRect({0, 0, 8, 8}, CreateMonochromePatternBrush(checker));
    EXPECT_EQ(s.CountAll(RGB(0, 0, 255)), 32);
    EXPECT_EQ(s.CountAll(RGB(255, 0, 0)), 32);
    EXPECT_EQ(s.Device(0, 0), RGB(0, 0, 255)); // bit 7 of 0x55 is 0
    EXPECT_EQ(s.Device(1, 0), RGB(255, 0, 0));
}

TEST(Brushes, DeviceContextBrushPaintsTheColourTheContextHoldsAtEachFill)
{
    TLogBrush dcBrush = CreateSolidBrush(RGB(1, 2, 3)); // its own colour is never used
    dcBrush.UsesDCColor = true;
    TCanvasSurface s(8, 4);
    EXPECT_EQ(s.DC.SetDCBrushColor(RGB(255, 0, 0)), White); // answers the colour before
    s.DC.FillRect({0, 0, 4, 4}, dcBrush);
    const int saved = s.DC.SaveDC();
    s.DC.SetDCBrushColor(RGB(0, 0, 255));
    s.DC.FillRect({4, 0, 8, 2}, dcBrush);
    s.DC.RestoreDC(saved);
    EXPECT_EQ(s.DC.GetDCBrushColor(), RGB(255, 0, 0));
    s.DC.FillRect({4, 2, 8, 4}, dcBrush);
    EXPECT_EQ(s.CountAll(RGB(255, 0, 0)), 24);
    EXPECT_EQ(s.CountAll(RGB(0, 0, 255)), 8);
    EXPECT_EQ(s.CountAll(RGB(1, 2, 3)), 0);
}

TEST(Bitmaps, CanvasWritesAndRowsSeeEachOther)
{
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        TBitmap bitmap(10, 8, format);
        const int bytes = format == pf24bit ? 3 : 4;
        bitmap.Canvas()->SetPixel(3, 4, static_cast<TColor>(RGB(10, 20, 30)));
        const std::uint8_t* row = bitmap.ScanLine(4);
        EXPECT_EQ(row[3 * bytes], 30) << format;
        EXPECT_EQ(row[3 * bytes + 1], 20) << format;
        EXPECT_EQ(row[3 * bytes + 2], 10) << format;

        std::uint8_t* other = bitmap.ScanLine(6);
        other[5 * bytes] = 200;
        other[5 * bytes + 1] = 100;
        other[5 * bytes + 2] = 50;
        EXPECT_EQ(bitmap.Canvas()->Pixel(5, 6), static_cast<TColor>(RGB(50, 100, 200))) << format;
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect({0, 0, 2, 2});
        EXPECT_EQ(bitmap.Canvas()->Pixel(5, 6), static_cast<TColor>(RGB(50, 100, 200))) << format;
        EXPECT_EQ(bitmap.ScanLine(1)[bytes + 2], 255) << format;
    }
    TBitmap rows(5, 3, pf24bit);
    EXPECT_EQ(rows.PixelSurface()->RowBytes(), 16); // 15 bytes padded to 4
}

TEST(Bitmaps, ZeroOversizedAndOutOfRangeAreErrors)
{
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphic);
    EXPECT_THROW(TBitmap(-1, 5), EInvalidGraphic);
    EXPECT_THROW(TBitmap(40000, 5), EInvalidGraphic);
    EXPECT_THROW(TBitmap(20000, 20000), EInvalidGraphic);
    EXPECT_THROW(TPixelSurface(0, 5, 32), EInvalidGraphic);
    EXPECT_THROW(TPixelSurface(5, 5, 16), EInvalidGraphic);
    TBitmap small(4, 4);
    EXPECT_THROW(small.ScanLine(4), EInvalidGraphic);
    EXPECT_THROW(small.ScanLine(-1), EInvalidGraphic);
    // Drawing on an empty bitmap's canvas does nothing.
    empty.Canvas()->FillRect({0, 0, 10, 10});
    EXPECT_TRUE(empty.Empty());
    EXPECT_THROW(empty.LoadFromResourceName("NO_SUCH_BITMAP"), EResNotFound);
}

TEST(Bitmaps, ResizeKeepsThePixelsThatStillFit)
{
    TBitmap bitmap(4, 4);
    bitmap.Canvas()->SetPixel(1, 1, clRed);
    bitmap.SetSize(8, 2);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 1), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixel(6, 1), clWhite);
}

TEST(Bitmaps, StretchWithNegativeHeightFlips)
{
    TBitmap source(2, 2);
    source.Canvas()->SetPixel(0, 0, clRed);
    source.Canvas()->SetPixel(1, 0, clRed);
    source.Canvas()->SetPixel(0, 1, clBlue);
    source.Canvas()->SetPixel(1, 1, clBlue);
    TCanvasSurface s(8, 8);
    s.DC.StretchBlt(0, 0, 8, 8, source.DeviceContext(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(s.Device(3, 1), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(3, 6), RGB(0, 0, 255));
    // A negative height runs upwards from the given row.
    s.DC.StretchBlt(0, 8, 8, -8, source.DeviceContext(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(s.Device(3, 1), RGB(0, 0, 255));
    EXPECT_EQ(s.Device(3, 6), RGB(255, 0, 0));
    EXPECT_EQ(s.CountAll(RGB(0, 0, 255)), 32);
}

TEST(Bitmaps, ResourcesByNameLoad)
{
    const std::uint8_t pixels[] = {1, 2, 3, 255, 4, 5, 6, 255};
    RegisterBitmapResource("TEST_TWO_PIXELS", 2, 1, pixels);
    TBitmap bitmap;
    bitmap.LoadFromResourceName("TEST_TWO_PIXELS");
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), static_cast<TColor>(RGB(6, 5, 4)));
}

TEST(Bitmaps, TransparentBitmapLeavesItsKeyColourOut)
{
    TBitmap sprite(4, 4);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect({0, 0, 4, 4});
    sprite.Canvas()->SetPixel(1, 1, clBlack);
    sprite.SetTransparent(true);
    TCanvasSurface s(10, 10);
    TCanvas canvas(&s.DC);
    canvas.Draw(2, 2, &sprite);
    EXPECT_EQ(s.Device(3, 3), Black);
    EXPECT_EQ(s.Device(2, 2), White);
    EXPECT_EQ(s.CountAll(Black), 1);
}

TEST(Pictures, IconsKeepStraightAlphaAndBlendByIt)
{
    TIcon icon;
    icon.SetSize(3, 1);
    // Opaque red, half-transparent red, fully transparent green: B, G, R, A.
    const std::uint8_t pixels[12] = {0, 0, 255, 255, 0, 0, 255, 128, 0, 255, 0, 0};
    std::copy(pixels, pixels + 12, icon.Image()->ScanLine(0));
    TCanvasSurface s(3, 1);
    TCanvas canvas(&s.DC);
    canvas.Draw(0, 0, &icon);
    EXPECT_EQ(s.Device(0, 0), RGB(255, 0, 0));
    const COLORREF half = s.Device(1, 0);
    EXPECT_EQ(GetRValue(half), 255);
    EXPECT_NEAR(GetGValue(half), 127, 1);
    EXPECT_NEAR(GetBValue(half), 127, 1);
    EXPECT_EQ(s.Device(2, 0), White);
    // Drawing leaves the icon's own bytes as they were (not premultiplied).
    EXPECT_TRUE(std::equal(pixels, pixels + 12, icon.Image()->ScanLine(0)));
}

TEST(Pictures, HoldTheirOwnCopyAndTellOfChanges)
{
    TChangeCounter counter;
    TPicture picture;
    picture.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
    TIcon icon;
    icon.SetSize(2, 2);
    icon.Image()->Canvas()->SetPixel(1, 1, clRed);
    picture.SetGraphic(&icon);
    EXPECT_EQ(counter.Calls, 1);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &icon);
    EXPECT_EQ(picture.Graphic()->ClassType(), TIcon::StaticClass());
    icon.Image()->Canvas()->SetPixel(1, 1, clBlue); // the picture's copy stays red
    EXPECT_EQ(static_cast<TIcon*>(picture.Graphic())->Image()->Canvas()->Pixel(1, 1), clRed);

    // Asked for a bitmap, a picture holding an icon turns it into one.
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_EQ(picture.Graphic(), bitmap);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(bitmap->Canvas()->Pixel(1, 1), clRed);
    const int before = counter.Calls;
    bitmap->Canvas()->SetPixel(0, 0, clLime); // a change of the held graphic reaches the picture
    EXPECT_GT(counter.Calls, before);

    TPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.Bitmap()->Canvas()->Pixel(0, 0), clLime);
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Graphic(), nullptr);
    EXPECT_EQ(copy.Width(), 0);
    TFont font;
    EXPECT_THROW(copy.Assign(&font), EAssignError);
}

struct TLinkCounter {
    int Calls = 0;
    void Changed(TObject*) { ++Calls; }
};

TEST(ImageLists, DrawMaskedSelectedDisabledAndOverlaid)
{
    TCustomImageList list(nullptr);
    list.SetSize(4, 4);
    TBitmap image(8, 4);
    image.Canvas()->Brush()->SetColor(clFuchsia);
    image.Canvas()->FillRect({0, 0, 8, 4});
    image.Canvas()->Brush()->SetColor(clBlue);
    image.Canvas()->FillRect({1, 1, 3, 3});   // image 0: a blue square in the middle
    image.Canvas()->Brush()->SetColor(clRed);
    image.Canvas()->FillRect({4, 0, 5, 4});   // image 1: a red column at the left
    ASSERT_EQ(list.AddMasked(&image, clFuchsia), 0);
    ASSERT_EQ(list.Count(), 2);

    TCanvasSurface s(20, 10);
    TCanvas canvas(&s.DC);
    list.Draw(&canvas, 0, 0, 0);
    EXPECT_EQ(s.Device(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(s.Device(0, 0), White); // masked

    list.Draw(&canvas, 5, 0, 0, dsSelected, itImage);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF half = RGB(GetRValue(highlight) / 2, GetGValue(highlight) / 2, 255 / 2 + GetBValue(highlight) / 2);
    EXPECT_EQ(s.Device(6, 1), half);
    EXPECT_EQ(s.Device(5, 0), White);

    list.Draw(&canvas, 10, 0, 0, false);
    const COLORREF grey = s.Device(11, 1);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_NE(grey, White);

    ASSERT_TRUE(list.Overlay(1, 0));
    list.DrawOverlay(&canvas, 15, 5, 0, 0);
    EXPECT_EQ(s.Device(15, 6), RGB(255, 0, 0)); // the overlay's column
    EXPECT_EQ(s.Device(16, 6), RGB(0, 0, 255)); // the image below
    EXPECT_EQ(s.Device(18, 6), White);
}

TEST(ImageLists, ChangeLinksHearOncePerChange)
{
    TCustomImageList list(nullptr);
    TLinkCounter counter;
    TChangeLink link;
    link.OnChange = TNotifyEvent(&counter, &TLinkCounter::Changed);
    list.RegisterChanges(&link);
    EXPECT_EQ(link.Sender(), &list);
    TBitmap image(32, 16);
    list.Add(&image, nullptr); // two images, one change
    EXPECT_EQ(counter.Calls, 1);
    list.SetBkColor(clRed);
    list.SetBkColor(clRed);
    EXPECT_EQ(counter.Calls, 2);
    list.BeginUpdate();
    list.Add(&image, nullptr);
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(counter.Calls, 3);
    list.UnRegisterChanges(&link);
    list.Clear();
    EXPECT_EQ(counter.Calls, 3);
    {
        TChangeLink shortLived;
        list.RegisterChanges(&shortLived);
    }
    list.Add(&image, nullptr); // the destroyed link has left the list
}

TEST(FrameControls, GlyphsMatchTheirPatterns)
{
    // S button shadow, D dark shadow, L light, w white, F button face,
    // X black mark, G grey mark, . untouched.
    struct TCase {
        std::uint32_t State;
        const char* Rows[13];
    } cases[] = {
        {DFCS_BUTTONCHECK | DFCS_CHECKED,
            {"SSSSSSSSSSSSw", "SDDDDDDDDDDLw", "SDwwwwwwwwwLw", "SDwwwwwwwXwLw", "SDwwwwwwXXwLw", "SDwXwwwXXXwLw",
                "SDwXXwXXXwwLw", "SDwXXXXXwwwLw", "SDwwXXXwwwwLw", "SDwwwXwwwwwLw", "SDwwwwwwwwwLw", "SLLLLLLLLLLLw",
                "wwwwwwwwwwwww"}},
        {DFCS_BUTTONCHECK,
            {"SSSSSSSSSSSSw", "SDDDDDDDDDDLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw",
                "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SDwwwwwwwwwLw", "SLLLLLLLLLLLw",
                "wwwwwwwwwwwww"}},
        {DFCS_BUTTON3STATE | DFCS_CHECKED,
            {"SSSSSSSSSSSSw", "SDDDDDDDDDDLw", "SDFFFFFFFFFLw", "SDFFFFFFFSFLw", "SDFFFFFFSSFLw", "SDFSFFFSSSFLw",
                "SDFSSFSSSFFLw", "SDFSSSSSFFFLw", "SDFFSSSFFFFLw", "SDFFFSFFFFFLw", "SDFFFFFFFFFLw", "SLLLLLLLLLLLw",
                "wwwwwwwwwwwww"}},
        {DFCS_BUTTONRADIO | DFCS_CHECKED,
            {"....SSSS.....", "..SSDDDDSS...", ".SDDwwwwDDw..", ".SDwwwwwwLw..", "SDwwwXXwwwLw.", "SDwwXXXXwwLw.",
                "SDwwXXXXwwLw.", "SDwwwXXwwwLw.", ".SDwwwwwwLw..", ".wLLwwwwLLw..", "..wwLLLLww...", "....wwww.....",
                "............."}},
        {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
            {"SSSSSSSSSSSSw", "SDDDDDDDDDDLw", "SDFFFFFFFFFLw", "SDFFFFFFFGFLw", "SDFFFFFFGGFLw", "SDFGFFFGGGFLw",
                "SDFGGFGGGFFLw", "SDFGGGGGFFFLw", "SDFFGGGFFFFLw", "SDFFFGFFFFFLw", "SDFFFFFFFFFLw", "SLLLLLLLLLLLw",
                "wwwwwwwwwwwww"}},
        {DFCS_BUTTONCHECK | DFCS_PUSHED,
            {"SSSSSSSSSSSSw", "SDDDDDDDDDDLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw",
                "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SDFFFFFFFFFLw", "SLLLLLLLLLLLw",
                "wwwwwwwwwwwww"}},
        {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT,
            {"SSSSSSSSSSSSS", "SwwwwwwwwwwwS", "SwwwwwwwwwwwS", "SwwwwwwwwXwwS", "SwwwwwwwXXwwS", "SwwXwwwXXXwwS",
                "SwwXXwXXXwwwS", "SwwXXXXXwwwwS", "SwwwXXXwwwwwS", "SwwwwXwwwwwwS", "SwwwwwwwwwwwS", "SwwwwwwwwwwwS",
                "SSSSSSSSSSSSS"}},
        {DFCS_BUTTONRADIO,
            {"....SSSS.....", "..SSDDDDSS...", ".SDDwwwwDDw..", ".SDwwwwwwLw..", "SDwwwwwwwwLw.", "SDwwwwwwwwLw.",
                "SDwwwwwwwwLw.", "SDwwwwwwwwLw.", ".SDwwwwwwLw..", ".wLLwwwwLLw..", "..wwLLLLww...", "....wwww.....",
                "............."}},
        {DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE,
            {"....SSSS.....", "..SSDDDDSS...", ".SDDFFFFDDw..", ".SDFFFFFFLw..", "SDFFFGGFFFLw.", "SDFFGGGGFFLw.",
                "SDFFGGGGFFLw.", "SDFFFGGFFFLw.", ".SDFFFFFFLw..", ".wLLFFFFLLw..", "..wwLLLLww...", "....wwww.....",
                "............."}},
    };
    auto letter = [](COLORREF c) {
        if (c == RGB(1, 2, 3)) return '.';
        if (c == GetSysColor(COLOR_BTNSHADOW)) return 'S';
        if (c == RGB(255, 255, 255)) return 'w';
        if (c == GetSysColor(COLOR_3DDKSHADOW)) return 'D';
        if (c == GetSysColor(COLOR_3DLIGHT)) return 'L';
        if (c == GetSysColor(COLOR_BTNFACE)) return 'F';
        if (c == GetSysColor(COLOR_GRAYTEXT)) return 'G';
        if (c == 0) return 'X';
        return '?';
    };
    for (const TCase& c : cases) {
        TCanvasSurface s(13, 13);
        s.DC.FillRect({0, 0, 13, 13}, CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_TRUE(s.DC.DrawFrameControl({0, 0, 13, 13}, DFC_BUTTON, c.State));
        for (int y = 0; y < 13; ++y) {
            std::string row;
            for (int x = 0; x < 13; ++x)
                row += letter(s.Device(x, y));
            EXPECT_EQ(row, c.Rows[y]) << "state " << c.State << " row " << y;
        }
    }
}

TEST(GraphicsObjects, ChangesAreAnnouncedOnlyWhenAValueChanges)
{
    TChangeCounter counter;
    TFont font;
    font.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(font.Size(), 9);
    font.SetSize(9);
    font.SetName("Segoe UI");
    font.SetStyle({fsBold});
    EXPECT_EQ(counter.Calls, 3);
    EXPECT_EQ(font.Handle().Weight, FW_BOLD);
    EXPECT_EQ(font.Handle().FaceName, "Segoe UI");

    TPen pen;
    pen.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    pen.SetMode(pmXor);
    EXPECT_EQ(PenModeToRop2(pen.Mode()), R2_XORPEN);
    EXPECT_EQ(pen.Handle().Width, 3);
    EXPECT_EQ(pen.Handle().Kind(), static_cast<std::uint32_t>(PS_DASH));
    pen.SetHandle(ExtCreatePen(0x10000 + 1 + 0x200 + 0x1000, 3, CreateSolidBrush(0), 0, nullptr));
    EXPECT_EQ(pen.Handle().Style, 0x10000u + 1 + 0x200 + 0x1000);
    EXPECT_EQ(counter.Calls, 7);

    TBrush brush;
    brush.SetStyle(bsCross);
    EXPECT_EQ(brush.Handle().Style, BS_HATCHED);
    EXPECT_EQ(brush.Handle().Hatch, HS_CROSS);
    brush.SetColor(clBtnFace);
    EXPECT_EQ(brush.Handle().Color, GetSysColor(COLOR_BTNFACE));
    TBrush copy;
    copy.Assign(&brush);
    EXPECT_EQ(copy.Style(), bsCross);
    EXPECT_THROW(copy.Assign(&pen), EAssignError);
}

TEST(GraphicsObjects, CanvasSelectsItsAttributesBeforeDrawing)
{
    TCanvasSurface s(20, 20);
    TCanvas canvas(&s.DC);
    canvas.Brush()->SetColor(clLime);
    canvas.Pen()->SetColor(clRed);
    canvas.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(s.Device(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(s.Device(5, 5), RGB(0, 255, 0));
    canvas.Pen()->SetStyle(psClear);
    canvas.Brush()->SetColor(clBlue);
    canvas.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(s.Device(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(s.Device(19, 19), White); // no pen: one pixel less
    EXPECT_EQ(canvas.TextWidth("AV"), canvas.TextWidth("A") + canvas.TextWidth("V"));
}

} // namespace
} // namespace plat::test
