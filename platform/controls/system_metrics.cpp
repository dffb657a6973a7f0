// The fixed sizes and settings of the user interface; the screen size and
// the swapped buttons come from the running window manager.
#include "platform/controls/system_metrics.h"

#include "platform/controls/window_manager.h"

namespace plat {

int GetSystemMetrics(int metric)
{
    TWindowManager* manager = TWindowManager::Instance();
    switch (metric) {
    case SM_CXSCREEN:
        return manager ? static_cast<int>(manager->Host().ScreenRect().Width()) : 0;
    case SM_CYSCREEN:
        return manager ? static_cast<int>(manager->Host().ScreenRect().Height()) : 0;
    case SM_SWAPBUTTON:
        return manager && manager->ButtonsSwapped ? 1 : 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return ScrollBarSize;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return BorderSize;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return EdgeSize;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return FixedFrameSize;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return FixedFrameSize + BorderSize;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return DragThreshold;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return DoubleClickBoxSize;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    case SM_CXMIN:
    case SM_CYMIN:
        return 1;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    default:
        return 0;
    }
}

unsigned GetDoubleClickTime()
{
    return DoubleClickTimeMs;
}

bool SystemParametersInfo(unsigned action, unsigned, void* value, unsigned)
{
    if (value == nullptr) {
        return false;
    }
    switch (action) {
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<unsigned*>(value) = WheelScrollLines;
        return true;
    case SPI_GETDRAGFULLWINDOWS:
        *static_cast<bool*>(value) = true;
        return true;
    case SPI_GETHIGHCONTRAST: {
        TWindowManager* manager = TWindowManager::Instance();
        auto* setting = static_cast<THighContrast*>(value);
        setting->dwFlags = manager != nullptr && manager->HighContrast ? HCF_HIGHCONTRASTON : 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace plat
