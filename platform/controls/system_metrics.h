// The fixed sizes, times and settings of the user interface in one place:
// scroll bar 17, edge 2, border 1, drag threshold 4, double click 500 ms in
// a 4 x 4 pixel box, caret blink 530 ms, wheel 3 lines, hint pause 500 ms.
#pragma once

#include <cstdint>

namespace plat {

enum TSystemMetric : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_CXMIN = 28,
    SM_CYMIN = 29,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_SWAPBUTTON = 23,
    SM_CXFIXEDFRAME = SM_CXDLGFRAME,
    SM_CYFIXEDFRAME = SM_CYDLGFRAME,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CXMENUCHECK = 71,
    SM_CYMENUCHECK = 72,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
    SM_MOUSEWHEELPRESENT = 75,
};

// The metric's value; the screen size comes from the running host, the
// swapped-button flag from the input state; unknown metrics answer 0.
int GetSystemMetrics(int metric);

// Settings the controls read (SystemParametersInfo).
constexpr unsigned SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr unsigned SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr unsigned SPI_GETHIGHCONTRAST = 0x0042;
// The high-contrast setting; HCF_HIGHCONTRASTON in dwFlags while it is on.
constexpr std::uint32_t HCF_HIGHCONTRASTON = 0x00000001;
struct THighContrast {
    std::uint32_t cbSize = sizeof(THighContrast);
    std::uint32_t dwFlags = 0;
};
// A wheel-lines setting of all bits means "scroll a page".
constexpr unsigned WHEEL_PAGESCROLL = 0xFFFFFFFF;
constexpr unsigned WheelScrollLines = 3;

constexpr unsigned DoubleClickTimeMs = 500;
constexpr unsigned CaretBlinkTimeMs = 530;
constexpr int ScrollBarSize = 17;
constexpr int EdgeSize = 2;
constexpr int BorderSize = 1;
constexpr int DragThreshold = 4;
constexpr int DoubleClickBoxSize = 4;
constexpr int FixedFrameSize = 3;
// First auto-repeat of a held scroll arrow, then its rate.
constexpr unsigned ScrollRepeatDelayMs = 400;
constexpr unsigned ScrollRepeatIntervalMs = 50;
// Application hints: wait of a resting mouse, display time, reshow delay.
constexpr int HintPauseMs = 500;
constexpr int HintHidePauseMs = 2500;
constexpr int HintShortPauseMs = 50;

unsigned GetDoubleClickTime();

// Answers the setting into *value (an unsigned or a bool per setting); false
// for a setting the platform does not know.
bool SystemParametersInfo(unsigned action, unsigned param, void* value, unsigned winIni);

} // namespace plat
