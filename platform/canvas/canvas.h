// TCanvas: the painters' drawing surface over a device context, with its own
// pen, brush and font that it selects into the context before each drawing
// call that needs them (a changed attribute is selected again).
#pragma once

#include "platform/canvas/device_context.h"
#include "platform/canvas/graphics_objects.h"

#include <memory>
#include <string>
#include <string_view>

namespace plat {

class TGraphic;

class TCanvas : public TPersistent {
    PLAT_CLASS(TCanvas, TPersistent)
public:
    // A canvas on the device context (not owned), or on none until SetHandle.
    explicit TCanvas(TDeviceContext* handle = nullptr);
    ~TCanvas() override;

    TDeviceContext* Handle() const { return FHandle; }
    // Binds another context; the attributes are selected into it afresh.
    void SetHandle(TDeviceContext* handle);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }
    TPoint PenPos() const;
    void SetPenPos(TPoint value);
    // The raster operation of CopyRect and Draw (SRCCOPY by default).
    std::uint32_t CopyMode() const { return FCopyMode; }
    void SetCopyMode(std::uint32_t value) { FCopyMode = value; }
    // The clip box.
    TRect ClipRect() const;
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const TPoint* points, int count);
    void Polygon(const TPoint* points, int count);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    // With the brush, the pen aside.
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void DrawFocusRect(const TRect& rect);

    void TextOut(int x, int y, std::string_view text);
    // Text clipped to the rectangle, written at (x, y).
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies source's rectangle into ours with CopyMode, stretching as needed.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Selects the pen, brush and font into the context when they changed
    // since they were last selected. Painters that call the context directly
    // call it first.
    void RequireState();

protected:
    void Changing();
    void Changed();

private:
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void FontChanged(TObject* sender);

    TDeviceContext* FHandle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    std::uint32_t FCopyMode = SRCCOPY;
    bool FPenSelected = false;
    bool FBrushSelected = false;
    bool FFontSelected = false;
};

} // namespace plat
