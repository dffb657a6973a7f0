// The window manager of the user-interface thread: the records of every
// window (tree, rectangles, styles, update region, scroll bars), the
// top-level z-order, the focus, active and capture windows, the keyboard
// and mouse state, and the host that shows the top-level windows. The
// window functions of window.h, window_paint.h, window_input.h, the scroll
// bars and the caret work on it. One exists while an application runs.
#pragma once

#include "platform/canvas/region.h"
#include "platform/controls/host.h"
#include "platform/controls/window.h"
#include "platform/messages.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace plat {

class TPixelSurface;
class TCaretState;
class TClipboardStore;
class TDragDropState;
class TInputMethodState;
class TPaintState;
struct TQueuedInput;

// Scroll information of one window scroll bar.
struct TScrollBarState {
    int Min = 0;
    int Max = 0;
    unsigned Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    bool ArrowsDisabled = false;   // EnableScrollBar, or no range with SIF_DISABLENOSCROLL
    bool Tracking = false;         // the thumb is being dragged
};

struct TWindowRecord {
    HWND Handle = 0;
    HWND Parent = 0;                 // 0 for a top-level window
    HWND Owner = 0;                  // top-level: the window it stays above
    std::vector<HWND> Children;      // z-order, topmost first
    TWindowProcedure Procedure;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    DWORD ClassStyle = 0;
    HCURSOR Cursor = 0;
    std::string Text;
    TRect Bounds;                    // in the parent's client area; screen for top-level windows
    TRect ClientInWindow;            // the client area in window coordinates
    TRect InsideBorder;              // window coordinates: inside the border, where scroll bars go
    TRegion Update;                  // client coordinates; the part to repaint
    bool EraseNeeded = false;        // the next BeginPaint sends WM_ERASEBKGND
    bool FrameInvalid = false;       // the next paint sends WM_NCPAINT first
    bool InternalPaint = false;      // a WM_PAINT is due even with an empty update region
    bool RedrawOff = false;          // WM_SETREDRAW false: no WM_PAINT while set
    bool Destroying = false;
    TScrollBarState HorzScroll;
    TScrollBarState VertScroll;
    // Top-level windows only: the pixels of the window and all its children.
    std::unique_ptr<TPixelSurface> Pixels;
    int DeviceScale = 1;

    TWindowRecord();
    ~TWindowRecord();
    TWindowRecord(const TWindowRecord&) = delete;
    TWindowRecord& operator=(const TWindowRecord&) = delete;

    bool IsTopLevel() const { return Parent == 0; }
    bool HasStyle(DWORD style) const { return (Style & style) == style; }
    TRect ClientSize() const { return Rect(0, 0, ClientInWindow.Right - ClientInWindow.Left,
                                           ClientInWindow.Bottom - ClientInWindow.Top); }
};

// A loop that takes the raw input while it runs (scroll-bar tracking, drag
// and drop); it answers true when it used the input.
using TInputHook = std::function<bool(const TQueuedInput& input)>;

class TWindowManager {
public:
    TWindowManager(TMessageQueue& queue, IHost& host);
    ~TWindowManager();
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;

    // The manager of the running application; raises EWindowError when none runs.
    static TWindowManager& Current();
    static TWindowManager* Instance();
    // The record of a window of the running manager; nullptr for no window.
    static TWindowRecord* RecordOf(HWND hwnd);

    TMessageQueue& Queue() { return FQueue; }
    IHost& Host() { return FHost; }

    TWindowRecord* Find(HWND hwnd);
    TWindowRecord& Get(HWND hwnd); // raises EWindowError for no window
    HWND Create(const TCreateParams& params, TWindowProcedure procedure);
    void Destroy(HWND hwnd);

    // Geometry in top-level window coordinates, where the pixels live.
    TRect WindowRectInTop(HWND hwnd);
    TRect ClientRectInTop(HWND hwnd);
    TPoint ScreenOrigin(HWND hwnd);          // the window's top-left corner on the screen
    TPoint ClientScreenOrigin(HWND hwnd);    // the client area's top-left corner on the screen
    // The part of the window (or of its client area) that shows, in its own
    // window (client) coordinates: cut by its parents, without the siblings
    // above it and, for the client area, without its visible children.
    TRegion VisibleWindowRegion(HWND hwnd);
    TRegion VisibleClientRegion(HWND hwnd, bool clipChildren = true);
    // Recomputes the client area (WM_NCCALCSIZE) and sends the size and move
    // messages that follow from a change.
    void RecalcClient(HWND hwnd);
    std::vector<HWND>& TopLevelOrder() { return FTopLevel; }
    // All windows below hwnd (children before their own children), in z-order.
    std::vector<HWND> Descendants(HWND hwnd);

    // Gives a top-level window pixels of its size (new ones are blank).
    void ResizeTopLevelPixels(TWindowRecord& record);
    // Tells the host that pixels of a window changed (top-level coordinates).
    void PixelsChanged(HWND topLevel, const TRect& area);

    // Keyboard, mouse and focus state (window_input.cpp).
    HWND Focus = 0;
    HWND Active = 0;
    HWND Capture = 0;
    HWND MouseWindow = 0;                          // the window the pointer was last over
    TPoint CursorPos;                              // screen
    bool ButtonsSwapped = false;
    std::uint8_t PhysicalButtons = 0;              // bit per physical button held (THostButton)
    HCURSOR CurrentCursor = 0;
    int CursorShowCount = 0;                       // ShowCursor's counter: shown while >= 0
    bool HighContrast = false;                     // the user's high-contrast setting (from the host)
    std::array<std::uint8_t, 256> KeyState{};      // bit 7 down, bit 0 toggled
    struct TLastClick {
        HWND Window = 0;
        UINT Button = 0;                           // WM_LBUTTONDOWN, WM_RBUTTONDOWN or WM_MBUTTONDOWN
        std::int64_t TimeMs = 0;
        TPoint Point;
        bool WasDouble = false;                    // a third click starts a new pair
    } LastClick;
    std::vector<std::shared_ptr<const TInputHook>> InputHooks; // innermost last

    // Timers of the manager's own work (caret blink, scroll-bar repeat) on a
    // window of its own; the callback runs from the queue like any timer.
    void SetServiceTimer(std::uintptr_t id, unsigned ms, std::function<void()> callback);
    void KillServiceTimer(std::uintptr_t id);

    // Parts with their own state.
    TCaretState& Caret() { return *FCaret; }
    TClipboardStore& Clipboard() { return *FClipboard; }
    TDragDropState& DragDrop() { return *FDragDrop; }
    TInputMethodState& InputMethod() { return *FInputMethod; }
    TPaintState& Paint() { return *FPaint; }

private:
    void RemoveFromParent(TWindowRecord& record);
    void FreeRecord(HWND hwnd);

    TMessageQueue& FQueue;
    IHost& FHost;
    std::unordered_map<HWND, std::unique_ptr<TWindowRecord>> FWindows;
    std::vector<HWND> FTopLevel;                   // topmost first
    std::unique_ptr<TCaretState> FCaret;
    std::unique_ptr<TClipboardStore> FClipboard;
    std::unique_ptr<TDragDropState> FDragDrop;
    std::unique_ptr<TInputMethodState> FInputMethod;
    std::unique_ptr<TPaintState> FPaint;
    HWND FServiceWindow = 0;
    std::unordered_map<std::uintptr_t, std::function<void()>> FServiceTimers;
    TWindowManager* FPrevious;
};

} // namespace plat
