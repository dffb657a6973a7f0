// TPgcHiddenWindow: a message-only window on the application's queue.
#include "widgets/pages/pgc_hidden_window.h"

#include "platform/controls/application.h"
#include "platform/controls/window.h"

namespace qel {

TPgcHiddenWindow::TPgcHiddenWindow(plat::TObject* Sender, THandler Handler)
    : FSender(Sender), FHandler(std::move(Handler))
{
}

bool TPgcHiddenWindow::Allocated() const
{
    return FHandle != 0 && plat::IsWindow(FHandle);
}

plat::HWND TPgcHiddenWindow::Handle()
{
    if (Allocated()) {
        return FHandle;
    }
    if (plat::Application == nullptr) {
        throw plat::EWindowError("No application runs to receive the messages of a hidden window");
    }
    FHandle = plat::CreateWindowHandle(
        plat::Application->Queue(),
        [this](plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) { return Dispatch(msg, wParam, lParam); },
        false);
    return FHandle;
}

void TPgcHiddenWindow::Release()
{
    if (FHandle != 0) {
        plat::DestroyWindowHandle(FHandle);
        FHandle = 0;
    }
}

plat::LRESULT TPgcHiddenWindow::Dispatch(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam)
{
    try {
        return FHandler(Msg, WParam, LParam);
    } catch (...) {
        if (plat::Application == nullptr) {
            throw;
        }
        plat::Application->HandleException(FSender);
        return 0;
    }
}

} // namespace qel
