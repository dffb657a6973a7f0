// The canvas over a device context.
#include "platform/canvas/canvas.h"

#include "platform/canvas/graphic.h"

namespace plat {

PLAT_DEFINE_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas(TDeviceContext* handle)
    : FHandle(handle), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>())
{
    FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
    FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
    FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetHandle(TDeviceContext* handle)
{
    FHandle = handle;
    FPenSelected = FBrushSelected = FFontSelected = false;
}

void TCanvas::PenChanged(TObject*)
{
    FPenSelected = false;
}

void TCanvas::BrushChanged(TObject*)
{
    FBrushSelected = false;
}

void TCanvas::FontChanged(TObject*)
{
    FFontSelected = false;
}

void TCanvas::RequireState()
{
    if (FHandle == nullptr)
        return;
    if (!FPenSelected) {
        FHandle->SelectPen(FPen->Handle());
        FHandle->SetROP2(PenModeToRop2(FPen->Mode()));
        FPenSelected = true;
    }
    if (!FBrushSelected) {
        FHandle->SelectBrush(FBrush->Handle());
        // A solid brush fills the background of hatches and styled lines
        // with its own colour; other brushes leave it transparent.
        if (FBrush->Style() == bsSolid) {
            FHandle->SetBkColor(ToColorRef(FBrush->Color()));
            FHandle->SetBkMode(OPAQUE);
        } else {
            FHandle->SetBkColor(~ToColorRef(FBrush->Color()) & 0xFFFFFF);
            FHandle->SetBkMode(TRANSPARENT);
        }
        FBrushSelected = true;
    }
    if (!FFontSelected) {
        FHandle->SelectFont(FFont->Handle());
        FHandle->SetTextColor(ToColorRef(FFont->Color()));
        FFontSelected = true;
    }
}

void TCanvas::Changing()
{
    OnChanging(this);
}

void TCanvas::Changed()
{
    OnChange(this);
}

TPoint TCanvas::PenPos() const
{
    return FHandle != nullptr ? FHandle->CurrentPosition() : TPoint{};
}

void TCanvas::SetPenPos(TPoint value)
{
    MoveTo(value.X, value.Y);
}

TRect TCanvas::ClipRect() const
{
    TRect box;
    if (FHandle != nullptr)
        FHandle->GetClipBox(box);
    return box;
}

TColor TCanvas::Pixel(int x, int y) const
{
    return FHandle != nullptr ? static_cast<TColor>(FHandle->GetPixel(x, y)) : static_cast<TColor>(CLR_INVALID);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (FHandle == nullptr)
        return;
    Changing();
    FHandle->SetPixel(x, y, ToColorRef(color));
    Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    if (FHandle != nullptr)
        FHandle->MoveTo(x, y);
}

// Each drawing call: the attributes it needs, the change events around it.
#define QEL_CANVAS_DRAW(call)                                                                                          \
    if (FHandle == nullptr)                                                                                         \
        return;                                                                                                     \
    RequireState();                                                                                                 \
    Changing();                                                                                                     \
    FHandle->call;                                                                                                  \
    Changed();

void TCanvas::LineTo(int x, int y) { QEL_CANVAS_DRAW(LineTo(x, y)) }
void TCanvas::Polyline(const TPoint* points, int count) { QEL_CANVAS_DRAW(Polyline(points, count)) }
void TCanvas::Polygon(const TPoint* points, int count) { QEL_CANVAS_DRAW(Polygon(points, count)) }
void TCanvas::Rectangle(int left, int top, int right, int bottom) { QEL_CANVAS_DRAW(Rectangle(left, top, right, bottom)) }
void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    QEL_CANVAS_DRAW(RoundRect(left, top, right, bottom, cornerWidth, cornerHeight))
}
void TCanvas::Ellipse(int left, int top, int right, int bottom) { QEL_CANVAS_DRAW(Ellipse(left, top, right, bottom)) }
void TCanvas::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    QEL_CANVAS_DRAW(Arc(left, top, right, bottom, x3, y3, x4, y4))
}
void TCanvas::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    QEL_CANVAS_DRAW(Pie(left, top, right, bottom, x3, y3, x4, y4))
}
void TCanvas::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    QEL_CANVAS_DRAW(Chord(left, top, right, bottom, x3, y3, x4, y4))
}
void TCanvas::FillRect(const TRect& rect) { QEL_CANVAS_DRAW(FillRect(rect, FBrush->Handle())) }
void TCanvas::FrameRect(const TRect& rect) { QEL_CANVAS_DRAW(FrameRect(rect, FBrush->Handle())) }
void TCanvas::DrawFocusRect(const TRect& rect) { QEL_CANVAS_DRAW(DrawFocusRect(rect)) }
void TCanvas::TextOut(int x, int y, std::string_view text) { QEL_CANVAS_DRAW(TextOut(x, y, text)) }
void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text)
{
    QEL_CANVAS_DRAW(ExtTextOut(x, y, ETO_CLIPPED | (FBrush->Style() != bsClear ? ETO_OPAQUE : 0u), &rect, text, nullptr))
}
#undef QEL_CANVAS_DRAW

TSize TCanvas::TextExtent(std::string_view text)
{
    if (FHandle == nullptr)
        return {};
    RequireState();
    return FHandle->GetTextExtent(text);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (graphic == nullptr || graphic->Empty() || FHandle == nullptr)
        return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic)
{
    if (graphic == nullptr || graphic->Empty() || FHandle == nullptr)
        return;
    RequireState();
    Changing();
    graphic->Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect)
{
    if (FHandle == nullptr || source == nullptr || source->Handle() == nullptr)
        return;
    RequireState();
    source->RequireState();
    Changing();
    FHandle->StretchBlt(dest.Left, dest.Top, static_cast<int>(dest.Width()), static_cast<int>(dest.Height()),
        source->Handle(), sourceRect.Left, sourceRect.Top, static_cast<int>(sourceRect.Width()),
        static_cast<int>(sourceRect.Height()), FCopyMode);
    Changed();
}

} // namespace plat
