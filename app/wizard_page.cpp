// One page of the main window's wizard.
#include "app/wizard_page.h"

#include "platform/controls/window_messages.h"

namespace qel {

PLAT_DEFINE_CLASS(TWizardPage, TPgcTabPage)

PLAT_BEGIN_MESSAGES(TWizardPage, TPgcTabPage)
    PLAT_MESSAGE(plat::WM_NCHITTEST, WMNCHitTest)
PLAT_END_MESSAGES

void TWizardPage::WMNCHitTest(plat::TMessage& Msg)
{
    Msg.Result = plat::HTCLIENT;
}

} // namespace qel
