// TDesignedForm: the layout of its children and its size limits.
#include "platform/controls/standard/designed_form.h"

namespace plat {

PLAT_DEFINE_CLASS(TDesignedForm, TForm)

PLAT_BEGIN_MESSAGES(TDesignedForm, TForm)
    PLAT_MESSAGE(WM_WINDOWPOSCHANGED, WMWindowPosChanged)
PLAT_END_MESSAGES

void TDesignedForm::AlignControls(TControl* control, TRect& rect)
{
    AdjustClientRect(rect);
    ArrangeControls(*this, control, rect);
}

void TDesignedForm::WMWindowPosChanged(TMessage& message)
{
    Inherited(message);
    int width = Width();
    int height = Height();
    Constrain(width, height);
    if (width != Width() || height != Height()) {
        SetBounds(Left(), Top(), width, height);
    }
}

} // namespace plat
