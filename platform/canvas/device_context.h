// The device-context interface every painter draws through: state (pen,
// brush, font, mix mode, colours, alignment, clip), shapes, paths, text,
// block transfers and the frame-control drawings. Implemented on pixel
// surfaces (TSurfaceDC) and by the recording twin (TRecordingDC).
// Coordinates are logical pixels; a surface with a device scale multiplies them.
#pragma once

#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/graphics_types.h"
#include "platform/canvas/region.h"

#include <string>
#include <string_view>

namespace plat {

class TPixelSurface;

// Character spacing beyond this is cut to it.
constexpr int MaxCharacterExtra = 32767;

class TDeviceContext {
public:
    TDeviceContext() = default;
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;
    virtual ~TDeviceContext() = default;

    // The pixels drawn on, or null (recording, printing); the device scale.
    virtual TPixelSurface* Surface() = 0;
    virtual int DeviceScale() const = 0;

    // Selection answers the object that was selected before.
    virtual TLogPen SelectPen(const TLogPen& pen) = 0;
    virtual TLogBrush SelectBrush(const TLogBrush& brush) = 0;
    virtual TLogFont SelectFont(const TLogFont& font) = 0;
    virtual const TLogPen& CurrentPen() const = 0;
    virtual const TLogBrush& CurrentBrush() const = 0;
    virtual const TLogFont& CurrentFont() const = 0;

    // Setters answer the former value.
    virtual int SetROP2(int mode) = 0;
    virtual int GetROP2() const = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual int GetBkMode() const = 0;
    virtual COLORREF SetBkColor(COLORREF color) = 0;
    virtual COLORREF GetBkColor() const = 0;
    virtual COLORREF SetTextColor(COLORREF color) = 0;
    virtual COLORREF GetTextColor() const = 0;
    virtual std::uint32_t SetTextAlign(std::uint32_t align) = 0;
    virtual std::uint32_t GetTextAlign() const = 0;
    virtual COLORREF SetDCBrushColor(COLORREF color) = 0;
    virtual COLORREF GetDCBrushColor() const = 0;
    virtual COLORREF SetDCPenColor(COLORREF color) = 0;
    virtual int SetPolyFillMode(int mode) = 0;
    virtual int SetArcDirection(int direction) = 0;
    virtual int SetTextCharacterExtra(int extra) = 0;
    virtual int GetTextCharacterExtra() const = 0;
    virtual TPoint SetBrushOrg(int x, int y) = 0;
    virtual TPoint MoveTo(int x, int y) = 0;
    virtual TPoint CurrentPosition() const = 0;
    // SaveDC answers the new depth (0 on failure); RestoreDC(-1) takes the
    // last saved state, a positive level the state saved at that depth.
    virtual int SaveDC() = 0;
    virtual bool RestoreDC(int level) = 0;

    // Shapes: outlines with the pen, insides with the brush, right and bottom
    // edges exclusive. LineTo leaves out its end pixel.
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(const TPoint* points, int count) = 0;
    virtual void PolylineTo(const TPoint* points, int count) = 0;
    virtual void Polygon(const TPoint* points, int count) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // Arcs of the ellipse in the box, from the radial through (x3, y3) to the
    // radial through (x4, y4) in the arc direction; equal radials: the whole ellipse.
    virtual void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    virtual void ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    virtual void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    virtual void Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    // Fills with the given brush, pen and mix mode aside.
    virtual void FillRect(const TRect& rect, const TLogBrush& brush) = 0;
    virtual void FrameRect(const TRect& rect, const TLogBrush& brush) = 0;
    virtual void InvertRect(const TRect& rect) = 0;
    virtual void FillRgn(const TRegion& region, const TLogBrush& brush) = 0;
    virtual COLORREF SetPixel(int x, int y, COLORREF color) = 0;
    // CLR_INVALID off the surface or outside the clip.
    virtual COLORREF GetPixel(int x, int y) = 0;

    // Clipping. The select calls answer the kind of the new clip region;
    // the rectangle calls combine through ExtSelectClipRgn.
    virtual int ExtSelectClipRgn(const TRegion* region, int mode) = 0;
    int SelectClipRgn(const TRegion* region) { return ExtSelectClipRgn(region, RGN_COPY); } // null: no clip
    int IntersectClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    // 1 and a copy of the clip region, or 0 without a clip.
    virtual int GetClipRgn(TRegion& region) const = 0;
    // The box of what can be drawn on: the clip's box, else the whole surface.
    virtual int GetClipBox(TRect& box) const = 0;
    virtual bool PtVisible(int x, int y) const = 0;
    virtual bool RectVisible(const TRect& rect) const = 0;

    // Paths: the shape calls between BeginPath and EndPath record outlines.
    virtual void BeginPath() = 0;
    virtual void EndPath() = 0;
    virtual void AbortPath() = 0;
    virtual void CloseFigure() = 0;
    virtual void StrokePath() = 0;
    virtual void FillPath() = 0;
    virtual void StrokeAndFillPath() = 0;
    // Replaces the path by the area the current pen would paint along it.
    virtual void WidenPath() = 0;
    virtual int SelectClipPath(int mode) = 0;
    virtual TRegion PathToRegion() = 0;

    // Text (UTF-8).
    virtual TTextMetric GetTextMetrics() = 0;
    virtual TSize GetTextExtent(std::string_view text) = 0;
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // options: ETO_OPAQUE, ETO_CLIPPED with rect; dx: one advance per
    // character (null: the font's own).
    virtual void ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text,
        const int* dx) = 0;
    // Answers the height of the text drawn; with DT_CALCRECT only measures
    // into rect.
    virtual int DrawText(std::string_view text, TRect& rect, std::uint32_t format) = 0;

    // Block transfers with ternary raster operations; the pattern is the
    // selected brush. A negative width or height mirrors (StretchBlt).
    virtual void BitBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
        std::uint32_t rop) = 0;
    virtual void StretchBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
        int sourceWidth, int sourceHeight, std::uint32_t rop) = 0;
    virtual void PatBlt(int x, int y, int width, int height, std::uint32_t rop) = 0;
    // The mask's white pixels take the foreground operation, black ones the background.
    virtual void MaskBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
        TPixelSurface* mask, int mx, int my, std::uint32_t rop4) = 0;
    virtual void AlphaBlend(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
        int sourceWidth, int sourceHeight, TBlendFunction blend) = 0;

    // Control drawings in the fixed system palette.
    virtual bool DrawEdge(TRect& rect, std::uint32_t edge, std::uint32_t flags) = 0;
    virtual bool DrawFrameControl(const TRect& rect, std::uint32_t kind, std::uint32_t state) = 0;
    // Inverts every other pixel of the rectangle's frame; a second call restores it.
    virtual void DrawFocusRect(const TRect& rect) = 0;
};

using HDC = TDeviceContext*;

} // namespace plat
