// The headless back end: virtual screen, input injection, the pumped
// message loop with a manual clock and scripted steps, PNG captures, the
// layout dump and the stand-in for other programs' clipboard.
#include "platform/hosts/headless/headless_host.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/application.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/input_method.h"
#include "platform/controls/layout_dump.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_paint.h"
#include "platform/text_encoding.h"

#include <poll.h>

namespace plat {

namespace {

constexpr int MaxMessagesPerPump = 1000000;

TControl* FindByPath(TWinControl& root, const std::vector<std::string>& names, std::size_t at)
{
    if (at == names.size()) {
        return &root;
    }
    for (int i = 0; i < root.ControlCount(); ++i) {
        TControl* child = root.Controls(i);
        if (LayoutName(*child, i) != names[at]) {
            continue;
        }
        if (at + 1 == names.size()) {
            return child;
        }
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            if (TControl* found = FindByPath(*windowed, names, at + 1)) {
                return found;
            }
        }
    }
    return nullptr;
}

TControl* FindAnywhere(TWinControl& root, const std::string& name)
{
    for (int i = 0; i < root.ControlCount(); ++i) {
        TControl* child = root.Controls(i);
        if (child->Name() == name) {
            return child;
        }
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            if (TControl* found = FindAnywhere(*windowed, name)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> names;
    std::string current;
    for (char c : path) {
        if (c == '.') {
            names.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    names.push_back(current);
    return names;
}

TVirtualKey KeyOfCharacter(char32_t c)
{
    if (c >= 'a' && c <= 'z') {
        return static_cast<TVirtualKey>(c - 'a' + 'A');
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return static_cast<TVirtualKey>(c);
    }
    if (c == ' ') {
        return VK_SPACE;
    }
    return VK_PACKET;
}

} // namespace

THeadlessHost::THeadlessHost(THeadlessOptions options)
    : FOptions(options), FClock(1000), FPreviousClock(&plat::Clock())
{
    FOptions.DeviceScale = std::max(FOptions.DeviceScale, 1);
    SetClock(&FClock);
}

THeadlessHost::~THeadlessHost()
{
    SetClock(FPreviousClock);
}

void THeadlessHost::CreateHostWindow(HWND window, const THostWindowInfo& info)
{
    FWindows[window] = TWindowEntry{info, false};
}

void THeadlessHost::DestroyHostWindow(HWND window)
{
    FWindows.erase(window);
    if (FGrab == window) {
        FGrab = 0;
    }
}

void THeadlessHost::ShowHostWindow(HWND window, bool visible)
{
    if (auto at = FWindows.find(window); at != FWindows.end()) {
        at->second.Visible = visible;
    }
}

void THeadlessHost::MoveHostWindow(HWND window, const TRect& bounds)
{
    if (auto at = FWindows.find(window); at != FWindows.end()) {
        at->second.Info.Bounds = bounds;
    }
}

void THeadlessHost::SetHostWindowCaption(HWND window, const std::string& caption)
{
    if (auto at = FWindows.find(window); at != FWindows.end()) {
        at->second.Info.Caption = caption;
    }
    if (OnCaptionChanged) {
        OnCaptionChanged(window, caption);
    }
}

void THeadlessHost::ActivateHostWindow(HWND) {}

void THeadlessHost::HostWindowPixelsChanged(HWND window, const TRect& area)
{
    FChanged.emplace_back(window, area);
}

void THeadlessHost::SetApplicationTitle(const std::string& title)
{
    FTitle = title;
    if (OnTitleChanged) {
        OnTitleChanged(title);
    }
}

void THeadlessHost::SetHostCursor(HCURSOR cursor)
{
    FCursor = cursor;
}

void THeadlessHost::SetHostPointerGrab(HWND window)
{
    FGrab = window;
}

void THeadlessHost::Beep(unsigned)
{
    ++FBeeps;
}

void THeadlessHost::WaitForWork(TMessageQueue& queue)
{
    if (queue.HasMessage()) {
        return;
    }
    if (!FScript.empty()) {
        const std::function<void()> step = std::move(FScript.front());
        FScript.pop_front();
        step();
        return;
    }
    // Only worker threads can bring something now: wait for them in real time.
    pollfd wake{queue.WakeFd(), POLLIN, 0};
    if (poll(&wake, 1, FOptions.WorkerWaitMs) <= 0 && !queue.HasMessage()) {
        throw EHeadlessIdle("the program waits for input and the test has no scripted step left");
    }
}

void THeadlessHost::ClipboardOffered(const std::vector<std::uint16_t>& formats)
{
    FOffered = formats;
    FForeignText.reset();
    FForeignData.clear();
}

std::vector<std::uint16_t> THeadlessHost::ForeignClipboardFormats()
{
    std::vector<std::uint16_t> formats;
    for (const auto& [format, bytes] : FForeignData) {
        formats.push_back(format);
    }
    return formats;
}

bool THeadlessHost::ReadForeignClipboardData(std::uint16_t format, std::vector<std::uint8_t>& bytes)
{
    const auto at = FForeignData.find(format);
    if (at == FForeignData.end()) {
        return false;
    }
    bytes = at->second;
    return true;
}

bool THeadlessHost::ReadForeignClipboardText(std::string& text)
{
    if (!FForeignText) {
        return false;
    }
    text = *FForeignText;
    return true;
}

bool THeadlessHost::BeginHostDrag(const std::vector<std::uint16_t>& formats, std::uint32_t allowedEffects)
{
    if (!FOptions.CarriesDrags) {
        return false;
    }
    FDragFormats = formats;
    FDragEffects = allowedEffects;
    return true;
}

void THeadlessHost::ForeignClipboardText(const std::string& text)
{
    FForeignText = text;
    FForeignData.clear();
    FOffered.clear();
    ForeignClipboardTookOver();
}

void THeadlessHost::ForeignClipboardData(const std::map<std::uint16_t, std::vector<std::uint8_t>>& blocks)
{
    FForeignText.reset();
    FForeignData = blocks;
    FOffered.clear();
    ForeignClipboardTookOver();
}

void THeadlessHost::PumpUntilIdle()
{
    if (Application == nullptr) {
        return;
    }
    TMsg msg;
    for (int handled = 0; Application->ProcessMessage(msg); ++handled) {
        if (handled > MaxMessagesPerPump) {
            throw EHeadlessIdle("messages keep coming: the program never gets idle");
        }
    }
}

void THeadlessHost::AdvanceClock(std::int64_t ms)
{
    PumpUntilIdle();
    std::int64_t left = std::max<std::int64_t>(ms, 0);
    while (left > 0) {
        std::int64_t step = left;
        if (Application != nullptr) {
            if (const auto due = Application->Queue().NextTimerDueMs()) {
                step = std::clamp<std::int64_t>(*due - FClock.NowMs(), 0, left);
            }
        }
        FClock.Advance(step);
        left -= step;
        PumpUntilIdle();
        if (step == 0 && Application != nullptr) {
            // A due timer was handled; the loop goes on with the rest.
            continue;
        }
    }
}

void THeadlessHost::Script(std::function<void()> step)
{
    FScript.push_back(std::move(step));
}

TControl* THeadlessHost::FindControl(const std::string& controlName) const
{
    if (Screen == nullptr) {
        return nullptr;
    }
    const std::vector<std::string> names = SplitPath(controlName);
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm& form = *Screen->Forms(i);
        if (form.Name() == names.front()) {
            if (TControl* found = FindByPath(form, names, 1)) {
                return found;
            }
        }
    }
    if (names.size() == 1) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            if (TControl* found = FindAnywhere(*Screen->Forms(i), controlName)) {
                return found;
            }
        }
    }
    return nullptr;
}

TPoint THeadlessHost::PointOf(const std::string& controlName) const
{
    const TControl* control = FindControl(controlName);
    if (control == nullptr) {
        throw std::invalid_argument("no control named " + controlName);
    }
    return control->ClientToScreen(Point(control->ClientWidth() / 2, control->ClientHeight() / 2));
}

HWND THeadlessHost::TargetWindowAt(TPoint screen) const
{
    if (FGrab != 0) {
        return FGrab;
    }
    const HWND window = WindowFromPoint(screen);
    const HWND top = window != 0 ? GetTopLevelWindow(window) : 0;
    if (top != 0) {
        return top;
    }
    // Outside every window: the active one hears of it.
    return GetActiveWindow();
}

HWND THeadlessHost::KeyboardWindow() const
{
    const HWND focus = GetFocus();
    if (focus != 0) {
        return GetTopLevelWindow(focus);
    }
    return GetActiveWindow();
}

std::uint8_t THeadlessHost::Modifiers() const
{
    return FHeldModifiers | ModKnown;
}

void THeadlessHost::Post(HWND topLevel, const TQueuedInput& input)
{
    if (topLevel == 0 && Application != nullptr) {
        topLevel = Application->Handle();
    }
    PostHostInput(topLevel, input);
}

void THeadlessHost::MouseMove(TPoint screen)
{
    FPointer = screen;
    Post(TargetWindowAt(screen), TQueuedInput{THostInputKind::MouseMove, THostButton::Left, Modifiers(), 0, screen.X, screen.Y});
}

void THeadlessHost::MouseDown(TPoint screen, THostButton button)
{
    FPointer = screen;
    Post(TargetWindowAt(screen), TQueuedInput{THostInputKind::ButtonDown, button, Modifiers(), 0, screen.X, screen.Y});
}

void THeadlessHost::MouseUp(TPoint screen, THostButton button)
{
    FPointer = screen;
    Post(TargetWindowAt(screen), TQueuedInput{THostInputKind::ButtonUp, button, Modifiers(), 0, screen.X, screen.Y});
}

void THeadlessHost::Click(TPoint screen, THostButton button)
{
    MouseMove(screen);
    MouseDown(screen, button);
    MouseUp(screen, button);
}

void THeadlessHost::Click(const std::string& controlName, THostButton button)
{
    Click(PointOf(controlName), button);
}

void THeadlessHost::DoubleClick(TPoint screen)
{
    Click(screen);
    MouseDown(screen);
    MouseUp(screen);
}

void THeadlessHost::Wheel(TPoint screen, int delta)
{
    FPointer = screen;
    Post(KeyboardWindow(), TQueuedInput{THostInputKind::Wheel, THostButton::Left, Modifiers(), delta, screen.X, screen.Y});
}

void THeadlessHost::PointerLeaves(TPoint lastScreenPoint)
{
    Post(TargetWindowAt(lastScreenPoint),
         TQueuedInput{THostInputKind::PointerLeft, THostButton::Left, Modifiers(), 0, lastScreenPoint.X,
                      lastScreenPoint.Y});
}

void THeadlessHost::KeyDown(TVirtualKey key)
{
    if (key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT) {
        FHeldModifiers |= ModShift;
    } else if (key == VK_CONTROL || key == VK_LCONTROL || key == VK_RCONTROL) {
        FHeldModifiers |= ModControl;
    } else if (key == VK_MENU || key == VK_LMENU || key == VK_RMENU) {
        FHeldModifiers |= ModAlt;
    }
    Post(KeyboardWindow(), TQueuedInput{THostInputKind::KeyDown, THostButton::Left, Modifiers(), key, FPointer.X, FPointer.Y});
}

void THeadlessHost::KeyUp(TVirtualKey key)
{
    if (key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT) {
        FHeldModifiers &= static_cast<std::uint8_t>(~ModShift);
    } else if (key == VK_CONTROL || key == VK_LCONTROL || key == VK_RCONTROL) {
        FHeldModifiers &= static_cast<std::uint8_t>(~ModControl);
    } else if (key == VK_MENU || key == VK_LMENU || key == VK_RMENU) {
        FHeldModifiers &= static_cast<std::uint8_t>(~ModAlt);
    }
    Post(KeyboardWindow(), TQueuedInput{THostInputKind::KeyUp, THostButton::Left, Modifiers(), key, FPointer.X, FPointer.Y});
}

void THeadlessHost::Key(TVirtualKey key, std::uint8_t modifiers)
{
    const std::pair<std::uint8_t, TVirtualKey> modifierKeys[] = {
        {ModShift, VK_SHIFT}, {ModControl, VK_CONTROL}, {ModAlt, VK_MENU}};
    for (const auto& [bit, modifierKey] : modifierKeys) {
        if (modifiers & bit) {
            KeyDown(modifierKey);
        }
    }
    KeyDown(key);
    KeyUp(key);
    for (auto at = std::rbegin(modifierKeys); at != std::rend(modifierKeys); ++at) {
        if (modifiers & at->first) {
            KeyUp(at->second);
        }
    }
}

void THeadlessHost::TypeText(const std::string& utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        std::size_t count = 1;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
            count = 2;
        }
        const TVirtualKey key = KeyOfCharacter(c);
        KeyDown(key);
        for (std::size_t unit = 0; unit < count; ++unit) {
            Post(KeyboardWindow(), TQueuedInput{THostInputKind::Char, THostButton::Left, Modifiers(),
                                               units[i + unit], FPointer.X, FPointer.Y});
        }
        KeyUp(key);
        i += count - 1;
    }
}

void THeadlessHost::Compose(const std::string& utf8, int cursor)
{
    PostHostComposition(KeyboardWindow(), Utf8ToUtf16(utf8), cursor);
}

void THeadlessHost::CommitComposition(const std::string& utf8)
{
    PostHostCompositionResult(KeyboardWindow(), Utf8ToUtf16(utf8));
}

void THeadlessHost::EndComposition()
{
    PostHostCompositionEnd(KeyboardWindow());
}

void THeadlessHost::ResetHostInputMethod(HWND topLevel)
{
    (void)topLevel;
    ++FImeResets;
}

void THeadlessHost::Activate(HWND topLevel)
{
    Post(topLevel, TQueuedInput{THostInputKind::Activated, THostButton::Left, Modifiers(), 0, 0, 0});
}

void THeadlessHost::CloseWindow(HWND topLevel)
{
    PostMessage(topLevel, WM_CLOSE, 0, 0);
}

std::unique_ptr<TPixelSurface> THeadlessHost::Capture(HWND topLevel) const
{
    return ComposeTopLevelWindow(topLevel);
}

std::unique_ptr<TPixelSurface> THeadlessHost::CaptureScreen() const
{
    return ComposeScreen(FOptions.DeviceScale);
}

void THeadlessHost::SavePng(const TPixelSurface& pixels, const std::string& fileName)
{
    if (!const_cast<TPixelSurface&>(pixels).SaveToPng(fileName)) {
        throw std::runtime_error("cannot write " + fileName);
    }
}

void THeadlessHost::SaveScreenshot(HWND topLevel, const std::string& fileName) const
{
    const auto pixels = Capture(topLevel);
    if (!pixels) {
        throw std::runtime_error("no top-level window to capture");
    }
    SavePng(*pixels, fileName);
}

std::string THeadlessHost::LayoutDump(const TControlContents& contentOf) const
{
    return DumpLayout(contentOf);
}

std::string THeadlessHost::CaptionOf(HWND window) const
{
    const auto at = FWindows.find(window);
    return at == FWindows.end() ? std::string() : at->second.Info.Caption;
}

bool THeadlessHost::HostWindowVisible(HWND window) const
{
    const auto at = FWindows.find(window);
    return at != FWindows.end() && at->second.Visible;
}

TRect THeadlessHost::HostWindowBounds(HWND window) const
{
    const auto at = FWindows.find(window);
    return at == FWindows.end() ? TRect{} : at->second.Info.Bounds;
}

std::vector<HWND> THeadlessHost::VisibleWindows() const
{
    std::vector<HWND> windows;
    for (const auto& [window, entry] : FWindows) {
        if (entry.Visible) {
            windows.push_back(window);
        }
    }
    return windows;
}

std::vector<std::pair<HWND, TRect>> THeadlessHost::TakeChangedAreas()
{
    return std::exchange(FChanged, {});
}

} // namespace plat
