// The drag picture the tree draws itself: the alpha channel, showing and
// hiding over a kept copy of the screen, and moving in strips so that only
// the uncovered screen is restored and only the newly covered one sampled.
#include "widgets/tree/dt_drag_image.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/control.h"
#include "platform/controls/window_paint.h"
#include "platform/canvas/region.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/tree_drawing_utils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace qel {

namespace {

// The screen's device context for the time of one operation.
class TScreenDC {
public:
    TScreenDC() : FDC(plat::GetDC(0)) {}
    ~TScreenDC()
    {
        if (FDC != nullptr) {
            plat::ReleaseDC(0, FDC);
        }
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    plat::HDC Get() const { return FDC; }

private:
    plat::HDC FDC;
};

// a less b: up to two rectangles (a strip beside b over a's height, and
// one above or below b within b's columns).
std::vector<plat::TRect> Without(const plat::TRect& a, const plat::TRect& b)
{
    const plat::TRect both = plat::IntersectRect(a, b);
    if (both.IsEmpty()) {
        return {a};
    }
    std::vector<plat::TRect> parts;
    if (a.Left < both.Left) {
        parts.push_back(plat::Rect(a.Left, a.Top, both.Left, a.Bottom));
    }
    if (both.Right < a.Right) {
        parts.push_back(plat::Rect(both.Right, a.Top, a.Right, a.Bottom));
    }
    if (a.Top < both.Top) {
        parts.push_back(plat::Rect(both.Left, a.Top, both.Right, both.Top));
    }
    if (both.Bottom < a.Bottom) {
        parts.push_back(plat::Rect(both.Left, both.Bottom, both.Right, a.Bottom));
    }
    return parts;
}

std::unique_ptr<plat::TBitmap> NewImage(int w, int h)
{
    return std::make_unique<plat::TBitmap>(w, h, plat::pf32bit);
}

} // namespace

TDTDragImage::TDTDragImage(plat::TControl* owner) : FOwner(owner)
{
}

TDTDragImage::~TDTDragImage()
{
    EndDrag();
}

void TDTDragImage::PrepareDrag(const plat::TBitmap& dragImage, plat::TPoint imagePosition, plat::TPoint hotSpot)
{
    const int w = dragImage.Width();
    const int h = dragImage.Height();
    // There is no data object here: the tree draws the picture itself.
    FStates.Exclude(disSystemSupport);
    FLastPosition = hotSpot;
    FDragImage = NewImage(w, h);
    FAlphaImage = NewImage(w, h);
    FBackImage = NewImage(w, h);
    plat::TBitmap& source = const_cast<plat::TBitmap&>(dragImage);
    FDragImage->DeviceContext()->BitBlt(0, 0, w, h, source.DeviceContext(), 0, 0, plat::SRCCOPY);
    if (FPreBlendBias != 0) {
        AlphaBlend(source.DeviceContext(), FDragImage->DeviceContext(), plat::Rect(0, 0, w, h), plat::Point(0, 0),
                   bmConstantAlpha, 255, FPreBlendBias);
    }
    MakeAlphaChannel(source, *FDragImage->PixelSurface(), 255);
    FImagePosition = imagePosition;
    FStates = {disHidden, disInDrag, disPrepared};
}

void TDTDragImage::PrepareDrag(const plat::TBitmap& dragImage, plat::TPoint imagePosition, plat::TPoint hotSpot,
                               const std::shared_ptr<plat::IDataObject>& dataObject)
{
    FStates.Exclude(disSystemSupport);
    if (dataObject) {
        // The platform's drag picture service shows the picture, pointer at
        // its centre, during the data object's drag. It blends by the
        // picture's own alpha, so the fade and the transparency go into it.
        const int w = dragImage.Width();
        const int h = dragImage.Height();
        plat::TBitmap& source = const_cast<plat::TBitmap&>(dragImage);
        auto picture = std::make_shared<plat::TPixelSurface>(w, h, 32);
        for (int y = 0; y < h; ++y) {
            std::memcpy(picture->ScanLine(y), source.ScanLine(y), static_cast<std::size_t>(w) * 4);
        }
        MakeAlphaChannel(source, *picture, FTransparency);
        plat::TDragImage service;
        service.Bitmap = std::move(picture);
        service.Offset = plat::Point(w / 2, h / 2);
        service.ColorKey =
            FColorKey == plat::clNone ? plat::CLR_INVALID : plat::ToColorRef(plat::ColorToRGB(FColorKey));
        if (plat::InitializeDragImageFromBitmap(service, dataObject) == plat::S_OK) {
            FStates.Include(disSystemSupport);
            return;
        }
    }
    PrepareDrag(dragImage, imagePosition, hotSpot);
}

void TDTDragImage::MakeAlphaChannel(plat::TBitmap& source, plat::TPixelSurface& target, int opacity) const
{
    // Alpha opacity at the centre falling to about 2% of it at half the
    // larger side.
    const int w = source.Width();
    const int h = source.Height();
    const double m = std::max(w, h);
    const int cx = w / 2;
    const int cy = h / 2;
    const plat::COLORREF key = FColorKey == plat::clNone ? 0xFFFFFFFFu : plat::ToColorRef(plat::ColorToRGB(FColorKey));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* from = source.ScanLine(y);
        std::uint8_t* to = target.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = from + 4 * x;
            const plat::COLORREF colour = static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
            if (colour == key) {
                to[4 * x + 3] = 0;
                continue;
            }
            const double dx = (x - cx) / m;
            const double dy = (y - cy) / m;
            const auto fade = static_cast<int>(std::nearbyint(255 * std::exp(-8 * std::sqrt(dx * dx + dy * dy))));
            to[4 * x + 3] = static_cast<std::uint8_t>((fade * opacity + 127) / 255);
        }
    }
}

void TDTDragImage::InternalShowDragImage()
{
    const int w = FDragImage->Width();
    const int h = FDragImage->Height();
    FAlphaImage->DeviceContext()->BitBlt(0, 0, w, h, FBackImage->DeviceContext(), 0, 0, plat::SRCCOPY);
    const TBlendMode mode = FFade || FColorKey != plat::clNone ? bmMasterAlpha : bmConstantAlpha;
    AlphaBlend(FDragImage->DeviceContext(), FAlphaImage->DeviceContext(), plat::Rect(0, 0, w, h), plat::Point(0, 0),
               mode, FTransparency, FPostBlendBias);
    TScreenDC screen;
    screen.Get()->BitBlt(FImagePosition.X, FImagePosition.Y, w, h, FAlphaImage->DeviceContext(), 0, 0,
                         plat::SRCCOPY);
}

void TDTDragImage::ShowDragImage()
{
    if (FStates != TDTDragImageStates{disHidden, disInDrag, disPrepared}) {
        return;
    }
    FStates.Exclude(disHidden);
    {
        TScreenDC screen;
        FBackImage->DeviceContext()->BitBlt(0, 0, FBackImage->Width(), FBackImage->Height(), screen.Get(),
                                            FImagePosition.X, FImagePosition.Y, plat::SRCCOPY);
    }
    InternalShowDragImage();
}

void TDTDragImage::HideDragImage()
{
    if (!Visible()) {
        return;
    }
    FStates.Include(disHidden);
    TScreenDC screen;
    screen.Get()->BitBlt(FImagePosition.X, FImagePosition.Y, FBackImage->Width(), FBackImage->Height(),
                         FBackImage->DeviceContext(), 0, 0, plat::SRCCOPY);
}

void TDTDragImage::EndDrag()
{
    HideDragImage();
    FStates.Exclude(disInDrag);
    FStates.Exclude(disPrepared);
    FDragImage.reset();
    FAlphaImage.reset();
    FBackImage.reset();
}

plat::TRect TDTDragImage::GetDragImageRect() const
{
    if (!Visible()) {
        return plat::TRect{};
    }
    return plat::Rect(FImagePosition.X, FImagePosition.Y, FImagePosition.X + FBackImage->Width(),
                      FImagePosition.Y + FBackImage->Height());
}

bool TDTDragImage::WillMove(plat::TPoint p) const
{
    if (!Visible()) {
        return false;
    }
    switch (FRestriction) {
    case dmrHorizontalOnly:
        return p.X != FLastPosition.X;
    case dmrVerticalOnly:
        return p.Y != FLastPosition.Y;
    default:
        return p.X != FLastPosition.X || p.Y != FLastPosition.Y;
    }
}

bool TDTDragImage::DragTo(plat::TPoint p, bool forceRepaint)
{
    const int deltaX = FRestriction == dmrVerticalOnly ? 0 : FLastPosition.X - p.X;
    const int deltaY = FRestriction == dmrHorizontalOnly ? 0 : FLastPosition.Y - p.Y;
    const bool result = deltaX != 0 || deltaY != 0 || forceRepaint;
    if (result && Visible()) {
        const int w = FBackImage->Width();
        const int h = FBackImage->Height();
        const plat::TRect oldRect = plat::Rect(FImagePosition.X, FImagePosition.Y, FImagePosition.X + w,
                                               FImagePosition.Y + h);
        const plat::TRect newRect = plat::OffsetRect(oldRect, -deltaX, -deltaY);
        if (std::abs(deltaX) >= w || std::abs(deltaY) >= h || forceRepaint) {
            {
                TScreenDC screen;
                screen.Get()->BitBlt(oldRect.Left, oldRect.Top, w, h, FBackImage->DeviceContext(), 0, 0,
                                     plat::SRCCOPY);
                (void)screen.Get()->GetPixel(oldRect.Left, oldRect.Top);
            }
            if (forceRepaint) {
                FOwner->Update();
            }
            FImagePosition = plat::Point(newRect.Left, newRect.Top);
            TScreenDC screen;
            FBackImage->DeviceContext()->BitBlt(0, 0, w, h, screen.Get(), newRect.Left, newRect.Top, plat::SRCCOPY);
        } else {
            TScreenDC screen;
            // Restore the screen the picture leaves uncovered.
            for (const plat::TRect& strip : Without(oldRect, newRect)) {
                screen.Get()->BitBlt(strip.Left, strip.Top, static_cast<int>(strip.Width()),
                                     static_cast<int>(strip.Height()), FBackImage->DeviceContext(),
                                     strip.Left - oldRect.Left, strip.Top - oldRect.Top, plat::SRCCOPY);
            }
            // The kept copy follows the picture: what both cover moves.
            const plat::TRect both = plat::IntersectRect(oldRect, newRect);
            FAlphaImage->DeviceContext()->BitBlt(0, 0, w, h, FBackImage->DeviceContext(), 0, 0, plat::SRCCOPY);
            FBackImage->DeviceContext()->BitBlt(both.Left - newRect.Left, both.Top - newRect.Top,
                                                static_cast<int>(both.Width()), static_cast<int>(both.Height()),
                                                FAlphaImage->DeviceContext(), both.Left - oldRect.Left,
                                                both.Top - oldRect.Top, plat::SRCCOPY);
            // Sample the screen the picture newly covers.
            for (const plat::TRect& strip : Without(newRect, oldRect)) {
                FBackImage->DeviceContext()->BitBlt(strip.Left - newRect.Left, strip.Top - newRect.Top,
                                                    static_cast<int>(strip.Width()), static_cast<int>(strip.Height()),
                                                    screen.Get(), strip.Left, strip.Top, plat::SRCCOPY);
            }
            FImagePosition = plat::Point(newRect.Left, newRect.Top);
        }
        InternalShowDragImage();
    }
    FLastPosition = p;
    return result;
}

void TDTDragImage::ReshowDragImage()
{
    if (Visible()) {
        InternalShowDragImage();
    }
}

void TDTDragImage::RecaptureBackground(TBaseDataTree* tree, plat::TRect r, const plat::TRegion* visibleRegion,
                                       bool captureNCArea, bool reshowDragImage)
{
    if (!Visible() || tree == nullptr || !tree->HandleAllocated()) {
        return;
    }
    const plat::TRect image = GetDragImageRect();
    const plat::TPoint clientOrigin = tree->ClientToScreen(plat::Point(0, 0));
    const plat::TRect screen =
        plat::IntersectRect(plat::OffsetRect(r, clientOrigin.X, clientOrigin.Y), image);
    // The visible region in the kept copy's coordinates.
    plat::TRegion visible(plat::Rect(0, 0, FBackImage->Width(), FBackImage->Height()));
    if (visibleRegion != nullptr) {
        visible = *visibleRegion;
        visible.Offset(-image.Left, -image.Top);
    }
    plat::TCanvas& canvas = *FBackImage->Canvas();
    if (!screen.IsEmpty()) {
        const plat::TPoint target = plat::Point(screen.Left - image.Left, screen.Top - image.Top);
        const plat::TRect client = plat::OffsetRect(screen, -clientOrigin.X, -clientOrigin.Y);
        const plat::TRect window = plat::OffsetRect(client, tree->EffectiveOffsetX(), -tree->OffsetY());
        ClipCanvas(canvas, plat::Rect(target.X, target.Y, target.X + screen.Width(), target.Y + screen.Height()),
                   &visible);
        tree->PaintTree(canvas, window, target,
                        {poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines});
        canvas.RequireState();
        canvas.Handle()->SelectClipRgn(nullptr);
    }
    if (captureNCArea) {
        // The frame and header as the tree prints them, placed where the
        // tree's window lies under the picture.
        plat::TRect bounds;
        plat::GetWindowRect(tree->Handle(), bounds);
        plat::TBitmap frame(static_cast<int>(bounds.Width()), static_cast<int>(bounds.Height()), plat::pf32bit);
        frame.DeviceContext()->BitBlt(0, 0, frame.Width(), frame.Height(), FBackImage->DeviceContext(),
                                      bounds.Left - image.Left, bounds.Top - image.Top, plat::SRCCOPY);
        plat::SendMessage(tree->Handle(), plat::WM_PRINT, reinterpret_cast<plat::WPARAM>(frame.DeviceContext()),
                          plat::PRF_NONCLIENT);
        // Only the frame: the client part was painted above.
        const plat::TPoint at = plat::Point(bounds.Left - image.Left, bounds.Top - image.Top);
        plat::TRegion frameArea(plat::OffsetRect(plat::Rect(0, 0, bounds.Width(), bounds.Height()), at.X, at.Y));
        frameArea.Combine(frameArea,
                          plat::TRegion(plat::OffsetRect(tree->ClientRect(), clientOrigin.X - image.Left,
                                                         clientOrigin.Y - image.Top)),
                          plat::RGN_DIFF);
        frameArea.Combine(frameArea, visible, plat::RGN_AND);
        canvas.RequireState();
        canvas.Handle()->SelectClipRgn(&frameArea);
        canvas.Handle()->BitBlt(bounds.Left - image.Left, bounds.Top - image.Top, frame.Width(), frame.Height(),
                                frame.DeviceContext(), 0, 0, plat::SRCCOPY);
        canvas.Handle()->SelectClipRgn(nullptr);
    }
    if (reshowDragImage) {
        InternalShowDragImage();
    }
}

} // namespace qel
