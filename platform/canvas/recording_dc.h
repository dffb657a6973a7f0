// The recording twin of the device context: it keeps every call with its
// arguments and the state in force (pen, brush, font, mix mode, colours, text
// alignment, clip box), and can pass each call on to a real device context.
// Tests of painters assert on the calls; without a target, text is measured
// with the canvas's fonts so that layouts come out as on a surface.
#pragma once

#include "platform/canvas/dc_state.h"
#include "platform/canvas/device_context.h"

#include <memory>
#include <vector>

namespace plat {

class TSurfaceDC;
class TPixelSurface;

struct TRecordedCall {
    std::string Name;
    std::vector<std::int64_t> Args; // numbers in call order; rectangles as left, top, right, bottom
    std::string Text;               // the text of text calls
    TDCState State;                 // the state in force when the call came
    TRect ClipBox;                  // the clip box then
};

class TRecordingDC : public TDeviceContext {
public:
    // With a target every call is passed on to it (not owned); without one,
    // width and height give the surface the clip box answers for.
    explicit TRecordingDC(TDeviceContext* target = nullptr, int width = 0, int height = 0);
    ~TRecordingDC() override;

    const std::vector<TRecordedCall>& Calls() const { return FCalls; }
    // The calls of one name, in order.
    std::vector<const TRecordedCall*> CallsNamed(std::string_view name) const;
    void Clear() { FCalls.clear(); }

    TPixelSurface* Surface() override;
    int DeviceScale() const override;

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
    void Record(std::string_view name, std::initializer_list<std::int64_t> args, std::string_view text = {});
    void RecordPoints(std::string_view name, const TPoint* points, int count);
    // The context that measures text: the target, else a private surface.
    TDeviceContext& Measurer();
    TRect SurfaceBox() const;

    TDeviceContext* FTarget;
    int FWidth;
    int FHeight;
    TDCState FState;
    std::vector<TDCState> FSaved;
    std::vector<TRecordedCall> FCalls;
    std::unique_ptr<TPixelSurface> FMeasureSurface;
    std::unique_ptr<TSurfaceDC> FMeasureDC;
};

} // namespace plat
