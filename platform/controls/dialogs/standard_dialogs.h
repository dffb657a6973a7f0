// TStandardDialogs: the dialogs of a running program behind IDialogs. Its
// message box is our own modal form (message_dialog.h), so a headless host
// shows it like any form; its file dialogs run a file chooser (the GTK one
// in the real program) and then do what a file dialog promises: the typed
// name gets the default extension, a folder or file that must exist is
// checked with a message and the chooser opens again, and a save over an
// existing file asks first (No, the default, opens the chooser again). A
// cancelled dialog answers the proposed name, unconfirmed.
#pragma once

#include "platform/controls/dialogs/file_chooser.h"
#include "platform/dialogs.h"

namespace plat {

class TStandardDialogs : public IDialogs {
public:
    // chooser: the file chooser of the host (not owned); without one the
    // file dialogs answer "cancelled".
    explicit TStandardDialogs(IFileChooser* chooser) : FChooser(chooser) {}

    TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) override;
    TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) override;
    TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) override;

private:
    TFileDialogResult RunFileDialog(const TFileDialogOptions& options, bool save);
    // Whether the chosen names may be taken; when not, tells the user why.
    bool Acceptable(const TFileDialogOptions& options, bool save, const std::vector<std::string>& names);

    IFileChooser* FChooser;
};

} // namespace plat
