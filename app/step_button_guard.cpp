// A wizard button disabled from its click until the page changes.
#include "app/step_button_guard.h"

#include "app/main_window.h"
#include "platform/controls/standard/button.h"

namespace qel {

TStepButtonGuard::TStepButtonGuard(TfrmMain& Window, plat::TButton& Button)
    : FWindow(Window), FButton(Button), FPage(Window.PageIndex())
{
    FButton.SetEnabled(false);
}

TStepButtonGuard::~TStepButtonGuard()
{
    if (FWindow.PageIndex() == FPage && !FWindow.WorkerRunning()) {
        FButton.SetEnabled(true);
    }
}

} // namespace qel
