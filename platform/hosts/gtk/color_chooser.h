// The platform's colour chooser under the GTK host: a GTK colour chooser
// dialog, modal over the program's main form, starting at the colour given
// and offering the custom colours as a palette of their own.
#pragma once

#include "platform/controls/dialogs/color_chooser.h"

namespace plat {

class TGtkColorChooser : public IColorChooser {
public:
    TColorChooserAnswer Choose(const TColorChooserRequest& request) override;
};

} // namespace plat
