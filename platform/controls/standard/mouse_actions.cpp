// The focus taken by a press.
#include "platform/controls/standard/mouse_actions.h"

namespace plat {

bool TakeFocusForPress(TWinControl& control)
{
    if (!control.CanFocus() || control.Focused()) {
        return true;
    }
    const auto life = control.Life();
    control.SetFocus();
    return life->Alive();
}

} // namespace plat
