// The primary mouse button and the shift byte, read from the input state of
// the window manager.
#include "widgets/pages/pgc_input.h"

#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace qel {
namespace {

bool IsDown(plat::TVirtualKey key)
{
    return plat::GetKeyState(key) < 0;
}

} // namespace

std::uint8_t PrimaryMouseButtonKey()
{
    return plat::GetSystemMetrics(plat::SM_SWAPBUTTON) != 0 ? plat::VK_RBUTTON : plat::VK_LBUTTON;
}

std::uint8_t CurrentShiftByte()
{
    return static_cast<std::uint8_t>((IsDown(plat::VK_SHIFT) ? 2 : 0) | (IsDown(plat::VK_CONTROL) ? 4 : 0)
        | (IsDown(plat::VK_MENU) ? 8 : 0));
}

} // namespace qel
