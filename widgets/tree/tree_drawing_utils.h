// Drawing helpers of the data tree: alpha blending on 32-bit bitmaps,
// rectangle ordering and clipping, shortening and wrapping of text to a
// width, text extents, colour references for image lists and the strips a
// moving drag image scrolls, samples and redraws.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace plat {
class TBitmap;
class TCanvas;
class TDeviceContext;
class TFont;
class TRegion;
}

namespace qel {

enum TBlendMode { bmConstantAlpha, bmPerPixelAlpha, bmMasterAlpha, bmConstantAlphaAndColor };

// The width of a text as some canvas measures it.
using TTextMeasure = std::function<int(std::string_view text)>;

// Blends R of source into destination at target (modes 0 to 2), or the
// colour held in bias into R of destination (mode 3). Both contexts must
// draw on 32-bit bitmaps. Every byte of a pixel is computed alike.
void AlphaBlend(plat::TDeviceContext* source, plat::TDeviceContext* destination, const plat::TRect& r,
                plat::TPoint target, TBlendMode mode, int constantAlpha, int bias);
// Left <= Right and Top <= Bottom.
plat::TRect OrderRect(const plat::TRect& r);
// Clips the canvas to clipRect (and visibleRegion when given).
void ClipCanvas(plat::TCanvas& canvas, const plat::TRect& clipRect, const plat::TRegion* visibleRegion = nullptr);
// The longest prefix of s that fits width with "..." after it, s itself
// when it fits, "" when not even the ellipsis fits. ellipsisWidth 0: the
// measured width of "...".
std::string ShortenString(const TTextMeasure& measure, std::string_view s, int width, int ellipsisWidth = 0);
std::string ShortenString(plat::TDeviceContext& dc, std::string_view s, int width, int ellipsisWidth = 0);
// s broken into lines (joined by line feeds) that fit the bounds' width,
// filled from the last word backwards with rtl.
std::string WrapString(const TTextMeasure& measure, std::string_view s, const plat::TRect& bounds, bool rtl);
std::string WrapString(plat::TDeviceContext& dc, std::string_view s, const plat::TRect& bounds, bool rtl,
                       std::uint32_t drawFormat);
// Copies from into to unless they already agree (a copy announces a font
// change to the canvas, which then selects the font anew).
void TakeFont(plat::TFont& to, const plat::TFont& from);

// Measures s as DrawText would draw it at r's top-left corner; r gets the extent.
void DrawTextAtPoint(plat::TDeviceContext& dc, std::string_view s, plat::TRect& r, std::uint32_t drawFormat);
// The colour as an image list wants it: clNone 0xFFFFFFFF, clDefault
// 0xFF000000, any other colour its RGB value.
std::uint32_t GetRGBColor(plat::TColor value);
// Copies the bitmap's pixels, as a device-independent picture taken aside
// first, stretched into destRect of the canvas (how printed pages reach
// the printer).
void PrtStretchDrawDIB(plat::TCanvas& canvas, const plat::TRect& destRect, const plat::TBitmap& bitmap);
// Whether the platform shows the mouse cursor now.
bool IsMouseCursorVisible();
// Whether the user's high-contrast setting is on.
bool IsHighContrastEnabled();

struct TDragRectangles {
    plat::TRect Clip;      // left, top, right, bottom
    plat::TRect Scroll;    // left, top, right, bottom
    plat::TRect Sample1;   // the four below as x, y, width, height
    plat::TRect Sample2;
    plat::TRect Draw1;
    plat::TRect Draw2;
};
// Splits a drag image of the given size moved by the delta into the clip
// rectangle, the part that scrolls, two strips to sample and two to
// redraw; rectangles a case does not name are left as they were.
void FillDragRectangles(int dragWidth, int dragHeight, int deltaX, int deltaY, TDragRectangles& rects);

} // namespace qel
