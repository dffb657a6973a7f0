// The context menu request of a right click.
#include "platform/controls/standard/context_menu.h"

namespace plat {

void SendContextMenu(TControl& control, const TMessage& rightButtonUp)
{
    const TPoint screen = control.ClientToScreen(
        Point(GET_X_LPARAM(rightButtonUp.LParam), GET_Y_LPARAM(rightButtonUp.LParam)));
    control.Perform(WM_CONTEXTMENU, 0, PointToLParam(screen.X, screen.Y));
}

} // namespace plat
