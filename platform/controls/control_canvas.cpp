// The canvas of a control: paint contexts while painting, contexts of the
// control's window taken for use outside painting and given back by the
// application, and a blank context for controls without window.
#include "platform/controls/control_canvas.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/control.h"
#include "platform/controls/win_control.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <vector>

namespace plat {

PLAT_DEFINE_CLASS(TControlCanvas, TCanvas)

namespace {

std::vector<TControlCanvas*>& CanvasesWithContexts()
{
    static std::vector<TControlCanvas*> canvases;
    return canvases;
}

// A context that measures text but shows nothing.
TDeviceContext& BlankContext()
{
    static TPixelSurface pixels(1, 1, 32);
    static TSurfaceDC context(pixels);
    return context;
}

} // namespace

TControlCanvas::TControlCanvas(TControl* control) : FControl(control) {}

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetPaintContext(HDC dc)
{
    FreeHandle();
    FPainting = dc != nullptr;
    SetHandle(dc);
}

void TControlCanvas::EnsureHandle()
{
    if (Handle() != nullptr) {
        return;
    }
    HDC dc = nullptr;
    std::intptr_t from = 0;
    if (auto* windowed = dynamic_cast<TWinControl*>(FControl); windowed != nullptr && windowed->HandleAllocated()) {
        from = windowed->Handle();
        dc = GetDC(from);
    } else if (FControl != nullptr && dynamic_cast<TWinControl*>(FControl) == nullptr && FControl->Parent() != nullptr &&
               FControl->Parent()->HandleAllocated()) {
        from = FControl->Parent()->Handle();
        dc = GetDCAt(from, FControl->BoundsRect(), nullptr);
    }
    if (dc == nullptr) {
        SetHandle(&BlankContext());
        return;
    }
    FTaken = dc;
    FTakenFrom = from;
    CanvasesWithContexts().push_back(this);
    SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
    if (FTaken == nullptr) {
        if (!FPainting && Handle() == &BlankContext()) {
            SetHandle(nullptr);
        }
        return;
    }
    std::erase(CanvasesWithContexts(), this);
    HDC taken = FTaken;
    FTaken = nullptr;
    SetHandle(nullptr);
    ReleaseDC(FTakenFrom, taken);
    FTakenFrom = 0;
}

void TControlCanvas::FreeDeviceContexts()
{
    const std::vector<TControlCanvas*> canvases = CanvasesWithContexts();
    for (TControlCanvas* canvas : canvases) {
        canvas->FreeHandle();
    }
}

} // namespace plat
