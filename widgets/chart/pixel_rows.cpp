// Row tables of 24-bit and 32-bit bitmaps.
#include "widgets/chart/pixel_rows.h"

#include "platform/canvas/bitmap.h"

namespace qel {

namespace {

// Rows 0 and 1 from the bitmap, the rest a row distance apart.
template <class TPixel>
std::vector<TPixel*> RowTable(plat::TBitmap& Bitmap)
{
    std::vector<TPixel*> Rows;
    if (Bitmap.Empty()) {
        return Rows;
    }
    const int Height = Bitmap.Height();
    Rows.resize(static_cast<std::size_t>(Height));
    std::uint8_t* const First = Bitmap.ScanLine(0);
    const std::ptrdiff_t Distance = Height > 1 ? Bitmap.ScanLine(1) - First : 0;
    for (int Y = 0; Y < Height; ++Y) {
        Rows[static_cast<std::size_t>(Y)] = reinterpret_cast<TPixel*>(First + Distance * Y);
    }
    return Rows;
}

} // namespace

TRGBArray ScanLines24(plat::TBitmap& Bitmap)
{
    Bitmap.SetPixelFormat(plat::pf24bit);
    return RowTable<TRGB>(Bitmap);
}

TRGBAArray ScanLines32(plat::TBitmap& Bitmap)
{
    Bitmap.SetPixelFormat(plat::pf32bit);
    return RowTable<TRGBA>(Bitmap);
}

int DeviceBitsPerPixel(plat::TDeviceContext* DC)
{
    constexpr int ScreenBitsPerPixel = 32;
    if (DC == nullptr || DC->Surface() == nullptr) {
        return ScreenBitsPerPixel;
    }
    return DC->Surface()->BitsPerPixel();
}

} // namespace qel
