// The common design of the program's windows: where a window first appears
// and how its border behaves.
#pragma once

namespace plat {
class TCustomForm;
}

namespace qel {

// The platform places the window, keeping its size. Sizeable: a resizable
// border whose smallest size is the window's present size; otherwise a
// fixed single border.
void SetFormDesign(plat::TCustomForm& Form, bool Sizeable);

} // namespace qel
