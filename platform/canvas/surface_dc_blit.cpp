// Block transfers of the surface device context: every destination pixel
// takes the raster operation of pattern (the selected brush), source pixel
// and its own value. Sources are copied out first, so a block may overlap
// itself; stretching picks the nearest source pixel.
#include "platform/canvas/surface_dc.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/raster_ops.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

// A block of source pixels copied out of a device context, in device pixels.
struct TSourceBlock {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::vector<bool> Present; // false where the block lies off the source surface

    bool Get(std::int64_t x, std::int64_t y, std::uint32_t& pixel) const
    {
        if (x < Left || y < Top || x >= std::int64_t{Left} + Width || y >= std::int64_t{Top} + Height)
            return false;
        const std::size_t i = static_cast<std::size_t>(y - Top) * static_cast<std::size_t>(Width)
            + static_cast<std::size_t>(x - Left);
        pixel = Pixels[i];
        return Present[i];
    }
};

TSourceBlock CopyBlock(TPixelSurface& surface, TRect r)
{
    TSourceBlock block;
    r = NormalizedRect(r);
    const TRect clipped = IntersectRect(r, {0, 0, surface.Width(), surface.Height()});
    if (clipped.IsEmpty())
        return block;
    block.Left = clipped.Left;
    block.Top = clipped.Top;
    block.Width = static_cast<int>(clipped.Width());
    block.Height = static_cast<int>(clipped.Height());
    block.Pixels.resize(static_cast<std::size_t>(block.Width) * static_cast<std::size_t>(block.Height));
    block.Present.assign(block.Pixels.size(), true);
    surface.BeginDrawing();
    for (int y = 0; y < block.Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(surface.DrawingBytes()
            + static_cast<std::size_t>(clipped.Top + y) * static_cast<std::size_t>(surface.DrawingStride()));
        std::copy(row + clipped.Left, row + clipped.Right,
            block.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * block.Width);
    }
    surface.EndDrawing();
    return block;
}

// Index of the source pixel for destination index i of n, over a source of
// m pixels; mirrored when flip.
std::int64_t NearestIndex(std::int64_t i, std::int64_t n, std::int64_t m, bool flip)
{
    // Unstretched (the common blit): the same index, without the division.
    if (n == m && i >= 0)
        return flip ? m - 1 - i : i;
    // The product can pass 2^63 for blocks near the ends of the coordinate
    // range; long double keeps it (and its 64-bit mantissa the exact index
    // for any block of a real size).
    const auto j = static_cast<std::int64_t>((static_cast<long double>(i) + 0.5L) * static_cast<long double>(m)
        / static_cast<long double>(n));
    return flip ? m - 1 - j : j;
}

} // namespace

// The common blits (an unstretched block that lies wholly on its source,
// under an operation without pattern): every visible pixel of the target
// mixes with its source pixel, row by row, without the per-pixel steps of
// the general path. The usual operations get loops of their own.
void TSurfaceDC::CopyBlockTo(const TRect& target, const std::uint32_t* pixels, std::uint32_t rop)
{
    const TRect r = IntersectRect(target, DeviceBounds());
    if (r.IsEmpty())
        return;
    const std::int64_t width = target.Width();
    const unsigned table = rop >> 16 & 0xFFu;
    FSurface.BeginDrawing();
    for (int row = r.Top; row < r.Bottom; ++row)
        ForEachVisibleSpan({row, r.Left, r.Right}, [&](int py, int x0, int x1) {
            std::uint32_t* line = Row(py) + x0;
            const std::uint32_t* from = pixels + (std::int64_t{py} - target.Top) * width + (x0 - target.Left);
            const int count = x1 - x0;
            switch (table) {
            case 0xCC:   // SRCCOPY
                for (int i = 0; i < count; ++i)
                    line[i] = from[i] | 0xFF000000u;
                break;
            case 0x66:   // SRCINVERT
                for (int i = 0; i < count; ++i)
                    line[i] = (from[i] ^ line[i]) | 0xFF000000u;
                break;
            default:
                for (int i = 0; i < count; ++i)
                    line[i] = MixRop3(rop, 0, from[i], line[i]);
                break;
            }
        });
    FSurface.EndDrawing();
}

template <typename PixelSource>
void TSurfaceDC::BlendBlock(int x, int y, int width, int height, std::uint32_t rop, PixelSource&& sourcePixel)
{
    // sourcePixel(deviceX offset, deviceY offset, pixel&): false leaves the pixel alone.
    const TRect target = DeviceRect(NormalizedRect(Bounds(x, y, width, height)));
    const TRect r = IntersectRect(target, DeviceBounds());
    if (r.IsEmpty())
        return;
    const bool usesPattern = RopUsesPattern(rop);
    FSurface.BeginDrawing();
    for (int row = r.Top; row < r.Bottom; ++row)
        ForEachVisibleSpan({row, r.Left, r.Right}, [&](int py, int x0, int x1) {
            std::uint32_t* line = Row(py);
            for (int px = x0; px < x1; ++px) {
                std::uint32_t s = 0;
                if (!sourcePixel(std::int64_t{px} - target.Left, std::int64_t{py} - target.Top, s))
                    continue;
                std::uint32_t p = PixelFromColor(FState.BkColor);
                if (usesPattern)
                    BrushPixel(FState.Brush, px, py, p);
                line[px] = MixRop3(rop, p, s, line[px]);
            }
        });
    FSurface.EndDrawing();
}

void TSurfaceDC::PatBlt(int x, int y, int width, int height, std::uint32_t rop)
{
    BlendBlock(x, y, width, height, rop, [](std::int64_t, std::int64_t, std::uint32_t&) { return true; });
}

void TSurfaceDC::BitBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    std::uint32_t rop)
{
    StretchBlt(x, y, width, height, source, sx, sy, width, height, rop);
}

void TSurfaceDC::StretchBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    int sourceWidth, int sourceHeight, std::uint32_t rop)
{
    if (!RopUsesSource(rop)) {
        PatBlt(x, y, width, height, rop);
        return;
    }
    if (source == nullptr || source->Surface() == nullptr || width == 0 || height == 0 || sourceWidth == 0
        || sourceHeight == 0)
        return;
    const int ss = source->DeviceScale();
    const bool flipX = (width < 0) != (sourceWidth < 0);
    const bool flipY = (height < 0) != (sourceHeight < 0);
    const TRect sourceRect = NormalizedRect(Bounds(sx, sy, sourceWidth, sourceHeight));
    const TRect sourceDevice{SaturateInt(std::int64_t{sourceRect.Left} * ss), SaturateInt(std::int64_t{sourceRect.Top} * ss),
        SaturateInt(std::int64_t{sourceRect.Right} * ss), SaturateInt(std::int64_t{sourceRect.Bottom} * ss)};
    const TRect target = DeviceRect(NormalizedRect(Bounds(x, y, width, height)));
    if (IntersectRect(target, DeviceBounds()).IsEmpty())
        return;
    const TSourceBlock block = CopyBlock(*source->Surface(), sourceDevice);
    const std::int64_t n = target.Width();
    const std::int64_t m = target.Height();
    const std::int64_t sw = sourceDevice.Width();
    const std::int64_t sh = sourceDevice.Height();
    if (!RopUsesPattern(rop) && !flipX && !flipY && n == sw && m == sh && block.Width == sw && block.Height == sh) {
        CopyBlockTo(target, block.Pixels.data(), rop);
        return;
    }
    BlendBlock(x, y, width, height, rop, [&](std::int64_t dx, std::int64_t dy, std::uint32_t& pixel) {
        const int fx = sourceDevice.Left + NearestIndex(dx, n, sw, flipX);
        const int fy = sourceDevice.Top + NearestIndex(dy, m, sh, flipY);
        return block.Get(fx, fy, pixel);
    });
}

void TSurfaceDC::MaskBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    TPixelSurface* mask, int mx, int my, std::uint32_t rop4)
{
    const std::uint32_t fore = rop4 & 0x00FFFFFFu;
    const std::uint32_t back = (rop4 >> 8 & 0x00FF0000u) | (fore & 0xFFFFu);
    if (mask == nullptr) {
        BitBlt(x, y, width, height, source, sx, sy, fore);
        return;
    }
    if (width <= 0 || height <= 0)
        return;
    const bool needsSource = RopUsesSource(fore) || RopUsesSource(back);
    if (needsSource && (source == nullptr || source->Surface() == nullptr))
        return;
    const int ss = needsSource ? source->DeviceScale() : 1;
    const TSourceBlock block = needsSource
        ? CopyBlock(*source->Surface(), {SaturateInt(std::int64_t{sx} * ss), SaturateInt(std::int64_t{sy} * ss),
                                            SaturateInt((std::int64_t{sx} + width) * ss),
                                            SaturateInt((std::int64_t{sy} + height) * ss)})
        : TSourceBlock{};
    const TSourceBlock maskBlock = CopyBlock(*mask, Bounds(mx, my, width, height));
    const TRect target = DeviceRect(Bounds(x, y, width, height));
    const TRect r = IntersectRect(target, DeviceBounds());
    if (r.IsEmpty())
        return;
    FSurface.BeginDrawing();
    for (int row = r.Top; row < r.Bottom; ++row)
        ForEachVisibleSpan({row, r.Left, r.Right}, [&](int py, int x0, int x1) {
            std::uint32_t* line = Row(py);
            for (int px = x0; px < x1; ++px) {
                const std::int64_t lx = (std::int64_t{px} - target.Left) / FScale;
                const std::int64_t ly = (std::int64_t{py} - target.Top) / FScale;
                std::uint32_t m = 0;
                const bool white = maskBlock.Get(mx + lx, my + ly, m) && (m & 0xFFFFFFu) != 0;
                const std::uint32_t rop = white ? fore : back;
                std::uint32_t s = 0;
                if (RopUsesSource(rop)
                    && !block.Get(std::int64_t{sx} * ss + (std::int64_t{px} - target.Left) * ss / FScale,
                        std::int64_t{sy} * ss + (std::int64_t{py} - target.Top) * ss / FScale, s))
                    continue;
                std::uint32_t p = PixelFromColor(FState.BkColor);
                BrushPixel(FState.Brush, px, py, p);
                line[px] = MixRop3(rop, p, s, line[px]);
            }
        });
    FSurface.EndDrawing();
}

void TSurfaceDC::AlphaBlend(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    int sourceWidth, int sourceHeight, TBlendFunction blend)
{
    if (source == nullptr || source->Surface() == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0
        || sourceHeight <= 0 || blend.BlendOp != AC_SRC_OVER)
        return;
    const int ss = source->DeviceScale();
    const TRect sourceDevice{SaturateInt(std::int64_t{sx} * ss), SaturateInt(std::int64_t{sy} * ss),
        SaturateInt((std::int64_t{sx} + sourceWidth) * ss), SaturateInt((std::int64_t{sy} + sourceHeight) * ss)};
    const TSourceBlock block = CopyBlock(*source->Surface(), sourceDevice);
    const TRect target = DeviceRect(Bounds(x, y, width, height));
    const TRect r = IntersectRect(target, DeviceBounds());
    if (r.IsEmpty())
        return;
    const std::int64_t n = target.Width();
    const std::int64_t m = target.Height();
    const std::int64_t sw = sourceDevice.Width();
    const std::int64_t sh = sourceDevice.Height();
    const unsigned constant = blend.SourceConstantAlpha;
    const bool perPixel = blend.AlphaFormat & AC_SRC_ALPHA;
    FSurface.BeginDrawing();
    for (int row = r.Top; row < r.Bottom; ++row)
        ForEachVisibleSpan({row, r.Left, r.Right}, [&](int py, int x0, int x1) {
            std::uint32_t* line = Row(py);
            for (int px = x0; px < x1; ++px) {
                std::uint32_t s = 0;
                if (!block.Get(sourceDevice.Left + NearestIndex(std::int64_t{px} - target.Left, n, sw, false),
                        sourceDevice.Top + NearestIndex(std::int64_t{py} - target.Top, m, sh, false), s))
                    continue;
                const std::uint32_t d = line[px];
                // With per-pixel alpha the source counts as premultiplied.
                const unsigned sourceAlpha = perPixel ? (s >> 24) * constant / 255 : constant;
                std::uint32_t result = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    const unsigned sc = s >> shift & 0xFFu;
                    const unsigned dc = d >> shift & 0xFFu;
                    const unsigned mixed = perPixel ? std::min(255u, sc * constant / 255 + dc * (255 - sourceAlpha) / 255)
                                                    : (sc * constant + dc * (255 - constant)) / 255;
                    result |= mixed << shift;
                }
                line[px] = result;
            }
        });
    FSurface.EndDrawing();
}

} // namespace plat
