// The layout dump: one line per control of every form, parents before
// children, with the path of names from the form, the class, the bounds in
// the parent, the client area on the screen, the state and the text. Tests
// and the smoke scripts find controls in it.
#pragma once

#include <string>

namespace plat {

class TControl;

std::string DumpLayout();
// A control's name, or its class and place among its siblings when unnamed.
std::string LayoutName(const TControl& control, int index);

} // namespace plat
