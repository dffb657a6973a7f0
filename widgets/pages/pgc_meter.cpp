// The percent bar: its properties and its painting through a buffer.
#include "widgets/pages/pgc_meter.h"

#include "platform/canvas/control_drawing.h"
#include "platform/canvas/gdi_constants.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace qel {

PLAT_DEFINE_CLASS(TPgcCustomMeter, TPgcGraphicControl)

PLAT_DEFINE_CLASS(TPgcMeter, TPgcCustomMeter,
                  plat::Published("BorderStyle", &TPgcMeter::BorderStyle, &TPgcMeter::SetBorderStyle,
                                  {"bsNone", "bsSingle"})
                      .Default(TPgcMeter::bsSingle),
                  plat::Published("Ctl3D", &TPgcMeter::Ctl3D, &TPgcMeter::SetCtl3D).Default(true),
                  plat::Published("InvertPercent", &TPgcMeter::InvertPercent, &TPgcMeter::SetInvertPercent)
                      .Default(true),
                  plat::Published("Orientation", &TPgcMeter::Orientation, &TPgcMeter::SetOrientation,
                                  {"moHorizontal", "moVertical"})
                      .Default(moHorizontal),
                  plat::Published("Percent", &TPgcMeter::Percent, &TPgcMeter::SetPercent).Default(33),
                  plat::Published("ShowPercent", &TPgcMeter::ShowPercent, &TPgcMeter::SetShowPercent).Default(false),
                  plat::Published("UsedColor", &TPgcMeter::UsedColor, &TPgcMeter::SetUsedColor).Default(plat::clLime),
                  plat::Published("UnusedColor", &TPgcMeter::UnusedColor, &TPgcMeter::SetUnusedColor)
                      .Default(plat::clWindow))

namespace {

// Stores a new value; false when it was the same.
template <class T>
bool StoreChange(T& Field, T Value)
{
    return Field != Value && (Field = Value, true);
}

std::string PercentText(int Percent)
{
    return std::to_string(Percent) + "%";
}

void FillWith(plat::TCanvas& Canvas, plat::TColor Color, const plat::TRect& Rect)
{
    Canvas.Brush()->SetStyle(plat::bsSolid);
    Canvas.Brush()->SetColor(Color);
    Canvas.FillRect(Rect);
}

// Copies the picture's source rectangle stretched onto the destination.
void Stretch(plat::TCanvas& Canvas, const plat::TRect& Dest, plat::TBitmap& Image, const plat::TRect& Source)
{
    Canvas.RequireState();
    Canvas.Handle()->StretchBlt(Dest.Left, Dest.Top, static_cast<int>(Dest.Width()), static_cast<int>(Dest.Height()),
                                Image.DeviceContext(), Source.Left, Source.Top, static_cast<int>(Source.Width()),
                                static_cast<int>(Source.Height()), plat::SRCCOPY);
}

} // namespace

TPgcCustomMeter::TPgcCustomMeter(plat::TComponent* AOwner)
    : TPgcGraphicControl(AOwner), FUnusedImage(std::make_unique<plat::TBitmap>()),
      FUsedImage(std::make_unique<plat::TBitmap>()), FValueString(PercentText(33))
{
    FControlStyle.Include(plat::csOpaque);
    FWidth = 200;
    FHeight = 24;
}

TPgcCustomMeter::~TPgcCustomMeter() = default;

int TPgcCustomMeter::ClampedPercent() const
{
    return std::clamp(FPercent, 0, 100);
}

void TPgcCustomMeter::SetPercent(int Value)
{
    if (Value == FPercent) {
        return;
    }
    FPercent = Value;
    FValueString = PercentText(ClampedPercent());
    Repaint();
}

void TPgcCustomMeter::SetBorderStyle(TBorderStyle Value)
{
    if (StoreChange(FBorderStyle, Value)) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetCtl3D(bool Value)
{
    if (StoreChange(FCtl3D, Value)) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetShowPercent(bool Value)
{
    if (StoreChange(FShowPercent, Value)) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetInvertPercent(bool Value)
{
    if (StoreChange(FInvertPercent, Value) && FShowPercent) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetOrientation(TMeterOrientation Value)
{
    if (Value == FOrientation) {
        return;
    }
    FOrientation = Value;
    if (!ComponentState().Contains(plat::csLoading) && FUsedImage->Empty()) {
        SetBounds(Left(), Top(), Height(), Width());
    }
    Invalidate();
}

void TPgcCustomMeter::SetUsedColor(plat::TColor Value)
{
    if (StoreChange(FUsedColor, Value)) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetUnusedColor(plat::TColor Value)
{
    if (StoreChange(FUnusedColor, Value)) {
        Invalidate();
    }
}

void TPgcCustomMeter::SetUsedImage(plat::TBitmap* Value)
{
    TakeImage(*FUsedImage, Value);
}

void TPgcCustomMeter::SetUnusedImage(plat::TBitmap* Value)
{
    TakeImage(*FUnusedImage, Value);
}

void TPgcCustomMeter::TakeImage(plat::TBitmap& Own, const plat::TBitmap* Value)
{
    if (Value != nullptr) {
        Own.Assign(Value);
    } else {
        Own.SetSize(0, 0);
    }
    FitToImage(Own);
    Invalidate();
}

void TPgcCustomMeter::FitToImage(const plat::TBitmap& Image)
{
    if (!ComponentState().Contains(plat::csDesigning) || Image.Empty()) {
        return;
    }
    const int border = FBorderStyle == bsNone ? 0 : FCtl3D ? 2 : 1;
    SetBounds(Left(), Top(), Image.Width() + border, Image.Height() + border);
    FOrientation = Width() < Height() ? moVertical : moHorizontal;
}

plat::TBitmap& TPgcCustomMeter::DrawingBuffer()
{
    if (MemBM && (MemBM->Width() != Width() || MemBM->Height() != Height())) {
        MemBM.reset();
    }
    if (!MemBM) {
        MemBM = std::make_unique<plat::TBitmap>(Width(), Height());
    }
    return *MemBM;
}

void TPgcCustomMeter::Paint()
{
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    plat::TBitmap& buffer = DrawingBuffer();
    plat::TCanvas& canvas = *buffer.Canvas();
    const plat::TRect inside = DrawFrame(*buffer.DeviceContext());
    DrawBar(canvas, inside);
    if (FShowPercent) {
        DrawPercentText(canvas, inside);
    } else if (OnOwnerDraw.Assigned()) {
        plat::TRect whole = plat::Rect(0, 0, Width(), Height());
        OnOwnerDraw(&canvas, whole);
    }
    plat::TCanvas& target = *Canvas();
    target.RequireState();
    target.Handle()->BitBlt(0, 0, Width(), Height(), buffer.DeviceContext(), 0, 0, plat::SRCCOPY);
}

// Each frame draws the outermost line of the rectangle and shrinks it by one.
plat::TRect TPgcCustomMeter::DrawFrame(plat::TDeviceContext& DC) const
{
    plat::TRect r = plat::Rect(0, 0, Width(), Height());
    if (FBorderStyle != bsSingle) {
        return r;
    }
    const plat::COLORREF black = plat::ToColorRef(plat::clBlack);
    const plat::COLORREF highlight = plat::ToColorRef(plat::clBtnHighlight);
    if (FCtl3D) {
        plat::Frame3D(DC, r, plat::ToColorRef(plat::clBtnShadow), highlight, 1);
        plat::Frame3D(DC, r, black, highlight, 1);
    } else {
        plat::Frame3D(DC, r, black, black, 1);
    }
    return r;
}

// The bar's length L counts one more than the pixels inside the frame, as
// the fills end one short: a part below 3 pixels is not drawn, and any bar
// short of full leaves at least 3 for the rest. Everything is clipped to the
// inside of the frame, which the fills never reach into.
void TPgcCustomMeter::DrawBar(plat::TCanvas& Canvas, const plat::TRect& Inside)
{
    const int w = Inside.Right - Inside.Left + 1;
    const int h = Inside.Bottom - Inside.Top + 1;
    const int length = FOrientation == moVertical ? h : w;
    int used = ClampedPercent() * length / 100;
    int rest = 0;
    if (used < 3) {
        used = 0;
        rest = length;
    } else if (used != length) {
        used = std::min(used, length - 3);
        rest = length - used - 1;
    }
    plat::TDeviceContext& dc = *Canvas.Handle();
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(Inside.Left, Inside.Top, Inside.Right, Inside.Bottom);
    if (FOrientation == moVertical) {
        DrawVertical(Canvas, Inside, w, h, used, rest);
    } else {
        DrawHorizontal(Canvas, Inside, w, h, used, rest);
    }
    dc.RestoreDC(saved);
}

// The rest first, then the used part from the left. The column between
// them (the used fill ends one short of where the rest would begin) takes
// the rest colour.
void TPgcCustomMeter::DrawHorizontal(plat::TCanvas& Canvas, const plat::TRect& R, int W, int H, int Used, int Rest)
{
    if (Rest > 0) {
        if (FUnusedImage->Empty()) {
            const int start = R.Left + std::max(Used - 1, 0);
            FillWith(Canvas, FUnusedColor, plat::Rect(start, R.Top, R.Left + W - 1, R.Top + H - 1));
        } else {
            Stretch(Canvas, plat::Rect(R.Left, R.Top, R.Left + W, R.Top + H - 1), *FUnusedImage,
                    plat::Rect(0, 0, FUnusedImage->Width() - 1, FUnusedImage->Height() - 1));
        }
    }
    if (Used > 0) {
        if (FUsedImage->Empty()) {
            FillWith(Canvas, FUsedColor, plat::Rect(R.Left, R.Top, R.Left + Used - 1, R.Top + H - 1));
        } else {
            const int sourceWidth =
                static_cast<int>(std::lround(static_cast<double>(FUsedImage->Width()) * Used / (W)));
            Stretch(Canvas, plat::Rect(R.Left, R.Top, R.Left + Used, R.Top + H - 1), *FUsedImage,
                    plat::Rect(0, 0, sourceWidth - 1, FUsedImage->Height() - 1));
        }
    }
}

// The used part at the bottom first, then the rest above it.
void TPgcCustomMeter::DrawVertical(plat::TCanvas& Canvas, const plat::TRect& R, int W, int H, int Used, int Rest)
{
    if (Used > 0) {
        if (FUsedImage->Empty()) {
            FillWith(Canvas, FUsedColor, plat::Rect(R.Left, R.Top + Rest - 1, R.Left + W - 1, R.Top + H - 1));
        } else {
            Stretch(Canvas, plat::Rect(R.Left, R.Top, R.Left + W - 1, R.Top + H - 1), *FUsedImage,
                    plat::Rect(0, 0, FUsedImage->Width() - 1, FUsedImage->Height() - 1));
        }
    }
    if (Rest > 0) {
        if (FUnusedImage->Empty()) {
            FillWith(Canvas, FUnusedColor, plat::Rect(R.Left, R.Top, R.Left + W - 1, Rest + 1));
        } else {
            const int sourceHeight =
                static_cast<int>(std::lround(static_cast<double>(FUnusedImage->Height()) * Rest / H - 1));
            Stretch(Canvas, plat::Rect(R.Left, R.Top, R.Left + W - 1, R.Top + Rest - 1), *FUnusedImage,
                    plat::Rect(0, 0, FUnusedImage->Width() - 1, sourceHeight));
        }
    }
}

// White glyphs on black, laid over the bar by exclusive or: whatever the
// bar shows under a glyph turns to its opposite.
void TPgcCustomMeter::DrawPercentText(plat::TCanvas& Canvas, const plat::TRect& Inside)
{
    const int w = Inside.Right - Inside.Left + 1;
    const int h = Inside.Bottom - Inside.Top + 1;
    Canvas.Font()->Assign(Font());
    const plat::TSize extent = Canvas.TextExtent(FValueString);
    const int x = Inside.Left + (w - extent.cx) / 2;
    const int y = Inside.Top + (h - extent.cy) / 2;
    if (!FInvertPercent) {
        Canvas.Brush()->SetStyle(plat::bsClear);
        Canvas.TextOut(x, y, FValueString);
        return;
    }
    if (TxtBM && (TxtBM->Width() != Width() || TxtBM->Height() != Height())) {
        TxtBM.reset();
    }
    if (!TxtBM) {
        TxtBM = std::make_unique<plat::TBitmap>(Width(), Height());
    }
    plat::TCanvas& text = *TxtBM->Canvas();
    FillWith(text, plat::clBlack, plat::Rect(0, 0, Width(), Height()));
    text.Font()->Assign(Font());
    text.Font()->SetColor(plat::clWhite);
    text.Brush()->SetStyle(plat::bsClear);
    text.TextOut(x, y, FValueString);
    Canvas.RequireState();
    Canvas.Handle()->BitBlt(0, 0, Width(), Height(), TxtBM->DeviceContext(), 0, 0, plat::SRCINVERT);
}

} // namespace qel
