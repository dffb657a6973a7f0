// The standard controls by name: registering their classes lets a form
// description that names them ("TButton", "TComboBox", ...) be read.
#pragma once

namespace plat {

// Registers every standard control and menu class; registering again
// changes nothing.
void RegisterStandardClasses();

} // namespace plat
