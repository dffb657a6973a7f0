// Bitmaps for the chart's bitmap tests: built from a pixel rule, read back
// pixel by pixel, and compared whole.
#pragma once

#include "platform/canvas/bitmap.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qel::test {

// Blue, green, red (and alpha in 32-bit bitmaps) of one pixel.
using TPixelBytes = std::array<std::uint8_t, 4>;

inline int BytesPerPixel(const plat::TBitmap& Bitmap)
{
    return Bitmap.PixelFormat() == plat::pf24bit ? 3 : 4;
}

// A bitmap whose pixel (x, y) is Rule(x, y); the alpha byte is used only
// in 32-bit bitmaps.
inline std::unique_ptr<plat::TBitmap> MakeBitmap(int Width, int Height, plat::TPixelFormat Format,
    const std::function<TPixelBytes(int, int)>& Rule)
{
    auto Bitmap = std::make_unique<plat::TBitmap>(Width, Height, Format);
    const int Bytes = BytesPerPixel(*Bitmap);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Bitmap->ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            const TPixelBytes Pixel = Rule(X, Y);
            for (int K = 0; K < Bytes; ++K) {
                Row[X * Bytes + K] = Pixel[static_cast<std::size_t>(K)];
            }
        }
    }
    return Bitmap;
}

// A grey bitmap of one value.
inline std::unique_ptr<plat::TBitmap> UniformBitmap(int Width, int Height, std::uint8_t Value,
    plat::TPixelFormat Format = plat::pf24bit)
{
    return MakeBitmap(Width, Height, Format, [Value](int, int) { return TPixelBytes{Value, Value, Value, 255}; });
}

// Pixel (x, y); alpha 0 in 24-bit bitmaps.
inline TPixelBytes PixelAt(plat::TBitmap& Bitmap, int X, int Y)
{
    const int Bytes = BytesPerPixel(Bitmap);
    const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * Bytes;
    return {Pixel[0], Pixel[1], Pixel[2], Bytes == 4 ? Pixel[3] : std::uint8_t{0}};
}

// Every pixel's bytes, row after row, without row padding.
inline std::vector<std::uint8_t> PixelBytes(plat::TBitmap& Bitmap)
{
    const int Bytes = BytesPerPixel(Bitmap);
    std::vector<std::uint8_t> All;
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        const std::uint8_t* Row = Bitmap.ScanLine(Y);
        All.insert(All.end(), Row, Row + Bitmap.Width() * Bytes);
    }
    return All;
}

} // namespace qel::test
