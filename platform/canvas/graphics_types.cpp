// Helpers on points and rectangles.
#include "platform/canvas/graphics_types.h"

#include <cstdlib>

namespace plat {

TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, SaturateInt(std::int64_t{left} + width), SaturateInt(std::int64_t{top} + height)};
}

TRect NormalizedRect(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
        std::max(r.Top, r.Bottom)};
}

TRect IntersectRect(const TRect& a, const TRect& b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
        std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty())
        return b.IsEmpty() ? TRect{} : b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
        std::max(a.Bottom, b.Bottom)};
}

TRect OffsetRect(const TRect& r, int dx, int dy)
{
    return {SaturateInt(std::int64_t{r.Left} + dx), SaturateInt(std::int64_t{r.Top} + dy),
        SaturateInt(std::int64_t{r.Right} + dx), SaturateInt(std::int64_t{r.Bottom} + dy)};
}

TRect InflateRect(const TRect& r, int dx, int dy)
{
    return {SaturateInt(std::int64_t{r.Left} - dx), SaturateInt(std::int64_t{r.Top} - dy),
        SaturateInt(std::int64_t{r.Right} + dx), SaturateInt(std::int64_t{r.Bottom} + dy)};
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result < INT32_MIN || result > INT32_MAX)
        return -1;
    return static_cast<int>(result);
}

} // namespace plat
