// How the standard controls that scroll themselves (lists, the list view,
// memos) turn scroll requests, wheel turns and navigation keys into
// positions.
#pragma once

#include "platform/messages.h"

#include <cstdint>

namespace plat {

// The position a WM_VSCROLL or WM_HSCROLL request (its wParam) leads to
// from position, with steps of line and page; the thumb's position is read
// whole from the window's bar. Top and bottom give the extreme values,
// which the caller's setter clamps.
int ScrolledPosition(HWND hwnd, int bar, WPARAM request, int position, int line, int page);
// The lines a turn of the wheel scrolls (a notch is three, away from the
// user is up: negative).
int WheelLines(int wheelDelta);
// The row an arrow, page, Home or End key leads to from current (-1: none
// yet) among count rows, a page being pageRows; -1 for other keys and for
// an empty list.
int RowForKey(std::uint16_t key, int current, int count, int pageRows);

} // namespace plat
