// The platform's file chooser under the GTK host: a GtkFileChooserNative,
// modal over the program's active window (else its main form), with the
// dialog's named filters (matched without regard to case), folder,
// proposed name and multiple choice. It never asks about replacing a file
// itself; the standard dialogs ask with their own box. As a folder browser
// it is a folder chooser owned by the main form, centred on the screen.
#pragma once

#include "platform/controls/dialogs/file_chooser.h"

typedef struct _GtkWindow GtkWindow;

namespace plat {

class TGtkFileChooser : public IFileChooser {
public:
    TFileChooserAnswer Choose(const TFileChooserRequest& request) override;
};

// The GTK window of the program's main form; nullptr before it has one.
GtkWindow* MainGtkWindow();

// A shell pattern that matches without regard to case ("*.qrec" gives
// "*.[qQ][rR][eE][cC]"); "*.*" stands for every file, as "*".
std::string CaseInsensitivePattern(const std::string& pattern);

} // namespace plat
