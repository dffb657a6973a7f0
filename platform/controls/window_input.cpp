// Input of the window manager: focus, activation, capture, the key state
// and the translation of host input into window messages.
#include "platform/controls/window_input.h"

#include "platform/clock.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_manager.h"

#include <algorithm>
#include <cstdlib>

namespace plat {

namespace {

constexpr std::uint8_t KeyDownBit = 0x80;
constexpr std::uint8_t KeyToggledBit = 0x01;

TWindowManager* Manager()
{
    return TWindowManager::Instance();
}

bool IsDown(const TWindowManager& manager, int key)
{
    return (manager.KeyState[static_cast<std::size_t>(key) & 0xFF] & KeyDownBit) != 0;
}

void SetDown(TWindowManager& manager, int key, bool down)
{
    std::uint8_t& state = manager.KeyState[static_cast<std::size_t>(key) & 0xFF];
    if (down && (state & KeyDownBit) == 0) {
        state ^= KeyToggledBit;
    }
    state = static_cast<std::uint8_t>(down ? (state | KeyDownBit) : (state & ~KeyDownBit));
}

// The left-right keys also move their common key.
void SetKeyDown(TWindowManager& manager, TVirtualKey key, bool down)
{
    SetDown(manager, key, down);
    switch (key) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        SetDown(manager, VK_SHIFT, IsDown(manager, VK_LSHIFT) || IsDown(manager, VK_RSHIFT));
        break;
    case VK_LCONTROL:
    case VK_RCONTROL:
        SetDown(manager, VK_CONTROL, IsDown(manager, VK_LCONTROL) || IsDown(manager, VK_RCONTROL));
        break;
    case VK_LMENU:
    case VK_RMENU:
        SetDown(manager, VK_MENU, IsDown(manager, VK_LMENU) || IsDown(manager, VK_RMENU));
        break;
    default:
        break;
    }
}

// Host events carry the modifiers held; they win over what key events said.
void SyncModifiers(TWindowManager& manager, std::uint8_t modifiers)
{
    if ((modifiers & ModKnown) == 0) {
        return;
    }
    const auto sync = [&](TVirtualKey key, bool down) {
        if (IsDown(manager, key) != down) {
            SetDown(manager, key, down);
        }
    };
    sync(VK_SHIFT, (modifiers & ModShift) != 0);
    sync(VK_CONTROL, (modifiers & ModControl) != 0);
    sync(VK_MENU, (modifiers & ModAlt) != 0);
}

// The button as the program sees it.
THostButton LogicalButton(const TWindowManager& manager, THostButton physical)
{
    if (!manager.ButtonsSwapped || physical == THostButton::Middle) {
        return physical;
    }
    return physical == THostButton::Left ? THostButton::Right : THostButton::Left;
}

TVirtualKey ButtonKey(THostButton button)
{
    switch (button) {
    case THostButton::Right:
        return VK_RBUTTON;
    case THostButton::Middle:
        return VK_MBUTTON;
    default:
        return VK_LBUTTON;
    }
}

UINT ButtonDownMessage(THostButton button)
{
    switch (button) {
    case THostButton::Right:
        return WM_RBUTTONDOWN;
    case THostButton::Middle:
        return WM_MBUTTONDOWN;
    default:
        return WM_LBUTTONDOWN;
    }
}

// The window that takes mouse input at a screen point: the capture window,
// else the deepest visible window there (disabled children pass it to their
// parent); its top-level window may be disabled (a modal form elsewhere).
HWND MouseTarget(TWindowManager& manager, TPoint point)
{
    if (manager.Capture != 0 && manager.Find(manager.Capture) != nullptr) {
        return manager.Capture;
    }
    return WindowFromPoint(point);
}

bool TopLevelDisabled(HWND hwnd)
{
    return !IsWindowEnabled(GetTopLevelWindow(hwnd));
}

TMsg MouseMessage(HWND target, UINT clientMessage, LRESULT hit, TPoint screen)
{
    const std::uint32_t keys = CurrentKeyFlags();
    if (hit == HTCLIENT) {
        TPoint client = screen;
        ScreenToClient(target, client);
        return TMsg{target, clientMessage, keys, PointToLParam(client.X, client.Y)};
    }
    // Non-client messages: wParam the hit-test code, screen coordinates.
    const UINT ncMessage = clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    return TMsg{target, ncMessage, static_cast<WPARAM>(hit), PointToLParam(screen.X, screen.Y)};
}

bool IsDoubleClick(TWindowManager& manager, HWND target, UINT downMessage, TPoint point)
{
    const auto& last = manager.LastClick;
    const std::int64_t now = Clock().NowMs();
    const int half = DoubleClickBoxSize / 2;
    return last.Window == target && last.Button == downMessage && !last.WasDouble &&
           now - last.TimeMs <= GetDoubleClickTime() && std::abs(std::int64_t{point.X} - last.Point.X) <= half &&
           std::abs(std::int64_t{point.Y} - last.Point.Y) <= half;
}

bool TranslateMouse(TWindowManager& manager, const TQueuedInput& input, TMsg& msg)
{
    const TPoint point{input.X, input.Y};
    manager.CursorPos = point;
    const HWND target = MouseTarget(manager, point);
    if (target == 0) {
        return false;
    }
    const bool captured = target == manager.Capture;
    const LRESULT hit = captured ? HTCLIENT : SendMessage(target, WM_NCHITTEST, 0, PointToLParam(point.X, point.Y));
    if (!IsWindow(target)) {
        return false;
    }
    if (input.Kind == THostInputKind::MouseMove) {
        if (TopLevelDisabled(target)) {
            return false;
        }
        manager.MouseWindow = target;
        if (!captured) {
            SendMessage(target, WM_SETCURSOR, static_cast<WPARAM>(target), MAKELPARAM(static_cast<std::uint16_t>(hit), WM_MOUSEMOVE));
        }
        if (!IsWindow(target)) {
            return false;
        }
        msg = MouseMessage(target, WM_MOUSEMOVE, hit, point);
        return true;
    }
    const THostButton button = LogicalButton(manager, input.Button);
    const UINT downMessage = ButtonDownMessage(button);
    if (input.Kind == THostInputKind::ButtonUp) {
        if (TopLevelDisabled(target) && !captured) {
            return false;
        }
        msg = MouseMessage(target, downMessage + 1, hit, point);
        return true;
    }
    // Button down.
    const HWND top = GetTopLevelWindow(target);
    if (!IsWindowEnabled(top)) {
        MessageBeep(0);
        return false;
    }
    if (!captured) {
        SendMessage(target, WM_SETCURSOR, static_cast<WPARAM>(target),
                    MAKELPARAM(static_cast<std::uint16_t>(hit), static_cast<std::uint16_t>(downMessage)));
        const LRESULT activate =
            IsWindow(target) ? SendMessage(target, WM_MOUSEACTIVATE, static_cast<WPARAM>(top),
                                           MAKELPARAM(static_cast<std::uint16_t>(hit), static_cast<std::uint16_t>(downMessage)))
                             : MA_NOACTIVATEANDEAT;
        if ((activate == MA_ACTIVATE || activate == MA_ACTIVATEANDEAT) && manager.Active != top && IsWindow(top)) {
            SetActiveWindow(top);
        }
        if (activate == MA_ACTIVATEANDEAT || activate == MA_NOACTIVATEANDEAT || !IsWindow(target)) {
            manager.LastClick = TWindowManager::TLastClick();
            return false;
        }
    }
    TWindowRecord* record = manager.Find(target);
    UINT message = downMessage;
    if (IsDoubleClick(manager, target, downMessage, point) && record != nullptr && (record->ClassStyle & CS_DBLCLKS)) {
        message = downMessage + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
        manager.LastClick.WasDouble = true;
    } else {
        manager.LastClick = TWindowManager::TLastClick{target, downMessage, Clock().NowMs(), point, false};
    }
    msg = MouseMessage(target, message, hit, point);
    return true;
}

bool TranslateWheel(TWindowManager& manager, const TQueuedInput& input, TMsg& msg)
{
    manager.CursorPos = Point(input.X, input.Y);
    HWND target = manager.Focus != 0 ? manager.Focus : manager.Active;
    if (target == 0 || TopLevelDisabled(target)) {
        return false;
    }
    const UINT message = input.Kind == THostInputKind::Wheel ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL;
    msg = TMsg{target, message,
               MAKEWPARAM(static_cast<std::uint16_t>(CurrentKeyFlags()), static_cast<std::uint16_t>(input.Value)),
               PointToLParam(input.X, input.Y)};
    return true;
}

// Scan codes of the keys that have well-known ones; 0 for the others.
std::uint32_t ScanCodeOf(TVirtualKey key)
{
    switch (key) {
    case VK_ESCAPE:
        return 0x01;
    case VK_BACK:
        return 0x0E;
    case VK_TAB:
        return 0x0F;
    case VK_RETURN:
        return 0x1C;
    case VK_SPACE:
        return 0x39;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return 0x38;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return 0x1D;
    case VK_SHIFT:
    case VK_LSHIFT:
        return 0x2A;
    case VK_RSHIFT:
        return 0x36;
    default:
        return 0;
    }
}

bool IsExtendedKey(TVirtualKey key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_RCONTROL ||
           key == VK_RMENU || key == VK_DIVIDE || key == VK_APPS;
}

std::uint32_t KeyData(const TWindowManager& manager, TVirtualKey key, bool wasDown, bool released)
{
    std::uint32_t data = 1 | (ScanCodeOf(key) << 16);
    if (IsExtendedKey(key)) {
        data |= KEYDATA_EXTENDED;
    }
    if (IsDown(manager, VK_MENU)) {
        data |= KEYDATA_ALTDOWN;
    }
    if (wasDown) {
        data |= KEYDATA_PREVIOUS_DOWN;
    }
    if (released) {
        data |= KEYDATA_RELEASED;
    }
    return data;
}

// Key input goes to the focus window, else the active window.
HWND KeyTarget(TWindowManager& manager)
{
    const HWND target = manager.Focus != 0 ? manager.Focus : manager.Active;
    if (target == 0 || manager.Find(target) == nullptr || TopLevelDisabled(target)) {
        return 0;
    }
    return target;
}

// Alt without Ctrl (Ctrl+Alt is AltGr) and F10 make system keys.
bool IsSystemKey(const TWindowManager& manager, TVirtualKey key)
{
    return key == VK_F10 || key == VK_MENU || key == VK_LMENU || key == VK_RMENU ||
           (IsDown(manager, VK_MENU) && !IsDown(manager, VK_CONTROL));
}

bool TranslateKey(TWindowManager& manager, const TQueuedInput& input, TMsg& msg)
{
    const auto key = static_cast<TVirtualKey>(input.Value & 0xFF);
    const bool down = input.Kind == THostInputKind::KeyDown;
    const bool wasDown = IsDown(manager, key);
    SetKeyDown(manager, key, down);
    const HWND target = KeyTarget(manager);
    if (target == 0 || key == 0) {
        return false;
    }
    const bool system = IsSystemKey(manager, key) || (!down && (key == VK_MENU || key == VK_LMENU || key == VK_RMENU));
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (system) {
        message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    msg = TMsg{target, message, key, static_cast<LPARAM>(KeyData(manager, key, down ? wasDown : true, !down))};
    return true;
}

// The user moved or sized a top-level window: its size stays within the
// limits the window answers, and a size it refuses goes back to the host.
void PlaceByUser(TWindowManager& manager, HWND hwnd, const TQueuedInput& input)
{
    const TMinMaxInfo limits = GetWindowSizeLimits(hwnd);
    const int askedWidth = input.Value & 0xFFFF;
    const int askedHeight = (input.Value >> 16) & 0xFFFF;
    const int width = std::clamp(askedWidth, limits.ptMinTrackSize.X, limits.ptMaxTrackSize.X);
    const int height = std::clamp(askedHeight, limits.ptMinTrackSize.Y, limits.ptMaxTrackSize.Y);
    SetWindowPos(hwnd, 0, input.X, input.Y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    if (width != askedWidth || height != askedHeight) {
        if (const TWindowRecord* record = manager.Find(hwnd)) {
            manager.Host().MoveHostWindow(hwnd, record->Bounds);
        }
    }
}

bool TranslateChar(TWindowManager& manager, const TQueuedInput& input, TMsg& msg)
{
    const HWND target = KeyTarget(manager);
    if (target == 0) {
        return false;
    }
    const bool system = IsDown(manager, VK_MENU) && !IsDown(manager, VK_CONTROL);
    msg = TMsg{target, system ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(input.Value & 0xFFFF),
               static_cast<LPARAM>(KeyData(manager, 0, false, false))};
    return true;
}

} // namespace

HWND SetFocus(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    const HWND old = manager.Focus;
    if (hwnd == old) {
        return old;
    }
    if (hwnd != 0 && manager.Find(hwnd) == nullptr) {
        return 0;
    }
    if (hwnd != 0) {
        const HWND top = GetTopLevelWindow(hwnd);
        if (manager.Active != top) {
            SetActiveWindow(top);
            if (manager.Focus == hwnd) {
                return old;
            }
        }
    }
    const HWND leaving = manager.Focus;
    manager.Focus = 0;
    if (leaving != 0) {
        SendMessage(leaving, WM_KILLFOCUS, static_cast<WPARAM>(hwnd), 0);
        if (manager.Focus != 0) {
            return old; // the old window's handler moved the focus itself
        }
    }
    if (hwnd != 0 && manager.Find(hwnd) != nullptr) {
        manager.Focus = hwnd;
        SendMessage(hwnd, WM_SETFOCUS, static_cast<WPARAM>(leaving), 0);
    }
    return old;
}

HWND GetFocus()
{
    TWindowManager* manager = Manager();
    return manager ? manager->Focus : 0;
}

HWND SetActiveWindow(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    hwnd = GetTopLevelWindow(hwnd);
    const HWND old = manager.Active;
    if (hwnd == old) {
        return old;
    }
    manager.Active = hwnd;
    if (old != 0 && manager.Find(old) != nullptr) {
        SendMessage(old, WM_NCACTIVATE, 0, 0);
        SendMessage(old, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(hwnd));
    }
    if (manager.Active != hwnd) {
        return old;
    }
    if (hwnd != 0 && manager.Find(hwnd) != nullptr) {
        manager.Host().ActivateHostWindow(hwnd);
        SendMessage(hwnd, WM_NCACTIVATE, 1, 0);
        SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(old));
    }
    return old;
}

HWND GetActiveWindow()
{
    TWindowManager* manager = Manager();
    return manager ? manager->Active : 0;
}

bool SetForegroundWindow(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    if (manager.Find(hwnd) == nullptr) {
        return false;
    }
    SetActiveWindow(hwnd);
    manager.Host().ActivateHostWindow(GetTopLevelWindow(hwnd));
    return true;
}

HWND SetCapture(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    const HWND old = manager.Capture;
    if (manager.Find(hwnd) == nullptr) {
        return old;
    }
    manager.Capture = hwnd;
    manager.Host().SetHostPointerGrab(GetTopLevelWindow(hwnd));
    if (old != 0 && old != hwnd) {
        SendMessage(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
    }
    return old;
}

HWND GetCapture()
{
    TWindowManager* manager = Manager();
    return manager ? manager->Capture : 0;
}

bool ReleaseCapture()
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return false;
    }
    const HWND old = manager->Capture;
    if (old == 0) {
        return true;
    }
    manager->Capture = 0;
    manager->Host().SetHostPointerGrab(0);
    SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

std::int16_t GetKeyState(int virtualKey)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || virtualKey < 0 || virtualKey >= KEY_STATE_COUNT) {
        return 0;
    }
    const std::uint8_t state = manager->KeyState[static_cast<std::size_t>(virtualKey)];
    return static_cast<std::int16_t>(((state & KeyDownBit) ? KEYSTATE_DOWN : 0) | ((state & KeyToggledBit) ? KEYSTATE_TOGGLED : 0));
}

std::int16_t GetAsyncKeyState(int virtualKey)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return 0;
    }
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON) {
        const THostButton physical = virtualKey == VK_LBUTTON   ? THostButton::Left
                                     : virtualKey == VK_RBUTTON ? THostButton::Right
                                                                : THostButton::Middle;
        return (manager->PhysicalButtons & (1u << static_cast<unsigned>(physical))) ? KEYSTATE_DOWN : 0;
    }
    return static_cast<std::int16_t>(GetKeyState(virtualKey) & KEYSTATE_DOWN);
}

void GetKeyboardState(std::uint8_t (&state)[KEY_STATE_COUNT])
{
    TWindowManager& manager = TWindowManager::Current();
    std::copy(manager.KeyState.begin(), manager.KeyState.end(), state);
}

void SetKeyboardState(const std::uint8_t (&state)[KEY_STATE_COUNT])
{
    TWindowManager& manager = TWindowManager::Current();
    std::copy(std::begin(state), std::end(state), manager.KeyState.begin());
}

bool SwapMouseButton(bool swap)
{
    TWindowManager& manager = TWindowManager::Current();
    const bool old = manager.ButtonsSwapped;
    manager.ButtonsSwapped = swap;
    return old;
}

std::uint32_t CurrentKeyFlags()
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return 0;
    }
    std::uint32_t flags = 0;
    flags |= IsDown(*manager, VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= IsDown(*manager, VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= IsDown(*manager, VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= IsDown(*manager, VK_SHIFT) ? MK_SHIFT : 0;
    flags |= IsDown(*manager, VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

bool GetCursorPos(TPoint& point)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return false;
    }
    point = manager->CursorPos;
    return true;
}

bool SetCursorPos(int x, int y)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return false;
    }
    manager->CursorPos = Point(x, y);
    manager->Host().MoveHostPointer(manager->CursorPos);
    return true;
}

bool MessageBeep(unsigned type)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return false;
    }
    manager->Host().Beep(type);
    return true;
}

char16_t ControlCharOfKey(TVirtualKey key, bool control)
{
    switch (key) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (control && key >= 'A' && key <= 'Z') {
        return static_cast<char16_t>(key - 'A' + 1);
    }
    return 0;
}

bool TranslateKeyMessage(const TMsg& keyDown, TMsg& charMessage)
{
    if (keyDown.message != WM_KEYDOWN && keyDown.message != WM_SYSKEYDOWN) {
        return false;
    }
    const auto key = static_cast<TVirtualKey>(keyDown.wParam & 0xFF);
    const bool control = GetKeyState(VK_CONTROL) < 0;
    char16_t character = ControlCharOfKey(key, control);
    if (keyDown.message == WM_SYSKEYDOWN && character == 0) {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        if (key >= 'A' && key <= 'Z') {
            character = static_cast<char16_t>(shift ? key : key - 'A' + 'a');
        } else if (key >= '0' && key <= '9') {
            character = key;
        }
    }
    if (character == 0) {
        return false;
    }
    charMessage = TMsg{keyDown.hwnd, keyDown.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, character, keyDown.lParam};
    return true;
}

TMsg TQueuedInput::ToMsg(HWND topLevel) const
{
    const std::uint64_t high = static_cast<std::uint32_t>(Value);
    const WPARAM wParam = static_cast<WPARAM>(static_cast<std::uint64_t>(Kind) | (static_cast<std::uint64_t>(Button) << 8) |
                                              (static_cast<std::uint64_t>(Modifiers) << 16) | (high << 32));
    const LPARAM lParam = static_cast<LPARAM>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(X)) |
                                              (static_cast<std::uint64_t>(static_cast<std::uint32_t>(Y)) << 32));
    return TMsg{topLevel, WM_QUEUED_INPUT, wParam, lParam};
}

TQueuedInput TQueuedInput::FromMsg(const TMsg& msg)
{
    const auto wParam = static_cast<std::uint64_t>(msg.wParam);
    const auto lParam = static_cast<std::uint64_t>(msg.lParam);
    TQueuedInput input;
    input.Kind = static_cast<THostInputKind>(wParam & 0xFF);
    input.Button = static_cast<THostButton>((wParam >> 8) & 0xFF);
    input.Modifiers = static_cast<std::uint8_t>((wParam >> 16) & 0xFF);
    input.Value = static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam >> 32));
    input.X = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam));
    input.Y = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam >> 32));
    return input;
}

bool PostHostInput(HWND topLevel, const TQueuedInput& input)
{
    const TMsg msg = input.ToMsg(topLevel);
    return PostMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool TranslateQueuedInput(TMsg& msg)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || msg.message != WM_QUEUED_INPUT) {
        return false;
    }
    const HWND origin = msg.hwnd;
    const TQueuedInput input = TQueuedInput::FromMsg(msg);
    SyncModifiers(*manager, input.Modifiers);
    if (input.Kind == THostInputKind::ButtonDown || input.Kind == THostInputKind::ButtonUp) {
        const bool down = input.Kind == THostInputKind::ButtonDown;
        const unsigned bit = 1u << static_cast<unsigned>(input.Button);
        manager->PhysicalButtons = static_cast<std::uint8_t>(down ? (manager->PhysicalButtons | bit) : (manager->PhysicalButtons & ~bit));
        SetDown(*manager, ButtonKey(LogicalButton(*manager, input.Button)), down);
    }
    // A loop that tracks the mouse itself (scroll bars, dragging) sees input first.
    if (!manager->InputHooks.empty()) {
        const std::shared_ptr<const TInputHook> hook = manager->InputHooks.back();
        if ((*hook)(input)) {
            return false;
        }
    }
    switch (input.Kind) {
    case THostInputKind::MouseMove:
    case THostInputKind::ButtonDown:
    case THostInputKind::ButtonUp:
        return TranslateMouse(*manager, input, msg);
    case THostInputKind::Wheel:
    case THostInputKind::HorizontalWheel:
        return TranslateWheel(*manager, input, msg);
    case THostInputKind::KeyDown:
    case THostInputKind::KeyUp:
        return TranslateKey(*manager, input, msg);
    case THostInputKind::Char:
        return TranslateChar(*manager, input, msg);
    case THostInputKind::PointerLeft:
        if (manager->MouseWindow != 0 && manager->Capture == 0) {
            msg = TMsg{manager->MouseWindow, WM_MOUSELEAVE, 0, 0};
            manager->MouseWindow = 0;
            return true;
        }
        return false;
    case THostInputKind::Activated:
        if (IsWindowEnabled(origin) && IsWindowVisible(origin)) {
            SetActiveWindow(origin);
        }
        return false;
    case THostInputKind::Deactivated:
        return false;
    case THostInputKind::Moved:
        PlaceByUser(*manager, origin, input);
        return false;
    case THostInputKind::Composition:
        manager->InputMethod().Apply(input.Value);
        return false;
    }
    return false;
}

void HideTopLevelWindow(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    if (manager.Capture != 0 && GetTopLevelWindow(manager.Capture) == hwnd) {
        ReleaseCapture();
    }
    if (manager.MouseWindow != 0 && GetTopLevelWindow(manager.MouseWindow) == hwnd) {
        manager.MouseWindow = 0;
    }
    if (manager.Active != hwnd) {
        return;
    }
    // The owner, else the next visible enabled top-level window, takes over.
    HWND next = GetWindowOwner(hwnd);
    if (next == 0 || !IsWindowVisible(next) || !IsWindowEnabled(next)) {
        next = 0;
        for (HWND top : manager.TopLevelOrder()) {
            if (top != hwnd && IsWindowVisible(top) && IsWindowEnabled(top)) {
                next = top;
                break;
            }
        }
    }
    if (next != 0) {
        SetActiveWindow(next);
    } else {
        SetFocus(0);
        SetActiveWindow(0);
    }
}

void WindowHidden(HWND hwnd)
{
    TWindowManager& manager = TWindowManager::Current();
    if (manager.MouseWindow == hwnd || IsChild(hwnd, manager.MouseWindow)) {
        manager.MouseWindow = 0;
    }
}

} // namespace plat
