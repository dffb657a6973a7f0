// The file chooser behind the file dialogs and the folder browsers: the
// window in which the user picks or types a file or a folder. The platform's own chooser implements it (GTK, in
// the GTK host's folder); TStandardDialogs adds what every dialog needs on
// top: default extension, existence checks and the question before a file
// is replaced.
#pragma once

#include "platform/controls/dialogs/dialog_filter.h"

#include <string>
#include <vector>

namespace plat {

struct TFileChooserRequest {
    bool Save = false;                    // a save chooser, else an open one
    std::string Title;                    // empty: the chooser's own
    std::vector<TDialogFilter> Filters;
    std::size_t Filter = 0;               // the filter shown first
    std::string Folder;                   // empty: the chooser's choice
    std::string Name;                     // proposed name (save) or file to mark (open)
    bool MultiSelect = false;
    // A folder browser: the user chooses a folder (Save and the filters
    // do not apply); Folder is preselected and the chooser stands in the
    // middle of the screen.
    bool ChooseFolder = false;
    bool CreateFolders = true;            // the browser offers a new folder
    bool ShowFiles = false;               // files show among the folders
};

struct TFileChooserAnswer {
    bool Confirmed = false;
    // Full names of the files chosen, as the user gave them (a save chooser
    // answers one; the default extension is not added yet).
    std::vector<std::string> Names;
};

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // Shows the chooser modally and answers what the user chose. The
    // chooser itself never asks about replacing files.
    virtual TFileChooserAnswer Choose(const TFileChooserRequest& request) = 0;
};

} // namespace plat
