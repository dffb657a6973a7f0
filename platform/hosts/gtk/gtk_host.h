// The GTK 3 back end: every top-level window of the control tree is a GTK
// window holding one drawing area that shows the window's composed pixels;
// all controls inside are ours. The message queue waits inside the GLib
// main loop (its wake-up fd and its next timer are GLib sources), so nested
// modal loops work as they do headless. Keys reach the program as key
// messages and, through the input method, typed text as WM_CHAR in UTF-16
// units; the close box posts WM_CLOSE; the clipboard and drags speak MIME
// types with other programs; the device scale follows GDK's; printing goes
// through the canvas to GtkPrintOperation; resizable windows keep the size
// limits the program answers; SetCursorPos warps the real pointer. The X11
// backend is used, so that popups open at screen points.
#pragma once

#include "platform/controls/host.h"
#include "platform/controls/window_input.h"

#include <functional>
#include <memory>
#include <string>

typedef struct _GtkWindow GtkWindow;
typedef struct _GtkIMContext GtkIMContext;

namespace plat {

class TCanvas;

class TGtkHost final : public IHost {
public:
    // Opens the display (X11 only); raises std::runtime_error when it cannot.
    TGtkHost(int& argc, char**& argv);
    ~TGtkHost() override;
    TGtkHost(const TGtkHost&) = delete;
    TGtkHost& operator=(const TGtkHost&) = delete;

    void CreateHostWindow(HWND window, const THostWindowInfo& info) override;
    void DestroyHostWindow(HWND window) override;
    void ShowHostWindow(HWND window, bool visible) override;
    void MoveHostWindow(HWND window, const TRect& bounds) override;
    void SetHostWindowCaption(HWND window, const std::string& caption) override;
    void SetHostWindowSizeLimits(HWND window, TSize minimum, TSize maximum) override;
    void ActivateHostWindow(HWND window) override;
    void HostWindowPixelsChanged(HWND window, const TRect& area) override;
    void SetApplicationTitle(const std::string& title) override;
    void SetHostCursor(HCURSOR cursor) override;
    void SetHostPointerGrab(HWND window) override;
    // Warps the real pointer.
    void MoveHostPointer(TPoint screenPoint) override;
    int DeviceScale() const override;
    TRect ScreenRect() const override;
    TRect WorkArea() const override;
    void Beep(unsigned type) override;
    void WaitForWork(TMessageQueue& queue) override;
    void ClipboardOffered(const std::vector<std::uint16_t>& formats) override;
    bool ReadForeignClipboardText(std::string& text) override;
    std::vector<std::uint16_t> ForeignClipboardFormats() override;
    bool ReadForeignClipboardData(std::uint16_t format, std::vector<std::uint8_t>& bytes) override;
    bool BeginHostDrag(const std::vector<std::uint16_t>& formats, std::uint32_t allowedEffects) override;
    // The input method drops its composition; what it reports meanwhile
    // (a commit of its own) is not passed on.
    void ResetHostInputMethod(HWND topLevel) override;

    // The GTK window that shows the top-level window of window; nullptr
    // before it first shows.
    GtkWindow* NativeWindow(HWND window) const;

    // Runs when the connection to the X server ends (the server went away,
    // or the window's client was killed): on the user-interface thread,
    // inside Xlib, so it must touch neither GTK nor a window; the process
    // then ends with status 1. Without a handler it just ends.
    void SetDisplayLostHandler(std::function<void()> handler);

    // Windows that show from now on take their input-method context from
    // make instead of GTK's, which runs the user's input method: tests
    // install one whose reports they script. The host owns what make
    // answers; an empty make restores GTK's.
    using TInputMethodMaker = std::function<GtkIMContext*()>;
    void SetInputMethodMaker(TInputMethodMaker make);

    // Sees every input the host posts, in order (smoke tests replay them).
    using TInputRecorder = std::function<void(HWND topLevel, const TQueuedInput& input)>;
    void SetInputRecorder(TInputRecorder recorder);

    // Draws one page (0-based) on a canvas of the page's size at 96 pixels
    // per inch.
    using TPrintPage = std::function<void(TCanvas& canvas, int page, const TRect& pageRect)>;
    // Prints pageCount pages through the platform's print dialog, or into a
    // PDF file without dialog when pdfPath is given. False when cancelled
    // or failed.
    bool Print(HWND parent, const std::string& jobName, int pageCount, const TPrintPage& paint,
               const std::string& pdfPath = "");

    struct TState;

private:
    std::unique_ptr<TState> F;
};

// The GTK window behind a window of the program (its top-level's) on the
// running GTK host; nullptr on another host or before it shows. Dialogs of
// GTK's own take it as their parent.
GtkWindow* GtkWindowOf(HWND window);

// The MIME type a clipboard format has between programs; empty for formats
// only this program knows.
std::string MimeTypeOfFormat(std::uint16_t format);

} // namespace plat
