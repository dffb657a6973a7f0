// The pixels of a bitmap or window: 24-bit rows packed B, G, R and padded to
// 4 bytes, or 32-bit rows of raw B, G, R, A bytes (not premultiplied); top
// row first. Device contexts draw on it through a Cairo image surface; the
// rows a caller reads or writes through ScanLine are always the current ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace plat {

class TPixelSurface {
public:
    // Sizes are in device pixels. Raises EInvalidGraphic for no pixels, more
    // than MaxSide on a side or MaxPixels in all, or a depth other than 24 or 32.
    TPixelSurface(int width, int height, int bitsPerPixel);
    ~TPixelSurface();
    TPixelSurface(const TPixelSurface&) = delete;
    TPixelSurface& operator=(const TPixelSurface&) = delete;

    static constexpr int MaxSide = 32767;
    static constexpr std::int64_t MaxPixels = std::int64_t{1} << 26;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitsPerPixel() const { return FBitsPerPixel; }
    int RowBytes() const { return FRowBytes; }

    // The address of row y in the bitmap's own format; any write through it
    // is seen by the next drawing. y outside the rows raises EInvalidGraphic.
    std::uint8_t* ScanLine(int y);

    // Writes the pixels as a PNG file (alpha left out); false on failure.
    bool SaveToPng(const std::string& path);

    // The surface drawing goes to (Cairo RGB24, 4 bytes a pixel, B, G, R, X),
    // made current first; EndDrawing after drawing and before ScanLine.
    cairo_surface_t* BeginDrawing();
    void EndDrawing();
    // The drawing surface's bytes (valid between BeginDrawing and EndDrawing).
    std::uint8_t* DrawingBytes();
    int DrawingStride() const;

private:
    void SyncPackedFromDrawing();
    void SyncDrawingFromPacked();

    int FWidth;
    int FHeight;
    int FBitsPerPixel;
    int FRowBytes;
    std::vector<std::uint8_t> FPacked;    // 24-bit rows; unused at 32 bits
    std::vector<std::uint8_t> FDrawBytes; // 32-bit rows the Cairo surface draws on
    cairo_surface_t* FSurface = nullptr;
    bool FPackedStale = false;  // 24-bit: drawing changed pixels the packed rows lack
    bool FDrawingStale = false; // rows were handed out; Cairo must reread them
};

} // namespace plat
