// TWizardPage: one page of the main window's wizard. The notebook shows no
// tabs, so a press on a page is meant for the control under it, never for
// the notebook: the page takes its presses as any window does, and the
// controls on it get theirs.
#pragma once

#include "widgets/pages/pgc_tab_page.h"

namespace qel {

class TWizardPage : public TPgcTabPage {
    PLAT_CLASS(TWizardPage, TPgcTabPage)
    PLAT_MESSAGES(TWizardPage, TPgcTabPage)
public:
    explicit TWizardPage(plat::TComponent* AOwner) : TPgcTabPage(AOwner) {}

private:
    void WMNCHitTest(plat::TMessage& Msg);
};

} // namespace qel
