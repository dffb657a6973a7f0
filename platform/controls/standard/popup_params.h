// The window of a popup the standard controls open (a combo box's list, a
// menu): top-level at the control's screen bounds, above its owner, never
// taking the keyboard.
#pragma once

#include "platform/controls/control.h"
#include "platform/controls/window.h"

namespace plat {

// Fills params for a popup window of the control with the extra styles.
void SetPopupParams(TCreateParams& params, const TControl& control, DWORD style, DWORD exStyle, HWND owner);

} // namespace plat
