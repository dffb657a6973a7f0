// What a mouse press on a standard control does besides the control's own
// work: taking the focus.
#pragma once

#include "platform/controls/win_control.h"

namespace plat {

// Gives the control the focus for a press when it can take it and has not
// got it; false when a handler of the focus change freed the control.
bool TakeFocusForPress(TWinControl& control);

} // namespace plat
