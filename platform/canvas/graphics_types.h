// Points, sizes and rectangles of the drawing layer, with the small helpers
// that painters use on them. Rectangles exclude their right and bottom edges.
#pragma once

#include <algorithm>
#include <cstdint>

namespace plat {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    // Width and height in 64 bits: coordinates near the 32-bit limits must
    // not overflow.
    std::int64_t Width() const { return std::int64_t{Right} - Left; }
    std::int64_t Height() const { return std::int64_t{Bottom} - Top; }
    // No pixel inside: an inverted rectangle is empty too.
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
TRect Bounds(int left, int top, int width, int height);

// Left <= Right and Top <= Bottom, by swapping.
TRect NormalizedRect(const TRect& r);
// The common part; an empty rectangle (0, 0, 0, 0) when they do not meet.
TRect IntersectRect(const TRect& a, const TRect& b);
// The smallest rectangle holding both; empty rectangles are left out.
TRect UnionRect(const TRect& a, const TRect& b);
// Shifts and grows with saturation at the 32-bit limits.
TRect OffsetRect(const TRect& r, int dx, int dy);
TRect InflateRect(const TRect& r, int dx, int dy);

// a * b / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// Clamps a 64-bit value into the 32-bit range.
inline int SaturateInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace plat
