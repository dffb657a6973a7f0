// Regions: sets of pixels kept as y-x banded rectangles on a Cairo region,
// built from rectangles or from the spans of rasterised outlines, combined
// with AND, OR, XOR, DIFF and COPY. Coordinates saturate at
// +-MaxShapeCoordinate.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/canvas/polygon_raster.h"

#include <vector>

typedef struct _cairo_region cairo_region_t;

namespace plat {

class TRegion {
public:
    TRegion(); // empty
    explicit TRegion(const TRect& rect);
    TRegion(const TRegion& other);
    TRegion(TRegion&& other) noexcept;
    TRegion& operator=(const TRegion& other);
    TRegion& operator=(TRegion&& other) noexcept;
    ~TRegion();

    static TRegion FromSpans(const std::vector<TSpan>& spans);
    // Polygon with ALTERNATE or WINDING filling.
    static TRegion FromPolygon(const TPoint* points, int count, int fillMode);
    static TRegion FromEllipse(const TRect& box);
    static TRegion FromRoundRect(const TRect& box, int cornerWidth, int cornerHeight);

    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    bool IsEmpty() const;
    // The bounding box; (0, 0, 0, 0) when empty.
    TRect Box() const;
    bool Contains(int x, int y) const;
    // Some pixel of the rectangle lies in the region.
    bool Intersects(const TRect& rect) const;
    void Offset(int dx, int dy);
    // Every pixel becomes a factor x factor block.
    TRegion Scaled(int factor) const;
    // The banded rectangles: top to bottom, left to right.
    std::vector<TRect> Rects() const;

    // Combines a and b into this region (mode RGN_AND ... RGN_COPY, which
    // copies a); answers the resulting kind, RGN_ERROR for an unknown mode.
    int Combine(const TRegion& a, const TRegion& b, int mode);

    friend bool operator==(const TRegion& a, const TRegion& b);

private:
    cairo_region_t* FRegion;
};

// The customary region calls, with regions as values.
TRegion CreateRectRgn(int left, int top, int right, int bottom);
TRegion CreateEllipticRgn(int left, int top, int right, int bottom);
TRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
TRegion CreatePolygonRgn(const TPoint* points, int count, int fillMode);
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode);
bool PtInRegion(const TRegion& region, int x, int y);

} // namespace plat
