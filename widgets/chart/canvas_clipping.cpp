// Clipping of the chart canvas: rectangles, rounded rectangles, ellipses
// and polygons combined into the device's clip, each clip area in force
// before a clip kept on a stack so that clips nest and UnClip undoes them.
// The device has no mapping modes: logical units are device units.
#include "widgets/chart/chart_canvas.h"

#include "platform/canvas/canvas.h"

#include <algorithm>

namespace qel {

void TChtCanvas::ApplyClipRegion(plat::TDeviceContext* DC, const plat::TRegion* Region, int Mode)
{
    if (DC == nullptr || Region == nullptr) {
        return;
    }
    plat::TRegion Current;
    if (DC->GetClipRgn(Current) == 1) {
        FClipHistory.push_back(std::move(Current));
    }
    DC->ExtSelectClipRgn(Region, Mode);
}

plat::TRegion TChtCanvas::Clip(plat::TCanvas& ACanvas, const TRect& Rect)
{
    (void)ACanvas;
    return plat::CreateRectRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

void TChtCanvas::Clip(const TRect& Rect)
{
    if (FCanvas == nullptr) {
        return;
    }
    const plat::TRegion Region = Clip(*FCanvas, Rect);
    ApplyClipRegion(FCanvas->Handle(), &Region, plat::RGN_AND);
}

void TChtCanvas::ClipRectangle(const TRect& Rect, int RoundX, int RoundY)
{
    const plat::TRegion Region = plat::CreateRoundRectRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, RoundX, RoundY);
    ApplyClipRegion(GetHandle(), &Region, plat::RGN_AND);
}

void TChtCanvas::ClipEllipse(const TRect& Rect, bool Inverted)
{
    const plat::TRegion Region = plat::CreateEllipticRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    ApplyClipRegion(GetHandle(), &Region, Inverted ? plat::RGN_XOR : plat::RGN_AND);
}

void TChtCanvas::ClipPolygon(std::span<const TPoint> Points, int NumPoints, bool DiffRegion)
{
    const int Count = std::clamp(NumPoints, 0, static_cast<int>(std::min<std::size_t>(Points.size(), 0x7FFFFFFF)));
    const plat::TRegion Region = plat::CreatePolygonRgn(Points.data(), Count, plat::ALTERNATE);
    ApplyClipRegion(GetHandle(), &Region, DiffRegion ? plat::RGN_DIFF : plat::RGN_AND);
}

void TChtCanvas::UnClip()
{
    plat::TDeviceContext* DC = GetHandle();
    if (FClipHistory.empty()) {
        if (DC != nullptr) {
            DC->SelectClipRgn(nullptr);
        }
        return;
    }
    if (DC != nullptr) {
        DC->SelectClipRgn(&FClipHistory.back());
    }
    FClipHistory.pop_back();
}

void TChtCanvas::ClearClipHistory()
{
    FClipHistory.clear();
}

} // namespace qel
