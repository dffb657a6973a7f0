// The common design of the program's windows.
#include "app/common_design.h"

#include "platform/controls/form.h"

namespace qel {

void SetFormDesign(plat::TCustomForm& Form, bool Sizeable)
{
    Form.SetPosition(plat::poDefaultPosOnly);
    if (!Sizeable) {
        Form.SetBorderStyle(plat::bsSingle);
        return;
    }
    Form.SetBorderStyle(plat::bsSizeable);
    plat::TSizeConstraints limits = Form.Constraints();
    limits.MinWidth = Form.Width();
    limits.MinHeight = Form.Height();
    Form.SetConstraints(limits);
}

} // namespace qel
