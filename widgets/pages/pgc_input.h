// The input state as the component library's controls read it: the primary
// mouse button and the modifier keys as the command tables encode them.
#pragma once

#include <cstdint>

namespace qel {

// The virtual-key code of the primary button: 1 (left), or 2 (right) while
// the mouse buttons are swapped.
std::uint8_t PrimaryMouseButtonKey();

// 2 for Shift, plus 4 for Ctrl, plus 8 for Alt, as they were when the message
// being handled was taken.
std::uint8_t CurrentShiftByte();

} // namespace qel
