// The device context on a pixel surface: every shape becomes pixel spans
// (centres inside, right and bottom edges exclusive, no anti-aliasing) that
// one painter clips and mixes into the surface bytes; text goes through
// Pango on the canvas's font map. An integer device scale multiplies every
// logical pixel.
#pragma once

#include "platform/canvas/dc_state.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/cosmetic_line.h"
#include "platform/canvas/polygon_raster.h"
#include "platform/canvas/utf8_text.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace plat {

class TPixelSurface;
class TRealizedFont;

class TSurfaceDC : public TDeviceContext {
public:
    // The surface is not owned and must outlive the context; its logical size
    // is its pixel size divided by the device scale.
    explicit TSurfaceDC(TPixelSurface& surface, int deviceScale = 1);
    ~TSurfaceDC() override;

    TPixelSurface* Surface() override { return &FSurface; }
    int DeviceScale() const override { return FScale; }
    // The logical size.
    int Width() const;
    int Height() const;

    TLogPen SelectPen(const TLogPen& pen) override;
    TLogBrush SelectBrush(const TLogBrush& brush) override;
    TLogFont SelectFont(const TLogFont& font) override;
    const TLogPen& CurrentPen() const override { return FState.Pen; }
    const TLogBrush& CurrentBrush() const override { return FState.Brush; }
    const TLogFont& CurrentFont() const override { return FState.Font; }
    int SetROP2(int mode) override;
    int GetROP2() const override { return FState.Rop2; }
    int SetBkMode(int mode) override;
    int GetBkMode() const override { return FState.BkMode; }
    COLORREF SetBkColor(COLORREF color) override;
    COLORREF GetBkColor() const override { return FState.BkColor; }
    COLORREF SetTextColor(COLORREF color) override;
    COLORREF GetTextColor() const override { return FState.TextColor; }
    std::uint32_t SetTextAlign(std::uint32_t align) override;
    std::uint32_t GetTextAlign() const override { return FState.TextAlign; }
    COLORREF SetDCBrushColor(COLORREF color) override;
    COLORREF GetDCBrushColor() const override { return FState.DCBrushColor; }
    COLORREF SetDCPenColor(COLORREF color) override;
    int SetPolyFillMode(int mode) override;
    int SetArcDirection(int direction) override;
    int SetTextCharacterExtra(int extra) override;
    int GetTextCharacterExtra() const override { return FState.CharExtra; }
    TPoint SetBrushOrg(int x, int y) override;
    TPoint MoveTo(int x, int y) override;
    TPoint CurrentPosition() const override { return FState.Position; }
    int SaveDC() override;
    bool RestoreDC(int level) override;

    void LineTo(int x, int y) override;
    void Polyline(const TPoint* points, int count) override;
    void PolylineTo(const TPoint* points, int count) override;
    void Polygon(const TPoint* points, int count) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void FillRect(const TRect& rect, const TLogBrush& brush) override;
    void FrameRect(const TRect& rect, const TLogBrush& brush) override;
    void InvertRect(const TRect& rect) override;
    void FillRgn(const TRegion& region, const TLogBrush& brush) override;
    COLORREF SetPixel(int x, int y, COLORREF color) override;
    COLORREF GetPixel(int x, int y) override;

    int ExtSelectClipRgn(const TRegion* region, int mode) override;
    int GetClipRgn(TRegion& region) const override;
    int GetClipBox(TRect& box) const override;
    bool PtVisible(int x, int y) const override;
    bool RectVisible(const TRect& rect) const override;

    void BeginPath() override;
    void EndPath() override;
    void AbortPath() override;
    void CloseFigure() override;
    void StrokePath() override;
    void FillPath() override;
    void StrokeAndFillPath() override;
    void WidenPath() override;
    int SelectClipPath(int mode) override;
    TRegion PathToRegion() override;

    TTextMetric GetTextMetrics() override;
    TSize GetTextExtent(std::string_view text) override;
    void TextOut(int x, int y, std::string_view text) override;
    void ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text,
        const int* dx) override;
    int DrawText(std::string_view text, TRect& rect, std::uint32_t format) override;

    void BitBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
        std::uint32_t rop) override;
    void StretchBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy, int sourceWidth,
        int sourceHeight, std::uint32_t rop) override;
    void PatBlt(int x, int y, int width, int height, std::uint32_t rop) override;
    void MaskBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy, TPixelSurface* mask,
        int mx, int my, std::uint32_t rop4) override;
    void AlphaBlend(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy, int sourceWidth,
        int sourceHeight, TBlendFunction blend) override;

    bool DrawEdge(TRect& rect, std::uint32_t edge, std::uint32_t flags) override;
    bool DrawFrameControl(const TRect& rect, std::uint32_t kind, std::uint32_t state) override;
    void DrawFocusRect(const TRect& rect) override;

private:
    // What the painter mixes in: a solid pixel or the brush at each pixel.
    struct TPaintSource {
        const TLogBrush* Brush = nullptr; // null: Solid
        std::uint32_t Solid = 0;
        int Rop2 = R2_COPYPEN;
    };
    struct TPathFigure {
        TPolygonF Points; // logical coordinates of the outline
        bool Closed = false;
    };

    // Pixel core (surface_dc.cpp).
    void PaintSpans(const std::vector<TSpan>& spans, const TPaintSource& source);
    void PaintDeviceRect(const TRect& deviceRect, const TPaintSource& source);
    // Calls paint(y, x0, x1) for each piece of the device span that lies on
    // the surface and inside the clip.
    void ForEachVisibleSpan(const TSpan& span, const std::function<void(int, int, int)>& paint);
    bool BrushPixel(const TLogBrush& brush, int deviceX, int deviceY, std::uint32_t& pixel) const;
    std::uint32_t PenPixel() const;
    TRect DeviceRect(const TRect& logical) const;
    TRect DeviceBounds() const;
    TRect LogicalBounds() const;
    bool DeviceVisible(int deviceX, int deviceY) const;
    void RebuildDeviceClip();
    std::uint32_t* Row(int deviceY);

    // Shapes (surface_dc_shapes.cpp).
    void FillPolygons(const std::vector<TPolygonF>& polygons, int fillMode, const TLogBrush& brush);
    // Device spans of the inside of logical outlines (none with a hollow brush).
    std::vector<TSpan> InsideSpans(const std::vector<TPolygonF>& polygons, int fillMode) const;
    TLineSpans OutlineSpans(const std::vector<TPathFigure>& figures);
    void PaintOutline(const TLineSpans& lines);
    void StrokeFigures(const std::vector<TPathFigure>& figures);
    void PaintClosedShape(std::vector<TSpan> inside, const std::vector<TPathFigure>& outline);
    void DrawArcShape(int kind, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    bool PenIsCosmeticLine() const;
    void AddToPath(TPathFigure figure);
    std::vector<TSpan> StrokeSpans(const std::vector<TPathFigure>& figures, const TLogPen& pen);
    // The closed path's inside within limits; the path is used up.
    TRegion PathRegionWithin(const TRect& limits);

    // Text (surface_dc_text.cpp).
    const TRealizedFont& LogicalFont();
    const TRealizedFont& DeviceFont();
    void DrawTextRun(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text, const int* dx);
    // Glyph outlines of a line of text as closed figures of the open path.
    void AddTextToPath(TPoint reference, double startX, double baselineY, const std::string& text,
        const std::vector<TDecodedChar>& chars, const std::vector<int>* advances);

    // Block transfers (surface_dc_blit.cpp).
    template <typename PixelSource>
    void BlendBlock(int x, int y, int width, int height, std::uint32_t rop, PixelSource&& sourcePixel);
    // target.Width() x target.Height() source pixels (row after row) onto the
    // device rectangle target under rop, which must not use the pattern.
    void CopyBlockTo(const TRect& target, const std::uint32_t* pixels, std::uint32_t rop);

    TPixelSurface& FSurface;
    int FScale;
    TDCState FState;
    std::vector<TDCState> FSaved;
    std::vector<TRect> FDeviceClip; // banded rectangles of the clip in device pixels
    bool FPathOpen = false;
    bool FPathClosed = false; // EndPath was called: the path waits for its use
    std::vector<TPathFigure> FPath;
    std::optional<TRegion> FWidenedPath; // logical region after WidenPath
    cairo_t* FCairo = nullptr;
    PangoContext* FPangoContext = nullptr;
    PangoLayout* FLayout = nullptr;
    std::shared_ptr<const TRealizedFont> FLogicalFont;
    std::shared_ptr<const TRealizedFont> FDeviceFont;
    const TRealizedFont* FLayoutFont = nullptr; // the font FLayout is prepared for
    bool FLayoutDecorated[2] = {false, false};   // its underline and strike-out
    unsigned FFontGeneration = 0;
};

} // namespace plat
