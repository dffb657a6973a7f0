// TDesignedForm: a form laid out as designed: its children are placed by
// alignment with margins and by anchors (a right-anchored button keeps its
// distance to the right edge as the form grows), and the form's size keeps
// within its constraints, also when the user resizes the window. A form
// whose first size is its minimum sets MinWidth and MinHeight to it.
#pragma once

#include "platform/controls/form.h"
#include "platform/controls/standard/control_layout.h"

namespace plat {

class TDesignedForm : public TLayoutControl<TForm> {
    PLAT_CLASS(TDesignedForm, TForm)
    PLAT_MESSAGES(TDesignedForm, TForm)
public:
    explicit TDesignedForm(TComponent* owner) : TLayoutControl<TForm>(owner) {}

protected:
    void AlignControls(TControl* control, TRect& rect) override;
    // The window was sized from outside (the user): back within the constraints.
    void WMWindowPosChanged(TMessage& message);
};

} // namespace plat
