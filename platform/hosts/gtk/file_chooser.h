// The platform's file chooser under the GTK host: a GtkFileChooserNative,
// modal over the program's active window (else its main form), with the
// dialog's named filters (matched without regard to case), folder,
// proposed name and multiple choice. It never asks about replacing a file
// itself; the standard dialogs ask with their own box.
#pragma once

#include "platform/controls/dialogs/file_chooser.h"

namespace plat {

class TGtkFileChooser : public IFileChooser {
public:
    TFileChooserAnswer Choose(const TFileChooserRequest& request) override;
};

// A shell pattern that matches without regard to case ("*.qrec" gives
// "*.[qQ][rR][eE][cC]"); "*.*" stands for every file, as "*".
std::string CaseInsensitivePattern(const std::string& pattern);

} // namespace plat
