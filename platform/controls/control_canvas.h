// The canvas of a control: bound to the paint context while the control
// paints; outside painting it takes a context of the control's window (or
// of its part of the parent's window) on first use, which the application
// gives back after the message being handled. Controls without any window
// measure on a context that shows nothing.
#pragma once

#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"

namespace plat {

class TControl;

class TControlCanvas : public TCanvas {
    PLAT_CLASS(TControlCanvas, TCanvas)
public:
    explicit TControlCanvas(TControl* control);
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    // Binds the paint context (nullptr ends painting).
    void SetPaintContext(HDC dc);
    // Binds the paint context for as long as it lives: Paint runs inside.
    class TPaintScope {
    public:
        TPaintScope(TControlCanvas& canvas, HDC dc) : FCanvas(canvas) { canvas.SetPaintContext(dc); }
        ~TPaintScope() { FCanvas.SetPaintContext(nullptr); }
        TPaintScope(const TPaintScope&) = delete;
        TPaintScope& operator=(const TPaintScope&) = delete;

    private:
        TControlCanvas& FCanvas;
    };
    bool Painting() const { return FPainting; }
    // A context for use outside painting, when none is bound.
    void EnsureHandle();
    // Gives back the contexts taken outside painting (all canvases).
    static void FreeDeviceContexts();

private:
    void FreeHandle();

    TControl* FControl;
    bool FPainting = false;
    HDC FTaken = nullptr;          // a context of ours from GetDC or GetDCAt
    std::intptr_t FTakenFrom = 0;  // the window it came from
};

} // namespace plat
