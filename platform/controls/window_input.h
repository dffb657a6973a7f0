// Input of the window manager: keyboard focus, the active window, mouse
// capture, the key state table with swapped buttons, the cursor position,
// and the input a host posts, which becomes the window messages Windows
// programs expect (focus window for keys, capture or the deepest enabled
// window for the mouse, WM_SETCURSOR and WM_MOUSEACTIVATE before a click,
// double clicks, the wheel to the focus window).
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/messages.h"

#include <cstdint>

namespace plat {

// Sends WM_KILLFOCUS (wParam = the new window) to the old focus window and
// WM_SETFOCUS (wParam = the old one) to the new; activates its top-level
// window first. Answers the old focus window.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Sends WM_NCACTIVATE and WM_ACTIVATE to the old and new active window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
// Activates the window and asks the host to bring it to the front.
bool SetForegroundWindow(HWND hwnd);
HWND SetCapture(HWND hwnd);
HWND GetCapture();
bool ReleaseCapture();

// Key state: bit 15 (negative) down, bit 0 toggled. GetKeyState answers the
// state as of the last message taken (buttons as the program sees them,
// after swapping); GetAsyncKeyState the physical buttons.
std::int16_t GetKeyState(int virtualKey);
std::int16_t GetAsyncKeyState(int virtualKey);
void GetKeyboardState(std::uint8_t (&state)[KEY_STATE_COUNT]);
void SetKeyboardState(const std::uint8_t (&state)[KEY_STATE_COUNT]);
// Exchanges the left and right buttons; answers whether they were swapped.
bool SwapMouseButton(bool swap);
// The MK_ flags of the buttons and modifier keys now.
std::uint32_t CurrentKeyFlags();

bool GetCursorPos(TPoint& point);
// Moves the pointer: the program's idea of it, and the host's real one
// where it has one.
bool SetCursorPos(int x, int y);
// The platform beep through the host.
bool MessageBeep(unsigned type);

// The control character a key gives (Backspace 8, Tab 9, Enter 13, Escape
// 27, Ctrl+A..Z 1..26), or 0 when its character comes from text input.
char16_t ControlCharOfKey(TVirtualKey key, bool control);
// The character message a dispatched key-down brings (what TranslateMessage
// does): WM_CHAR for control characters, WM_SYSCHAR for Alt with a letter,
// a digit or a control key. Printable text comes from the host as typed.
bool TranslateKeyMessage(const TMsg& keyDown, TMsg& charMessage);

// Host input, posted to the queue in arrival order with the other messages.
constexpr UINT WM_QUEUED_INPUT = 0x03F0; // never reaches a window procedure

enum class THostInputKind : std::uint8_t {
    MouseMove = 1,
    ButtonDown,
    ButtonUp,
    Wheel,            // Value: wheel delta, 120 a notch, positive away from the user
    HorizontalWheel,
    KeyDown,          // Value: virtual key
    KeyUp,
    Char,             // Value: one UTF-16 unit of typed text
    PointerLeft,      // the pointer left the window
    Activated,        // the host gave the window the keyboard
    Deactivated,
    Moved,            // the user moved or sized the window: X, Y, Value = width | height << 16
    Composition,      // the input method's report: Value numbers it (input_method.h)
};

enum class THostButton : std::uint8_t { Left = 0, Right = 1, Middle = 2 };

// Modifier bits of host input; ModKnown says the event carries them.
constexpr std::uint8_t ModShift = 0x01;
constexpr std::uint8_t ModControl = 0x02;
constexpr std::uint8_t ModAlt = 0x04;
constexpr std::uint8_t ModKnown = 0x80;

struct TQueuedInput {
    THostInputKind Kind = THostInputKind::MouseMove;
    THostButton Button = THostButton::Left;  // physical button
    std::uint8_t Modifiers = 0;
    std::int32_t Value = 0;
    std::int32_t X = 0;                      // screen point
    std::int32_t Y = 0;

    TMsg ToMsg(HWND topLevel) const;
    static TQueuedInput FromMsg(const TMsg& msg);
};

// Posts input that arrived for a top-level window; false for no window.
bool PostHostInput(HWND topLevel, const TQueuedInput& input);
// Turns a WM_QUEUED_INPUT message into the window message it stands for,
// sending WM_NCHITTEST, WM_SETCURSOR and WM_MOUSEACTIVATE on the way; false
// when no message follows (eaten, refused by a disabled window, or state only).
bool TranslateQueuedInput(TMsg& msg);

// For the window manager: a top-level window was hidden, a child window
// was hidden.
void HideTopLevelWindow(HWND hwnd);
void WindowHidden(HWND hwnd);

} // namespace plat
