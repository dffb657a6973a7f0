// TScrollBar: range and position, the classic bar's parts under the mouse,
// the repeat of a held arrow, and the keys.
#include "platform/controls/standard/scroll_bar.h"

#include "platform/controls/standard/mouse_actions.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/timers.h"

#include <algorithm>
#include <utility>

namespace plat {

PLAT_DEFINE_CLASS(TScrollBar, TCustomControl,
    Published("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, {"sbHorizontal", "sbVertical"}).Default(sbHorizontal),
    Published("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1),
    Published("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100),
    Published("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0),
    Published("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0),
    Published("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0),
    Published("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1),
    Published("TabStop", &TScrollBar::TabStop, &TScrollBar::SetTabStop).Default(true))

PLAT_BEGIN_MESSAGES(TScrollBar, TCustomControl)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_TIMER, WMTimer)
    PLAT_MESSAGE(WM_CANCELMODE, WMCancelMode)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
PLAT_END_MESSAGES

namespace {

constexpr UINT_PTR RepeatTimer = 1;

int Along(const TScrollBarLayout& layout, TPoint point)
{
    return layout.Vertical ? Minus(point.Y, layout.Bar.Top) : Minus(point.X, layout.Bar.Left);
}

} // namespace

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption, csClickEvents, csDoubleClicks};
    FTabStop = true;
    FColor = clBtnFace;
    FWidth = 121;
    FHeight = ScrollBarSize;
}

void TScrollBar::SetKind(TScrollBarKind value)
{
    if (value == FKind) {
        return;
    }
    FKind = value;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    Invalidate();
}

int TScrollBar::LastPosition() const
{
    return std::max(FMin, SaturateInt(std::int64_t{FMax} - std::max(FPageSize, 1) + 1));
}

void TScrollBar::SetParams(int position, int min, int max)
{
    max = std::max(max, min);
    const bool rangeChanged = min != FMin || max != FMax;
    FMin = min;
    FMax = max;
    FPageSize = std::min(FPageSize, SaturateInt(std::int64_t{FMax} - FMin + 1));
    position = std::clamp(position, FMin, LastPosition());
    const bool moved = position != FPosition;
    FPosition = position;
    if (rangeChanged || moved) {
        Invalidate();
    }
    if (moved) {
        OnChange(this);
    }
}

void TScrollBar::SetPageSize(int value)
{
    value = std::clamp(value, 0, SaturateInt(std::int64_t{FMax} - FMin + 1));
    if (value != FPageSize) {
        FPageSize = value;
        SetParams(FPosition, FMin, FMax);
        Invalidate();
    }
}

TScrollBarLayout TScrollBar::Layout() const
{
    return LayoutScrollBar(ClientRect(), FKind == sbVertical, FMin, FMax, static_cast<unsigned>(FPageSize), FPosition);
}

int TScrollBar::Stepped(TScrollCode code) const
{
    switch (code) {
    case scLineUp:
        return SaturateInt(std::int64_t{FPosition} - FSmallChange);
    case scLineDown:
        return SaturateInt(std::int64_t{FPosition} + FSmallChange);
    case scPageUp:
        return SaturateInt(std::int64_t{FPosition} - FLargeChange);
    case scPageDown:
        return SaturateInt(std::int64_t{FPosition} + FLargeChange);
    case scTop:
        return FMin;
    case scBottom:
        return LastPosition();
    default:
        return FPosition;
    }
}

void TScrollBar::Scroll(TScrollCode code, int position)
{
    const auto life = Life();
    OnScroll(this, code, position);
    if (life->Alive()) {
        SetPosition(position);
    }
}

void TScrollBar::Paint()
{
    TCanvas& canvas = *Canvas();
    canvas.RequireState();
    if (canvas.Handle() != nullptr) {
        PaintScrollBar(*canvas.Handle(), Layout(), Enabled() && FMax > FMin, FPressed);
    }
}

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FMax > FMin) {
        const auto life = Life();
        if (FTabStop && !TakeFocusForPress(*this)) {
            return;
        }
        const TScrollBarLayout layout = Layout();
        FPointer = Point(x, y);
        FPressed = layout.PartAt(FPointer);
        Invalidate();
        switch (FPressed) {
        case TScrollBarPart::Thumb:
            FGrabOffset = Along(layout, FPointer) - layout.ThumbStart;
            break;
        case TScrollBarPart::LineUp:
        case TScrollBarPart::LineDown:
        case TScrollBarPart::PageUp:
        case TScrollBarPart::PageDown: {
            const TScrollCode code = FPressed == TScrollBarPart::LineUp     ? scLineUp
                                     : FPressed == TScrollBarPart::LineDown ? scLineDown
                                     : FPressed == TScrollBarPart::PageUp   ? scPageUp
                                                                            : scPageDown;
            Scroll(code, Stepped(code));
            if (life->Alive()) {
                SetTimer(Handle(), RepeatTimer, ScrollRepeatDelayMs);
            }
            break;
        }
        case TScrollBarPart::None:
            break;
        }
        if (!life->Alive()) {
            return;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TScrollBar::MouseMove(TShiftState shift, int x, int y)
{
    FPointer = Point(x, y);
    if (FPressed == TScrollBarPart::Thumb) {
        const TScrollBarLayout layout = Layout();
        const int length = layout.Vertical ? SaturateInt(layout.Bar.Height()) : SaturateInt(layout.Bar.Width());
        const int start = std::clamp(Along(layout, FPointer) - FGrabOffset, layout.Arrow,
                                     std::max(layout.Arrow, length - layout.Arrow - layout.ThumbLength));
        const int position = ScrollPosFromThumb(layout, FMin, FMax, static_cast<unsigned>(FPageSize), start);
        if (position != FPosition) {
            Scroll(scTrack, position);
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FPressed != TScrollBarPart::None) {
        const auto life = Life();
        EndTracking();
        if (!life->Alive()) {
            return;
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TScrollBar::EndTracking()
{
    const TScrollBarPart pressed = std::exchange(FPressed, TScrollBarPart::None);
    if (HandleAllocated()) {
        KillTimer(Handle(), RepeatTimer);
    }
    Invalidate();
    const auto life = Life();
    if (pressed == TScrollBarPart::Thumb) {
        Scroll(scPosition, FPosition);
    }
    if (life->Alive()) {
        Scroll(scEndScroll, FPosition);
    }
}

void TScrollBar::WMTimer(TMessage& message)
{
    if (message.WParam != RepeatTimer) {
        Inherited(message);
        return;
    }
    SetTimer(Handle(), RepeatTimer, ScrollRepeatIntervalMs);
    // A page step goes on only while the pointer stays beside the thumb.
    if (FPressed == TScrollBarPart::None || Layout().PartAt(FPointer) != FPressed) {
        return;
    }
    const TScrollCode code = FPressed == TScrollBarPart::LineUp     ? scLineUp
                             : FPressed == TScrollBarPart::LineDown ? scLineDown
                             : FPressed == TScrollBarPart::PageUp   ? scPageUp
                                                                    : scPageDown;
    Scroll(code, Stepped(code));
}

void TScrollBar::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTARROWS;
}

void TScrollBar::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    const bool vertical = FKind == sbVertical;
    TScrollCode code = scEndScroll;
    switch (message.WParam) {
    case VK_UP:
    case VK_LEFT:
        code = (message.WParam == VK_UP) == vertical ? scLineUp : scEndScroll;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        code = (message.WParam == VK_DOWN) == vertical ? scLineDown : scEndScroll;
        break;
    case VK_PRIOR:
        code = scPageUp;
        break;
    case VK_NEXT:
        code = scPageDown;
        break;
    case VK_HOME:
        code = scTop;
        break;
    case VK_END:
        code = scBottom;
        break;
    default:
        break;
    }
    if (code != scEndScroll) {
        Scroll(code, Stepped(code));
    }
}

void TScrollBar::WMCancelMode(TMessage& message)
{
    if (FPressed != TScrollBarPart::None) {
        EndTracking();
    }
    Inherited(message);
}

void TScrollBar::CMEnabledChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

} // namespace plat
