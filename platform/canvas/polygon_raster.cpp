// Scan-line polygon filling with an active edge list, sampling pixel centres.
#include "platform/canvas/polygon_raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plat {

namespace {

struct TEdge {
    double YTop;    // smaller y
    double YBottom; // larger y
    double XAtTop;
    double Slope;   // dx per dy
    int Direction;  // +1 downwards, -1 upwards
};

struct TCrossing {
    double X;
    int Direction;
};

std::vector<TEdge> CollectEdges(const std::vector<TPolygonF>& polygons)
{
    std::vector<TEdge> edges;
    for (const TPolygonF& polygon : polygons) {
        const std::size_t n = polygon.size();
        if (n < 3)
            continue;
        for (std::size_t i = 0; i < n; ++i) {
            const TPointF& a = polygon[i];
            const TPointF& b = polygon[(i + 1) % n];
            if (a.Y == b.Y || !std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(b.X) || !std::isfinite(b.Y))
                continue;
            const bool down = b.Y > a.Y;
            const TPointF& top = down ? a : b;
            const TPointF& bottom = down ? b : a;
            edges.push_back({top.Y, bottom.Y, top.X, (bottom.X - top.X) / (bottom.Y - top.Y), down ? 1 : -1});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const TEdge& l, const TEdge& r) { return l.YTop < r.YTop; });
    return edges;
}

int PixelFromCrossing(double x, const TRect& limits)
{
    const double first = std::ceil(x - 0.5);
    return static_cast<int>(std::clamp(first, static_cast<double>(limits.Left), static_cast<double>(limits.Right)));
}

void EmitRow(int y, std::vector<TCrossing>& crossings, int fillMode, const TRect& limits, std::vector<TSpan>& spans)
{
    std::sort(crossings.begin(), crossings.end(), [](const TCrossing& l, const TCrossing& r) { return l.X < r.X; });
    int winding = 0;
    double start = 0;
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        const int before = winding;
        winding = fillMode == 1 ? (winding ^ 1) : winding + crossings[i].Direction;
        if (before == 0 && winding != 0) {
            start = crossings[i].X;
        } else if (before != 0 && winding == 0) {
            const int x0 = PixelFromCrossing(start, limits);
            const int x1 = PixelFromCrossing(crossings[i].X, limits);
            if (x1 > x0) {
                if (!spans.empty() && spans.back().Y == y && spans.back().X1 >= x0)
                    spans.back().X1 = std::max(spans.back().X1, x1);
                else
                    spans.push_back({y, x0, x1});
            }
        }
    }
}

} // namespace

void RasterizePolygons(const std::vector<TPolygonF>& polygons, int fillMode, const TRect& limits,
    std::vector<TSpan>& spans)
{
    if (limits.IsEmpty())
        return;
    const std::vector<TEdge> edges = CollectEdges(polygons);
    if (edges.empty())
        return;
    double yMax = edges.front().YBottom;
    for (const TEdge& e : edges)
        yMax = std::max(yMax, e.YBottom);
    const double firstRow = std::max(std::ceil(edges.front().YTop - 0.5), static_cast<double>(limits.Top));
    const double endRow = std::min(std::ceil(yMax - 0.5), static_cast<double>(limits.Bottom));
    std::vector<const TEdge*> active;
    std::vector<TCrossing> crossings;
    std::size_t next = 0;
    for (double row = firstRow; row < endRow; ++row) {
        const double yc = row + 0.5;
        while (next < edges.size() && edges[next].YTop <= yc)
            active.push_back(&edges[next++]);
        std::erase_if(active, [yc](const TEdge* e) { return e->YBottom <= yc; });
        crossings.clear();
        for (const TEdge* e : active)
            if (e->YTop <= yc)
                crossings.push_back({e->XAtTop + (yc - e->YTop) * e->Slope, e->Direction});
        EmitRow(static_cast<int>(row), crossings, fillMode, limits, spans);
    }
}

bool ClipSegment(TPointF& a, TPointF& b, const TRect& box, double& t0)
{
    double t1 = 1;
    t0 = 0;
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - box.Left, box.Right - a.X, a.Y - box.Top, box.Bottom - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    b = {a.X + t1 * dx, a.Y + t1 * dy};
    a = {a.X + t0 * dx, a.Y + t0 * dy};
    return true;
}

TPolygonF ArcPoints(double cx, double cy, double rx, double ry, double a0, double sweep)
{
    // About two points per sqrt(radius) of arc: the chords stay within a
    // quarter pixel of the curve up to radii of a few thousand pixels.
    const double radius = std::clamp(std::max(std::abs(rx), std::abs(ry)), 1.0, 4096.0);
    const int steps = std::max(static_cast<int>(std::ceil(std::abs(sweep) * std::sqrt(radius) * 2)), 4);
    TPolygonF points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + sweep * i / steps;
        // Screen y grows downwards: counter-clockwise means decreasing y.
        points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return points;
}

TPolygonF EllipseOutline(double left, double top, double right, double bottom)
{
    TPolygonF points = ArcPoints((left + right) / 2, (top + bottom) / 2, (right - left) / 2, (bottom - top) / 2, 0,
        2 * std::numbers::pi);
    points.pop_back();
    return points;
}

TPolygonF RoundRectOutline(double left, double top, double right, double bottom, double cornerWidth,
    double cornerHeight)
{
    const double rx = std::min(std::abs(cornerWidth), right - left) / 2;
    const double ry = std::min(std::abs(cornerHeight), bottom - top) / 2;
    if (rx <= 0 || ry <= 0)
        return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    constexpr double quarter = std::numbers::pi / 2;
    TPolygonF points;
    auto corner = [&](double cx, double cy, double from) {
        const TPolygonF arc = ArcPoints(cx, cy, rx, ry, from, quarter);
        points.insert(points.end(), arc.begin(), arc.end());
    };
    corner(right - rx, top + ry, 0);
    corner(left + rx, top + ry, quarter);
    corner(left + rx, bottom - ry, 2 * quarter);
    corner(right - rx, bottom - ry, 3 * quarter);
    return points;
}

} // namespace plat
