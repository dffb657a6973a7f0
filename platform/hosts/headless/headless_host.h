// The headless back end: the host the behaviour tests run the control tree
// on. It keeps the top-level windows on a virtual screen, takes the mouse,
// keys, text and the wheel by control name or screen point, runs the
// program's message loop until nothing is left to do (or through scripted
// steps while a modal or drag loop waits for input), moves a manual clock,
// writes PNG screenshots, dumps the layout of every form, counts beeps and
// stands in for other programs on the clipboard.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/clock.h"
#include "platform/controls/host.h"
#include "platform/controls/layout_dump.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

class TControl;
class TPixelSurface;

// Raised when the program waits for input the test did not script.
class EHeadlessIdle : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct THeadlessOptions {
    TRect Screen = Rect(0, 0, 1280, 1024);
    int DeviceScale = 1;
    // The real time a wait for worker threads may take before the host
    // gives up (a test that waits for nothing must not hang).
    int WorkerWaitMs = 10000;
    // Take over drags as a desktop back end does (the test then reports
    // them with HostDragOver, HostDragDrop and HostDragEnded).
    bool CarriesDrags = false;
};

class THeadlessHost final : public IHost {
public:
    // Installs a manual clock (starting at 1000 ms) while the host lives.
    explicit THeadlessHost(THeadlessOptions options = {});
    ~THeadlessHost() override;
    THeadlessHost(const THeadlessHost&) = delete;
    THeadlessHost& operator=(const THeadlessHost&) = delete;

    // ---- IHost ----
    void CreateHostWindow(HWND window, const THostWindowInfo& info) override;
    void DestroyHostWindow(HWND window) override;
    void ShowHostWindow(HWND window, bool visible) override;
    void MoveHostWindow(HWND window, const TRect& bounds) override;
    void SetHostWindowCaption(HWND window, const std::string& caption) override;
    void ActivateHostWindow(HWND window) override;
    void HostWindowPixelsChanged(HWND window, const TRect& area) override;
    void SetApplicationTitle(const std::string& title) override;
    void SetHostCursor(HCURSOR cursor) override;
    void SetHostPointerGrab(HWND window) override;
    int DeviceScale() const override { return FOptions.DeviceScale; }
    TRect ScreenRect() const override { return FOptions.Screen; }
    TRect WorkArea() const override { return FOptions.Screen; }
    void Beep(unsigned type) override;
    void WaitForWork(TMessageQueue& queue) override;
    void ClipboardOffered(const std::vector<std::uint16_t>& formats) override;
    bool ReadForeignClipboardText(std::string& text) override;
    std::vector<std::uint16_t> ForeignClipboardFormats() override;
    bool ReadForeignClipboardData(std::uint16_t format, std::vector<std::uint8_t>& bytes) override;
    bool BeginHostDrag(const std::vector<std::uint16_t>& formats, std::uint32_t allowedEffects) override;
    void ResetHostInputMethod(HWND topLevel) override;

    // ---- running ----
    TManualClock& Clock() { return FClock; }
    // Handles messages (input, posted, paint, due timers) until none is left.
    void PumpUntilIdle();
    // Moves the clock on by ms, stopping at each timer due on the way and
    // handling what it brings.
    void AdvanceClock(std::int64_t ms);
    // Steps the host runs, in order, whenever the program waits for input
    // with nothing to do (inside modal loops, drags, or Application::Run).
    void Script(std::function<void()> step);
    std::size_t ScriptLeft() const { return FScript.size(); }
    // How long (real time) a wait with nothing scripted may wait for workers.
    void SetWorkerWaitMs(int ms) { FOptions.WorkerWaitMs = ms; }

    // ---- input (posted; PumpUntilIdle handles it) ----
    // The centre of a control's client area on the screen, by name; a name
    // may be a path of names from a form ("Form1.Panel1.Button1").
    TPoint PointOf(const std::string& controlName) const;
    TControl* FindControl(const std::string& controlName) const;
    void MouseMove(TPoint screen);
    void MouseDown(TPoint screen, THostButton button = THostButton::Left);
    void MouseUp(TPoint screen, THostButton button = THostButton::Left);
    void Click(TPoint screen, THostButton button = THostButton::Left);
    void Click(const std::string& controlName, THostButton button = THostButton::Left);
    void DoubleClick(TPoint screen);
    // delta: 120 a notch, negative towards the user.
    void Wheel(TPoint screen, int delta);
    void PointerLeaves(TPoint lastScreenPoint);
    void KeyDown(TVirtualKey key);
    void KeyUp(TVirtualKey key);
    // A key press: the modifiers down, the key down and up, the modifiers
    // up (ModShift, ModControl, ModAlt). Its character, if any, follows from
    // the key-down (control keys, Alt with a letter); typed text comes with
    // TypeText.
    void Key(TVirtualKey key, std::uint8_t modifiers = 0);
    // Text as typed: a key press per character, its UTF-16 units as WM_CHAR.
    void TypeText(const std::string& utf8);
    // The user's input method composes for the keyboard window: the text so
    // far with its cursor (UTF-16 units, -1 at the end), then a commit, or
    // the end without one.
    void Compose(const std::string& utf8, int cursor = -1);
    void CommitComposition(const std::string& utf8);
    void EndComposition();
    // How often the program made the input method start afresh.
    int InputMethodResets() const { return FImeResets; }
    // The host gives the window the keyboard (the user clicked it elsewhere).
    void Activate(HWND topLevel);
    // The user closes the window (its close box).
    void CloseWindow(HWND topLevel);

    // ---- looking ----
    // The composed picture of a top-level window (caret and drag picture on
    // it) or of the whole screen.
    std::unique_ptr<TPixelSurface> Capture(HWND topLevel) const;
    std::unique_ptr<TPixelSurface> CaptureScreen() const;
    // Writes a capture as PNG; raises std::runtime_error on failure.
    static void SavePng(const TPixelSurface& pixels, const std::string& fileName);
    void SaveScreenshot(HWND topLevel, const std::string& fileName) const;
    // One line per control of every form, parents before children:
    // path, class, bounds in the parent, the client area on the screen,
    // state (visible, enabled, focused), text; below each control the
    // lines contentOf gives for it (layout_dump.h).
    std::string LayoutDump(const TControlContents& contentOf = {}) const;
    // Told of every change of the application's title and of a window's
    // caption, as the program makes it.
    std::function<void(const std::string& title)> OnTitleChanged;
    std::function<void(HWND window, const std::string& caption)> OnCaptionChanged;

    int BeepCount() const { return FBeeps; }
    HCURSOR Cursor() const { return FCursor; }
    HWND PointerGrab() const { return FGrab; }
    const std::string& ApplicationTitle() const { return FTitle; }
    std::string CaptionOf(HWND window) const;
    bool HostWindowVisible(HWND window) const;
    TRect HostWindowBounds(HWND window) const;
    std::vector<HWND> VisibleWindows() const;
    // Pixel areas the program reported changed since the last call.
    std::vector<std::pair<HWND, TRect>> TakeChangedAreas();

    // ---- other programs on the clipboard ----
    void ForeignClipboardText(const std::string& text);
    // Another program of the suite puts blocks of the program's own formats
    // on the clipboard (and no text).
    void ForeignClipboardData(const std::map<std::uint16_t, std::vector<std::uint8_t>>& blocks);
    const std::vector<std::uint16_t>& OfferedFormats() const { return FOffered; }
    // The formats and effects of the last drag the host took over.
    const std::vector<std::uint16_t>& DragFormats() const { return FDragFormats; }
    std::uint32_t DragEffects() const { return FDragEffects; }

private:
    struct TWindowEntry {
        THostWindowInfo Info;
        bool Visible = false;
    };

    HWND TargetWindowAt(TPoint screen) const;
    HWND KeyboardWindow() const;
    void Post(HWND topLevel, const TQueuedInput& input);
    std::uint8_t Modifiers() const;

    THeadlessOptions FOptions;
    TManualClock FClock;
    IClock* FPreviousClock;
    std::map<HWND, TWindowEntry> FWindows;
    std::deque<std::function<void()>> FScript;
    int FBeeps = 0;
    int FImeResets = 0;
    HCURSOR FCursor = 0;
    HWND FGrab = 0;
    std::string FTitle;
    TPoint FPointer;
    std::uint8_t FHeldModifiers = 0;
    std::vector<std::pair<HWND, TRect>> FChanged;
    std::vector<std::uint16_t> FOffered;
    std::vector<std::uint16_t> FDragFormats;
    std::uint32_t FDragEffects = 0;
    std::optional<std::string> FForeignText;
    std::map<std::uint16_t, std::vector<std::uint8_t>> FForeignData;
};

} // namespace plat
