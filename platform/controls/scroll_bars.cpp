// Window scroll bars: their state, layout, classic painting and the mouse
// tracking that turns presses into scroll messages.
#include "platform/controls/scroll_bars.h"

#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_objects.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

constexpr int MinThumbLength = 8;
constexpr std::uintptr_t RepeatTimerId = 2;

TScrollBarState* BarState(HWND hwnd, int bar)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr || (bar != SB_HORZ && bar != SB_VERT)) {
        return nullptr;
    }
    return bar == SB_VERT ? &record->VertScroll : &record->HorzScroll;
}

DWORD BarStyle(int bar)
{
    return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

std::int64_t RangeSize(const TScrollBarState& state)
{
    return state.Max < state.Min ? 0 : std::int64_t{state.Max} - state.Min + 1;
}

int MaxPos(int min, int max, unsigned page)
{
    const std::int64_t top = std::int64_t{max} - std::max<std::int64_t>(std::int64_t{page} - 1, 0);
    return static_cast<int>(std::max<std::int64_t>(top, min));
}

bool CanScroll(const TScrollBarState& state)
{
    return state.Max > state.Min && (state.Page == 0 || RangeSize(state) > state.Page);
}

// Shows or hides the bar; the frame is recomputed when that changes.
void SetBarShown(HWND hwnd, int bar, bool show)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return;
    }
    const DWORD style = BarStyle(bar);
    if (((record->Style & style) != 0) == show) {
        return;
    }
    record->Style = show ? (record->Style | style) : (record->Style & ~style);
    SetWindowPos(hwnd, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TScrollBarLayout WindowBarLayout(HWND hwnd, int bar, int pos)
{
    const TScrollBarState* state = BarState(hwnd, bar);
    const TRect rect = WindowScrollBarRect(hwnd, bar);
    if (state == nullptr || rect.IsEmpty()) {
        return {};
    }
    return LayoutScrollBar(rect, bar == SB_VERT, state->Min, state->Max, state->Page, pos);
}

void RepaintBar(HWND hwnd, TScrollBarPart pressed = TScrollBarPart::None, int bar = -1)
{
    HDC dc = GetWindowDC(hwnd);
    if (dc == nullptr) {
        return;
    }
    for (int each : {SB_HORZ, SB_VERT}) {
        if (bar >= 0 && each != bar) {
            continue;
        }
        const TScrollBarState* state = BarState(hwnd, each);
        if (state == nullptr || WindowScrollBarRect(hwnd, each).IsEmpty()) {
            continue;
        }
        const int pos = state->Tracking ? state->TrackPos : state->Pos;
        PaintScrollBar(*dc, WindowBarLayout(hwnd, each, pos), !state->ArrowsDisabled && CanScroll(*state),
                       each == bar ? pressed : TScrollBarPart::None);
    }
    ReleaseDC(hwnd, dc);
}

TLogBrush SysBrush(TColor color)
{
    return CreateSolidBrush(ToColorRef(color));
}

// A filled triangle pointing along the bar, in the middle of rect.
void PaintArrowGlyph(TDeviceContext& dc, const TRect& rect, bool vertical, bool towardsEnd, COLORREF color)
{
    const int size = static_cast<int>(std::max<std::int64_t>(std::min(rect.Width(), rect.Height()) / 4, 2));
    const int cx = static_cast<int>(rect.Left + rect.Width() / 2);
    const int cy = static_cast<int>(rect.Top + rect.Height() / 2);
    TPoint points[3];
    if (vertical) {
        const int tip = towardsEnd ? cy + size / 2 + 1 : cy - size / 2 - 1;
        const int base = towardsEnd ? tip - size : tip + size;
        points[0] = Point(cx, tip);
        points[1] = Point(cx - size, base);
        points[2] = Point(cx + size, base);
    } else {
        const int tip = towardsEnd ? cx + size / 2 + 1 : cx - size / 2 - 1;
        const int base = towardsEnd ? tip - size : tip + size;
        points[0] = Point(tip, cy);
        points[1] = Point(base, cy - size);
        points[2] = Point(base, cy + size);
    }
    const TLogPen oldPen = dc.SelectPen(CreatePen(PS_SOLID, 1, color));
    const TLogBrush oldBrush = dc.SelectBrush(CreateSolidBrush(color));
    dc.Polygon(points, 3);
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);
}

void PaintButton(TDeviceContext& dc, TRect rect, bool pressed)
{
    dc.FillRect(rect, SysBrush(clBtnFace));
    dc.DrawEdge(rect, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | (pressed ? BF_FLAT : 0u));
}

struct TScrollTrack {
    HWND Window = 0;
    int Bar = SB_VERT;
    TScrollBarPart Part = TScrollBarPart::None;
    int GrabOffset = 0;          // pointer offset inside the thumb
    TPoint Pointer;              // screen
    std::weak_ptr<const TInputHook> Hook; // the input hook owns the track while it runs
};

int Along(const TScrollBarLayout& layout, TPoint point)
{
    return layout.Vertical ? point.Y - layout.Bar.Top : point.X - layout.Bar.Left;
}

int LineCode(TScrollBarPart part)
{
    switch (part) {
    case TScrollBarPart::LineUp:
        return SB_LINEUP;
    case TScrollBarPart::LineDown:
        return SB_LINEDOWN;
    case TScrollBarPart::PageUp:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

void SendScroll(HWND hwnd, int bar, int code, int pos = 0)
{
    SendMessage(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(pos)), 0);
}

// The bar's layout in screen coordinates.
TScrollBarLayout ScreenLayout(HWND hwnd, int bar, int pos)
{
    TScrollBarLayout layout = WindowBarLayout(hwnd, bar, pos);
    TRect window;
    GetWindowRect(hwnd, window);
    layout.Bar = OffsetRect(layout.Bar, window.Left, window.Top);
    return layout;
}

void EndTrack(const std::shared_ptr<TScrollTrack>& track)
{
    TWindowManager& manager = TWindowManager::Current();
    manager.KillServiceTimer(RepeatTimerId);
    if (const auto hook = track->Hook.lock()) {
        std::erase(manager.InputHooks, hook);
    }
    track->Hook.reset();
    if (!IsWindow(track->Window)) {
        return;
    }
    if (GetCapture() == track->Window) {
        ReleaseCapture();
    }
    if (TScrollBarState* state = BarState(track->Window, track->Bar); state != nullptr && state->Tracking) {
        state->Tracking = false;
        SendScroll(track->Window, track->Bar, SB_THUMBPOSITION, state->TrackPos);
    }
    if (IsWindow(track->Window)) {
        SendScroll(track->Window, track->Bar, SB_ENDSCROLL);
    }
    if (IsWindow(track->Window)) {
        RepaintBar(track->Window);
    }
}

// A held arrow or page area repeats while the pointer stays on it (a page
// area until the thumb reaches the pointer).
void Repeat(const std::weak_ptr<TScrollTrack>& weak)
{
    const std::shared_ptr<TScrollTrack> track = weak.lock();
    if (!track || track->Hook.expired() || !IsWindow(track->Window)) {
        return;
    }
    const TScrollBarState* state = BarState(track->Window, track->Bar);
    if (state == nullptr) {
        return;
    }
    const TScrollBarLayout layout = ScreenLayout(track->Window, track->Bar, state->Pos);
    if (layout.PartAt(track->Pointer) == track->Part) {
        SendScroll(track->Window, track->Bar, LineCode(track->Part));
    }
    TWindowManager::Current().SetServiceTimer(RepeatTimerId, ScrollRepeatIntervalMs, [weak] { Repeat(weak); });
}

bool TrackInput(const std::shared_ptr<TScrollTrack>& track, const TQueuedInput& input)
{
    if (!IsWindow(track->Window)) {
        EndTrack(track);
        return false;
    }
    if (input.Kind == THostInputKind::ButtonUp) {
        EndTrack(track);
        return true;
    }
    if (input.Kind != THostInputKind::MouseMove && input.Kind != THostInputKind::ButtonDown) {
        return false;
    }
    track->Pointer = Point(input.X, input.Y);
    TScrollBarState* state = BarState(track->Window, track->Bar);
    if (state == nullptr || track->Part != TScrollBarPart::Thumb || input.Kind != THostInputKind::MouseMove) {
        return true;
    }
    const TScrollBarLayout layout = ScreenLayout(track->Window, track->Bar, state->TrackPos);
    const int length = layout.Vertical ? static_cast<int>(layout.Bar.Height()) : static_cast<int>(layout.Bar.Width());
    const int start = std::clamp(Along(layout, track->Pointer) - track->GrabOffset, layout.Arrow,
                                 std::max(layout.Arrow, length - layout.Arrow - layout.ThumbLength));
    const int pos = ScrollPosFromThumb(layout, state->Min, state->Max, state->Page, start);
    if (pos != state->TrackPos) {
        state->TrackPos = pos;
        SendScroll(track->Window, track->Bar, SB_THUMBTRACK, pos);
        if (IsWindow(track->Window)) {
            RepaintBar(track->Window, TScrollBarPart::Thumb, track->Bar);
        }
    }
    return true;
}

} // namespace

TScrollBarPart TScrollBarLayout::PartAt(TPoint point) const
{
    if (!Bar.Contains(point.X, point.Y)) {
        return TScrollBarPart::None;
    }
    const int along = Vertical ? point.Y - Bar.Top : point.X - Bar.Left;
    const int length = Vertical ? static_cast<int>(Bar.Height()) : static_cast<int>(Bar.Width());
    if (along < Arrow) {
        return TScrollBarPart::LineUp;
    }
    if (along >= length - Arrow) {
        return TScrollBarPart::LineDown;
    }
    if (ThumbLength == 0) {
        return TScrollBarPart::None;
    }
    if (along < ThumbStart) {
        return TScrollBarPart::PageUp;
    }
    return along < ThumbStart + ThumbLength ? TScrollBarPart::Thumb : TScrollBarPart::PageDown;
}

TScrollBarLayout LayoutScrollBar(const TRect& bar, bool vertical, int min, int max, unsigned page, int pos)
{
    TScrollBarLayout layout;
    layout.Bar = bar;
    layout.Vertical = vertical;
    const int length = static_cast<int>(vertical ? bar.Height() : bar.Width());
    const int thickness = static_cast<int>(vertical ? bar.Width() : bar.Height());
    layout.Arrow = std::min(thickness, length / 2);
    const int track = length - 2 * layout.Arrow;
    const std::int64_t range = max < min ? 0 : std::int64_t{max} - min + 1;
    if (track <= 0 || max <= min || (page != 0 && range <= page)) {
        return layout;
    }
    const int thumb = page != 0 ? static_cast<int>(std::max<std::int64_t>(std::int64_t{track} * page / range, MinThumbLength))
                                : std::min(thickness, track);
    if (thumb > track) {
        return layout;
    }
    const int maxPos = MaxPos(min, max, page);
    const std::int64_t span = std::int64_t{maxPos} - min;
    const std::int64_t at = std::clamp<std::int64_t>(std::int64_t{pos} - min, 0, span);
    layout.ThumbLength = thumb;
    layout.ThumbStart = layout.Arrow + static_cast<int>(span > 0 ? (std::int64_t{track} - thumb) * at / span : 0);
    return layout;
}

int ScrollPosFromThumb(const TScrollBarLayout& layout, int min, int max, unsigned page, int thumbStart)
{
    const int length = static_cast<int>(layout.Vertical ? layout.Bar.Height() : layout.Bar.Width());
    const int free = length - 2 * layout.Arrow - layout.ThumbLength;
    const int maxPos = MaxPos(min, max, page);
    if (free <= 0) {
        return min;
    }
    const double share = static_cast<double>(thumbStart - layout.Arrow) / free;
    const auto pos = static_cast<std::int64_t>(std::llround(min + share * (static_cast<double>(maxPos) - min)));
    return static_cast<int>(std::clamp<std::int64_t>(pos, min, maxPos));
}

void PaintScrollBar(TDeviceContext& dc, const TScrollBarLayout& layout, bool enabled, TScrollBarPart pressed)
{
    if (layout.Bar.IsEmpty()) {
        return;
    }
    const TRect bar = layout.Bar;
    const int length = static_cast<int>(layout.Vertical ? bar.Height() : bar.Width());
    const auto piece = [&](int from, int to) {
        return layout.Vertical ? Rect(bar.Left, bar.Top + from, bar.Right, bar.Top + to)
                               : Rect(bar.Left + from, bar.Top, bar.Left + to, bar.Bottom);
    };
    const COLORREF glyph = ToColorRef(enabled ? clBtnText : clBtnShadow);
    const TRect first = piece(0, layout.Arrow);
    const TRect last = piece(length - layout.Arrow, length);
    PaintButton(dc, first, enabled && pressed == TScrollBarPart::LineUp);
    PaintArrowGlyph(dc, first, layout.Vertical, false, glyph);
    PaintButton(dc, last, enabled && pressed == TScrollBarPart::LineDown);
    PaintArrowGlyph(dc, last, layout.Vertical, true, glyph);
    const TRect track = piece(layout.Arrow, length - layout.Arrow);
    dc.FillRect(track, SysBrush(clScrollBar));
    if (!enabled || layout.ThumbLength == 0) {
        return;
    }
    if (pressed == TScrollBarPart::PageUp) {
        dc.FillRect(piece(layout.Arrow, layout.ThumbStart), SysBrush(clBtnShadow));
    } else if (pressed == TScrollBarPart::PageDown) {
        dc.FillRect(piece(layout.ThumbStart + layout.ThumbLength, length - layout.Arrow), SysBrush(clBtnShadow));
    }
    PaintButton(dc, piece(layout.ThumbStart, layout.ThumbStart + layout.ThumbLength), false);
}

int SetScrollInfo(HWND hwnd, int bar, const TScrollInfo& info, bool redraw)
{
    TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr) {
        return 0;
    }
    if (info.fMask & SIF_RANGE) {
        state->Min = info.nMin;
        state->Max = info.nMax;
    }
    if (info.fMask & SIF_PAGE) {
        state->Page = info.nPage;
    }
    if (info.fMask & SIF_POS) {
        state->Pos = info.nPos;
    }
    const std::int64_t range = RangeSize(*state);
    if (state->Page > range) {
        state->Page = static_cast<unsigned>(range);
    }
    state->Pos = std::clamp(state->Pos, state->Min, MaxPos(state->Min, state->Max, state->Page));
    const int pos = state->Pos;
    if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        const bool scrollable = CanScroll(*state);
        const bool keepDisabled = (info.fMask & SIF_DISABLENOSCROLL) != 0;
        state->ArrowsDisabled = !scrollable && keepDisabled;
        SetBarShown(hwnd, bar, scrollable || keepDisabled);
    }
    if (redraw && IsWindowVisible(hwnd)) {
        RepaintBar(hwnd, TScrollBarPart::None, bar);
    }
    return pos;
}

bool GetScrollInfo(HWND hwnd, int bar, TScrollInfo& info)
{
    const TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr) {
        return false;
    }
    if (info.fMask & SIF_RANGE) {
        info.nMin = state->Min;
        info.nMax = state->Max;
    }
    if (info.fMask & SIF_PAGE) {
        info.nPage = state->Page;
    }
    if (info.fMask & SIF_POS) {
        info.nPos = state->Pos;
    }
    if (info.fMask & SIF_TRACKPOS) {
        info.nTrackPos = state->Tracking ? state->TrackPos : state->Pos;
    }
    return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw)
{
    const TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr) {
        return 0;
    }
    const int old = state->Pos;
    TScrollInfo info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, info, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    const TScrollBarState* state = BarState(hwnd, bar);
    return state ? state->Pos : 0;
}

bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw)
{
    TScrollInfo info;
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    return BarState(hwnd, bar) != nullptr && (SetScrollInfo(hwnd, bar, info, redraw), true);
}

bool GetScrollRange(HWND hwnd, int bar, int& min, int& max)
{
    const TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr) {
        return false;
    }
    min = state->Min;
    max = state->Max;
    return true;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show)
{
    if (bar == SB_BOTH) {
        return ShowScrollBar(hwnd, SB_HORZ, show) && ShowScrollBar(hwnd, SB_VERT, show);
    }
    if (BarState(hwnd, bar) == nullptr) {
        return false;
    }
    SetBarShown(hwnd, bar, show);
    return true;
}

bool EnableScrollBar(HWND hwnd, int bar, unsigned arrows)
{
    if (bar == SB_BOTH) {
        return EnableScrollBar(hwnd, SB_HORZ, arrows) && EnableScrollBar(hwnd, SB_VERT, arrows);
    }
    TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr) {
        return false;
    }
    state->ArrowsDisabled = arrows != ESB_ENABLE_BOTH;
    if (IsWindowVisible(hwnd)) {
        RepaintBar(hwnd, TScrollBarPart::None, bar);
    }
    return true;
}

TRect WindowScrollBarRect(HWND hwnd, int bar)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr || (bar != SB_HORZ && bar != SB_VERT) || (record->Style & BarStyle(bar)) == 0) {
        return {};
    }
    const TRect inside = record->InsideBorder;
    const bool both = (record->Style & WS_HSCROLL) && (record->Style & WS_VSCROLL);
    TRect rect;
    if (bar == SB_VERT) {
        rect = Rect(std::max(inside.Left, inside.Right - ScrollBarSize), inside.Top, inside.Right,
                    both ? std::max(inside.Top, inside.Bottom - ScrollBarSize) : inside.Bottom);
    } else {
        rect = Rect(inside.Left, std::max(inside.Top, inside.Bottom - ScrollBarSize),
                    both ? std::max(inside.Left, inside.Right - ScrollBarSize) : inside.Right, inside.Bottom);
    }
    return rect.IsEmpty() ? TRect{} : rect;
}

void PaintWindowScrollBars(HWND hwnd, TDeviceContext& windowDC)
{
    for (int bar : {SB_HORZ, SB_VERT}) {
        const TScrollBarState* state = BarState(hwnd, bar);
        if (state == nullptr || WindowScrollBarRect(hwnd, bar).IsEmpty()) {
            continue;
        }
        PaintScrollBar(windowDC, WindowBarLayout(hwnd, bar, state->Tracking ? state->TrackPos : state->Pos),
                       !state->ArrowsDisabled && CanScroll(*state), TScrollBarPart::None);
    }
    // The corner between two bars.
    const TRect vertical = WindowScrollBarRect(hwnd, SB_VERT);
    const TRect horizontal = WindowScrollBarRect(hwnd, SB_HORZ);
    if (!vertical.IsEmpty() && !horizontal.IsEmpty()) {
        windowDC.FillRect(Rect(vertical.Left, horizontal.Top, vertical.Right, horizontal.Bottom), SysBrush(clBtnFace));
    }
}

void TrackWindowScrollBar(HWND hwnd, int bar, TPoint screenPoint)
{
    TScrollBarState* state = BarState(hwnd, bar);
    if (state == nullptr || state->ArrowsDisabled || !CanScroll(*state)) {
        return;
    }
    const TScrollBarLayout layout = ScreenLayout(hwnd, bar, state->Pos);
    const TScrollBarPart part = layout.PartAt(screenPoint);
    if (part == TScrollBarPart::None) {
        return;
    }
    TWindowManager& manager = TWindowManager::Current();
    auto track = std::make_shared<TScrollTrack>();
    track->Window = hwnd;
    track->Bar = bar;
    track->Part = part;
    track->Pointer = screenPoint;
    track->GrabOffset = Along(layout, screenPoint) - layout.ThumbStart;
    const auto hook = std::make_shared<const TInputHook>(
        [track](const TQueuedInput& input) { return TrackInput(track, input); });
    track->Hook = hook;
    manager.InputHooks.push_back(hook);
    SetCapture(hwnd);
    if (part == TScrollBarPart::Thumb) {
        state->Tracking = true;
        state->TrackPos = state->Pos;
    } else {
        const std::weak_ptr<TScrollTrack> weak = track;
        manager.SetServiceTimer(RepeatTimerId, ScrollRepeatDelayMs, [weak] { Repeat(weak); });
        SendScroll(hwnd, bar, LineCode(part));
    }
    if (IsWindow(hwnd)) {
        RepaintBar(hwnd, part, bar);
    }
}

} // namespace plat
