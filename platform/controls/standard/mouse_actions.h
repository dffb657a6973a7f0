// What a mouse press or release on a standard control does besides the
// control's own work: taking the focus, and asking for the context menu
// after a right click (what the platform's default window handling does).
#pragma once

#include "platform/controls/win_control.h"

namespace plat {

// Gives the control the focus for a press when it can take it and has not
// got it; false when a handler of the focus change freed the control.
bool TakeFocusForPress(TWinControl& control);
// Sends the control WM_CONTEXTMENU with the screen point of the release
// (a WM_RBUTTONUP in the control's client coordinates).
void SendContextMenu(TControl& control, const TMessage& rightButtonUp);

} // namespace plat
