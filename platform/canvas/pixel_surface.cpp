// Pixel storage shared by bitmaps and device contexts. 32-bit bitmaps are
// drawn on in place; 24-bit ones through a 32-bit twin that is converted only
// when the other side is asked for.
#include "platform/canvas/pixel_surface.h"

#include "platform/canvas/graphics_errors.h"

#include <cairo.h>
#include <string>

namespace plat {

TPixelSurface::TPixelSurface(int width, int height, int bitsPerPixel)
    : FWidth(width), FHeight(height), FBitsPerPixel(bitsPerPixel)
{
    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        throw EInvalidGraphic("Unsupported bitmap depth " + std::to_string(bitsPerPixel));
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide
        || std::int64_t{width} * height > MaxPixels)
        throw EInvalidGraphic("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
    FRowBytes = bitsPerPixel == 32 ? width * 4 : (width * 3 + 3) & ~3;
    const std::size_t drawBytes = static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height);
    FDrawBytes.assign(drawBytes, 0);
    if (bitsPerPixel == 24)
        FPacked.assign(static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(height), 0);
    FSurface = cairo_image_surface_create_for_data(FDrawBytes.data(), CAIRO_FORMAT_RGB24, width, height, width * 4);
    if (cairo_surface_status(FSurface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(FSurface);
        throw EInvalidGraphic("Cannot create a bitmap surface");
    }
}

TPixelSurface::~TPixelSurface()
{
    cairo_surface_destroy(FSurface);
}

std::uint8_t* TPixelSurface::ScanLine(int y)
{
    if (y < 0 || y >= FHeight)
        throw EInvalidGraphic("Scan line index out of range");
    cairo_surface_flush(FSurface);
    if (FBitsPerPixel == 24) {
        if (FPackedStale)
            SyncPackedFromDrawing();
        FDrawingStale = true;
        return FPacked.data() + static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(y);
    }
    FDrawingStale = true;
    return FDrawBytes.data() + static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(y);
}

cairo_surface_t* TPixelSurface::BeginDrawing()
{
    if (FDrawingStale) {
        if (FBitsPerPixel == 24)
            SyncDrawingFromPacked();
        cairo_surface_mark_dirty(FSurface);
        FDrawingStale = false;
    }
    if (FBitsPerPixel == 24)
        FPackedStale = true;
    return FSurface;
}

void TPixelSurface::EndDrawing()
{
    cairo_surface_flush(FSurface);
}

bool TPixelSurface::SaveToPng(const std::string& path)
{
    BeginDrawing();
    const bool saved = cairo_surface_write_to_png(FSurface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    EndDrawing();
    return saved;
}

std::uint8_t* TPixelSurface::DrawingBytes()
{
    return FDrawBytes.data();
}

int TPixelSurface::DrawingStride() const
{
    return FWidth * 4;
}

void TPixelSurface::SyncPackedFromDrawing()
{
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* from = FDrawBytes.data() + static_cast<std::size_t>(y) * FWidth * 4;
        std::uint8_t* to = FPacked.data() + static_cast<std::size_t>(y) * FRowBytes;
        for (int x = 0; x < FWidth; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    FPackedStale = false;
}

void TPixelSurface::SyncDrawingFromPacked()
{
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* from = FPacked.data() + static_cast<std::size_t>(y) * FRowBytes;
        std::uint8_t* to = FDrawBytes.data() + static_cast<std::size_t>(y) * FWidth * 4;
        for (int x = 0; x < FWidth; ++x) {
            to[4 * x] = from[3 * x];
            to[4 * x + 1] = from[3 * x + 1];
            to[4 * x + 2] = from[3 * x + 2];
            to[4 * x + 3] = 0xFF;
        }
    }
}

} // namespace plat
