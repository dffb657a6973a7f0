// A wizard button that starts a step (a read, a dialog, a save) is disabled
// from its click until the page changes, so a double click starts one step
// and opens one dialog. When the step ends without leaving the page and
// without a worker (nothing checked, the dialog cancelled, an error), the
// guard enables the button again as it goes out of scope.
#pragma once

namespace plat {
class TButton;
}

namespace qel {

class TfrmMain;

class TStepButtonGuard {
public:
    TStepButtonGuard(TfrmMain& Window, plat::TButton& Button);
    ~TStepButtonGuard();
    TStepButtonGuard(const TStepButtonGuard&) = delete;
    TStepButtonGuard& operator=(const TStepButtonGuard&) = delete;

private:
    TfrmMain& FWindow;
    plat::TButton& FButton;
    int FPage;   // the page the click came from
};

} // namespace qel
