// The context menu request of a right click: what the platform's default
// window handling does after a right button release, for the standard
// controls that show a pop-up menu.
#pragma once

#include "platform/controls/control.h"

namespace plat {

// Sends the control WM_CONTEXTMENU with the screen point of the release
// (a WM_RBUTTONUP in the control's client coordinates).
void SendContextMenu(TControl& control, const TMessage& rightButtonUp);

} // namespace plat
