// The first instance's answer to a second start.
#include "app/instance_activation.h"

#include "foundations/win_tools.h"
#include "platform/controls/application.h"
#include "platform/controls/window_manager.h"

namespace qel {

TInstanceActivation::TInstanceActivation(plat::TApplication& App) : FApp(App)
{
    plat::TWindowRecord* window = plat::TWindowManager::RecordOf(App.Handle());
    if (window == nullptr) {
        return;
    }
    FOwnProcedure = window->Procedure;
    FInstalled = true;
    const plat::UINT request = plat::RegisterWindowMessage(ACTIVATE_INSTANCE_MESSAGE_NAME);
    window->Procedure = [this, request, own = FOwnProcedure](plat::HWND hwnd, plat::UINT message, plat::WPARAM wParam,
                                                             plat::LPARAM lParam) -> plat::LRESULT {
        if (message != request || request == 0) {
            return own ? own(hwnd, message, wParam, lParam) : plat::DefWindowProc(hwnd, message, wParam, lParam);
        }
        FApp.Restore();
        FApp.BringToFront();
        ++FCount;
        if (OnActivated) {
            OnActivated();
        }
        return 0;
    };
}

TInstanceActivation::~TInstanceActivation()
{
    plat::TWindowRecord* window = FInstalled ? plat::TWindowManager::RecordOf(FApp.Handle()) : nullptr;
    if (window != nullptr) {
        window->Procedure = FOwnProcedure;
    }
}

} // namespace qel
