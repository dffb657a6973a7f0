// Tests of the canvas unit's variables at load, the colour-to-pixel byte
// order, the size-keeping resize and the row tables.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/pixel_rows.h"

#include "platform/canvas/recording_dc.h"

#include <gtest/gtest.h>

#include <numbers>

namespace qel {
namespace {

TEST(ChartCanvasUnit, VariablesHoldTheirLoadValues)
{
    EXPECT_TRUE(IsNTPlatform);
    EXPECT_FALSE(ThinPenWidthZero);
    EXPECT_DOUBLE_EQ(DegToRad * 180.0, std::numbers::pi);
    EXPECT_TRUE(DefaultFontName.empty());
    EXPECT_EQ(DefaultFontSize, 0);
    EXPECT_EQ(CanvasClassList, nullptr);
    EXPECT_EQ(EmbeddedFontsHook, nullptr);
}

TEST(ChartCanvasUnit, ColorToRGBTripleWritesBlueGreenRed)
{
    std::uint8_t Buffer[4] = {0, 0, 0, 0xEE};
    EXPECT_EQ(ColorToRGBTriple(Buffer, RGBToColor(0x99, 0x66, 0x33)), Buffer);
    EXPECT_EQ(Buffer[0], 0x33);
    EXPECT_EQ(Buffer[1], 0x66);
    EXPECT_EQ(Buffer[2], 0x99);
    EXPECT_EQ(Buffer[3], 0xEE) << "only three bytes are written";
}

// Counts the calls of SetSize that reach the bitmap.
class TCountingBitmap : public plat::TBitmap {
public:
    using plat::TBitmap::TBitmap;
    void SetSize(int Width, int Height) override
    {
        ++Calls;
        plat::TBitmap::SetSize(Width, Height);
    }
    int Calls = 0;
};

TEST(ChartCanvasUnit, SetBitmapSizeResizesOnlyWhenASideDiffers)
{
    TCountingBitmap Bitmap(8, 6, plat::pf24bit);
    Bitmap.ScanLine(2)[0] = 77;
    SetBitmapSize(Bitmap, 8, 6);
    EXPECT_EQ(Bitmap.Calls, 0);
    EXPECT_EQ(Bitmap.ScanLine(2)[0], 77);
    SetBitmapSize(Bitmap, 8, 7);
    EXPECT_EQ(Bitmap.Calls, 1);
    EXPECT_EQ(Bitmap.Height(), 7);
    SetBitmapSize(Bitmap, 9, 7);
    EXPECT_EQ(Bitmap.Calls, 2);
}

TEST(PixelRows, TablesHoldOneAddressPerRowAndConvertTheBitmap)
{
    struct TCase {
        int Width, Height;
        plat::TPixelFormat From;
    };
    const TCase Cases[] = {{5, 4, plat::pf32bit}, {5, 4, plat::pf24bit}, {7, 1, plat::pfDevice}, {1, 3, plat::pf24bit}};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Width) + "x" + std::to_string(Case.Height));
        plat::TBitmap Bitmap(Case.Width, Case.Height, Case.From);
        const TRGBArray Rows = ScanLines24(Bitmap);
        EXPECT_EQ(Bitmap.PixelFormat(), plat::pf24bit);
        ASSERT_EQ(Rows.size(), static_cast<std::size_t>(Case.Height));
        for (int Y = 0; Y < Case.Height; ++Y) {
            EXPECT_EQ(reinterpret_cast<std::uint8_t*>(Rows[static_cast<std::size_t>(Y)]), Bitmap.ScanLine(Y));
        }
        const TRGBAArray Rows32 = ScanLines32(Bitmap);
        EXPECT_EQ(Bitmap.PixelFormat(), plat::pf32bit);
        ASSERT_EQ(Rows32.size(), static_cast<std::size_t>(Case.Height));
        EXPECT_EQ(reinterpret_cast<std::uint8_t*>(Rows32.back()), Bitmap.ScanLine(Case.Height - 1));
    }
    plat::TBitmap Empty;
    EXPECT_TRUE(ScanLines24(Empty).empty());
    EXPECT_TRUE(ScanLines32(Empty).empty());
}

TEST(PixelRows, PixelRecordsReadTheBytesInRowOrder)
{
    auto Bitmap = test::MakeBitmap(2, 1, plat::pf32bit, [](int X, int) {
        return test::TPixelBytes{static_cast<std::uint8_t>(X + 1), 20, 30, 40};
    });
    const TRGBAArray Rows = ScanLines32(*Bitmap);
    EXPECT_EQ(Rows[0][1].Blue, 2);
    EXPECT_EQ(Rows[0][1].Green, 20);
    EXPECT_EQ(Rows[0][1].Red, 30);
    EXPECT_EQ(Rows[0][1].Alpha, 40);
    const TRGBArray Rows24 = ScanLines24(*Bitmap);
    EXPECT_EQ(Rows24[0][1].Blue, 2);
    EXPECT_EQ(Rows24[0][1].Red, 30);
}

TEST(PixelRows, DeviceBitsPerPixelIsTheDepthDrawnOn)
{
    plat::TBitmap Deep(3, 3, plat::pf32bit);
    plat::TBitmap Packed(3, 3, plat::pf24bit);
    plat::TBitmap Empty;
    plat::TRecordingDC Recording;
    EXPECT_EQ(DeviceBitsPerPixel(Deep.DeviceContext()), 32);
    EXPECT_EQ(DeviceBitsPerPixel(Packed.DeviceContext()), 24);
    EXPECT_EQ(DeviceBitsPerPixel(Empty.DeviceContext()), 32);
    EXPECT_EQ(DeviceBitsPerPixel(&Recording), 32);
}

} // namespace
} // namespace qel
