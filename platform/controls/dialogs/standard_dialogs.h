// TStandardDialogs: the dialogs of a running program behind IDialogs. Its
// message box is our own modal form (message_dialog.h), so a headless host
// shows it like any form; its file dialogs run a file chooser (the GTK one
// in the real program) and then do what a file dialog promises: the typed
// name gets the default extension, a folder or file that must exist is
// checked with a message and the chooser opens again, and a save over an
// existing file asks first (No, the default, opens the chooser again). A
// cancelled dialog answers the proposed name, unconfirmed. Its folder
// browser runs the same chooser for a folder, with every window of the
// program disabled while it shows; its colour dialog runs a colour chooser.
// The pointer it reports and moves is the window manager's.
#pragma once

#include "platform/controls/dialogs/color_chooser.h"
#include "platform/controls/dialogs/file_chooser.h"
#include "platform/dialogs.h"

namespace plat {

class TStandardDialogs : public IDialogs {
public:
    // chooser, colorChooser: the choosers of the host (not owned); without
    // one the dialogs it serves answer "cancelled".
    explicit TStandardDialogs(IFileChooser* chooser, IColorChooser* colorChooser = nullptr)
        : FChooser(chooser), FColorChooser(colorChooser)
    {
    }

    TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) override;
    TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) override;
    TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) override;
    TFolderDialogResult SelectFolderDialog(const TFolderDialogOptions& options) override;
    TColorDialogResult ColorDialog(const TColorDialogOptions& options) override;
    bool GetPointerPos(int& x, int& y) override;
    void SetPointerPos(int x, int y) override;

private:
    TFileDialogResult RunFileDialog(const TFileDialogOptions& options, bool save);
    // Whether the chosen names may be taken; when not, tells the user why.
    bool Acceptable(const TFileDialogOptions& options, bool save, const std::vector<std::string>& names);

    IFileChooser* FChooser;
    IColorChooser* FColorChooser;
};

} // namespace plat
