// Windows of the control tree: creation with styles, the parent and z-order
// tree, window and client rectangles, showing, enabling, text, the default
// window procedure and the coordinate conversions. Top-level windows are
// shown by the host; child windows live in their top-level window's pixels.
// Everything here runs on the user-interface thread.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

using HCURSOR = std::intptr_t;

// The window procedure: every message of the window goes through it.
using TWindowProcedure = std::function<LRESULT(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)>;

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    DWORD ClassStyle = CS_DBLCLKS;
    int X = 0;            // in the parent's client area; screen for top-level windows
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = 0;   // child windows: the parent; top-level ones: the owner
    HCURSOR Cursor = 0;   // the class cursor; 0 = the arrow
};

// lParam of WM_WINDOWPOSCHANGED: the new place; SWP_NOMOVE and SWP_NOSIZE
// are set when the position or the size stayed.
struct TWindowPos {
    HWND hwnd = 0;
    HWND hwndInsertAfter = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t flags = 0;
};

// lParam of WM_GETMINMAXINFO: the window answers the sizes the user may
// give a top-level window by dragging its frame (window sizes, x and y).
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

// Creates the window (a child with WS_CHILD and a parent, else top-level),
// sends WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE, and shows it when
// WS_VISIBLE is set. Raises EWindowError when the parent is no window or
// WM_CREATE answers -1.
HWND CreateWindowEx(const TCreateParams& params, TWindowProcedure procedure);
// Sends WM_DESTROY to the window and then to its children, WM_NCDESTROY to
// the children first and then the window, and frees the handles. False for
// no window.
bool DestroyWindow(HWND hwnd);
// The platform's default handling of every message.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure directly on this thread (as SendMessage does).
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

HWND GetParent(HWND hwnd);
// Moves a child window under another parent (0 makes it top-level).
HWND SetParent(HWND hwnd, HWND newParent);
// The owner of a top-level window, 0 for children and unowned windows.
HWND GetWindowOwner(HWND hwnd);
HWND GetWindow(HWND hwnd, unsigned relation);
// The top-level window that holds hwnd (hwnd itself for a top-level one).
HWND GetTopLevelWindow(HWND hwnd);
bool IsChild(HWND parent, HWND hwnd);
bool IsTopLevel(HWND hwnd);

DWORD GetWindowStyle(HWND hwnd);
DWORD GetWindowExStyle(HWND hwnd);
// Set the styles; a change of border or scroll styles takes effect with
// SetWindowPos(SWP_FRAMECHANGED).
void SetWindowStyle(HWND hwnd, DWORD style);
void SetWindowExStyle(HWND hwnd, DWORD exStyle);

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);
// The limits of a top-level window's size as the window answers
// WM_GETMINMAXINFO (no window: none).
TMinMaxInfo GetWindowSizeLimits(HWND hwnd);
// Asks a top-level window for its size limits again and tells the host,
// which keeps the user's resizing within them.
void UpdateWindowSizeLimits(HWND hwnd);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool ShowWindow(HWND hwnd, int command);
// The window and all its parents have WS_VISIBLE.
bool IsWindowVisible(HWND hwnd);
// Sends WM_ENABLE on a change; disabling the focus window clears the focus.
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);

bool SetWindowText(HWND hwnd, const std::string& text);
std::string GetWindowText(HWND hwnd);

// Screen coordinates of the window rectangle; client rectangle at (0, 0).
bool GetWindowRect(HWND hwnd, TRect& rect);
bool GetClientRect(HWND hwnd, TRect& rect);
// The client rectangle in window coordinates (the frame around it is the
// non-client area).
TRect GetClientAreaInWindow(HWND hwnd);
bool ClientToScreen(HWND hwnd, TPoint& point);
bool ScreenToClient(HWND hwnd, TPoint& point);
// Converts points from the client area of one window to another's (0: screen).
void MapWindowPoints(HWND from, HWND to, TPoint* points, int count);

// The deepest visible window under the screen point whose hit test is not
// transparent; 0 outside every window.
HWND WindowFromPoint(TPoint screenPoint);
// The visible child of parent under the client point, parent itself when no
// child is there, 0 outside parent.
HWND ChildWindowFromPoint(HWND parent, TPoint clientPoint);

// Top-level windows in z-order, topmost first.
std::vector<HWND> TopLevelWindows();

// -value, saturated at the 32-bit limits (coordinates may lie anywhere).
inline int Negated(int value)
{
    return SaturateInt(-std::int64_t{value});
}
// a - b and a + b, saturated.
inline int Minus(int a, int b)
{
    return SaturateInt(std::int64_t{a} - b);
}
inline int Plus(int a, int b)
{
    return SaturateInt(std::int64_t{a} + b);
}

class EWindowError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace plat
