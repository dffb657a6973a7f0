// The focus taken by a press, and the context menu request of a right click.
#include "platform/controls/standard/mouse_actions.h"

namespace plat {

bool TakeFocusForPress(TWinControl& control)
{
    if (!control.CanFocus() || control.Focused()) {
        return true;
    }
    const auto life = control.Life();
    control.SetFocus();
    return life->Alive();
}

void SendContextMenu(TControl& control, const TMessage& rightButtonUp)
{
    const TPoint screen = control.ClientToScreen(
        Point(GET_X_LPARAM(rightButtonUp.LParam), GET_Y_LPARAM(rightButtonUp.LParam)));
    control.Perform(WM_CONTEXTMENU, 0, PointToLParam(screen.X, screen.Y));
}

} // namespace plat
