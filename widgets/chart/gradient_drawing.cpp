// Gradients painting themselves on a chart canvas: the fill through the
// canvas's own gradient, the radial fill of concentric ellipses and the
// second gradient blended over the first.
#include "widgets/chart/chart_gradient.h"

#include "widgets/chart/canvas3d.h"
#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qel {

double BalanceCurve(double A, double Balance, double N)
{
    return std::exp((Balance * 0.01 + 0.5) * std::log((A + 1) / (N + 1)));
}

void TCustomChtGradient::Draw(TChtCanvas& Canvas, const plat::TRect& Rect, int RoundRectSize) const
{
    Canvas.Gradient()->Assign(this);
    if (RoundRectSize <= 0) {
        Canvas.FillRect(Rect);
    } else {
        Canvas.RoundRect(Rect, RoundRectSize, RoundRectSize);
    }
    if (FSub && FSub->Visible()) {
        DrawSubGradient(Canvas, Rect, RoundRectSize);
    }
}

void TCustomChtGradient::Draw(TChtCanvas& Canvas, const std::array<plat::TPoint, 4>& P) const
{
    Canvas.Pen()->SetStyle(plat::psClear);
    Canvas.Gradient()->Assign(this);
    Canvas.Polygon(P);
}

void TCustomChtGradient::Draw(TCanvas3D& Canvas, const std::array<plat::TPoint, 4>& P, int Z) const
{
    const std::array<plat::TPoint, 4> Projected{Canvas.Calculate3DPosition(P[0], Z),
        Canvas.Calculate3DPosition(P[1], Z), Canvas.Calculate3DPosition(P[2], Z), Canvas.Calculate3DPosition(P[3], Z)};
    Draw(static_cast<TChtCanvas&>(Canvas), Projected);
}

void TCustomChtGradient::Draw(TCanvas3D& Canvas, std::span<const plat::TPoint> P, int Z, bool Is3D) const
{
    Canvas.Gradient()->Assign(this);
    if (Is3D) {
        Canvas.Polygon(Canvas.Calc3DPoints(P, Z));
    } else {
        Canvas.Polygon(P);
    }
}

void TCustomChtGradient::DrawSubGradient(TChtCanvas& Canvas, const plat::TRect& Rect, int RoundRectSize) const
{
    std::unique_ptr<TChtBlend> Blend = Canvas.BeginBlending(Rect, FSub->Transparency());
    try {
        if (FSub->Direction() == gdRadial) {
            FSub->DrawRadial(Canvas, Rect);
        } else {
            FSub->Draw(Canvas, Rect, RoundRectSize);
        }
    } catch (...) {
        Canvas.EndBlending(std::move(Blend));
        throw;
    }
    Canvas.EndBlending(std::move(Blend));
}

namespace {

struct TChannels {
    double Red;
    double Green;
    double Blue;
};

// The colour as stored, system colours unresolved.
TChannels ChannelsOf(TColor Color)
{
    const auto Value = static_cast<std::uint32_t>(Color);
    return {double(Value & 0xFF), double(Value >> 8 & 0xFF), double(Value >> 16 & 0xFF)};
}

// The start channel moved by the rounded change, kept to a byte.
std::uint8_t ChannelByte(double Start, double Change)
{
    return static_cast<std::uint8_t>((static_cast<int>(Start) + RoundToPixel(Change)) & 0xFF);
}

// Puts back the pen style, the brush colour and the visibility of the
// canvas gradient that the radial fill changes, whatever happens.
class TRadialFillState {
public:
    explicit TRadialFillState(TChtCanvas& Canvas)
        : FCanvas(Canvas),
          FPenStyle(Canvas.Pen()->Style()),
          FBrushColor(Canvas.Brush()->Color()),
          FGradientVisible(Canvas.Gradient()->Visible())
    {
    }
    ~TRadialFillState()
    {
        FCanvas.Gradient()->SetVisible(FGradientVisible);
        FCanvas.Pen()->SetStyle(FPenStyle);
        FCanvas.Brush()->SetColor(FBrushColor);
    }
    TRadialFillState(const TRadialFillState&) = delete;
    TRadialFillState& operator=(const TRadialFillState&) = delete;

private:
    TChtCanvas& FCanvas;
    plat::TPenStyle FPenStyle;
    TColor FBrushColor;
    bool FGradientVisible;
};

} // namespace

void TCustomChtGradient::DrawRadial(TChtCanvas& Canvas, const plat::TRect& Rect) const
{
    const TRect R = OrderedRect(Rect);
    const double Dx = static_cast<double>(R.Width());
    const double Dy = static_cast<double>(R.Height());
    int Steps = static_cast<int>(std::min(255.0, std::max(Dx, Dy)));
    if (Steps == 0) {
        return;
    }
    Canvas.ClipRectangle(R);
    {
        const TRadialFillState Saved(Canvas);
        Canvas.Gradient()->SetVisible(false);
        const double Step = 1.0 / Steps;
        const double StepX = Dx * 0.5 * Step;
        const double StepY = Dy * 0.5 * Step;
        const TChannels From = ChannelsOf(StartColor());
        const TChannels To = ChannelsOf(EndColor());
        const bool Even = FBalance == 50;
        const double Scale = Even ? Step : 1.0;
        const TChannels Change{(To.Red - From.Red) * Scale, (To.Green - From.Green) * Scale,
            (To.Blue - From.Blue) * Scale};

        Canvas.Pen()->SetStyle(plat::psClear);
        Canvas.Brush()->SetColor(EndColor());
        Canvas.FillRect(R);
        if ((R.Width() % 2 == 1) || (R.Height() % 2 == 1)) {
            --Steps;
        }
        const double CentreX = FRadialX + 1 + (double(R.Left) + R.Right) * 0.5;
        const double CentreY = FRadialY + 1 + (double(R.Top) + R.Bottom) * 0.5;
        plat::TDeviceContext* DC = Canvas.DeviceContext();
        if (DC != nullptr) {
            plat::TLogBrush DeviceColorBrush;
            DeviceColorBrush.UsesDCColor = true;
            DC->SelectBrush(DeviceColorBrush);
        }
        for (int K = Steps; K >= 0; --K) {
            const double F = Even ? K : BalanceCurve(K, FBalance, Steps);
            const TColor Color = RGBToColor(ChannelByte(From.Red, Change.Red * F),
                ChannelByte(From.Green, Change.Green * F), ChannelByte(From.Blue, Change.Blue * F));
            if (DC != nullptr) {
                DC->SetDCBrushColor(plat::ToColorRef(Color));
            } else {
                Canvas.Brush()->SetColor(Color);
            }
            Canvas.Ellipse(RoundToPixel(CentreX - K * StepX), RoundToPixel(CentreY - K * StepY),
                RoundToPixel(CentreX + K * StepX), RoundToPixel(CentreY + K * StepY));
        }
    }
    Canvas.UnClipRectangle();
    if (FSub && FSub->Visible()) {
        DrawSubGradient(Canvas, Rect, 0);
    }
}

} // namespace qel
