// How the standard controls that scroll themselves (lists, the list view,
// memos) turn scroll requests into positions.
#pragma once

#include "platform/messages.h"

namespace plat {

// The position a WM_VSCROLL or WM_HSCROLL request (its wParam) leads to
// from position, with steps of line and page; the thumb's position is read
// whole from the window's bar. Top and bottom give the extreme values,
// which the caller's setter clamps.
int ScrolledPosition(HWND hwnd, int bar, WPARAM request, int position, int line, int page);
// The lines a turn of the wheel scrolls (a notch is three, away from the
// user is up: negative).
int WheelLines(int wheelDelta);

} // namespace plat
