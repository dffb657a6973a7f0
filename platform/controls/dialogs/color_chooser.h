// The colour chooser behind the colour dialog: the window in which the user
// picks a colour. The platform's own chooser implements it (GTK, in the GTK
// host's folder).
#pragma once

#include "platform/dialogs.h"

#include <vector>

namespace plat {

struct TColorChooserRequest {
    TDialogColor Color = 0;                  // the colour the chooser starts at
    std::vector<TDialogColor> CustomColors;  // offered beside the chooser's own
};

struct TColorChooserAnswer {
    bool Confirmed = false;
    TDialogColor Color = 0;
};

class IColorChooser {
public:
    virtual ~IColorChooser() = default;
    // Shows the chooser modally, owned by the main form, and answers the colour chosen.
    virtual TColorChooserAnswer Choose(const TColorChooserRequest& request) = 0;
};

} // namespace plat
