// Regions on cairo_region_t.
#include "platform/canvas/region.h"

#include "platform/canvas/gdi_constants.h"

#include <cairo.h>

namespace plat {

namespace {

int ClampCoordinate(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -MaxShapeCoordinate, MaxShapeCoordinate));
}

cairo_rectangle_int_t ToCairo(const TRect& r)
{
    const TRect n = NormalizedRect(r);
    const int left = ClampCoordinate(n.Left);
    const int top = ClampCoordinate(n.Top);
    return {left, top, ClampCoordinate(n.Right) - left, ClampCoordinate(n.Bottom) - top};
}

const TRect ShapeLimits{-MaxShapeCoordinate, -MaxShapeCoordinate, MaxShapeCoordinate, MaxShapeCoordinate};

// Rasterised outlines stay within this window, so that a huge shape cannot
// take rows without end.
const TRect RasterLimits{-(1 << 15), -(1 << 15), 1 << 15, 1 << 15};

} // namespace

TRegion::TRegion() : FRegion(cairo_region_create()) {}

TRegion::TRegion(const TRect& rect)
{
    const cairo_rectangle_int_t r = ToCairo(rect);
    FRegion = cairo_region_create_rectangle(&r);
}

TRegion::TRegion(const TRegion& other) : FRegion(cairo_region_copy(other.FRegion)) {}

TRegion::TRegion(TRegion&& other) noexcept : FRegion(other.FRegion)
{
    other.FRegion = cairo_region_create();
}

TRegion& TRegion::operator=(const TRegion& other)
{
    if (this != &other) {
        cairo_region_t* copy = cairo_region_copy(other.FRegion);
        cairo_region_destroy(FRegion);
        FRegion = copy;
    }
    return *this;
}

TRegion& TRegion::operator=(TRegion&& other) noexcept
{
    std::swap(FRegion, other.FRegion);
    return *this;
}

TRegion::~TRegion()
{
    cairo_region_destroy(FRegion);
}

TRegion TRegion::FromSpans(const std::vector<TSpan>& spans)
{
    std::vector<cairo_rectangle_int_t> rects;
    rects.reserve(spans.size());
    for (const TSpan& s : spans)
        if (s.X1 > s.X0)
            rects.push_back({s.X0, s.Y, s.X1 - s.X0, 1});
    TRegion region;
    cairo_region_destroy(region.FRegion);
    // Cairo merges rows of equal spans into taller rectangles.
    region.FRegion = cairo_region_create_rectangles(rects.data(), static_cast<int>(rects.size()));
    return region;
}

TRegion TRegion::FromPolygon(const TPoint* points, int count, int fillMode)
{
    if (points == nullptr || count < 3)
        return {};
    TPolygonF polygon;
    polygon.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        polygon.push_back({static_cast<double>(ClampCoordinate(points[i].X)),
            static_cast<double>(ClampCoordinate(points[i].Y))});
    std::vector<TSpan> spans;
    RasterizePolygons({polygon}, fillMode == WINDING ? WINDING : ALTERNATE, RasterLimits, spans);
    return FromSpans(spans);
}

TRegion TRegion::FromEllipse(const TRect& box)
{
    const TRect b = NormalizedRect(box);
    std::vector<TSpan> spans;
    RasterizePolygons({EllipseOutline(b.Left, b.Top, b.Right, b.Bottom)}, ALTERNATE, RasterLimits, spans);
    return FromSpans(spans);
}

TRegion TRegion::FromRoundRect(const TRect& box, int cornerWidth, int cornerHeight)
{
    const TRect b = NormalizedRect(box);
    std::vector<TSpan> spans;
    RasterizePolygons({RoundRectOutline(b.Left, b.Top, b.Right, b.Bottom, cornerWidth, cornerHeight)}, ALTERNATE,
        RasterLimits, spans);
    return FromSpans(spans);
}

int TRegion::Kind() const
{
    const int n = cairo_region_num_rectangles(FRegion);
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool TRegion::IsEmpty() const
{
    return cairo_region_is_empty(FRegion);
}

TRect TRegion::Box() const
{
    if (IsEmpty())
        return {};
    cairo_rectangle_int_t r;
    cairo_region_get_extents(FRegion, &r);
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

bool TRegion::Contains(int x, int y) const
{
    return cairo_region_contains_point(FRegion, x, y);
}

bool TRegion::Intersects(const TRect& rect) const
{
    if (rect.IsEmpty())
        return false;
    const cairo_rectangle_int_t r = ToCairo(rect);
    return cairo_region_contains_rectangle(FRegion, &r) != CAIRO_REGION_OVERLAP_OUT;
}

void TRegion::Offset(int dx, int dy)
{
    const TRect box = Box();
    const int safeDx = static_cast<int>(std::clamp<std::int64_t>(dx, -MaxShapeCoordinate - std::int64_t{box.Left},
        MaxShapeCoordinate - std::int64_t{box.Right}));
    const int safeDy = static_cast<int>(std::clamp<std::int64_t>(dy, -MaxShapeCoordinate - std::int64_t{box.Top},
        MaxShapeCoordinate - std::int64_t{box.Bottom}));
    cairo_region_translate(FRegion, safeDx, safeDy);
}

TRegion TRegion::Scaled(int factor) const
{
    if (factor == 1)
        return *this;
    std::vector<cairo_rectangle_int_t> scaled;
    for (const TRect& r : Rects())
        scaled.push_back(ToCairo({SaturateInt(std::int64_t{r.Left} * factor), SaturateInt(std::int64_t{r.Top} * factor),
            SaturateInt(std::int64_t{r.Right} * factor), SaturateInt(std::int64_t{r.Bottom} * factor)}));
    TRegion result;
    cairo_region_destroy(result.FRegion);
    result.FRegion = cairo_region_create_rectangles(scaled.data(), static_cast<int>(scaled.size()));
    return result;
}

std::vector<TRect> TRegion::Rects() const
{
    const int n = cairo_region_num_rectangles(FRegion);
    std::vector<TRect> rects;
    rects.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(FRegion, i, &r);
        rects.push_back({r.x, r.y, r.x + r.width, r.y + r.height});
    }
    return rects;
}

int TRegion::Combine(const TRegion& a, const TRegion& b, int mode)
{
    cairo_region_t* result = cairo_region_copy(a.FRegion);
    switch (mode) {
    case RGN_AND: cairo_region_intersect(result, b.FRegion); break;
    case RGN_OR: cairo_region_union(result, b.FRegion); break;
    case RGN_XOR: cairo_region_xor(result, b.FRegion); break;
    case RGN_DIFF: cairo_region_subtract(result, b.FRegion); break;
    case RGN_COPY: break;
    default: cairo_region_destroy(result); return RGN_ERROR;
    }
    cairo_region_destroy(FRegion);
    FRegion = result;
    return Kind();
}

bool operator==(const TRegion& a, const TRegion& b)
{
    return cairo_region_equal(a.FRegion, b.FRegion);
}

TRegion CreateRectRgn(int left, int top, int right, int bottom)
{
    return TRegion(TRect{left, top, right, bottom});
}

TRegion CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return TRegion::FromEllipse({left, top, right, bottom});
}

TRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    return TRegion::FromRoundRect({left, top, right, bottom}, cornerWidth, cornerHeight);
}

TRegion CreatePolygonRgn(const TPoint* points, int count, int fillMode)
{
    return TRegion::FromPolygon(points, count, fillMode);
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode)
{
    return dest.Combine(a, b, mode);
}

bool PtInRegion(const TRegion& region, int x, int y)
{
    return region.Contains(x, y);
}

} // namespace plat
