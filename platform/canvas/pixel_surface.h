// The pixels of a bitmap or window: 24-bit rows packed B, G, R and padded to
// 4 bytes, or 32-bit rows of raw B, G, R, A bytes (not premultiplied); top
// row first. Device contexts draw on it through a Cairo image surface; the
// rows a caller reads or writes through ScanLine are always the current ones.
// A new surface writes its starting bytes only when its rows or its drawing
// surface are first asked for, and only on the side asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plat {

class TPixelSurface {
public:
    // Sizes are in device pixels; every byte of every pixel starts as
    // fillByte (0 black, 0xFF white), 24-bit row padding as 0. Raises
    // EInvalidGraphic for no pixels, more than MaxSide on a side or MaxPixels
    // in all, or a depth other than 24 or 32.
    TPixelSurface(int width, int height, int bitsPerPixel, std::uint8_t fillByte = 0);
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

    // 32 bits: leaves out the starting fill; the caller writes every pixel
    // through ScanLine before anything reads it.
    void SkipStartingFill();

    // Writes the pixels as a PNG file (alpha left out); false on failure.
    bool SaveToPng(const std::string& path);

    // The surface drawing goes to (Cairo RGB24, 4 bytes a pixel, B, G, R, X),
    // made current first; EndDrawing after drawing and before ScanLine.
    cairo_surface_t* BeginDrawing();
    // The same surface as it stands, for making a drawing context on it; its
    // pixels are not current until BeginDrawing.
    cairo_surface_t* DrawingTarget() const { return FSurface; }
    void EndDrawing();
    // The drawing surface's bytes (valid between BeginDrawing and EndDrawing).
    std::uint8_t* DrawingBytes();
    int DrawingStride() const;

private:
    struct TFreeBytes {
        void operator()(std::uint8_t* bytes) const;
    };
    using TBytes = std::unique_ptr<std::uint8_t[], TFreeBytes>;

    static TBytes AllocateBytes(std::size_t count);
    void FillPacked();
    void FillDrawing();
    void ClearPackedPadding();
    void SyncPackedFromDrawing();
    void SyncDrawingFromPacked();

    int FWidth;
    int FHeight;
    int FBitsPerPixel;
    int FRowBytes;
    std::uint8_t FFillByte;
    TBytes FPacked;    // 24-bit rows; null at 32 bits
    TBytes FDrawBytes; // 32-bit rows the Cairo surface draws on
    cairo_surface_t* FSurface = nullptr;
    bool FUnfilled = true;      // no side written yet: every pixel is still the fill
    bool FPackedStale = false;  // 24-bit: drawing changed pixels the packed rows lack
    bool FPackedPadded = false; // 24-bit: the packed rows' padding bytes are zeroed
    bool FDrawingStale = false; // rows were handed out; Cairo must reread them
};

} // namespace plat
