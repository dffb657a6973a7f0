// Pixel storage shared by bitmaps and device contexts. 32-bit bitmaps are
// drawn on in place; 24-bit ones through a 32-bit twin that is converted only
// when the other side is asked for. The storage is left untouched until a
// side is first asked for, so that a large bitmap read only through its rows
// never pays for its drawing twin.
#include "platform/canvas/pixel_surface.h"

#include "platform/canvas/graphics_errors.h"

#include <cairo.h>
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace plat {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

} // namespace

void TPixelSurface::TFreeBytes::operator()(std::uint8_t* bytes) const
{
    std::free(bytes);
}

// Uninitialised pixel memory. A large block is aligned to the kernel's 2 MB
// pages and asks for them: its first touch then faults once per 2 MB instead
// of once per 4 KB, which is most of the cost of making a large bitmap.
TPixelSurface::TBytes TPixelSurface::AllocateBytes(std::size_t count)
{
    void* bytes = nullptr;
    if (count >= 2 * HugePage) {
        if (posix_memalign(&bytes, HugePage, count) != 0)
            throw std::bad_alloc();
        madvise(bytes, count, MADV_HUGEPAGE);
    } else if ((bytes = std::malloc(count)) == nullptr) {
        throw std::bad_alloc();
    }
    return TBytes(static_cast<std::uint8_t*>(bytes));
}

TPixelSurface::TPixelSurface(int width, int height, int bitsPerPixel, std::uint8_t fillByte)
    : FWidth(width), FHeight(height), FBitsPerPixel(bitsPerPixel), FFillByte(fillByte)
{
    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        throw EInvalidGraphic("Unsupported bitmap depth " + std::to_string(bitsPerPixel));
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide
        || std::int64_t{width} * height > MaxPixels)
        throw EInvalidGraphic("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
    FRowBytes = bitsPerPixel == 32 ? width * 4 : (width * 3 + 3) & ~3;
    // Uninitialised on purpose: FUnfilled says what the bytes hold.
    FDrawBytes = AllocateBytes(static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height));
    if (bitsPerPixel == 24)
        FPacked = AllocateBytes(static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(height));
    FSurface = cairo_image_surface_create_for_data(FDrawBytes.get(), CAIRO_FORMAT_RGB24, width, height, width * 4);
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
        if (FUnfilled)
            FillPacked();
        else if (FPackedStale)
            SyncPackedFromDrawing();
        FDrawingStale = true;
        return FPacked.get() + static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(y);
    }
    if (FUnfilled)
        FillDrawing();
    FDrawingStale = true;
    return FDrawBytes.get() + static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(y);
}

void TPixelSurface::SkipStartingFill()
{
    if (FBitsPerPixel != 32)
        return;
    FUnfilled = false;
#ifndef NDEBUG
    // A fixed grey in place of what the memory held, so that a read before
    // the caller's writes shows in tests.
    std::memset(FDrawBytes.get(), 0x5A, static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(FHeight));
#endif
}

cairo_surface_t* TPixelSurface::BeginDrawing()
{
    if (FUnfilled) {
        FillDrawing();
        cairo_surface_mark_dirty(FSurface);
    }
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
    return FDrawBytes.get();
}

int TPixelSurface::DrawingStride() const
{
    return FWidth * 4;
}

void TPixelSurface::FillPacked()
{
    for (int y = 0; y < FHeight; ++y)
        std::memset(FPacked.get() + static_cast<std::size_t>(y) * FRowBytes, FFillByte,
            static_cast<std::size_t>(FWidth) * 3);
    ClearPackedPadding();
    FUnfilled = false;
}

void TPixelSurface::FillDrawing()
{
    std::memset(FDrawBytes.get(), FFillByte, static_cast<std::size_t>(FWidth) * 4 * static_cast<std::size_t>(FHeight));
    FUnfilled = false;
}

void TPixelSurface::ClearPackedPadding()
{
    const int padding = FRowBytes - FWidth * 3;
    if (padding > 0)
        for (int y = 0; y < FHeight; ++y)
            std::memset(FPacked.get() + static_cast<std::size_t>(y) * FRowBytes + FWidth * 3, 0,
                static_cast<std::size_t>(padding));
    FPackedPadded = true;
}

void TPixelSurface::SyncPackedFromDrawing()
{
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* from = FDrawBytes.get() + static_cast<std::size_t>(y) * FWidth * 4;
        std::uint8_t* to = FPacked.get() + static_cast<std::size_t>(y) * FRowBytes;
        for (int x = 0; x < FWidth; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    if (!FPackedPadded)
        ClearPackedPadding();
    FPackedStale = false;
}

void TPixelSurface::SyncDrawingFromPacked()
{
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* from = FPacked.get() + static_cast<std::size_t>(y) * FRowBytes;
        std::uint8_t* to = FDrawBytes.get() + static_cast<std::size_t>(y) * FWidth * 4;
        for (int x = 0; x < FWidth; ++x) {
            to[4 * x] = from[3 * x];
            to[4 * x + 1] = from[3 * x + 1];
            to[4 * x + 2] = from[3 * x + 2];
            to[4 * x + 3] = 0xFF;
        }
    }
}

} // namespace plat
