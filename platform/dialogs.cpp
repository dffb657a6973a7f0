// Dialog service switch, file-name resolution and the scripted dialogs.
#include "platform/dialogs.h"

#include <atomic>
#include <filesystem>
#include <utility>

namespace plat {

namespace {

namespace fs = std::filesystem;

// Stands in until a user interface installs its dialogs.
class TNoDialogs : public IDialogs {
public:
    TModalResult MessageBox(const std::string& text, const std::string&, TMsgDlgType, TMsgDlgButtons,
                            TMsgDlgBtn) override
    {
        throw EUnexpectedDialog("No dialog service is installed; message box: \"" + text + "\"");
    }
    TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) override
    {
        throw EUnexpectedDialog("No dialog service is installed; save dialog for \"" + options.FileName + "\"");
    }
    TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) override
    {
        throw EUnexpectedDialog("No dialog service is installed; open dialog in \"" + options.InitialDir + "\"");
    }
    TFolderDialogResult SelectFolderDialog(const TFolderDialogOptions& options) override
    {
        throw EUnexpectedDialog("No dialog service is installed; folder browser at \"" + options.StartFolder + "\"");
    }
    TColorDialogResult ColorDialog(const TColorDialogOptions&) override
    {
        throw EUnexpectedDialog("No dialog service is installed; colour dialog");
    }
};

std::atomic<IDialogs*> GDialogs{nullptr};

std::string Describe(const TShownDialog& shown)
{
    if (shown.Kind == TDialogKind::MessageBox)
        return "message box \"" + shown.Text + "\"";
    if (shown.Kind == TDialogKind::SelectFolder)
        return "folder browser (\"" + shown.FolderOptions.Caption + "\", start \"" + shown.FolderOptions.StartFolder +
               "\")";
    if (shown.Kind == TDialogKind::Color)
        return "colour dialog";
    return std::string(DialogKindName(shown.Kind)) + " (filter \"" + shown.Options.Filter + "\", folder \"" +
           shown.Options.InitialDir + "\", name \"" + shown.Options.FileName + "\")";
}

bool FolderExists(const std::string& fileName)
{
    const fs::path folder = fs::path(fileName).parent_path();
    std::error_code error;
    return folder.empty() || fs::is_directory(folder, error);
}

bool FileExists(const std::string& fileName)
{
    std::error_code error;
    return fs::is_regular_file(fileName, error);
}

} // namespace

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    static constexpr TModalResult Results[] = {mrYes,   mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                               mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrHelp,  mrClose};
    return Results[button];
}

const char* ButtonName(TMsgDlgBtn button)
{
    static constexpr const char* Names[] = {"Yes",   "No",  "OK",      "Cancel",   "Abort", "Retry",
                                            "Ignore", "All", "NoToAll", "YesToAll", "Help",  "Close"};
    return Names[button];
}

std::string FileDialogTitle(const std::string& title, bool save)
{
    if (!title.empty()) {
        return title;
    }
    return save ? "Save File" : "Open File";
}

const char* DialogKindName(TDialogKind kind)
{
    switch (kind) {
    case TDialogKind::MessageBox:
        return "message box";
    case TDialogKind::SaveFile:
        return "save dialog";
    case TDialogKind::OpenFile:
        return "open dialog";
    case TDialogKind::SelectFolder:
        return "folder browser";
    case TDialogKind::Color:
        return "colour dialog";
    }
    return "dialog";
}

std::string ResolveDialogFileName(const TFileDialogOptions& options, const std::string& typed)
{
    fs::path name(typed);
    if (name.is_relative() && !options.InitialDir.empty())
        name = fs::path(options.InitialDir) / name;
    if (!name.has_extension() && !options.DefaultExt.empty())
        name += "." + options.DefaultExt;
    return name.string();
}

IDialogs& CurrentDialogs()
{
    if (auto* dialogs = GDialogs.load())
        return *dialogs;
    static TNoDialogs none;
    return none;
}

IDialogs* SetDialogs(IDialogs* dialogs)
{
    return GDialogs.exchange(dialogs);
}

void TScriptedDialogs::ExpectMessageBox(TMsgDlgBtn press, const std::string& textPart)
{
    TScriptLine& line = FScript.emplace_back(TDialogKind::MessageBox);
    line.Press = press;
    line.TextPart = textPart;
}

void TScriptedDialogs::ExpectMessageBoxDefault(const std::string& textPart)
{
    FScript.emplace_back(TDialogKind::MessageBox).TextPart = textPart;
}

void TScriptedDialogs::ExpectSaveFile(const std::string& typed, bool replaceExisting)
{
    TScriptLine& line = FScript.emplace_back(TDialogKind::SaveFile);
    line.Typed = {typed};
    line.ReplaceExisting = replaceExisting;
}

void TScriptedDialogs::ExpectSaveFileCancel()
{
    FScript.emplace_back(TDialogKind::SaveFile).Confirm = false;
}

void TScriptedDialogs::ExpectOpenFile(std::vector<std::string> typed)
{
    FScript.emplace_back(TDialogKind::OpenFile).Typed = std::move(typed);
}

void TScriptedDialogs::ExpectOpenFileCancel()
{
    FScript.emplace_back(TDialogKind::OpenFile).Confirm = false;
}

void TScriptedDialogs::Fail(const std::string& message)
{
    FFailures.push_back(message);
    throw EUnexpectedDialog(message);
}

TScriptedDialogs::TScriptLine TScriptedDialogs::TakeLine(TDialogKind kind, const std::string& shown)
{
    if (FScript.empty())
        Fail("Unexpected " + shown + ": the script has no more dialogs");
    TScriptLine line = FScript.front();
    FScript.pop_front();
    if (line.Kind != kind)
        Fail("Unexpected " + shown + ": the script expects a " + DialogKindName(line.Kind));
    FPointerX = DIALOG_POINTER_X;
    FPointerY = DIALOG_POINTER_Y;
    return line;
}

TModalResult TScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                                          TMsgDlgButtons buttons, TMsgDlgBtn defaultButton)
{
    TShownDialog& shown = FShown.emplace_back();
    shown.Kind = TDialogKind::MessageBox;
    shown.Text = text;
    shown.Caption = caption;
    shown.Type = type;
    shown.Buttons = buttons;
    shown.DefaultButton = defaultButton;
    const TScriptLine line = TakeLine(TDialogKind::MessageBox, Describe(shown));
    if (!line.TextPart.empty() && text.find(line.TextPart) == std::string::npos)
        Fail("Unexpected " + Describe(shown) + ": the script expects a text with \"" + line.TextPart + "\"");
    const TMsgDlgBtn pressed = line.Press.value_or(defaultButton);
    if (!buttons.Contains(pressed))
        Fail("The script presses \"" + std::string(ButtonName(pressed)) + "\", which " + Describe(shown) +
             " does not show");
    shown.Result = ModalResultOf(pressed);
    return shown.Result;
}

TShownDialog& TScriptedDialogs::RecordFileDialog(TDialogKind kind, const TFileDialogOptions& options)
{
    TShownDialog& shown = FShown.emplace_back();
    shown.Kind = kind;
    shown.Options = options;
    shown.FileResult.FileName = options.FileName;   // what a cancelled dialog answers
    return shown;
}

TFileDialogResult TScriptedDialogs::SaveFileDialog(const TFileDialogOptions& options)
{
    TShownDialog& shown = RecordFileDialog(TDialogKind::SaveFile, options);
    const TScriptLine line = TakeLine(TDialogKind::SaveFile, Describe(shown));
    if (!line.Confirm)
        return shown.FileResult;
    const std::string& typed = line.Typed.front().empty() ? options.FileName : line.Typed.front();
    const std::string chosen = ResolveDialogFileName(options, typed);
    if (options.PathMustExist && !FolderExists(chosen))
        Fail("The script saves \"" + chosen + "\" in a folder that does not exist");
    if (options.OverwritePrompt && FileExists(chosen)) {
        shown.OverwriteAsked = true;
        if (!line.ReplaceExisting)
            return shown.FileResult;
    }
    shown.FileResult.Confirmed = true;
    shown.FileResult.FileName = chosen;
    shown.FileResult.FileNames = {chosen};
    return shown.FileResult;
}

TFileDialogResult TScriptedDialogs::OpenFileDialog(const TFileDialogOptions& options)
{
    TShownDialog& shown = RecordFileDialog(TDialogKind::OpenFile, options);
    const TScriptLine line = TakeLine(TDialogKind::OpenFile, Describe(shown));
    if (!line.Confirm)
        return shown.FileResult;
    if (line.Typed.empty() || (line.Typed.size() > 1 && !options.AllowMultiSelect))
        Fail("The script chooses " + std::to_string(line.Typed.size()) + " files in " + Describe(shown));
    TFileDialogResult result;
    result.Confirmed = true;
    for (const std::string& typed : line.Typed) {
        const std::string chosen = ResolveDialogFileName(options, typed);
        if (options.FileMustExist && !FileExists(chosen))
            Fail("The script opens \"" + chosen + "\", which does not exist");
        if (options.PathMustExist && !FolderExists(chosen))
            Fail("The script opens \"" + chosen + "\" in a folder that does not exist");
        result.FileNames.push_back(chosen);
    }
    result.FileName = result.FileNames.front();
    shown.FileResult = result;
    return result;
}

void TScriptedDialogs::ExpectSelectFolder(const std::string& folder)
{
    TScriptLine line(TDialogKind::SelectFolder);
    line.Typed = {folder};
    FScript.push_back(line);
}

void TScriptedDialogs::ExpectSelectFolderCancel()
{
    TScriptLine line(TDialogKind::SelectFolder);
    line.Confirm = false;
    FScript.push_back(line);
}

void TScriptedDialogs::ExpectColor(TDialogColor color)
{
    TScriptLine line(TDialogKind::Color);
    line.Color = color;
    FScript.push_back(line);
}

void TScriptedDialogs::ExpectColorCancel()
{
    TScriptLine line(TDialogKind::Color);
    line.Confirm = false;
    FScript.push_back(line);
}

TFolderDialogResult TScriptedDialogs::SelectFolderDialog(const TFolderDialogOptions& options)
{
    TShownDialog& shown = FShown.emplace_back();
    shown.Kind = TDialogKind::SelectFolder;
    shown.FolderOptions = options;
    const TScriptLine line = TakeLine(TDialogKind::SelectFolder, Describe(shown));
    if (!line.Confirm)
        return shown.FolderResult;
    fs::path chosen(line.Typed.front());
    if (chosen.is_relative() && !options.StartFolder.empty())
        chosen = fs::path(options.StartFolder) / chosen;
    chosen = chosen.lexically_normal();
    std::error_code error;
    if (!fs::is_directory(chosen, error))
        Fail("The script chooses \"" + chosen.string() + "\", which is no folder");
    if (options.RootAtStart) {
        const fs::path root = fs::path(options.StartFolder).lexically_normal();
        const fs::path below = chosen.lexically_relative(root);
        if (below.empty() || *below.begin() == "..")
            Fail("The script chooses \"" + chosen.string() + "\", outside the browser's root \"" + root.string() + "\"");
    }
    shown.FolderResult.Confirmed = true;
    shown.FolderResult.Folder = chosen.string();
    return shown.FolderResult;
}

TColorDialogResult TScriptedDialogs::ColorDialog(const TColorDialogOptions& options)
{
    TShownDialog& shown = FShown.emplace_back();
    shown.Kind = TDialogKind::Color;
    shown.ColorOptions = options;
    shown.ColorResult.Color = options.Color;
    const TScriptLine line = TakeLine(TDialogKind::Color, Describe(shown));
    if (line.Confirm) {
        shown.ColorResult.Confirmed = true;
        shown.ColorResult.Color = line.Color;
    }
    return shown.ColorResult;
}

bool TScriptedDialogs::GetPointerPos(int& x, int& y)
{
    x = FPointerX;
    y = FPointerY;
    return true;
}

void TScriptedDialogs::SetPointerPos(int x, int y)
{
    FPointerX = x;
    FPointerY = y;
}

std::string TScriptedDialogs::Verify() const
{
    std::string report;
    for (const std::string& failure : FFailures)
        report += failure + "\n";
    for (const TScriptLine& line : FScript)
        report += std::string("Expected ") + DialogKindName(line.Kind) + " was never shown\n";
    return report;
}

} // namespace plat
