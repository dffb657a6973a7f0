// The surface device context: state, clipping, and the one pixel painter
// that every shape, fill and line goes through (clip, brush pattern, mix mode).
#include "platform/canvas/surface_dc.h"

#include "platform/canvas/control_drawing.h"
#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/raster_ops.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace plat {

namespace {

// 8 x 8 hatch patterns: bit x of row y set where the hatch line runs.
bool HatchBit(int hatch, int x, int y)
{
    switch (hatch) {
    case HS_HORIZONTAL: return y == 0;
    case HS_VERTICAL: return x == 0;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 0 || y == 0;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
    }
}

int FloorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int PositiveMod(std::int64_t a, int m)
{
    const auto r = static_cast<int>(a % m);
    return r < 0 ? r + m : r;
}

} // namespace

TSurfaceDC::TSurfaceDC(TPixelSurface& surface, int deviceScale)
    : FSurface(surface), FScale(std::clamp(deviceScale, 1, 16))
{
    FCairo = cairo_create(FSurface.DrawingTarget());
    RebuildDeviceClip();
}

TSurfaceDC::~TSurfaceDC()
{
    if (FLayout != nullptr)
        g_object_unref(FLayout);
    if (FPangoContext != nullptr)
        g_object_unref(FPangoContext);
    cairo_destroy(FCairo);
}

int TSurfaceDC::Width() const
{
    return FSurface.Width() / FScale;
}

int TSurfaceDC::Height() const
{
    return FSurface.Height() / FScale;
}

TLogPen TSurfaceDC::SelectPen(const TLogPen& pen)
{
    return std::exchange(FState.Pen, pen);
}

TLogBrush TSurfaceDC::SelectBrush(const TLogBrush& brush)
{
    return std::exchange(FState.Brush, brush);
}

TLogFont TSurfaceDC::SelectFont(const TLogFont& font)
{
    if (!(font == FState.Font)) {
        FLogicalFont = nullptr;
        FDeviceFont = nullptr;
    }
    return std::exchange(FState.Font, font);
}

int TSurfaceDC::SetROP2(int mode)
{
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return std::exchange(FState.Rop2, mode);
}

int TSurfaceDC::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(FState.BkMode, mode);
}

COLORREF TSurfaceDC::SetBkColor(COLORREF color)
{
    return std::exchange(FState.BkColor, color & 0xFFFFFF);
}

COLORREF TSurfaceDC::SetTextColor(COLORREF color)
{
    return std::exchange(FState.TextColor, color & 0xFFFFFF);
}

std::uint32_t TSurfaceDC::SetTextAlign(std::uint32_t align)
{
    return std::exchange(FState.TextAlign, align);
}

COLORREF TSurfaceDC::SetDCBrushColor(COLORREF color)
{
    return std::exchange(FState.DCBrushColor, color & 0xFFFFFF);
}

COLORREF TSurfaceDC::SetDCPenColor(COLORREF color)
{
    return std::exchange(FState.DCPenColor, color & 0xFFFFFF);
}

int TSurfaceDC::SetPolyFillMode(int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return std::exchange(FState.PolyFillMode, mode);
}

int TSurfaceDC::SetArcDirection(int direction)
{
    if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE)
        return 0;
    return std::exchange(FState.ArcDirection, direction);
}

int TSurfaceDC::SetTextCharacterExtra(int extra)
{
    return std::exchange(FState.CharExtra, std::clamp(extra, -MaxCharacterExtra, MaxCharacterExtra));
}

TPoint TSurfaceDC::SetBrushOrg(int x, int y)
{
    return std::exchange(FState.BrushOrg, TPoint{x, y});
}

TPoint TSurfaceDC::MoveTo(int x, int y)
{
    if (FPathOpen)
        FPath.push_back({{{static_cast<double>(x), static_cast<double>(y)}}, false});
    return std::exchange(FState.Position, TPoint{x, y});
}

int TSurfaceDC::SaveDC()
{
    FSaved.push_back(FState);
    return static_cast<int>(FSaved.size());
}

bool TSurfaceDC::RestoreDC(int level)
{
    const int depth = static_cast<int>(FSaved.size());
    const int target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth)
        return false;
    FState = FSaved[static_cast<std::size_t>(target - 1)];
    FSaved.resize(static_cast<std::size_t>(target - 1));
    FLogicalFont = nullptr;
    FDeviceFont = nullptr;
    RebuildDeviceClip();
    return true;
}

// --- Clipping -------------------------------------------------------------

void TSurfaceDC::RebuildDeviceClip()
{
    FDeviceClip.clear();
    if (FState.Clip.Active())
        FDeviceClip = FState.Clip.Region()->Scaled(FScale).Rects();
}

TRect TSurfaceDC::LogicalBounds() const
{
    return {0, 0, Width(), Height()};
}

int TSurfaceDC::ExtSelectClipRgn(const TRegion* region, int mode)
{
    const int kind = FState.Clip.Select(region, mode, LogicalBounds());
    RebuildDeviceClip();
    return kind;
}

int TSurfaceDC::GetClipRgn(TRegion& region) const
{
    return FState.Clip.CopyTo(region);
}

int TSurfaceDC::GetClipBox(TRect& box) const
{
    return FState.Clip.Box(LogicalBounds(), box);
}

bool TSurfaceDC::PtVisible(int x, int y) const
{
    return FState.Clip.Visible(x, y, LogicalBounds());
}

bool TSurfaceDC::RectVisible(const TRect& rect) const
{
    return FState.Clip.Visible(rect, LogicalBounds());
}

bool TSurfaceDC::DeviceVisible(int deviceX, int deviceY) const
{
    if (deviceX < 0 || deviceY < 0 || deviceX >= FSurface.Width() || deviceY >= FSurface.Height())
        return false;
    if (!FState.Clip.Active())
        return true;
    auto band = std::upper_bound(FDeviceClip.begin(), FDeviceClip.end(), deviceY,
        [](int y, const TRect& r) { return y < r.Bottom; });
    for (; band != FDeviceClip.end() && band->Top <= deviceY; ++band)
        if (deviceX >= band->Left && deviceX < band->Right)
            return true;
    return false;
}

// --- The pixel painter -----------------------------------------------------

TRect TSurfaceDC::DeviceRect(const TRect& logical) const
{
    return {SaturateInt(std::int64_t{logical.Left} * FScale), SaturateInt(std::int64_t{logical.Top} * FScale),
        SaturateInt(std::int64_t{logical.Right} * FScale), SaturateInt(std::int64_t{logical.Bottom} * FScale)};
}

TRect TSurfaceDC::DeviceBounds() const
{
    return {0, 0, FSurface.Width(), FSurface.Height()};
}

std::uint32_t* TSurfaceDC::Row(int deviceY)
{
    return reinterpret_cast<std::uint32_t*>(FSurface.DrawingBytes()
        + static_cast<std::size_t>(deviceY) * static_cast<std::size_t>(FSurface.DrawingStride()));
}

void TSurfaceDC::ForEachVisibleSpan(const TSpan& span, const std::function<void(int, int, int)>& paint)
{
    if (span.Y < 0 || span.Y >= FSurface.Height())
        return;
    const int x0 = std::max(span.X0, 0);
    const int x1 = std::min(span.X1, FSurface.Width());
    if (x0 >= x1)
        return;
    if (!FState.Clip.Active()) {
        paint(span.Y, x0, x1);
        return;
    }
    auto band = std::upper_bound(FDeviceClip.begin(), FDeviceClip.end(), span.Y,
        [](int y, const TRect& r) { return y < r.Bottom; });
    for (; band != FDeviceClip.end() && band->Top <= span.Y; ++band) {
        const int from = std::max(x0, band->Left);
        const int to = std::min(x1, band->Right);
        if (from < to)
            paint(span.Y, from, to);
    }
}

bool TSurfaceDC::BrushPixel(const TLogBrush& brush, int deviceX, int deviceY, std::uint32_t& pixel) const
{
    switch (brush.Style) {
    case BS_SOLID:
        pixel = PixelFromColor(brush.UsesDCColor ? FState.DCBrushColor : brush.Color);
        return true;
    case BS_HATCHED: {
        const int x = PositiveMod(std::int64_t{FloorDiv(deviceX, FScale)} - FState.BrushOrg.X, 8);
        const int y = PositiveMod(std::int64_t{FloorDiv(deviceY, FScale)} - FState.BrushOrg.Y, 8);
        if (HatchBit(brush.Hatch, x, y)) {
            pixel = PixelFromColor(brush.Color);
            return true;
        }
        if (FState.BkMode != OPAQUE)
            return false;
        pixel = PixelFromColor(FState.BkColor);
        return true;
    }
    case BS_PATTERN: {
        const TBrushPattern* p = brush.Pattern.get();
        if (p == nullptr || p->Width <= 0 || p->Height <= 0)
            return false;
        const int x = PositiveMod(std::int64_t{FloorDiv(deviceX, FScale)} - FState.BrushOrg.X, p->Width);
        const int y = PositiveMod(std::int64_t{FloorDiv(deviceY, FScale)} - FState.BrushOrg.Y, p->Height);
        const COLORREF c = p->Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(p->Width)
            + static_cast<std::size_t>(x)];
        pixel = PixelFromColor(p->Monochrome ? (c != 0 ? FState.BkColor : FState.TextColor) : c);
        return true;
    }
    default:
        return false;
    }
}

std::uint32_t TSurfaceDC::PenPixel() const
{
    return PixelFromColor(FState.Pen.Color);
}

void TSurfaceDC::PaintSpans(const std::vector<TSpan>& spans, const TPaintSource& source)
{
    if (spans.empty() || (source.Brush != nullptr && source.Brush->Style == BS_NULL))
        return;
    FSurface.BeginDrawing();
    const bool plainCopy = source.Brush == nullptr && source.Rop2 == R2_COPYPEN;
    const bool solidBrushCopy = source.Brush != nullptr && source.Brush->Style == BS_SOLID
        && source.Rop2 == R2_COPYPEN;
    for (const TSpan& span : spans) {
        ForEachVisibleSpan(span, [&](int y, int x0, int x1) {
            std::uint32_t* row = Row(y);
            if (plainCopy || solidBrushCopy) {
                std::uint32_t pixel = source.Solid;
                if (solidBrushCopy)
                    BrushPixel(*source.Brush, x0, y, pixel);
                std::fill(row + x0, row + x1, pixel | 0xFF000000u);
                return;
            }
            for (int x = x0; x < x1; ++x) {
                std::uint32_t pixel = source.Solid;
                if (source.Brush != nullptr && !BrushPixel(*source.Brush, x, y, pixel))
                    continue;
                row[x] = MixRop2(source.Rop2, pixel, row[x]);
            }
        });
    }
    FSurface.EndDrawing();
}

void TSurfaceDC::PaintDeviceRect(const TRect& deviceRect, const TPaintSource& source)
{
    const TRect r = IntersectRect(NormalizedRect(deviceRect), DeviceBounds());
    if (r.IsEmpty())
        return;
    std::vector<TSpan> spans;
    spans.reserve(static_cast<std::size_t>(r.Height()));
    for (int y = r.Top; y < r.Bottom; ++y)
        spans.push_back({y, r.Left, r.Right});
    PaintSpans(spans, source);
}

// --- Fills and pixels --------------------------------------------------------

void TSurfaceDC::FillRect(const TRect& rect, const TLogBrush& brush)
{
    if (rect.IsEmpty())
        return;
    TPaintSource source;
    source.Brush = &brush;
    PaintDeviceRect(DeviceRect(rect), source);
}

void TSurfaceDC::FrameRect(const TRect& rect, const TLogBrush& brush)
{
    if (rect.IsEmpty())
        return;
    // Not empty: Top < Bottom and Left < Right, so these steps cannot wrap.
    const int topEnd = rect.Top + 1;
    const int bottomStart = rect.Bottom - 1;
    FillRect({rect.Left, rect.Top, rect.Right, topEnd}, brush);
    if (rect.Height() > 1)
        FillRect({rect.Left, bottomStart, rect.Right, rect.Bottom}, brush);
    if (rect.Height() > 2) {
        FillRect({rect.Left, topEnd, rect.Left + 1, bottomStart}, brush);
        if (rect.Width() > 1)
            FillRect({rect.Right - 1, topEnd, rect.Right, bottomStart}, brush);
    }
}

void TSurfaceDC::InvertRect(const TRect& rect)
{
    if (rect.IsEmpty())
        return;
    TPaintSource source;
    source.Rop2 = R2_NOT;
    PaintDeviceRect(DeviceRect(rect), source);
}

void TSurfaceDC::FillRgn(const TRegion& region, const TLogBrush& brush)
{
    TPaintSource source;
    source.Brush = &brush;
    for (const TRect& r : region.Rects())
        PaintDeviceRect(DeviceRect(r), source);
}

COLORREF TSurfaceDC::SetPixel(int x, int y, COLORREF color)
{
    if (!PtVisible(x, y))
        return CLR_INVALID;
    TPaintSource source;
    source.Solid = PixelFromColor(color);
    PaintDeviceRect(DeviceRect({x, y, x + 1, y + 1}), source);
    return color & 0xFFFFFF;
}

COLORREF TSurfaceDC::GetPixel(int x, int y)
{
    if (!PtVisible(x, y))
        return CLR_INVALID;
    FSurface.BeginDrawing();
    const std::uint32_t pixel = Row(y * FScale)[x * FScale];
    FSurface.EndDrawing();
    return ColorFromPixel(pixel);
}

void TSurfaceDC::DrawFocusRect(const TRect& rect)
{
    const TRect r = DeviceRect(NormalizedRect(rect));
    if (r.IsEmpty())
        return;
    // Frame pixels on the even squares of a checkerboard of logical pixels;
    // each pixel is inverted once, so that a second call restores it.
    FSurface.BeginDrawing();
    const int thick = FScale;
    auto invertIfEven = [&](int y, int x0, int x1) {
        std::uint32_t* row = Row(y);
        for (int x = x0; x < x1; ++x)
            if (((FloorDiv(x, FScale) + FloorDiv(y, FScale)) & 1) == 0)
                row[x] = ~row[x] | 0xFF000000u;
    };
    const bool twoRows = r.Height() > thick;
    const bool twoColumns = r.Width() > thick;
    const int firstRow = std::max(r.Top, 0);
    const int endRow = std::min(r.Bottom, FSurface.Height());
    for (int y = firstRow; y < endRow; ++y) {
        const bool edgeRow = y < r.Top + thick || (twoRows && y >= r.Bottom - thick);
        if (edgeRow) {
            ForEachVisibleSpan({y, r.Left, r.Right}, invertIfEven);
            continue;
        }
        ForEachVisibleSpan({y, r.Left, r.Left + thick}, invertIfEven);
        if (twoColumns)
            ForEachVisibleSpan({y, r.Right - thick, r.Right}, invertIfEven);
    }
    FSurface.EndDrawing();
}

bool TSurfaceDC::DrawEdge(TRect& rect, std::uint32_t edge, std::uint32_t flags)
{
    return DrawEdgeOn(*this, rect, edge, flags);
}

namespace {

// Check box and radio glyphs, made once per state as premultiplied 32-bit
// pictures whose alpha leaves the background where the glyph has no pixel.
struct TGlyphPicture {
    std::unique_ptr<TPixelSurface> Pixels;
    std::unique_ptr<TSurfaceDC> DC;
};

TSurfaceDC& GlyphPicture(std::uint32_t state)
{
    static std::mutex lock;
    static std::map<std::uint32_t, TGlyphPicture> pictures;
    std::lock_guard guard(lock);
    TGlyphPicture& picture = pictures[state];
    if (!picture.DC) {
        const TGlyph glyph = FrameControlGlyph(state);
        picture.Pixels = std::make_unique<TPixelSurface>(GlyphSize, GlyphSize, 32);
        for (int y = 0; y < GlyphSize; ++y) {
            std::uint8_t* row = picture.Pixels->ScanLine(y);
            for (int x = 0; x < GlyphSize; ++x) {
                const std::optional<COLORREF> c = glyph.At(x, y);
                row[4 * x] = c ? GetBValue(*c) : 0;
                row[4 * x + 1] = c ? GetGValue(*c) : 0;
                row[4 * x + 2] = c ? GetRValue(*c) : 0;
                row[4 * x + 3] = c ? 255 : 0;
            }
        }
        picture.DC = std::make_unique<TSurfaceDC>(*picture.Pixels);
    }
    return *picture.DC;
}

} // namespace

bool TSurfaceDC::DrawFrameControl(const TRect& rect, std::uint32_t kind, std::uint32_t state)
{
    if (kind != DFC_BUTTON || rect.IsEmpty() || (state & DFCS_BUTTONPUSH))
        return DrawFrameControlOn(*this, rect, kind, state);
    const TPoint at = GlyphPosition(rect);
    AlphaBlend(at.X, at.Y, GlyphSize, GlyphSize, &GlyphPicture(state), 0, 0, GlyphSize, GlyphSize,
        {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    return true;
}

} // namespace plat
