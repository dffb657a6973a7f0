// Modal message boxes and file dialogs behind one replaceable interface, and
// the scripted stand-in with which tests answer them.
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

// The full name a dialog gives for what the user typed: relative to the
// initial folder, with the default extension when the name has none.
std::string ResolveDialogFileName(const TFileDialogOptions& options, const std::string& typed);

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // Modal message box; caption empty: the standard caption of the type. The
    // result is the modal result of the button pressed.
    virtual TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) = 0;
    virtual TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) = 0;
    virtual TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) = 0;
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

enum class TDialogKind { MessageBox, SaveFile, OpenFile };
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
};

// Test double: answers dialogs from a script, in order, and records each one.
//   dialogs.ExpectMessageBox(mbNo);              // press "No"
//   dialogs.ExpectSaveFile("out");               // type "out" and confirm
//   dialogs.ExpectOpenFileCancel();
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

    TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) override;
    TFileDialogResult SaveFileDialog(const TFileDialogOptions& options) override;
    TFileDialogResult OpenFileDialog(const TFileDialogOptions& options) override;

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
        std::vector<std::string> Typed;
        bool ReplaceExisting = true;
    };

    // Records a file dialog as shown; the reference lives until the next dialog.
    TShownDialog& RecordFileDialog(TDialogKind kind, const TFileDialogOptions& options);
    TScriptLine TakeLine(TDialogKind kind, const std::string& shown);
    [[noreturn]] void Fail(const std::string& message);

    std::deque<TScriptLine> FScript;
    std::vector<TShownDialog> FShown;
    std::vector<std::string> FFailures;
};

} // namespace plat
