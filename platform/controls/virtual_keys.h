// Virtual key codes, the mouse-key flags of mouse messages and the key data
// bits of keyboard messages, with their customary values.
#pragma once

#include <cstdint>

namespace plat {

using TVirtualKey = std::uint16_t;

constexpr TVirtualKey VK_LBUTTON = 0x01;
constexpr TVirtualKey VK_RBUTTON = 0x02;
constexpr TVirtualKey VK_CANCEL = 0x03;
constexpr TVirtualKey VK_MBUTTON = 0x04;
constexpr TVirtualKey VK_BACK = 0x08;
constexpr TVirtualKey VK_TAB = 0x09;
constexpr TVirtualKey VK_CLEAR = 0x0C;
constexpr TVirtualKey VK_RETURN = 0x0D;
constexpr TVirtualKey VK_SHIFT = 0x10;
constexpr TVirtualKey VK_CONTROL = 0x11;
constexpr TVirtualKey VK_MENU = 0x12;
constexpr TVirtualKey VK_PAUSE = 0x13;
constexpr TVirtualKey VK_CAPITAL = 0x14;
constexpr TVirtualKey VK_ESCAPE = 0x1B;
constexpr TVirtualKey VK_SPACE = 0x20;
constexpr TVirtualKey VK_PRIOR = 0x21;
constexpr TVirtualKey VK_NEXT = 0x22;
constexpr TVirtualKey VK_END = 0x23;
constexpr TVirtualKey VK_HOME = 0x24;
constexpr TVirtualKey VK_LEFT = 0x25;
constexpr TVirtualKey VK_UP = 0x26;
constexpr TVirtualKey VK_RIGHT = 0x27;
constexpr TVirtualKey VK_DOWN = 0x28;
constexpr TVirtualKey VK_SELECT = 0x29;
constexpr TVirtualKey VK_EXECUTE = 0x2B;
constexpr TVirtualKey VK_SNAPSHOT = 0x2C;
constexpr TVirtualKey VK_INSERT = 0x2D;
constexpr TVirtualKey VK_DELETE = 0x2E;
constexpr TVirtualKey VK_HELP = 0x2F;
// '0' to '9' and 'A' to 'Z' are their ASCII codes.
constexpr TVirtualKey VK_LWIN = 0x5B;
constexpr TVirtualKey VK_RWIN = 0x5C;
constexpr TVirtualKey VK_APPS = 0x5D;
constexpr TVirtualKey VK_SLEEP = 0x5F;
constexpr TVirtualKey VK_NUMPAD0 = 0x60;
constexpr TVirtualKey VK_NUMPAD1 = 0x61;
constexpr TVirtualKey VK_NUMPAD2 = 0x62;
constexpr TVirtualKey VK_NUMPAD3 = 0x63;
constexpr TVirtualKey VK_NUMPAD4 = 0x64;
constexpr TVirtualKey VK_NUMPAD5 = 0x65;
constexpr TVirtualKey VK_NUMPAD6 = 0x66;
constexpr TVirtualKey VK_NUMPAD7 = 0x67;
constexpr TVirtualKey VK_NUMPAD8 = 0x68;
constexpr TVirtualKey VK_NUMPAD9 = 0x69;
constexpr TVirtualKey VK_MULTIPLY = 0x6A;
constexpr TVirtualKey VK_ADD = 0x6B;
constexpr TVirtualKey VK_SEPARATOR = 0x6C;
constexpr TVirtualKey VK_SUBTRACT = 0x6D;
constexpr TVirtualKey VK_DECIMAL = 0x6E;
constexpr TVirtualKey VK_DIVIDE = 0x6F;
constexpr TVirtualKey VK_F1 = 0x70;
constexpr TVirtualKey VK_F2 = 0x71;
constexpr TVirtualKey VK_F3 = 0x72;
constexpr TVirtualKey VK_F4 = 0x73;
constexpr TVirtualKey VK_F5 = 0x74;
constexpr TVirtualKey VK_F6 = 0x75;
constexpr TVirtualKey VK_F7 = 0x76;
constexpr TVirtualKey VK_F8 = 0x77;
constexpr TVirtualKey VK_F9 = 0x78;
constexpr TVirtualKey VK_F10 = 0x79;
constexpr TVirtualKey VK_F11 = 0x7A;
constexpr TVirtualKey VK_F12 = 0x7B;
constexpr TVirtualKey VK_F13 = 0x7C;
constexpr TVirtualKey VK_F14 = 0x7D;
constexpr TVirtualKey VK_F15 = 0x7E;
constexpr TVirtualKey VK_F16 = 0x7F;
constexpr TVirtualKey VK_F17 = 0x80;
constexpr TVirtualKey VK_F18 = 0x81;
constexpr TVirtualKey VK_F19 = 0x82;
constexpr TVirtualKey VK_F20 = 0x83;
constexpr TVirtualKey VK_F21 = 0x84;
constexpr TVirtualKey VK_F22 = 0x85;
constexpr TVirtualKey VK_F23 = 0x86;
constexpr TVirtualKey VK_F24 = 0x87;
constexpr TVirtualKey VK_NUMLOCK = 0x90;
constexpr TVirtualKey VK_SCROLL = 0x91;
constexpr TVirtualKey VK_LSHIFT = 0xA0;
constexpr TVirtualKey VK_RSHIFT = 0xA1;
constexpr TVirtualKey VK_LCONTROL = 0xA2;
constexpr TVirtualKey VK_RCONTROL = 0xA3;
constexpr TVirtualKey VK_LMENU = 0xA4;
constexpr TVirtualKey VK_RMENU = 0xA5;
// Punctuation keys of the main block (US layout names).
constexpr TVirtualKey VK_OEM_1 = 0xBA;       // ;:
constexpr TVirtualKey VK_OEM_PLUS = 0xBB;    // =+
constexpr TVirtualKey VK_OEM_COMMA = 0xBC;   // ,<
constexpr TVirtualKey VK_OEM_MINUS = 0xBD;   // -_
constexpr TVirtualKey VK_OEM_PERIOD = 0xBE;  // .>
constexpr TVirtualKey VK_OEM_2 = 0xBF;       // /?
constexpr TVirtualKey VK_OEM_3 = 0xC0;       // `~
constexpr TVirtualKey VK_OEM_4 = 0xDB;       // [{
constexpr TVirtualKey VK_OEM_5 = 0xDC;       // \|
constexpr TVirtualKey VK_OEM_6 = 0xDD;       // ]}
constexpr TVirtualKey VK_OEM_7 = 0xDE;       // '"
constexpr TVirtualKey VK_OEM_102 = 0xE2;     // <> of the 102-key keyboard
// A key that stands for a character of typed text without a key of its own.
constexpr TVirtualKey VK_PACKET = 0xE7;
// Key codes are indices into a 256-entry key state table.
constexpr int KEY_STATE_COUNT = 256;

// Key and button flags of the wParam of mouse messages (low word of WM_MOUSEWHEEL's).
constexpr std::uint32_t MK_LBUTTON = 0x0001;
constexpr std::uint32_t MK_RBUTTON = 0x0002;
constexpr std::uint32_t MK_SHIFT = 0x0004;
constexpr std::uint32_t MK_CONTROL = 0x0008;
constexpr std::uint32_t MK_MBUTTON = 0x0010;
// Alt held: the key state of drag and drop carries it (MK_ALT).
constexpr std::uint32_t MK_ALT = 0x0020;

// lParam of keyboard messages: repeat count in bits 0..15, scan code in
// 16..23, extended key 24, Alt held 29, key down before 30, key released 31.
constexpr std::uint32_t KF_EXTENDED = 0x0100;   // in the high word
constexpr std::uint32_t KEYDATA_EXTENDED = 1u << 24;
constexpr std::uint32_t KEYDATA_ALTDOWN = 1u << 29;
constexpr std::uint32_t KEYDATA_PREVIOUS_DOWN = 1u << 30;
constexpr std::uint32_t KEYDATA_RELEASED = 1u << 31;

// Key state bits as GetKeyState answers them.
constexpr std::int16_t KEYSTATE_DOWN = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t KEYSTATE_TOGGLED = 0x0001;

} // namespace plat
