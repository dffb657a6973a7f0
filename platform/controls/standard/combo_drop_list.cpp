// TComboDropList: the combo box's popup list and its hold on the mouse.
#include "platform/controls/standard/combo_drop_list.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/popup_params.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

#include <utility>

namespace plat {

PLAT_DEFINE_CLASS(TComboDropList, TCustomListBox)

PLAT_BEGIN_MESSAGES(TComboDropList, TCustomListBox)
    PLAT_MESSAGE(CN_KEYDOWN, CNKeyDown)
    PLAT_MESSAGE(CN_SYSKEYDOWN, CNKeyDown)
    PLAT_MESSAGE(WM_CAPTURECHANGED, WMCaptureChanged)
    PLAT_MESSAGE(WM_VSCROLL, WMVScroll)
    PLAT_MESSAGE(WM_MOUSEACTIVATE, WMMouseActivate)
PLAT_END_MESSAGES

TComboDropList::TComboDropList(TCustomComboBox& combo) : TCustomListBox(nullptr, combo.Items()), FCombo(combo)
{
    // The list holds the mouse itself while it is open.
    FControlStyle -= TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    FVisible = false;
    FTabStop = false;
    SetFont(combo.Font());
}

void TComboDropList::CreateParams(TCreateParams& params)
{
    SetPopupParams(params, *this, WS_BORDER | WS_VSCROLL, 0,
                   FCombo.HandleAllocated() ? GetTopLevelWindow(FCombo.Handle()) : 0);
}

void TComboDropList::Open(const TRect& screenBounds, int index, bool byMouse)
{
    SetFont(FCombo.Font());
    SetBounds(screenBounds.Left, screenBounds.Top, SaturateInt(screenBounds.Width()), SaturateInt(screenBounds.Height()));
    ItemsChanged(this);
    SetItemIndex(index);
    if (index < 0) {
        SetTopIndex(0);
    }
    FOpen = true;
    FAwaitingRelease = byMouse;
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    SetCapture(Handle());
    Invalidate();
}

void TComboDropList::Close()
{
    if (!FOpen) {
        return;
    }
    FOpen = false;
    FScrolling = false;
    if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
    ShowWindow(Handle(), SW_HIDE);
}

void TComboDropList::MoveByKey(std::uint16_t key)
{
    const int index = IndexForKey(key);
    if (index >= 0) {
        SetItemIndex(index);
    }
}

bool TComboDropList::OnScrollBar(TPoint screen) const
{
    TRect window;
    GetWindowRect(FHandle, window);
    const TRect bar = WindowScrollBarRect(FHandle, SB_VERT);
    return bar.Contains(Minus(screen.X, window.Left), Minus(screen.Y, window.Top));
}

void TComboDropList::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!FOpen || button != mbLeft) {
        return;
    }
    const TPoint screen = ClientToScreen(Point(x, y));
    if (OnScrollBar(screen)) {
        FScrolling = true;
        TrackWindowScrollBar(Handle(), SB_VERT, screen);
        return;
    }
    if (!ClientRect().Contains(x, y)) {
        FCombo.CloseUp(false);
        return;
    }
    FAwaitingRelease = false;
    (void)shift;
}

void TComboDropList::MouseMove(TShiftState, int x, int y)
{
    if (!FOpen || FScrolling) {
        return;
    }
    const int index = ItemAtPos(Point(x, y), true);
    if (index >= 0 && ClientRect().Contains(x, y)) {
        SetItemIndex(index);
    }
}

void TComboDropList::MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (!FOpen || button != mbLeft || FScrolling) {
        return;
    }
    const bool opening = std::exchange(FAwaitingRelease, false);
    const int index = ItemAtPos(Point(x, y), true);
    if (index >= 0 && ClientRect().Contains(x, y)) {
        SetItemIndex(index);
        FCombo.CloseUp(true);
    } else if (!opening) {
        FCombo.CloseUp(false);
    }
}

void TComboDropList::CNKeyDown(TMessage& message)
{
    if (FOpen && FCombo.ComboKey(static_cast<std::uint16_t>(message.WParam), GetKeyState(VK_MENU) < 0)) {
        message.Result = 1;
        return;
    }
    Inherited(message);
}

void TComboDropList::WMCaptureChanged(TMessage& message)
{
    Inherited(message);
    // The scroll bar takes the mouse for a while; anyone else ends the list.
    if (FOpen && !FScrolling && static_cast<HWND>(message.LParam) != FHandle) {
        FCombo.CloseUp(false);
    }
}

void TComboDropList::WMVScroll(TMessage& message)
{
    Inherited(message);
    if (LOWORD(message.WParam) == SB_ENDSCROLL && FScrolling) {
        FScrolling = false;
        if (FOpen) {
            SetCapture(Handle());
        }
    }
}

void TComboDropList::WMMouseActivate(TMessage& message)
{
    message.Result = MA_NOACTIVATE;
}

} // namespace plat
