// Scroll requests and wheel turns as positions.
#include "platform/controls/standard/scroll_steps.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"

#include <algorithm>
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

int RowForKey(std::uint16_t key, int current, int count, int pageRows)
{
    if (count <= 0) {
        return -1;
    }
    const int last = count - 1;
    const int from = std::clamp(current, 0, last);
    const int page = std::max(pageRows - 1, 1);
    switch (key) {
    case VK_UP:
        return current < 0 ? 0 : std::max(from - 1, 0);
    case VK_DOWN:
        return current < 0 ? 0 : std::min(from + 1, last);
    case VK_PRIOR:
        return std::max(from - page, 0);
    case VK_NEXT:
        return std::min(from + page, last);
    case VK_HOME:
        return 0;
    case VK_END:
        return last;
    default:
        return -1;
    }
}

} // namespace plat
