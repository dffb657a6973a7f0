// Window scroll bars: range, page, position and track position of the
// horizontal and vertical bar of a window (WS_HSCROLL, WS_VSCROLL), shown in
// the non-client area, 17 pixels wide. A click on an arrow sends
// WM_VSCROLL/WM_HSCROLL SB_LINEDOWN (repeating while held) and SB_ENDSCROLL
// when released; dragging the thumb sends SB_THUMBTRACK with the 16-bit
// position, then SB_THUMBPOSITION and SB_ENDSCROLL.
#pragma once

#include "platform/canvas/device_context.h"
#include "platform/canvas/graphics_types.h"
#include "platform/messages.h"

#include <cstdint>

namespace plat {

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// Scroll codes (low word of WM_HSCROLL/WM_VSCROLL's wParam).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

constexpr unsigned SIF_RANGE = 0x0001;
constexpr unsigned SIF_PAGE = 0x0002;
constexpr unsigned SIF_POS = 0x0004;
constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;
constexpr unsigned SIF_TRACKPOS = 0x0010;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr unsigned ESB_ENABLE_BOTH = 0;
constexpr unsigned ESB_DISABLE_LTUP = 1;
constexpr unsigned ESB_DISABLE_RTDN = 2;
constexpr unsigned ESB_DISABLE_BOTH = 3;

struct TScrollInfo {
    unsigned fMask = 0;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Sets what fMask names; the position stays within min .. max - page + 1.
// A bar that has nothing to scroll hides, or with SIF_DISABLENOSCROLL shows
// disabled. Answers the new position.
int SetScrollInfo(HWND hwnd, int bar, const TScrollInfo& info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, TScrollInfo& info);
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw);
bool GetScrollRange(HWND hwnd, int bar, int& min, int& max);
bool ShowScrollBar(HWND hwnd, int bar, bool show);
bool EnableScrollBar(HWND hwnd, int bar, unsigned arrows);

// Parts of a bar under a point, for hit tests and tracking.
enum class TScrollBarPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// The geometry of one bar: its rectangle, the arrow size, and the thumb.
struct TScrollBarLayout {
    TRect Bar;           // where the bar lies
    bool Vertical = true;
    int Arrow = 0;       // length of each arrow button
    int ThumbStart = 0;  // offset of the thumb along the bar (0: no thumb)
    int ThumbLength = 0;

    TScrollBarPart PartAt(TPoint point) const;
};

// Lays out a bar of the given state; trackPos is the position the thumb shows.
TScrollBarLayout LayoutScrollBar(const TRect& bar, bool vertical, int min, int max, unsigned page, int pos);
// Draws a bar in the classic look; pressed is the part held down.
void PaintScrollBar(TDeviceContext& dc, const TScrollBarLayout& layout, bool enabled, TScrollBarPart pressed);
// The position a thumb dragged to offset (along the bar) stands for.
int ScrollPosFromThumb(const TScrollBarLayout& layout, int min, int max, unsigned page, int thumbStart);

// For the default window procedure: the window-coordinate rectangle of a
// shown bar (empty when hidden), the non-client painting of both bars, and
// the tracking started by a button press on a bar.
TRect WindowScrollBarRect(HWND hwnd, int bar);
void PaintWindowScrollBars(HWND hwnd, TDeviceContext& windowDC);
void TrackWindowScrollBar(HWND hwnd, int bar, TPoint screenPoint);

} // namespace plat
