// The platform's default handling of window messages: frame and scroll-bar
// sizes, hit tests and painting of the non-client area, text, cursor and
// activation questions passed up to the parent, the context menu asked for
// by a right-button release, Shift+F10 or the Applications key, redraw
// switching, size and move notifications, and closing.
#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_objects.h"
#include "platform/controls/cursors.h"
#include "platform/controls/input_method.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

// The frame thickness a window's styles give, on each side. Top-level
// windows with a caption are framed by the host.
int FrameThickness(const TWindowRecord& record)
{
    if (record.IsTopLevel() && (record.Style & WS_CAPTION) == WS_CAPTION) {
        return 0;
    }
    int thickness = 0;
    if ((record.Style & WS_THICKFRAME) != 0) {
        thickness += FixedFrameSize + BorderSize;
    } else if ((record.Style & WS_DLGFRAME) != 0 || (record.ExStyle & WS_EX_DLGMODALFRAME) != 0) {
        thickness += FixedFrameSize;
    } else if ((record.Style & WS_BORDER) != 0) {
        thickness += BorderSize;
    }
    if ((record.ExStyle & WS_EX_CLIENTEDGE) != 0) {
        thickness += EdgeSize;
    }
    if ((record.ExStyle & WS_EX_STATICEDGE) != 0) {
        thickness += BorderSize;
    }
    return thickness;
}

LRESULT CalcClientSize(TWindowRecord& record, TRect& rect)
{
    const int frame = FrameThickness(record);
    TRect inside = InflateRect(rect, -frame, -frame);
    inside.Right = std::max(inside.Right, inside.Left);
    inside.Bottom = std::max(inside.Bottom, inside.Top);
    record.InsideBorder = OffsetRect(inside, Negated(rect.Left), Negated(rect.Top));
    if ((record.Style & WS_VSCROLL) != 0) {
        inside.Right = std::max(inside.Left, inside.Right - ScrollBarSize);
    }
    if ((record.Style & WS_HSCROLL) != 0) {
        inside.Bottom = std::max(inside.Top, inside.Bottom - ScrollBarSize);
    }
    rect = inside;
    return 0;
}

LRESULT HitTest(HWND hwnd, TWindowRecord& record, LPARAM lParam)
{
    TPoint point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TRect window;
    GetWindowRect(hwnd, window);
    if (!window.Contains(point.X, point.Y)) {
        return HTNOWHERE;
    }
    point = Point(point.X - window.Left, point.Y - window.Top);
    if (record.ClientInWindow.Contains(point.X, point.Y)) {
        return HTCLIENT;
    }
    if (WindowScrollBarRect(hwnd, SB_VERT).Contains(point.X, point.Y)) {
        return HTVSCROLL;
    }
    if (WindowScrollBarRect(hwnd, SB_HORZ).Contains(point.X, point.Y)) {
        return HTHSCROLL;
    }
    return record.InsideBorder.Contains(point.X, point.Y) ? HTNOWHERE : HTBORDER;
}

void PaintFrame(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr || FrameThickness(*record) == 0) {
        if (record != nullptr && (record->Style & (WS_HSCROLL | WS_VSCROLL)) != 0) {
            if (HDC dc = GetWindowDC(hwnd)) {
                PaintWindowScrollBars(hwnd, *dc);
                ReleaseDC(hwnd, dc);
            }
        }
        return;
    }
    HDC dc = GetWindowDC(hwnd);
    if (dc == nullptr) {
        return;
    }
    TRect rect = Rect(0, 0, static_cast<int>(record->Bounds.Width()), static_cast<int>(record->Bounds.Height()));
    if ((record->Style & WS_THICKFRAME) != 0) {
        dc->DrawEdge(rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
        dc->FrameRect(rect, CreateSolidBrush(ToColorRef(clBtnFace)));
        rect = InflateRect(rect, -1, -1);
        dc->FrameRect(rect, CreateSolidBrush(ToColorRef(clBtnFace)));
        rect = InflateRect(rect, -1, -1);
    } else if ((record->Style & WS_DLGFRAME) != 0 || (record->ExStyle & WS_EX_DLGMODALFRAME) != 0) {
        dc->DrawEdge(rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
        dc->FrameRect(rect, CreateSolidBrush(ToColorRef(clBtnFace)));
        rect = InflateRect(rect, -1, -1);
    } else if ((record->Style & WS_BORDER) != 0) {
        dc->FrameRect(rect, CreateSolidBrush(ToColorRef(clWindowFrame)));
        rect = InflateRect(rect, -1, -1);
    }
    if ((record->ExStyle & WS_EX_CLIENTEDGE) != 0) {
        dc->DrawEdge(rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    if ((record->ExStyle & WS_EX_STATICEDGE) != 0) {
        dc->DrawEdge(rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    PaintWindowScrollBars(hwnd, *dc);
    ReleaseDC(hwnd, dc);
}

LRESULT SetText(HWND hwnd, TWindowRecord& record, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    record.Text = text ? text : "";
    if (record.IsTopLevel()) {
        SetWindowCaption(hwnd, record.Text);
        TWindowManager::Current().Host().SetHostWindowCaption(hwnd, record.Text);
    }
    return 1;
}

LRESULT GetText(const TWindowRecord& record, WPARAM size, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(record.Text.size(), size - 1);
    std::memcpy(buffer, record.Text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

bool IsButtonMessage(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

LRESULT SetCursorDefault(HWND hwnd, TWindowRecord& record, WPARAM wParam, LPARAM lParam)
{
    if (!record.IsTopLevel()) {
        if (SendMessage(record.Parent, WM_SETCURSOR, wParam, lParam) != 0) {
            return 1;
        }
    }
    const auto hit = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    if (hit == HTERROR && IsButtonMessage(HIWORD(static_cast<std::uintptr_t>(lParam)))) {
        MessageBeep(0);
        return 0;
    }
    // Only the window the pointer is over sets its own class cursor.
    if (static_cast<HWND>(wParam) == hwnd) {
        if (hit == HTCLIENT) {
            SetCursor(record.Cursor != 0 ? record.Cursor : LoadCursor(IDC_ARROW));
        } else {
            SetCursor(LoadCursor(IDC_ARROW));
        }
    }
    return 0;
}

LRESULT PositionChanged(HWND hwnd, LPARAM lParam)
{
    const auto* position = reinterpret_cast<const TWindowPos*>(lParam);
    if (position == nullptr) {
        return 0;
    }
    TRect client;
    GetClientRect(hwnd, client);
    if ((position->flags & SWP_NOSIZE) == 0 || (position->flags & SWP_FRAMECHANGED) != 0) {
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<std::uint16_t>(client.Right), static_cast<std::uint16_t>(client.Bottom)));
    }
    if ((position->flags & SWP_NOMOVE) == 0 && IsWindow(hwnd)) {
        TPoint origin{0, 0};
        ClientToScreen(hwnd, origin);
        if (const HWND parent = GetParent(hwnd)) {
            ScreenToClient(parent, origin);
        }
        SendMessage(hwnd, WM_MOVE, 0, PointToLParam(origin.X, origin.Y));
    }
    return 0;
}

LRESULT PassToParent(const TWindowRecord& record, UINT message, WPARAM wParam, LPARAM lParam)
{
    return record.IsTopLevel() ? 0 : SendMessage(record.Parent, message, wParam, lParam);
}

// WM_CONTEXTMENU for the window at a screen point ((-1, -1) from the keyboard).
void AskForContextMenu(HWND hwnd, TPoint screen)
{
    SendMessage(hwnd, WM_CONTEXTMENU, static_cast<WPARAM>(hwnd), PointToLParam(screen.X, screen.Y));
}

// Shift+F10 and the Applications key ask for the context menu.
bool IsContextMenuKey(UINT message, WPARAM key)
{
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        return key == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    }
    return key == VK_APPS;
}

} // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        return 1;
    case WM_NCCALCSIZE:
        return lParam ? CalcClientSize(*record, *reinterpret_cast<TRect*>(lParam)) : 0;
    case WM_NCHITTEST:
        return HitTest(hwnd, *record, lParam);
    case WM_NCPAINT:
        PaintFrame(hwnd);
        return 0;
    case WM_PAINT: {
        TPaintStruct paint;
        BeginPaint(hwnd, paint);
        EndPaint(hwnd, paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_SETTEXT:
        return SetText(hwnd, *record, lParam);
    case WM_GETTEXT:
        return GetText(*record, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(record->Text.size());
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETCURSOR:
        return SetCursorDefault(hwnd, *record, wParam, lParam);
    case WM_MOUSEACTIVATE: {
        const LRESULT parent = PassToParent(*record, message, wParam, lParam);
        return parent != 0 ? parent : MA_ACTIVATE;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
        return PassToParent(*record, message, wParam, lParam);
    case WM_RBUTTONUP: {
        TPoint screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, screen);
        AskForContextMenu(hwnd, screen);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (IsContextMenuKey(message, wParam)) {
            AskForContextMenu(hwnd, Point(-1, -1));
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && GetFocus() != hwnd && !IsChild(hwnd, GetFocus())) {
            SetFocus(hwnd);
        }
        return 0;
    case WM_SETREDRAW:
        record->RedrawOff = wParam == 0;
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        return 0;
    case WM_WINDOWPOSCHANGED:
        return PositionChanged(hwnd, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
            TrackWindowScrollBar(hwnd, wParam == HTVSCROLL ? SB_VERT : SB_HORZ,
                                 Point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        }
        return 0;
    case WM_IME_COMPOSITION:
    case WM_IME_CHAR:
        return DefaultImeMessage(hwnd, message, wParam, lParam);
    case WM_SYSCHAR:
        // Alt with a key that nothing took.
        MessageBeep(0);
        return 0;
    case WM_QUEUED_INPUT: {
        TMsg msg{hwnd, message, wParam, lParam};
        if (TranslateQueuedInput(msg)) {
            TMessageQueue::DispatchMessage(msg);
        }
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace plat
