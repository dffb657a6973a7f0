// Scroll requests and wheel turns as positions.
#include "platform/controls/standard/scroll_steps.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window_messages.h"

#include <cstdint>
#include <limits>

namespace plat {

int ScrolledPosition(HWND hwnd, int bar, WPARAM request, int position, int line, int page)
{
    switch (LOWORD(request)) {
    case SB_LINEUP:
        return SaturateInt(std::int64_t{position} - line);
    case SB_LINEDOWN:
        return SaturateInt(std::int64_t{position} + line);
    case SB_PAGEUP:
        return SaturateInt(std::int64_t{position} - page);
    case SB_PAGEDOWN:
        return SaturateInt(std::int64_t{position} + page);
    case SB_TOP:
        return std::numeric_limits<int>::min();
    case SB_BOTTOM:
        return std::numeric_limits<int>::max();
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message carries 16 bits; the bar knows the whole position.
        TScrollInfo info;
        info.fMask = SIF_TRACKPOS;
        return GetScrollInfo(hwnd, bar, info) ? info.nTrackPos : position;
    }
    default:
        return position;
    }
}

int WheelLines(int wheelDelta)
{
    return -wheelDelta * static_cast<int>(WheelScrollLines) / WHEEL_DELTA;
}

} // namespace plat
