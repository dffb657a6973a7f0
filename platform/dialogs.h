// Modal message boxes, file dialogs, folder browsers and the colour dialog
// behind one replaceable interface, and the scripted stand-in with which
// tests answer them.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };

// A set of buttons, shown in the order of TMsgDlgBtn.
class TMsgDlgButtons {
public:
    TMsgDlgButtons() = default;
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn button : buttons)
            Include(button);
    }
    void Include(TMsgDlgBtn button) { FBits |= Bit(button); }
    bool Contains(TMsgDlgBtn button) const { return (FBits & Bit(button)) != 0; }
    bool Empty() const { return FBits == 0; }
    bool operator==(const TMsgDlgButtons&) const = default;

private:
    static std::uint32_t Bit(TMsgDlgBtn button) { return std::uint32_t{1} << static_cast<unsigned>(button); }
    std::uint32_t FBits = 0;
};

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

// The modal result a button gives when pressed.
TModalResult ModalResultOf(TMsgDlgBtn button);
// The button's name ("Yes", "NoToAll", ...), as messages and records show it.
const char* ButtonName(TMsgDlgBtn button);

struct TFileDialogOptions {
    std::string Title;          // empty: the dialog's standard title
    std::string Filter;         // "Text (*.csv)|*.csv|All (*.*)|*.*"
    int FilterIndex = 1;        // 1 for the first pair of the filter
    std::string DefaultExt;     // without the dot; added to a typed name that has no extension
    std::string InitialDir;
    std::string FileName;       // proposed name (no folder) or empty
    bool OverwritePrompt = false;   // save: ask before replacing an existing file
    bool FileMustExist = false;     // open: only existing files
    bool PathMustExist = true;
    bool AllowMultiSelect = false;  // open: several files
};

struct TFileDialogResult {
    bool Confirmed = false;
    std::string FileName;                // the chosen file (the first when several); the proposed name on cancel
    std::vector<std::string> FileNames;  // every chosen file
};

// The title a file dialog shows: its own, else the standard one of its kind.
std::string FileDialogTitle(const std::string& title, bool save);

// The full name a dialog gives for what the user typed: relative to the
// initial folder, with the default extension when the name has none.
std::string ResolveDialogFileName(const TFileDialogOptions& options, const std::string& typed);

// A folder browser.
struct TFolderDialogOptions {
    std::string Caption;            // the text above the folders; empty: none
    std::string StartFolder;        // preselected; empty: the browser's choice
    bool RootAtStart = false;       // only the start folder and the folders below it
    bool EditBox = false;           // a field in which the folder can be typed
    bool ShowFiles = false;         // files show among the folders
    bool AllowCreateFolders = true; // the browser can make a new folder
};

struct TFolderDialogResult {
    bool Confirmed = false;
    std::string Folder;             // the chosen folder as the browser gives it; empty when cancelled
};

// Colours as the program's TColor: red in the low byte, then green and blue.
using TDialogColor = std::uint32_t;

struct TColorDialogOptions {
    TDialogColor Color = 0;                  // the colour the dialog starts at
    std::vector<TDialogColor> CustomColors;  // offered beside the standard ones
};

struct TColorDialogResult {
    bool Confirmed = false;
    TDialogColor Color = 0;                  // the chosen colour; the start colour when cancelled
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // Modal message box; caption empty: the standard caption of the type. The
    // result is the modal result of the button pressed.
    virtual TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) = 0;
    virtual TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) = 0;
    virtual TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) = 0;
    virtual TFolderDialogResult SelectFolderDialog(const TFolderDialogOptions& options) = 0;
    virtual TColorDialogResult ColorDialog(const TColorDialogOptions& options) = 0;

    // The mouse pointer's place on the screen, and moving it there, for a
    // caller that leaves the pointer where it was before a dialog. A
    // service without a pointer answers false and moves nothing.
    virtual bool GetPointerPos(int& x, int& y)
    {
        (void)x;
        (void)y;
        return false;
    }
    virtual void SetPointerPos(int x, int y)
    {
        (void)x;
        (void)y;
    }
};

// Raised when a dialog is shown that no script line expects, or a script line
// cannot apply; its message names the dialog.
class EUnexpectedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The dialog service in force. Until one is set, every dialog raises
// EUnexpectedDialog (no dialog can be shown without a user interface).
IDialogs& CurrentDialogs();
// Makes dialogs current (nullptr: none) and returns the former one.
IDialogs* SetDialogs(IDialogs* dialogs);

class TScopedDialogs {
public:
    explicit TScopedDialogs(IDialogs& dialogs) : FFormer(SetDialogs(&dialogs)) {}
    ~TScopedDialogs() { SetDialogs(FFormer); }
    TScopedDialogs(const TScopedDialogs&) = delete;
    TScopedDialogs& operator=(const TScopedDialogs&) = delete;

private:
    IDialogs* FFormer;
};

enum class TDialogKind { MessageBox, SaveFile, OpenFile, SelectFolder, Color };
const char* DialogKindName(TDialogKind kind);

// What one dialog showed and how it was answered.
struct TShownDialog {
    TDialogKind Kind = TDialogKind::MessageBox;
    // Message box
    std::string Text;
    std::string Caption;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    TMsgDlgBtn DefaultButton = mbOK;
    TModalResult Result = mrNone;
    // File dialog
    TFileDialogOptions Options;
    TFileDialogResult FileResult;
    bool OverwriteAsked = false;  // the chosen file existed and the dialog asked
    // Folder browser
    TFolderDialogOptions FolderOptions;
    TFolderDialogResult FolderResult;
    // Colour dialog
    TColorDialogOptions ColorOptions;
    TColorDialogResult ColorResult;
};

// Test double: answers dialogs from a script, in order, and records each one.
//   dialogs.ExpectMessageBox(mbNo);              // press "No"
//   dialogs.ExpectSaveFile("out");               // type "out" and confirm
//   dialogs.ExpectOpenFileCancel();
//   dialogs.ExpectSelectFolder("/data/out");     // choose a folder and confirm
//   dialogs.ExpectColor(0x0000FF);               // choose red and confirm
// It keeps a pointer of its own, which every dialog it answers moves to
// DIALOG_POINTER, where the dialog's buttons would be.
// A dialog of another kind than the next script line, one beyond the script, a
// message box whose text lacks the expected part, or an answer the dialog could
// not give (a button it does not show, a missing file where one must exist)
// raises EUnexpectedDialog and is kept in Failures().
class TScriptedDialogs : public IDialogs {
public:
    // Message box answers: press a button, or press Enter (the default button).
    // textPart, when not empty, must occur in the box's text.
    void ExpectMessageBox(TMsgDlgBtn press, const std::string& textPart = "");
    void ExpectMessageBoxDefault(const std::string& textPart = "");
    // Save dialog: type a name (resolved like a real dialog; empty keeps the
    // proposed name) and confirm. When the file exists and the dialog prompts,
    // replaceExisting answers the prompt; false cancels the dialog.
    void ExpectSaveFile(const std::string& typed, bool replaceExisting = true);
    void ExpectSaveFileCancel();
    // Open dialog: choose files (one unless the dialog allows several; resolved
    // like typed names) and confirm.
    void ExpectOpenFile(std::vector<std::string> typed);
    void ExpectOpenFile(const std::string& typed) { ExpectOpenFile(std::vector<std::string>{typed}); }
    void ExpectOpenFileCancel();
    // Folder browser: choose an existing folder (relative to the start
    // folder) and confirm; a browser rooted at its start folder refuses a
    // folder outside it.
    void ExpectSelectFolder(const std::string& folder);
    void ExpectSelectFolderCancel();
    // Colour dialog: choose a colour and confirm.
    void ExpectColor(TDialogColor color);
    void ExpectColorCancel();

    TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) override;
    TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) override;
    TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) override;
    TFolderDialogResult SelectFolderDialog(const TFolderDialogOptions& options) override;
    TColorDialogResult ColorDialog(const TColorDialogOptions& options) override;

    static constexpr int DIALOG_POINTER_X = 640;
    static constexpr int DIALOG_POINTER_Y = 480;
    bool GetPointerPos(int& x, int& y) override;
    void SetPointerPos(int x, int y) override;

    const std::vector<TShownDialog>& Shown() const { return FShown; }
    std::size_t PendingCount() const { return FScript.size(); }
    const std::vector<std::string>& Failures() const { return FFailures; }
    // Empty when every script line was used and nothing unexpected happened;
    // otherwise a text listing what went wrong.
    std::string Verify() const;

private:
    struct TScriptLine {
        explicit TScriptLine(TDialogKind kind) : Kind(kind) {}
        TDialogKind Kind;
        bool Confirm = true;                 // file dialogs: confirm or cancel
        std::optional<TMsgDlgBtn> Press;     // message box: empty presses the default
        std::string TextPart;
        std::vector<std::string> Typed;      // file dialogs: the names; folder browser: the folder
        bool ReplaceExisting = true;
        TDialogColor Color = 0;
    };

    // Records a file dialog as shown; the reference lives until the next dialog.
    TShownDialog& RecordFileDialog(TDialogKind kind, const TFileDialogOptions& options);
    // The next line, of that kind; the dialog takes the pointer.
    TScriptLine TakeLine(TDialogKind kind, const std::string& shown);
    [[noreturn]] void Fail(const std::string& message);

    std::deque<TScriptLine> FScript;
    std::vector<TShownDialog> FShown;
    std::vector<std::string> FFailures;
    int FPointerX = 0;
    int FPointerY = 0;
};

} // namespace plat
