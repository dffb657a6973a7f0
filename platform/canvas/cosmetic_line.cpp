// Bresenham lines with the dash patterns of the cosmetic pen styles. Lines
// far outside the surface are cut to it first, so huge coordinates cost
// nothing.
#include "platform/canvas/cosmetic_line.h"

#include "platform/canvas/gdi_constants.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

namespace plat {

namespace {

constexpr std::uint8_t DashPattern[] = {18, 6};
constexpr std::uint8_t DotPattern[] = {3, 3};
constexpr std::uint8_t DashDotPattern[] = {9, 6, 3, 6};
constexpr std::uint8_t DashDotDotPattern[] = {9, 3, 3, 3, 3, 3};
constexpr std::uint8_t AlternatePattern[] = {1, 1};

std::span<const std::uint8_t> PatternOf(std::uint32_t style)
{
    switch (style) {
    case PS_DASH: return DashPattern;
    case PS_DOT: return DotPattern;
    case PS_DASHDOT: return DashDotPattern;
    case PS_DASHDOTDOT: return DashDotDotPattern;
    case PS_ALTERNATE: return AlternatePattern;
    default: return {};
    }
}

void AddPixel(std::vector<TSpan>& spans, int x, int y, int scale)
{
    const int dx = x * scale;
    const int dy = y * scale;
    // A pixel right of the previous one on the same rows extends its spans.
    const std::size_t n = spans.size();
    if (n >= static_cast<std::size_t>(scale) && spans[n - static_cast<std::size_t>(scale)].Y == dy
        && spans[n - 1].X1 == dx) {
        for (int k = 0; k < scale; ++k)
            spans[n - static_cast<std::size_t>(scale - k)].X1 = dx + scale;
        return;
    }
    for (int k = 0; k < scale; ++k)
        spans.push_back({dy + k, dx, dx + scale});
}

} // namespace

void TraceCosmeticLine(int x0, int y0, int x1, int y1, std::uint32_t style, int scale, const TRect& limits,
    TLineSpans& out)
{
    if (style == PS_NULL)
        return;
    bool includeEnd = false;
    const TRect box = InflateRect(limits, 2, 2);
    if (!box.Contains(x0, y0) || !box.Contains(x1, y1)) {
        TPointF from{static_cast<double>(x0), static_cast<double>(y0)};
        TPointF to{static_cast<double>(x1), static_cast<double>(y1)};
        double t0 = 0;
        if (!ClipSegment(from, to, box, t0))
            return;
        includeEnd = !box.Contains(x1, y1);
        x0 = static_cast<int>(std::lround(from.X));
        y0 = static_cast<int>(std::lround(from.Y));
        x1 = static_cast<int>(std::lround(to.X));
        y1 = static_cast<int>(std::lround(to.Y));
    }
    const std::span<const std::uint8_t> pattern = PatternOf(style);
    if (pattern.empty() && y0 == y1) {
        // A solid horizontal line: one span, end pixel left out.
        const int end = includeEnd ? 1 : 0;
        const std::int64_t from = x0 <= x1 ? x0 : std::int64_t{x1} + 1 - end;
        const std::int64_t to = x0 <= x1 ? std::int64_t{x1} + end : std::int64_t{x0} + 1;
        const int first = static_cast<int>(std::max<std::int64_t>(from, limits.Left));
        const int last = static_cast<int>(std::min<std::int64_t>(to, limits.Right));
        if (y0 >= limits.Top && y0 < limits.Bottom && first < last)
            for (int k = 0; k < scale; ++k)
                out.Dashes.push_back({y0 * scale + k, first * scale, last * scale});
        return;
    }
    std::size_t patternIndex = 0;
    int patternLeft = pattern.empty() ? 0 : pattern[0];

    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int x = x0;
    int y = y0;
    for (;;) {
        const bool atEnd = x == x1 && y == y1;
        if (atEnd && !includeEnd)
            break;
        const bool dash = pattern.empty() || patternIndex % 2 == 0;
        if (limits.Contains(x, y))
            AddPixel(dash ? out.Dashes : out.Gaps, x, y, scale);
        if (!pattern.empty() && --patternLeft == 0) {
            patternIndex = (patternIndex + 1) % pattern.size();
            patternLeft = pattern[patternIndex];
        }
        if (atEnd)
            break;
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

} // namespace plat
