// Painting of windows: update regions that merge until one WM_PAINT, the
// redraw switch, device contexts on a window's pixels (client area, whole
// window, or the screen of all top-level windows), window scrolling that
// moves pixels, and the composed picture a host shows.
//
// Every top-level window keeps the pixels of itself and its children; a
// device context of a child draws into a copy of its part and writes back
// only what shows of it (children and siblings above stay untouched).
#pragma once

#include "platform/canvas/device_context.h"
#include "platform/canvas/region.h"
#include "platform/controls/window.h"
#include "platform/messages.h"

#include <memory>
#include <vector>

namespace plat {

class TPixelSurface;
class TWindowManager;

// Adds to the update region (client coordinates; null: the whole client
// area); erase asks the next BeginPaint for WM_ERASEBKGND.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND hwnd, const TRegion* region, bool erase);
bool ValidateRect(HWND hwnd, const TRect* rect);
bool ValidateRgn(HWND hwnd, const TRegion* region);
// RDW_ flags: invalidate or validate the client area, the frame, the
// children; RDW_UPDATENOW paints at once.
bool RedrawWindow(HWND hwnd, const TRect* update, const TRegion* updateRegion, std::uint32_t flags);
// Sends WM_PAINT now when the window has something to paint.
bool UpdateWindow(HWND hwnd);
// The box of the update region; false when it is empty.
bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase);
// Copies the update region; answers its kind (NULLREGION when empty).
int GetUpdateRgn(HWND hwnd, TRegion& region, bool erase);
// The part of the window that shows (not covered by siblings above it, cut
// by its parents), in screen coordinates; answers its kind.
int GetWindowVisibleRegion(HWND hwnd, TRegion& region);
// Whether WM_SETREDRAW has switched painting off.
bool IsRedrawOff(HWND hwnd);

struct TPaintStruct {
    HDC hdc = nullptr;
    bool fErase = false;   // WM_ERASEBKGND left the background to the painter
    TRect rcPaint;         // the box of what is to be painted
};

// Takes the update region (clipped to what shows) and answers a context on
// the client area clipped to it; sends WM_NCPAINT and WM_ERASEBKGND first
// when they are due. EndPaint puts the pixels in place.
HDC BeginPaint(HWND hwnd, TPaintStruct& paint);
bool EndPaint(HWND hwnd, const TPaintStruct& paint);
// A context on the client area (0: the whole screen), the whole window, or
// with GetDCEx's DCX_ flags; ReleaseDC puts its pixels in place.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, const TRegion* clip, std::uint32_t flags);
// A context whose (0, 0) is clientArea's top-left corner in hwnd's client
// area, drawing only inside clientArea, clip (client coordinates) and what
// shows of the client area: how controls without a window of their own paint.
HDC GetDCAt(HWND hwnd, const TRect& clientArea, const TRegion* clip);
int ReleaseDC(HWND hwnd, HDC dc);

// Moves the pixels of the client area (or of scroll, within clip) by dx, dy
// and, with SW_INVALIDATE, invalidates the uncovered strip; SW_SCROLLCHILDREN
// moves the children along. Answers the kind of the uncovered region and
// hands it out in update and updateRect when given.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, TRegion* update,
                   TRect* updateRect, std::uint32_t flags);
// ScrollWindowEx with SW_INVALIDATE | SW_ERASE, and children moved when
// rect is null.
bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* rect, const TRect* clip);

// What a top-level window looks like now: its pixels with the caret and a
// drag picture laid over them. Device pixels (bounds times device scale).
std::unique_ptr<TPixelSurface> ComposeTopLevelWindow(HWND topLevel);
// The screen: every visible top-level window in z-order over a plain
// background, at device scale 1 unless scale says otherwise; with overlays
// the caret and drag picture too.
std::unique_ptr<TPixelSurface> ComposeScreen(int scale = 1, bool overlays = true);

// Fills fresh window pixels with the background colour.
void FillBackground(TPixelSurface& pixels);

class TWindowDC;

// The painting state of the window manager: the device contexts handed out
// and not yet released, and the source of WM_PAINT for windows with
// something to paint, which the queue asks after its posted messages
// (parents before children, top-level windows in z-order).
class TPaintState final : public IMessageSource {
public:
    explicit TPaintState(TWindowManager& manager);
    ~TPaintState() override;
    TPaintState(const TPaintState&) = delete;
    TPaintState& operator=(const TPaintState&) = delete;

    bool HasMessage() const override;
    bool TakeMessage(TMsg& msg) override;

    HDC Open(std::unique_ptr<TWindowDC> dc);
    // Writes the context's pixels back and frees it; false when it is not ours.
    bool Release(HDC dc);
    // Completes the copies of the contexts open on a top-level window before
    // its pixels in changed (top-level coordinates; null: all of them) change
    // or go, where a copy lacks some of them.
    void SettleContexts(HWND top, const TRect* changed = nullptr);

private:
    TWindowManager& FManager;
    std::vector<std::unique_ptr<TWindowDC>> FOpen;
};

} // namespace plat
