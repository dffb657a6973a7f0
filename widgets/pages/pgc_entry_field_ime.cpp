// The entry field and the input method: a running composition committed
// when the focus leaves, the composition window at the caret in the field's
// font, and the field's font given to the input method when it opens.
#include "widgets/pages/pgc_base_entry_field.h"

#include "platform/canvas/canvas.h"
#include "platform/controls/input_method.h"

namespace qel {

void TPgcBaseEntryField::CompleteImeComposition()
{
    if (!HandleAllocated()) {
        return;
    }
    const plat::HIMC context = plat::ImmGetContext(Handle());
    if (context != 0) {
        plat::ImmNotifyIME(context, plat::NI_COMPOSITIONSTR, plat::CPS_COMPLETE, 0);
        plat::ImmReleaseContext(Handle(), context);
    }
}

void TPgcBaseEntryField::PlaceCompositionWindow(int X, int Y)
{
    if (!plat::SysLocaleFarEast() || !HandleAllocated()) {
        return;
    }
    const plat::HIMC context = plat::ImmGetContext(Handle());
    if (context == 0) {
        return;
    }
    plat::ImmSetCompositionFont(context, Font()->Handle());
    plat::TCompositionForm form;
    form.dwStyle = plat::CFS_POINT;
    form.ptCurrentPos = {X, Y};
    plat::ImmSetCompositionWindow(context, form);
    plat::ImmReleaseContext(Handle(), context);
}

void TPgcBaseEntryField::WMImeNotify(plat::TMessage& Msg)
{
    if (ImeMode() == plat::imDisable) {
        return;
    }
    if (Msg.WParam != plat::IMN_SETOPENSTATUS) {
        DefaultHandler(Msg);
        return;
    }
    const plat::HIMC context = plat::ImmGetContext(Handle());
    if (context != 0) {
        plat::ImmSetCompositionFont(context, Font()->Handle());
        plat::ImmReleaseContext(Handle(), context);
    }
    Msg.Result = 0;
}

} // namespace qel
