// The recording device context.
#include "platform/canvas/recording_dc.h"

#include "platform/canvas/draw_text.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <utility>

namespace plat {

TRecordingDC::TRecordingDC(TDeviceContext* target, int width, int height)
    : FTarget(target), FWidth(std::max(width, 0)), FHeight(std::max(height, 0))
{
}

TRecordingDC::~TRecordingDC() = default;

std::vector<const TRecordedCall*> TRecordingDC::CallsNamed(std::string_view name) const
{
    std::vector<const TRecordedCall*> found;
    for (const TRecordedCall& call : FCalls)
        if (call.Name == name)
            found.push_back(&call);
    return found;
}

void TRecordingDC::Record(std::string_view name, std::initializer_list<std::int64_t> args, std::string_view text)
{
    TRecordedCall call{std::string(name), args, std::string(text), FState, {}};
    GetClipBox(call.ClipBox);
    FCalls.push_back(std::move(call));
}

void TRecordingDC::RecordPoints(std::string_view name, const TPoint* points, int count)
{
    Record(name, {count});
    if (points != nullptr)
        for (int i = 0; i < count; ++i) {
            FCalls.back().Args.push_back(points[i].X);
            FCalls.back().Args.push_back(points[i].Y);
        }
}

TDeviceContext& TRecordingDC::Measurer()
{
    if (FTarget != nullptr)
        return *FTarget;
    if (!FMeasureDC) {
        FMeasureSurface = std::make_unique<TPixelSurface>(1, 1, 32);
        FMeasureDC = std::make_unique<TSurfaceDC>(*FMeasureSurface);
    }
    FMeasureDC->SelectFont(FState.Font);
    FMeasureDC->SetTextCharacterExtra(FState.CharExtra);
    return *FMeasureDC;
}

TRect TRecordingDC::SurfaceBox() const
{
    if (FTarget != nullptr && FTarget->Surface() != nullptr) {
        const int scale = std::max(FTarget->DeviceScale(), 1);
        return {0, 0, FTarget->Surface()->Width() / scale, FTarget->Surface()->Height() / scale};
    }
    return {0, 0, FWidth, FHeight};
}

TPixelSurface* TRecordingDC::Surface()
{
    return FTarget != nullptr ? FTarget->Surface() : nullptr;
}

int TRecordingDC::DeviceScale() const
{
    return FTarget != nullptr ? FTarget->DeviceScale() : 1;
}

// --- State ------------------------------------------------------------------

TLogPen TRecordingDC::SelectPen(const TLogPen& pen)
{
    Record("SelectPen", {pen.Style, pen.Width, pen.Color});
    if (FTarget != nullptr)
        FTarget->SelectPen(pen);
    return std::exchange(FState.Pen, pen);
}

TLogBrush TRecordingDC::SelectBrush(const TLogBrush& brush)
{
    Record("SelectBrush", {brush.Style, brush.Color, brush.Hatch});
    if (FTarget != nullptr)
        FTarget->SelectBrush(brush);
    return std::exchange(FState.Brush, brush);
}

TLogFont TRecordingDC::SelectFont(const TLogFont& font)
{
    Record("SelectFont", {font.Height, font.Weight, font.Escapement}, font.FaceName);
    if (FTarget != nullptr)
        FTarget->SelectFont(font);
    return std::exchange(FState.Font, font);
}

#define QEL_RECORDED_SETTER(Name, Field, Type)                                                                          \
    Type TRecordingDC::Name(Type value)                                                                              \
    {                                                                                                                \
        Record(#Name, {static_cast<std::int64_t>(value)});                                                           \
        if (FTarget != nullptr)                                                                                      \
            FTarget->Name(value);                                                                                    \
        return std::exchange(FState.Field, value);                                                                   \
    }

QEL_RECORDED_SETTER(SetROP2, Rop2, int)
QEL_RECORDED_SETTER(SetBkMode, BkMode, int)
QEL_RECORDED_SETTER(SetBkColor, BkColor, COLORREF)
QEL_RECORDED_SETTER(SetTextColor, TextColor, COLORREF)
QEL_RECORDED_SETTER(SetTextAlign, TextAlign, std::uint32_t)
QEL_RECORDED_SETTER(SetDCBrushColor, DCBrushColor, COLORREF)
QEL_RECORDED_SETTER(SetDCPenColor, DCPenColor, COLORREF)
QEL_RECORDED_SETTER(SetPolyFillMode, PolyFillMode, int)
QEL_RECORDED_SETTER(SetArcDirection, ArcDirection, int)
#undef QEL_RECORDED_SETTER

int TRecordingDC::SetTextCharacterExtra(int extra)
{
    extra = std::clamp(extra, -MaxCharacterExtra, MaxCharacterExtra);
    Record("SetTextCharacterExtra", {extra});
    if (FTarget != nullptr)
        FTarget->SetTextCharacterExtra(extra);
    return std::exchange(FState.CharExtra, extra);
}

TPoint TRecordingDC::SetBrushOrg(int x, int y)
{
    Record("SetBrushOrg", {x, y});
    if (FTarget != nullptr)
        FTarget->SetBrushOrg(x, y);
    return std::exchange(FState.BrushOrg, TPoint{x, y});
}

TPoint TRecordingDC::MoveTo(int x, int y)
{
    Record("MoveTo", {x, y});
    if (FTarget != nullptr)
        FTarget->MoveTo(x, y);
    return std::exchange(FState.Position, TPoint{x, y});
}

int TRecordingDC::SaveDC()
{
    Record("SaveDC", {});
    if (FTarget != nullptr)
        FTarget->SaveDC();
    FSaved.push_back(FState);
    return static_cast<int>(FSaved.size());
}

bool TRecordingDC::RestoreDC(int level)
{
    Record("RestoreDC", {level});
    if (FTarget != nullptr)
        FTarget->RestoreDC(level);
    const int depth = static_cast<int>(FSaved.size());
    const int target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth)
        return false;
    FState = FSaved[static_cast<std::size_t>(target - 1)];
    FSaved.resize(static_cast<std::size_t>(target - 1));
    return true;
}

// --- Drawing ----------------------------------------------------------------

void TRecordingDC::LineTo(int x, int y)
{
    Record("LineTo", {x, y});
    if (FTarget != nullptr)
        FTarget->LineTo(x, y);
    FState.Position = {x, y};
}

void TRecordingDC::Polyline(const TPoint* points, int count)
{
    RecordPoints("Polyline", points, count);
    if (FTarget != nullptr)
        FTarget->Polyline(points, count);
}

void TRecordingDC::PolylineTo(const TPoint* points, int count)
{
    RecordPoints("PolylineTo", points, count);
    if (FTarget != nullptr)
        FTarget->PolylineTo(points, count);
    if (points != nullptr && count > 0)
        FState.Position = points[count - 1];
}

void TRecordingDC::Polygon(const TPoint* points, int count)
{
    RecordPoints("Polygon", points, count);
    if (FTarget != nullptr)
        FTarget->Polygon(points, count);
}

#define QEL_RECORDED_BOX(Name)                                                                                          \
    void TRecordingDC::Name(int left, int top, int right, int bottom)                                               \
    {                                                                                                                \
        Record(#Name, {left, top, right, bottom});                                                                   \
        if (FTarget != nullptr)                                                                                      \
            FTarget->Name(left, top, right, bottom);                                                                 \
    }
QEL_RECORDED_BOX(Rectangle)
QEL_RECORDED_BOX(Ellipse)
#undef QEL_RECORDED_BOX

void TRecordingDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    Record("RoundRect", {left, top, right, bottom, cornerWidth, cornerHeight});
    if (FTarget != nullptr)
        FTarget->RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
}

#define QEL_RECORDED_ARC(Name)                                                                                          \
    void TRecordingDC::Name(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)               \
    {                                                                                                                \
        Record(#Name, {left, top, right, bottom, x3, y3, x4, y4});                                                   \
        if (FTarget != nullptr)                                                                                      \
            FTarget->Name(left, top, right, bottom, x3, y3, x4, y4);                                                 \
    }
QEL_RECORDED_ARC(Arc)
QEL_RECORDED_ARC(Pie)
QEL_RECORDED_ARC(Chord)
#undef QEL_RECORDED_ARC

void TRecordingDC::ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    Record("ArcTo", {left, top, right, bottom, x3, y3, x4, y4});
    if (FTarget != nullptr) {
        FTarget->ArcTo(left, top, right, bottom, x3, y3, x4, y4);
        FState.Position = FTarget->CurrentPosition();
    }
}

void TRecordingDC::FillRect(const TRect& rect, const TLogBrush& brush)
{
    Record("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom, brush.Style, brush.Color});
    if (FTarget != nullptr)
        FTarget->FillRect(rect, brush);
}

void TRecordingDC::FrameRect(const TRect& rect, const TLogBrush& brush)
{
    Record("FrameRect", {rect.Left, rect.Top, rect.Right, rect.Bottom, brush.Style, brush.Color});
    if (FTarget != nullptr)
        FTarget->FrameRect(rect, brush);
}

void TRecordingDC::InvertRect(const TRect& rect)
{
    Record("InvertRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (FTarget != nullptr)
        FTarget->InvertRect(rect);
}

void TRecordingDC::FillRgn(const TRegion& region, const TLogBrush& brush)
{
    const TRect box = region.Box();
    Record("FillRgn", {box.Left, box.Top, box.Right, box.Bottom, brush.Style, brush.Color});
    if (FTarget != nullptr)
        FTarget->FillRgn(region, brush);
}

COLORREF TRecordingDC::SetPixel(int x, int y, COLORREF color)
{
    Record("SetPixel", {x, y, color});
    return FTarget != nullptr ? FTarget->SetPixel(x, y, color) : color;
}

COLORREF TRecordingDC::GetPixel(int x, int y)
{
    return FTarget != nullptr ? FTarget->GetPixel(x, y) : CLR_INVALID;
}

// --- Clipping ---------------------------------------------------------------

int TRecordingDC::ExtSelectClipRgn(const TRegion* region, int mode)
{
    const TRect box = region != nullptr ? region->Box() : TRect{};
    Record("ExtSelectClipRgn", {box.Left, box.Top, box.Right, box.Bottom, mode, region != nullptr});
    if (FTarget != nullptr)
        FTarget->ExtSelectClipRgn(region, mode);
    return FState.Clip.Select(region, mode, SurfaceBox());
}

int TRecordingDC::GetClipRgn(TRegion& region) const
{
    return FState.Clip.CopyTo(region);
}

int TRecordingDC::GetClipBox(TRect& box) const
{
    return FState.Clip.Box(SurfaceBox(), box);
}

bool TRecordingDC::PtVisible(int x, int y) const
{
    return FState.Clip.Visible(x, y, SurfaceBox());
}

bool TRecordingDC::RectVisible(const TRect& rect) const
{
    return FState.Clip.Visible(rect, SurfaceBox());
}

// --- Paths ------------------------------------------------------------------

#define QEL_RECORDED_PATH_CALL(Name)                                                                                    \
    void TRecordingDC::Name()                                                                                        \
    {                                                                                                                \
        Record(#Name, {});                                                                                           \
        if (FTarget != nullptr)                                                                                      \
            FTarget->Name();                                                                                         \
    }
QEL_RECORDED_PATH_CALL(BeginPath)
QEL_RECORDED_PATH_CALL(EndPath)
QEL_RECORDED_PATH_CALL(AbortPath)
QEL_RECORDED_PATH_CALL(CloseFigure)
QEL_RECORDED_PATH_CALL(StrokePath)
QEL_RECORDED_PATH_CALL(FillPath)
QEL_RECORDED_PATH_CALL(StrokeAndFillPath)
QEL_RECORDED_PATH_CALL(WidenPath)
#undef QEL_RECORDED_PATH_CALL

int TRecordingDC::SelectClipPath(int mode)
{
    Record("SelectClipPath", {mode});
    if (FTarget == nullptr)
        return RGN_ERROR;
    const int kind = FTarget->SelectClipPath(mode);
    TRegion clip;
    if (FTarget->GetClipRgn(clip) == 1)
        FState.Clip.Select(&clip, RGN_COPY, SurfaceBox());
    return kind;
}

TRegion TRecordingDC::PathToRegion()
{
    Record("PathToRegion", {});
    return FTarget != nullptr ? FTarget->PathToRegion() : TRegion();
}

// --- Text -------------------------------------------------------------------

TTextMetric TRecordingDC::GetTextMetrics()
{
    return Measurer().GetTextMetrics();
}

TSize TRecordingDC::GetTextExtent(std::string_view text)
{
    return Measurer().GetTextExtent(text);
}

void TRecordingDC::TextOut(int x, int y, std::string_view text)
{
    Record("TextOut", {x, y}, text);
    if (FTarget != nullptr)
        FTarget->TextOut(x, y, text);
}

void TRecordingDC::ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text,
    const int* dx)
{
    const TRect r = rect != nullptr ? *rect : TRect{};
    Record("ExtTextOut", {x, y, options, r.Left, r.Top, r.Right, r.Bottom, dx != nullptr}, text);
    if (FTarget != nullptr)
        FTarget->ExtTextOut(x, y, options, rect, text, dx);
}

int TRecordingDC::DrawText(std::string_view text, TRect& rect, std::uint32_t format)
{
    Record("DrawText", {rect.Left, rect.Top, rect.Right, rect.Bottom, format}, text);
    if (FTarget != nullptr)
        return FTarget->DrawText(text, rect, format);
    // Only measuring: the private surface answers as a real one would.
    TRect measured = rect;
    const int height = DrawTextOn(Measurer(), text, measured, format | DT_CALCRECT);
    if (format & DT_CALCRECT)
        rect = measured;
    return height;
}

// --- Block transfers and control drawings -------------------------------------

void TRecordingDC::BitBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    std::uint32_t rop)
{
    Record("BitBlt", {x, y, width, height, sx, sy, rop});
    if (FTarget != nullptr)
        FTarget->BitBlt(x, y, width, height, source, sx, sy, rop);
}

void TRecordingDC::StretchBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    int sourceWidth, int sourceHeight, std::uint32_t rop)
{
    Record("StretchBlt", {x, y, width, height, sx, sy, sourceWidth, sourceHeight, rop});
    if (FTarget != nullptr)
        FTarget->StretchBlt(x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, rop);
}

void TRecordingDC::PatBlt(int x, int y, int width, int height, std::uint32_t rop)
{
    Record("PatBlt", {x, y, width, height, rop});
    if (FTarget != nullptr)
        FTarget->PatBlt(x, y, width, height, rop);
}

void TRecordingDC::MaskBlt(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    TPixelSurface* mask, int mx, int my, std::uint32_t rop4)
{
    Record("MaskBlt", {x, y, width, height, sx, sy, mx, my, rop4});
    if (FTarget != nullptr)
        FTarget->MaskBlt(x, y, width, height, source, sx, sy, mask, mx, my, rop4);
}

void TRecordingDC::AlphaBlend(int x, int y, int width, int height, TDeviceContext* source, int sx, int sy,
    int sourceWidth, int sourceHeight, TBlendFunction blend)
{
    Record("AlphaBlend", {x, y, width, height, sx, sy, sourceWidth, sourceHeight, blend.SourceConstantAlpha,
                             blend.AlphaFormat});
    if (FTarget != nullptr)
        FTarget->AlphaBlend(x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, blend);
}

bool TRecordingDC::DrawEdge(TRect& rect, std::uint32_t edge, std::uint32_t flags)
{
    Record("DrawEdge", {rect.Left, rect.Top, rect.Right, rect.Bottom, edge, flags});
    if (FTarget != nullptr)
        return FTarget->DrawEdge(rect, edge, flags);
    if (flags & BF_ADJUST) {
        const int rings = ((edge & 0x3) != 0) + ((edge & 0xC) != 0);
        rect = {rect.Left + ((flags & BF_LEFT) ? rings : 0), rect.Top + ((flags & BF_TOP) ? rings : 0),
            rect.Right - ((flags & BF_RIGHT) ? rings : 0), rect.Bottom - ((flags & BF_BOTTOM) ? rings : 0)};
    }
    return true;
}

bool TRecordingDC::DrawFrameControl(const TRect& rect, std::uint32_t kind, std::uint32_t state)
{
    Record("DrawFrameControl", {rect.Left, rect.Top, rect.Right, rect.Bottom, kind, state});
    return FTarget != nullptr ? FTarget->DrawFrameControl(rect, kind, state) : kind == DFC_BUTTON;
}

void TRecordingDC::DrawFocusRect(const TRect& rect)
{
    Record("DrawFocusRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (FTarget != nullptr)
        FTarget->DrawFocusRect(rect);
}

} // namespace plat
