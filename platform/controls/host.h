// The small interface between the control tree and the back end that shows
// it: the back end gives each top-level window a place on the screen, shows
// the window's pixels, reports input by posting it to the window manager
// (PostHostInput), and blocks the user-interface thread until something
// happens. Two back ends implement it: headless (tests) and GTK 3.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/messages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

class TMessageQueue;
using HCURSOR = std::intptr_t;

struct THostWindowInfo {
    std::string Caption;
    TRect Bounds;          // screen coordinates, logical pixels
    HWND Owner = 0;        // the top-level window it stays above, 0 for none
    bool Popup = false;    // never takes the keyboard, placed at screen points (menus, hints, lists)
    bool Decorated = false; // the host frames it with a title bar
    bool Resizable = false;
    bool ToolWindow = false;
};

class IHost {
public:
    virtual ~IHost() = default;

    // Top-level windows. Bounds are logical pixels; the window's pixels are
    // its bounds times the device scale.
    virtual void CreateHostWindow(HWND window, const THostWindowInfo& info) = 0;
    virtual void DestroyHostWindow(HWND window) = 0;
    virtual void ShowHostWindow(HWND window, bool visible) = 0;
    virtual void MoveHostWindow(HWND window, const TRect& bounds) = 0;
    virtual void SetHostWindowCaption(HWND window, const std::string& caption) = 0;
    // The sizes the user may give the window by dragging its frame.
    virtual void SetHostWindowSizeLimits(HWND window, TSize minimum, TSize maximum)
    {
        (void)window;
        (void)minimum;
        (void)maximum;
    }
    // Brings the window to the front and gives it the keyboard.
    virtual void ActivateHostWindow(HWND window) = 0;
    // Pixels of the window changed in area (window coordinates, logical);
    // the back end shows them (ComposeTopLevelWindow) when it likes.
    virtual void HostWindowPixelsChanged(HWND window, const TRect& area) = 0;
    // The application's title, apart from every window caption.
    virtual void SetApplicationTitle(const std::string& title) = 0;

    // Pointer shape over our windows; 0 = the arrow.
    virtual void SetHostCursor(HCURSOR cursor) = 0;
    // Keeps pointer events coming to window (a popup's grab) until released
    // with 0.
    virtual void SetHostPointerGrab(HWND window) = 0;
    // Moves the real pointer to a screen point (SetCursorPos); a host
    // without one keeps the program's idea of it only.
    virtual void MoveHostPointer(TPoint screenPoint) { (void)screenPoint; }

    // Integer device scale of new windows (1, or 2 on a HiDPI screen).
    virtual int DeviceScale() const = 0;
    virtual TRect ScreenRect() const = 0;
    virtual TRect WorkArea() const = 0;
    // The platform's message beep (type 0 = default).
    virtual void Beep(unsigned type) = 0;

    // Blocks the user-interface thread until a message waits in the queue, a
    // timer is due or the back end has posted input. A headless back end
    // with nothing left to do runs the next scripted step or raises.
    virtual void WaitForWork(TMessageQueue& queue) = 0;

    // The program's clipboard now offers these clipboard formats (empty:
    // nothing of ours); the back end announces them to other programs and
    // renders them with RenderClipboardForHost when asked.
    virtual void ClipboardOffered(const std::vector<std::uint16_t>& formats) = 0;
    // Another program's clipboard content in a text format, when there is
    // one: UTF-8 text and true, else false.
    virtual bool ReadForeignClipboardText(std::string& text) = 0;
    // The program's own formats (those with registered names, such as a
    // tree's node data) that another program of the suite offers on the
    // clipboard, and the bytes of one of them (false when it has none).
    virtual std::vector<std::uint16_t> ForeignClipboardFormats() { return {}; }
    virtual bool ReadForeignClipboardData(std::uint16_t format, std::vector<std::uint8_t>& bytes)
    {
        (void)format;
        (void)bytes;
        return false;
    }

    // The program completed or cancelled the composition of the input
    // method of topLevel's keyboard window: the back end's input method
    // drops what it composed and starts afresh.
    virtual void ResetHostInputMethod(HWND topLevel) { (void)topLevel; }

    // A drag of the program's data begins with the button held. A back end
    // that carries drags between programs takes it over and answers true;
    // it then reports with HostDragOver, HostDragDrop, HostDragLeave and
    // HostDragEnded (drag_drop.h). Otherwise the drag loop follows the
    // pointer itself.
    virtual bool BeginHostDrag(const std::vector<std::uint16_t>& formats, std::uint32_t allowedEffects)
    {
        (void)formats;
        (void)allowedEffects;
        return false;
    }
};

} // namespace plat
