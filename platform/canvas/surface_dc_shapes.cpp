// Lines, shapes and paths of the surface device context. A closed shape is
// an inside (filled with the brush) and an outline (painted with the pen);
// the inside leaves out the outline's pixels so that every pixel is mixed once.
#include "platform/canvas/surface_dc.h"

#include "platform/canvas/cosmetic_line.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/raster_ops.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace plat {

namespace {

constexpr double CairoLimit = 1 << 22; // Cairo's fixed point stays exact below this

double Clamp(double v)
{
    return std::clamp(v, -CairoLimit, CairoLimit);
}

std::vector<TSpan> SpansOfRegion(const TRegion& region)
{
    std::vector<TSpan> spans;
    for (const TRect& r : region.Rects())
        for (int y = r.Top; y < r.Bottom; ++y)
            spans.push_back({y, r.Left, r.Right});
    std::sort(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) { return a.Y < b.Y; });
    return spans;
}

double DashCycle(const std::vector<double>& dashes)
{
    double total = 0;
    for (double d : dashes)
        total += d;
    return total > 0 ? total : 1;
}

// Screen angle (counter-clockwise, radians) of the radial through (x, y).
double RadialAngle(double cx, double cy, double rx, double ry, double x, double y)
{
    const double ux = rx != 0 ? (x - cx) / rx : x - cx;
    const double uy = ry != 0 ? (y - cy) / ry : y - cy;
    return std::atan2(-uy, ux);
}

} // namespace

bool TSurfaceDC::PenIsCosmeticLine() const
{
    const TLogPen& pen = FState.Pen;
    return !pen.IsGeometric() && pen.Kind() != PS_USERSTYLE;
}

void TSurfaceDC::AddToPath(TPathFigure figure)
{
    FPath.push_back(std::move(figure));
}

std::vector<TSpan> TSurfaceDC::StrokeSpans(const std::vector<TPathFigure>& figures, const TLogPen& pen)
{
    std::vector<TSpan> spans;
    if (pen.Kind() == PS_NULL || figures.empty())
        return spans;
    const double width = std::clamp(pen.Width, 1, 1 << 16);
    double minX = CairoLimit, minY = CairoLimit, maxX = -CairoLimit, maxY = -CairoLimit;
    for (const TPathFigure& f : figures)
        for (const TPointF& p : f.Points) {
            minX = std::min(minX, Clamp(p.X));
            minY = std::min(minY, Clamp(p.Y));
            maxX = std::max(maxX, Clamp(p.X));
            maxY = std::max(maxY, Clamp(p.Y));
        }
    const double margin = width + 2;
    const TRect box = IntersectRect(DeviceBounds(),
        TRect{SaturateInt(static_cast<std::int64_t>(std::floor((minX - margin) * FScale))),
            SaturateInt(static_cast<std::int64_t>(std::floor((minY - margin) * FScale))),
            SaturateInt(static_cast<std::int64_t>(std::ceil((maxX + margin) * FScale))),
            SaturateInt(static_cast<std::int64_t>(std::ceil((maxY + margin) * FScale)))});
    if (box.IsEmpty())
        return spans;

    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, static_cast<int>(box.Width()),
        static_cast<int>(box.Height()));
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_translate(cr, -box.Left, -box.Top);
    cairo_scale(cr, FScale, FScale);
    cairo_set_line_width(cr, width);
    const std::uint32_t cap = pen.Style & PS_ENDCAP_MASK;
    const std::uint32_t join = pen.Style & PS_JOIN_MASK;
    cairo_set_line_cap(cr, cap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
            : cap == PS_ENDCAP_SQUARE             ? CAIRO_LINE_CAP_SQUARE
                                                  : (pen.IsGeometric() ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT));
    cairo_set_line_join(cr, join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
            : join == PS_JOIN_MITER               ? CAIRO_LINE_JOIN_MITER
                                                  : (pen.IsGeometric() ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER));
    // Dash lengths: multiples of the width for wide pens, pixels for thin ones.
    const double unit = pen.IsGeometric() ? width : 1.0;
    std::vector<double> dashes;
    switch (pen.Kind()) {
    case PS_DASH: dashes = pen.IsGeometric() ? std::vector<double>{3, 1} : std::vector<double>{18, 6}; break;
    case PS_DOT: dashes = pen.IsGeometric() ? std::vector<double>{1, 1} : std::vector<double>{3, 3}; break;
    case PS_DASHDOT: dashes = pen.IsGeometric() ? std::vector<double>{3, 1, 1, 1} : std::vector<double>{9, 6, 3, 6}; break;
    case PS_DASHDOTDOT:
        dashes = pen.IsGeometric() ? std::vector<double>{3, 1, 1, 1, 1, 1} : std::vector<double>{9, 3, 3, 3, 3, 3};
        break;
    case PS_ALTERNATE: dashes = {1, 1}; break;
    case PS_USERSTYLE:
        for (std::uint32_t d : pen.UserStyle)
            dashes.push_back(std::min<double>(d, 1 << 16));
        break;
    default: break;
    }
    for (double& d : dashes)
        d *= unit;
    const bool dashed = std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0; });
    if (dashed)
        cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
    // Outlines that reach far beyond the surface are stroked segment by
    // segment, each cut to the surface with its dash phase kept, so that
    // dashing a line of millions of pixels costs nothing.
    const double reach = std::max(Width(), Height()) + width + 4096;
    const bool far = std::any_of(figures.begin(), figures.end(), [&](const TPathFigure& f) {
        return std::any_of(f.Points.begin(), f.Points.end(), [&](const TPointF& p) {
            return std::abs(p.X) > reach || std::abs(p.Y) > reach;
        });
    });
    if (!far) {
        for (const TPathFigure& f : figures) {
            if (f.Points.empty())
                continue;
            cairo_move_to(cr, Clamp(f.Points[0].X) + 0.5, Clamp(f.Points[0].Y) + 0.5);
            for (std::size_t i = 1; i < f.Points.size(); ++i)
                cairo_line_to(cr, Clamp(f.Points[i].X) + 0.5, Clamp(f.Points[i].Y) + 0.5);
            if (f.Closed)
                cairo_close_path(cr);
        }
        cairo_stroke(cr);
    } else {
        const double margin2 = width + 2;
        const TRect visible{static_cast<int>(-margin2), static_cast<int>(-margin2),
            static_cast<int>(Width() + margin2), static_cast<int>(Height() + margin2)};
        for (const TPathFigure& f : figures) {
            const std::size_t n = f.Points.size();
            const std::size_t segments = f.Closed ? n : (n == 0 ? 0 : n - 1);
            double travelled = 0;
            for (std::size_t i = 0; i < segments; ++i) {
                TPointF a = f.Points[i];
                TPointF b = f.Points[(i + 1) % n];
                const double length = std::hypot(b.X - a.X, b.Y - a.Y);
                double t0 = 0;
                if (ClipSegment(a, b, visible, t0)) {
                    if (dashed)
                        cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()),
                            std::fmod(travelled + t0 * length, DashCycle(dashes)));
                    cairo_move_to(cr, a.X + 0.5, a.Y + 0.5);
                    cairo_line_to(cr, b.X + 0.5, b.Y + 0.5);
                    cairo_stroke(cr);
                }
                travelled += length;
            }
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < box.Height(); ++y) {
        const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
        int x = 0;
        while (x < box.Width()) {
            while (x < box.Width() && row[x] == 0)
                ++x;
            const int start = x;
            while (x < box.Width() && row[x] != 0)
                ++x;
            if (x > start)
                spans.push_back({box.Top + y, box.Left + start, box.Left + x});
        }
    }
    cairo_surface_destroy(mask);
    return spans;
}

TLineSpans TSurfaceDC::OutlineSpans(const std::vector<TPathFigure>& figures)
{
    TLineSpans lines;
    const TLogPen& pen = FState.Pen;
    if (pen.Kind() == PS_NULL)
        return lines;
    const bool straight = std::all_of(figures.begin(), figures.end(), [](const TPathFigure& f) {
        return std::all_of(f.Points.begin(), f.Points.end(),
            [](const TPointF& p) { return p.X == std::floor(p.X) && p.Y == std::floor(p.Y); });
    });
    if (!PenIsCosmeticLine() || !straight) {
        lines.Dashes = StrokeSpans(figures, pen);
        return lines;
    }
    const TRect limits{0, 0, Width(), Height()};
    for (const TPathFigure& f : figures) {
        const std::size_t n = f.Points.size();
        const std::size_t segments = f.Closed ? n : (n == 0 ? 0 : n - 1);
        for (std::size_t i = 0; i < segments; ++i) {
            const TPointF& a = f.Points[i];
            const TPointF& b = f.Points[(i + 1) % n];
            TraceCosmeticLine(SaturateInt(static_cast<std::int64_t>(a.X)), SaturateInt(static_cast<std::int64_t>(a.Y)),
                SaturateInt(static_cast<std::int64_t>(b.X)), SaturateInt(static_cast<std::int64_t>(b.Y)), pen.Kind(),
                FScale, limits, lines);
        }
    }
    if (FState.BkMode != OPAQUE)
        lines.Gaps.clear();
    return lines;
}

void TSurfaceDC::PaintOutline(const TLineSpans& lines)
{
    TPaintSource penSource;
    penSource.Solid = PenPixel();
    penSource.Rop2 = FState.Rop2;
    PaintSpans(lines.Dashes, penSource);
    if (!lines.Gaps.empty()) {
        TPaintSource gapSource = penSource;
        gapSource.Solid = PixelFromColor(FState.BkColor);
        PaintSpans(lines.Gaps, gapSource);
    }
}

void TSurfaceDC::StrokeFigures(const std::vector<TPathFigure>& figures)
{
    PaintOutline(OutlineSpans(figures));
}

void TSurfaceDC::PaintClosedShape(std::vector<TSpan> inside, const std::vector<TPathFigure>& outline)
{
    const TLineSpans lines = OutlineSpans(outline);
    if (!inside.empty() && FState.Brush.Style != BS_NULL) {
        // With a mixing mode, the inside leaves out the outline's pixels so
        // that each pixel is mixed once.
        if (FState.Rop2 != R2_COPYPEN && (!lines.Dashes.empty() || !lines.Gaps.empty())) {
            TRegion region = TRegion::FromSpans(inside);
            region.Combine(region, TRegion::FromSpans(lines.Dashes), RGN_DIFF);
            region.Combine(region, TRegion::FromSpans(lines.Gaps), RGN_DIFF);
            inside = SpansOfRegion(region);
        }
        TPaintSource brushSource;
        brushSource.Brush = &FState.Brush;
        brushSource.Rop2 = FState.Rop2;
        PaintSpans(inside, brushSource);
    }
    PaintOutline(lines);
}

std::vector<TSpan> TSurfaceDC::InsideSpans(const std::vector<TPolygonF>& polygons, int fillMode) const
{
    std::vector<TSpan> spans;
    if (FState.Brush.Style == BS_NULL)
        return spans;
    std::vector<TPolygonF> device = polygons;
    for (TPolygonF& polygon : device)
        for (TPointF& p : polygon) {
            p.X = std::clamp(p.X * FScale, -1e9, 1e9);
            p.Y = std::clamp(p.Y * FScale, -1e9, 1e9);
        }
    RasterizePolygons(device, fillMode, DeviceBounds(), spans);
    return spans;
}

void TSurfaceDC::FillPolygons(const std::vector<TPolygonF>& polygons, int fillMode, const TLogBrush& brush)
{
    const TLogBrush saved = std::exchange(FState.Brush, brush);
    const std::vector<TSpan> spans = InsideSpans(polygons, fillMode);
    FState.Brush = saved;
    TPaintSource source;
    source.Brush = &brush;
    source.Rop2 = FState.Rop2;
    PaintSpans(spans, source);
}

void TSurfaceDC::LineTo(int x, int y)
{
    const TPoint from = FState.Position;
    FState.Position = {x, y};
    if (FPathOpen) {
        if (FPath.empty() || FPath.back().Closed)
            FPath.push_back({{{static_cast<double>(from.X), static_cast<double>(from.Y)}}, false});
        FPath.back().Points.push_back({static_cast<double>(x), static_cast<double>(y)});
        return;
    }
    StrokeFigures({{{{static_cast<double>(from.X), static_cast<double>(from.Y)},
                        {static_cast<double>(x), static_cast<double>(y)}},
        false}});
}

void TSurfaceDC::Polyline(const TPoint* points, int count)
{
    if (points == nullptr || count < 2)
        return;
    TPathFigure figure;
    for (int i = 0; i < count; ++i)
        figure.Points.push_back({static_cast<double>(points[i].X), static_cast<double>(points[i].Y)});
    if (FPathOpen) {
        AddToPath(std::move(figure));
        return;
    }
    StrokeFigures({figure});
}

void TSurfaceDC::PolylineTo(const TPoint* points, int count)
{
    if (points == nullptr || count < 1)
        return;
    for (int i = 0; i < count; ++i)
        LineTo(points[i].X, points[i].Y);
}

void TSurfaceDC::Polygon(const TPoint* points, int count)
{
    if (points == nullptr || count < 2)
        return;
    TPolygonF outline;
    for (int i = 0; i < count; ++i)
        outline.push_back({static_cast<double>(points[i].X), static_cast<double>(points[i].Y)});
    if (FPathOpen) {
        AddToPath({outline, true});
        return;
    }
    // The inside: pixel centres inside the polygon; the pen's outline runs
    // through the vertex pixels.
    PaintClosedShape(InsideSpans({outline}, FState.PolyFillMode), {{outline, true}});
}

void TSurfaceDC::Rectangle(int left, int top, int right, int bottom)
{
    const TRect r = NormalizedRect({left, top, right, bottom});
    if (FPathOpen) {
        AddToPath({{{double(r.Left), double(r.Top)}, {double(r.Right) - 1, double(r.Top)},
                       {double(r.Right) - 1, double(r.Bottom) - 1}, {double(r.Left), double(r.Bottom) - 1}},
            true});
        return;
    }
    if (r.IsEmpty())
        return;
    if (FState.Pen.Kind() == PS_NULL) {
        // Without a pen the box is one pixel smaller on the right and bottom.
        FillPolygons({{{double(r.Left), double(r.Top)}, {double(r.Right) - 1, double(r.Top)},
                         {double(r.Right) - 1, double(r.Bottom) - 1}, {double(r.Left), double(r.Bottom) - 1}}},
            ALTERNATE, FState.Brush);
        return;
    }
    const TPolygonF outline{{double(r.Left), double(r.Top)}, {double(r.Right) - 1, double(r.Top)},
        {double(r.Right) - 1, double(r.Bottom) - 1}, {double(r.Left), double(r.Bottom) - 1}};
    const TPolygonF inside{{double(r.Left), double(r.Top)}, {double(r.Right), double(r.Top)},
        {double(r.Right), double(r.Bottom)}, {double(r.Left), double(r.Bottom)}};
    PaintClosedShape(InsideSpans({inside}, ALTERNATE), {{outline, true}});
}

void TSurfaceDC::DrawArcShape(int kind, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    // kind: 0 ellipse, 1 arc, 2 arc-to, 3 pie, 4 chord.
    const TRect box = NormalizedRect({left, top, right, bottom});
    const double cx = (double(box.Left) + box.Right) / 2;
    const double cy = (double(box.Top) + box.Bottom) / 2;
    const double rx = (double(box.Right) - box.Left) / 2;
    const double ry = (double(box.Bottom) - box.Top) / 2;
    double start = 0;
    double sweep = 2 * std::numbers::pi;
    if (kind != 0 && !(x3 == x4 && y3 == y4)) {
        const double a3 = RadialAngle(cx, cy, rx, ry, x3, y3);
        const double a4 = RadialAngle(cx, cy, rx, ry, x4, y4);
        double ccw = std::fmod(a4 - a3, 2 * std::numbers::pi);
        if (ccw <= 0)
            ccw += 2 * std::numbers::pi;
        start = a3;
        sweep = FState.ArcDirection == AD_COUNTERCLOCKWISE ? ccw : ccw - 2 * std::numbers::pi;
        if (sweep == 0)
            sweep = -2 * std::numbers::pi;
    }
    // Outline through the pixel centres of the box (right and bottom exclusive).
    const double ocx = cx - 0.5;
    const double ocy = cy - 0.5;
    const double orx = std::max(rx - 0.5, 0.0);
    const double ory = std::max(ry - 0.5, 0.0);
    TPathFigure outline{ArcPoints(ocx, ocy, orx, ory, start, sweep), false};
    TPolygonF inside = ArcPoints(cx, cy, rx, ry, start, sweep);
    const bool full = std::abs(sweep) >= 2 * std::numbers::pi;
    if (kind == 0 || (full && kind != 1 && kind != 2)) {
        outline.Closed = true;
    } else if (kind == 3) {
        outline.Points.push_back({ocx, ocy});
        outline.Closed = true;
        inside.push_back({cx, cy});
    } else if (kind == 4) {
        outline.Closed = true;
    }
    if (kind == 2) {
        outline.Points.insert(outline.Points.begin(),
            {static_cast<double>(FState.Position.X), static_cast<double>(FState.Position.Y)});
        FState.Position = {static_cast<int>(std::lround(outline.Points.back().X)),
            static_cast<int>(std::lround(outline.Points.back().Y))};
    }
    if (FPathOpen) {
        // An arc-to continues the figure it starts from, as a line-to does.
        if (kind == 2 && !FPath.empty() && !FPath.back().Closed) {
            TPolygonF& points = FPath.back().Points;
            points.insert(points.end(), outline.Points.begin() + 1, outline.Points.end());
            return;
        }
        AddToPath(outline);
        return;
    }
    const bool filled = kind == 0 || kind == 3 || kind == 4;
    PaintClosedShape(filled && !box.IsEmpty() ? InsideSpans({inside}, ALTERNATE) : std::vector<TSpan>{}, {outline});
}

void TSurfaceDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    const TRect r = NormalizedRect({left, top, right, bottom});
    TPathFigure outline{RoundRectOutline(r.Left, r.Top, double(r.Right) - 1, double(r.Bottom) - 1, cornerWidth, cornerHeight), true};
    if (FPathOpen) {
        AddToPath(outline);
        return;
    }
    if (r.IsEmpty())
        return;
    PaintClosedShape(InsideSpans({RoundRectOutline(r.Left, r.Top, r.Right, r.Bottom, cornerWidth, cornerHeight)},
                         ALTERNATE),
        {outline});
}

void TSurfaceDC::Ellipse(int left, int top, int right, int bottom)
{
    DrawArcShape(0, left, top, right, bottom, 0, 0, 0, 0);
}

void TSurfaceDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    DrawArcShape(1, left, top, right, bottom, x3, y3, x4, y4);
}

void TSurfaceDC::ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    DrawArcShape(2, left, top, right, bottom, x3, y3, x4, y4);
}

void TSurfaceDC::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    DrawArcShape(3, left, top, right, bottom, x3, y3, x4, y4);
}

void TSurfaceDC::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    DrawArcShape(4, left, top, right, bottom, x3, y3, x4, y4);
}

// --- Paths ---------------------------------------------------------------------

void TSurfaceDC::BeginPath()
{
    FPath.clear();
    FWidenedPath.reset();
    FPathOpen = true;
    FPathClosed = false;
}

void TSurfaceDC::EndPath()
{
    if (!FPathOpen)
        return;
    FPathOpen = false;
    FPathClosed = true;
}

void TSurfaceDC::AbortPath()
{
    FPath.clear();
    FWidenedPath.reset();
    FPathOpen = false;
    FPathClosed = false;
}

void TSurfaceDC::CloseFigure()
{
    if (FPathOpen && !FPath.empty())
        FPath.back().Closed = true;
}

void TSurfaceDC::StrokePath()
{
    if (!FPathClosed)
        return;
    if (FWidenedPath)
        FillRgn(*FWidenedPath, CreateSolidBrush(FState.Pen.Color));
    else
        StrokeFigures(FPath);
    AbortPath();
}

void TSurfaceDC::FillPath()
{
    if (!FPathClosed)
        return;
    if (FWidenedPath) {
        FillRgn(*FWidenedPath, FState.Brush);
    } else {
        std::vector<TPolygonF> polygons;
        for (const TPathFigure& f : FPath)
            polygons.push_back(f.Points);
        FillPolygons(polygons, FState.PolyFillMode, FState.Brush);
    }
    AbortPath();
}

void TSurfaceDC::StrokeAndFillPath()
{
    if (!FPathClosed)
        return;
    const std::vector<TPathFigure> figures = FPath;
    const std::optional<TRegion> widened = FWidenedPath;
    FillPath();
    if (widened)
        return;
    StrokeFigures(figures);
}

void TSurfaceDC::WidenPath()
{
    if (!FPathClosed || FWidenedPath)
        return;
    const int savedScale = FScale;
    // The widened outline is kept in logical pixels.
    FScale = 1;
    std::vector<TPathFigure> figures = FPath;
    const std::vector<TSpan> spans = StrokeSpans(figures, FState.Pen.Kind() == PS_NULL ? CreatePen(PS_SOLID, 1, 0)
                                                                                       : FState.Pen);
    FScale = savedScale;
    FWidenedPath = TRegion::FromSpans(spans);
}

TRegion TSurfaceDC::PathToRegion()
{
    return PathRegionWithin({-(1 << 15), -(1 << 15), 1 << 15, 1 << 15});
}

TRegion TSurfaceDC::PathRegionWithin(const TRect& limits)
{
    if (!FPathClosed)
        return {};
    TRegion region;
    if (FWidenedPath) {
        region = *FWidenedPath;
    } else {
        std::vector<TPolygonF> polygons;
        for (const TPathFigure& f : FPath)
            polygons.push_back(f.Points);
        std::vector<TSpan> spans;
        RasterizePolygons(polygons, FState.PolyFillMode, limits, spans);
        region = TRegion::FromSpans(spans);
    }
    AbortPath();
    return region;
}

int TSurfaceDC::SelectClipPath(int mode)
{
    if (!FPathClosed)
        return RGN_ERROR;
    // Only the part near the surface can ever limit drawing.
    const TRegion region = PathRegionWithin(InflateRect(LogicalBounds(), 64, 64));
    return ExtSelectClipRgn(&region, mode);
}

} // namespace plat
