// Control drawings built from plain fills in the fixed system palette: 3D
// edges and frames, and the 13 x 13 check box, radio button and push button
// glyphs. They draw through any device context, so the recording twin sees
// them as fills.
#pragma once

#include "platform/canvas/device_context.h"

#include <array>
#include <optional>

namespace plat {

constexpr int GlyphSize = 13;

// A check box or radio button picture: a colour per pixel, or none where
// the glyph leaves the background.
class TGlyph {
public:
    std::optional<COLORREF> At(int x, int y) const { return FPixels[static_cast<std::size_t>(y * GlyphSize + x)]; }
    void Set(int x, int y, COLORREF color)
    {
        if (x >= 0 && y >= 0 && x < GlyphSize && y < GlyphSize)
            FPixels[static_cast<std::size_t>(y * GlyphSize + x)] = color;
    }
    void Fill(int left, int top, int right, int bottom, COLORREF color);

private:
    std::array<std::optional<COLORREF>, GlyphSize * GlyphSize> FPixels{};
};

// The glyph of a DFC_BUTTON check box or radio button state.
TGlyph FrameControlGlyph(std::uint32_t state);
// Where the glyph stands in a frame-control rectangle: centred, or at the
// top left of a smaller one.
TPoint GlyphPosition(const TRect& rect);

bool DrawEdgeOn(TDeviceContext& dc, TRect& rect, std::uint32_t edge, std::uint32_t flags);
bool DrawFrameControlOn(TDeviceContext& dc, const TRect& rect, std::uint32_t kind, std::uint32_t state);
// A frame of the given width: top and left edges in one colour, bottom and
// right in the other; the rectangle shrinks by the width on every side.
void Frame3D(TDeviceContext& dc, TRect& rect, COLORREF topColor, COLORREF bottomColor, int width);

} // namespace plat
