// The program in a real window: the GTK host on the X display, the
// platform's message boxes and the GTK file and colour choosers behind the
// dialogs.
#pragma once

#include "app/lost_display.h"
#include "app/start_up.h"
#include "platform/controls/dialogs/standard_dialogs.h"
#include "platform/hosts/gtk/color_chooser.h"
#include "platform/hosts/gtk/file_chooser.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <memory>

namespace qel {

class TWindowSession : public IProgramSession {
public:
    // The arguments GTK may take its own options from.
    TWindowSession(int& Argc, char**& Argv) : FArgc(Argc), FArgv(Argv) {}

    // Opens the display at the first call.
    plat::IHost& OpenHost() override
    {
        if (!FHost) {
            FHost = std::make_unique<plat::TGtkHost>(FArgc, FArgv);
        }
        return *FHost;
    }
    plat::IDialogs& Dialogs() override { return FDialogs; }
    // A lost display ends the run without its window.
    void Started(plat::TApplication&, TfrmMain& Main, TInstanceActivation&) override
    {
        FHost->SetDisplayLostHandler([&Main] { EndAfterLostDisplay(Main); });
    }
    void LoopEnded() override { FHost->SetDisplayLostHandler(nullptr); }

private:
    int& FArgc;
    char**& FArgv;
    std::unique_ptr<plat::TGtkHost> FHost;
    plat::TGtkFileChooser FChooser;
    plat::TGtkColorChooser FColorChooser;
    plat::TStandardDialogs FDialogs{&FChooser, &FColorChooser};
};

} // namespace qel
