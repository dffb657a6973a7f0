// TStandardDialogs: message boxes on our own form, file dialogs on the
// host's chooser with their checks and questions, folder browsers and the
// colour dialog on the host's choosers, and the pointer.
#include "platform/controls/dialogs/standard_dialogs.h"

#include "platform/controls/dialogs/dialog_texts.h"
#include "platform/controls/dialogs/message_dialog.h"
#include "platform/controls/form.h"
#include "platform/controls/window_input.h"

#include <filesystem>

namespace plat {

namespace {

namespace fs = std::filesystem;

// The text with "%s" replaced by the value.
std::string Formatted(PResString text, const std::string& value)
{
    std::string result = LoadResString(text);
    if (const std::size_t at = result.find("%s"); at != std::string::npos) {
        result.replace(at, 2, value);
    }
    return result;
}

bool IsFolder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// Whether folder lies at root or below it.
bool IsBelow(const fs::path& folder, const fs::path& root)
{
    const fs::path below = folder.lexically_normal().lexically_relative(root.lexically_normal());
    return !below.empty() && *below.begin() != "..";
}

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::exists(path, error) && !fs::is_directory(path, error);
}

} // namespace

TModalResult TStandardDialogs::MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                                          TMsgDlgButtons buttons, TMsgDlgBtn defaultButton)
{
    return MessageDlg(text, caption, type, buttons, defaultButton);
}

TFileDialogResult TStandardDialogs::SaveFileDialog(const TFileDialogOptions& options)
{
    return RunFileDialog(options, true);
}

TFileDialogResult TStandardDialogs::OpenFileDialog(const TFileDialogOptions& options)
{
    return RunFileDialog(options, false);
}

bool TStandardDialogs::Acceptable(const TFileDialogOptions& options, bool save, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const fs::path path(name);
        const fs::path folder = path.parent_path();
        if (options.PathMustExist && !folder.empty() && !IsFolder(folder)) {
            MessageBox(Formatted(&SFolderDoesNotExist, folder.string()), "", mtError, {mbOK}, mbOK);
            return false;
        }
        if (!save && options.FileMustExist && !IsFile(path)) {
            MessageBox(Formatted(&SFileDoesNotExist, name), "", mtError, {mbOK}, mbOK);
            return false;
        }
        if (save && options.OverwritePrompt && IsFile(path) &&
            MessageBox(Formatted(&SFileExistsReplace, name), "", mtConfirmation, {mbYes, mbNo}, mbNo) != mrYes) {
            return false;
        }
    }
    return true;
}

TFileDialogResult TStandardDialogs::RunFileDialog(const TFileDialogOptions& options, bool save)
{
    TFileDialogResult result;
    result.FileName = options.FileName;
    if (FChooser == nullptr) {
        return result;
    }
    TFileChooserRequest request;
    request.Save = save;
    request.Title = options.Title;
    request.Filters = ParseDialogFilter(options.Filter);
    request.Filter = ChosenFilter(request.Filters, options.FilterIndex);
    request.Folder = options.InitialDir;
    request.Name = options.FileName;
    request.MultiSelect = !save && options.AllowMultiSelect;
    for (;;) {
        const TFileChooserAnswer answer = FChooser->Choose(request);
        if (!answer.Confirmed || answer.Names.empty()) {
            return result;
        }
        std::vector<std::string> names;
        for (const std::string& typed : answer.Names) {
            names.push_back(ResolveDialogFileName(options, typed));
        }
        // A folder chosen as a file: the chooser opens in it.
        if (IsFolder(names.front())) {
            request.Folder = names.front();
            request.Name.clear();
            continue;
        }
        if (Acceptable(options, save, names)) {
            result.Confirmed = true;
            result.FileName = names.front();
            result.FileNames = names;
            return result;
        }
        // The chooser opens again where the user was, with the name typed.
        const fs::path first(names.front());
        if (IsFolder(first.parent_path())) {
            request.Folder = first.parent_path().string();
        }
        request.Name = first.filename().string();
    }
}

TFolderDialogResult TStandardDialogs::SelectFolderDialog(const TFolderDialogOptions& options)
{
    TFolderDialogResult result;
    if (FChooser == nullptr) {
        return result;
    }
    TFileChooserRequest request;
    request.ChooseFolder = true;
    request.Title = options.Caption;
    request.Folder = options.StartFolder;
    request.CreateFolders = options.AllowCreateFolders;
    request.ShowFiles = options.ShowFiles;
    const std::vector<HWND> disabled = DisableTaskWindows(0);
    for (;;) {
        const TFileChooserAnswer answer = FChooser->Choose(request);
        if (!answer.Confirmed || answer.Names.empty()) {
            break;
        }
        const fs::path chosen(answer.Names.front());
        // A browser rooted at its start folder offers nothing outside it.
        if (options.RootAtStart && !options.StartFolder.empty() && !IsBelow(chosen, options.StartFolder)) {
            request.Folder = options.StartFolder;
            continue;
        }
        if (IsFolder(chosen)) {
            result.Confirmed = true;
            result.Folder = chosen.string();
            break;
        }
    }
    EnableTaskWindows(disabled);
    return result;
}

TColorDialogResult TStandardDialogs::ColorDialog(const TColorDialogOptions& options)
{
    TColorDialogResult result;
    result.Color = options.Color;
    if (FColorChooser == nullptr) {
        return result;
    }
    const TColorChooserAnswer answer = FColorChooser->Choose(TColorChooserRequest{options.Color, options.CustomColors});
    if (answer.Confirmed) {
        result.Confirmed = true;
        result.Color = answer.Color;
    }
    return result;
}

bool TStandardDialogs::GetPointerPos(int& x, int& y)
{
    TPoint point;
    if (!GetCursorPos(point)) {
        return false;
    }
    x = point.X;
    y = point.Y;
    return true;
}

void TStandardDialogs::SetPointerPos(int x, int y)
{
    SetCursorPos(x, y);
}

} // namespace plat
