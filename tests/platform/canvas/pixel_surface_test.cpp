// Fresh pixel storage: a new bitmap reads white and a bare surface reads its
// fill, whichever side (rows or drawing) is asked for first, with zeroed row
// padding, for small pictures and for ones large enough to take the
// large-block allocation; afterwards the two sides see each other's writes.
#include "platform/canvas/bitmap.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace plat::test {
namespace {

// The first pixel byte that is not Fill or padding byte that is not 0, as a
// message; empty when every row is as it should be.
std::string FirstWrongByte(TPixelSurface& surface, std::uint8_t fill)
{
    const int pixelBytes = surface.Width() * (surface.BitsPerPixel() / 8);
    for (int y = 0; y < surface.Height(); ++y) {
        const std::uint8_t* row = surface.ScanLine(y);
        for (int k = 0; k < surface.RowBytes(); ++k) {
            const int expected = k < pixelBytes ? fill : 0;
            if (row[k] != expected)
                return "row " + std::to_string(y) + " byte " + std::to_string(k) + " is " + std::to_string(row[k]);
        }
    }
    return {};
}

struct TFreshCase {
    int BitsPerPixel;
    int Width;
    int Height;
    bool RowsFirst; // read the rows before anything draws or reads a pixel
};

// 5 and 7 columns pad 24-bit rows by 1 and 3 bytes; 1501 x 1400 takes the
// large-block path on both sides (6.3 MB of rows, 8.4 MB of drawing pixels).
const TFreshCase FreshCases[] = {
    {24, 5, 3, true}, {24, 5, 3, false}, {24, 7, 2, true}, {24, 7, 2, false},
    {32, 5, 3, true}, {32, 5, 3, false}, {24, 1501, 1400, true}, {24, 1501, 1400, false},
    {32, 1501, 1400, true}, {32, 1501, 1400, false},
};

std::string Describe(const TFreshCase& c)
{
    return std::to_string(c.BitsPerPixel) + " bits " + std::to_string(c.Width) + " x " + std::to_string(c.Height)
        + (c.RowsFirst ? ", rows first" : ", drawing first");
}

TEST(FreshPixels, NewBitmapsAreWhiteOnWhicheverSideIsReadFirst)
{
    for (const TFreshCase& c : FreshCases) {
        TBitmap bitmap(c.Width, c.Height, c.BitsPerPixel == 24 ? pf24bit : pf32bit);
        const int right = c.Width - 1;
        const int bottom = c.Height - 1;
        if (c.RowsFirst) {
            EXPECT_EQ(FirstWrongByte(*bitmap.PixelSurface(), 0xFF), "") << Describe(c);
        }
        EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clWhite) << Describe(c);
        EXPECT_EQ(bitmap.Canvas()->Pixel(right, bottom), clWhite) << Describe(c);
        if (!c.RowsFirst) {
            EXPECT_EQ(FirstWrongByte(*bitmap.PixelSurface(), 0xFF), "") << Describe(c);
        }

        // Each side then sees the other's writes.
        bitmap.Canvas()->SetPixel(0, 0, static_cast<TColor>(RGB(1, 2, 3)));
        const std::uint8_t* top = bitmap.ScanLine(0);
        EXPECT_EQ(RGB(top[2], top[1], top[0]), RGB(1, 2, 3)) << Describe(c);
        std::uint8_t* last = bitmap.ScanLine(bottom) + right * (c.BitsPerPixel / 8);
        last[0] = 30;
        last[1] = 20;
        last[2] = 10;
        EXPECT_EQ(bitmap.Canvas()->Pixel(right, bottom), static_cast<TColor>(RGB(10, 20, 30))) << Describe(c);
    }
}

TEST(FreshPixels, BareSurfacesHoldTheirFillOnWhicheverSideIsReadFirst)
{
    for (const TFreshCase& c : FreshCases) {
        for (const std::uint8_t fill : {std::uint8_t{0}, std::uint8_t{0xFF}}) {
            const std::string name = Describe(c) + ", fill " + std::to_string(fill);
            auto surface = fill == 0 ? std::make_unique<TPixelSurface>(c.Width, c.Height, c.BitsPerPixel)
                                     : std::make_unique<TPixelSurface>(c.Width, c.Height, c.BitsPerPixel, fill);
            TSurfaceDC dc(*surface);
            const COLORREF color = RGB(fill, fill, fill);
            if (c.RowsFirst) {
                EXPECT_EQ(FirstWrongByte(*surface, fill), "") << name;
            }
            EXPECT_EQ(dc.GetPixel(0, 0), color) << name;
            EXPECT_EQ(dc.GetPixel(c.Width - 1, c.Height - 1), color) << name;
            if (!c.RowsFirst) {
                EXPECT_EQ(FirstWrongByte(*surface, fill), "") << name;
            }
        }
    }
}

TEST(FreshPixels, ResizingKeepsOldRowsAndWhitensTheNewOnes)
{
    for (const TPixelFormat format : {pf24bit, pf32bit}) {
        TBitmap bitmap(3, 2, format);
        std::uint8_t* row = bitmap.ScanLine(1);
        row[0] = 7;
        row[1] = 8;
        row[2] = 9;
        bitmap.SetSize(6, 4);
        const int bytes = format == pf24bit ? 3 : 4;
        for (int y = 0; y < 4; ++y) {
            const std::uint8_t* r = bitmap.ScanLine(y);
            for (int x = 0; x < 6; ++x) {
                const bool kept = x == 0 && y == 1;
                EXPECT_EQ(RGB(r[bytes * x + 2], r[bytes * x + 1], r[bytes * x]), kept ? RGB(9, 8, 7) : RGB(255, 255, 255))
                    << "format " << format << " pixel " << x << ", " << y;
            }
        }
    }
}

} // namespace
} // namespace plat::test
