// The script of a scripted run: the program on the headless back end,
// driven by a text of one step a line. Blank lines and lines that start
// with "#" are skipped; words are separated by blanks, and a word in double
// quotes may hold blanks (\" and \\ inside stand for " and \). A step's
// line number is its id in the run's record.
//
//   answer box <button> [text part]   the next message box: press the
//                                     button (Yes, No, OK, Cancel, ... or
//                                     default), its text must hold the part
//   answer open <file> | answer open-cancel
//   answer save <file> | answer save-cancel
//   answer folder <folder> | answer folder-cancel
//   answer colour <colour> | answer colour-cancel
//                                     a colour as 0xBBGGRR (hexadecimal) or
//                                     a decimal number
//   click <control>                   a mouse click on the control's middle
//   set <control> <text>              the control focused, its text
//                                     selected, the text typed over it
//   check <control> on|off            a check box (or radio button) clicked
//                                     into that state
//   check node <tree> on|off <caption>...
//                                     the tree's node whose path from the
//                                     top has these captions (first column)
//                                     focused and Space pressed until it is
//                                     in that state (a radio button only on)
//   check row <list> on|off <text>    the list's first row with a cell of
//                                     that text, likewise
//   key [shift+][ctrl+][alt+]<name>   a key pressed and released on the
//                                     control that has the focus, with the
//                                     modifiers held: space, enter, escape,
//                                     tab, backspace, delete, insert, up,
//                                     down, left, right, home, end, pageup,
//                                     pagedown, menu, f1 to f12, a to z, 0 to 9
//   popup <control> [click|key]       the control's pop-up menu opened by a
//                                     right click on its middle (click) or
//                                     by the menu key on it focused (key)
//   choose <caption>                  the item of the open pop-up menu with
//                                     that caption (accelerator marks
//                                     ignored) clicked
//   close                             the main window's close box
//   status <dir|data|save> <state> [value]
//                                     a worker's status message, as posted:
//                                     state started, progress, finished,
//                                     failed, saved or a number
//   advance <ms>                      the clock moves on
//   wait page <n> [ms]                until the page shows (workers run in
//   wait activations <n> [ms]         real time; 10 s when no limit is
//   wait file <path> [ms]             given)
//   wait exit [ms]                    until the program has ended; the
//                                     steps after it are not run
//   expect page <n> | expect caption <text> | expect title <text>
//   expect activations <n>            requests of a second start answered
//   expect dialog <box|open|save|folder|colour> [text part]
//                                     the next dialog shown since the last
//                                     expect dialog
//   touch <path>                      an empty file, for whoever waits for it
//   shot <file.png>                   the main window's picture
//   dump <file>                       the layout of every form: a line per
//                                     control with its name path, class,
//                                     bounds, screen rectangle, state and
//                                     text, and below it what the control
//                                     holds (control_contents.h)
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel {

// A script that cannot be read: the message names the line.
class EScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TScriptVerb {
    AnswerBox,
    AnswerOpen,
    AnswerOpenCancel,
    AnswerSave,
    AnswerSaveCancel,
    AnswerFolder,
    AnswerFolderCancel,
    AnswerColour,
    AnswerColourCancel,
    Click,
    Set,
    Check,
    CheckNode,
    CheckRow,
    Key,
    Popup,
    Choose,
    Close,
    Status,
    Advance,
    WaitPage,
    WaitActivations,
    WaitFile,
    WaitExit,
    ExpectPage,
    ExpectCaption,
    ExpectTitle,
    ExpectActivations,
    ExpectDialog,
    Touch,
    Shot,
    Dump,
};

struct TScriptStep {
    int Line = 0;                      // in the script text, from 1
    TScriptVerb Verb = TScriptVerb::Close;
    std::vector<std::string> Args;     // the words after the verb (after "answer box" etc.)
    std::int64_t Number = 0;           // the step's number: page, count, ms, a status's state, a colour, a key
    std::int64_t Value = 0;            // a status's value (percent or error code), a key's modifiers
    std::int64_t LimitMs = 0;          // wait steps: how long they may wait
};

// How long a wait step waits when the script gives no limit.
constexpr std::int64_t DEFAULT_WAIT_MS = 10000;

// The steps of a script text; EScriptError for an unknown step, a missing
// or surplus word, a number that is none, an unclosed quote.
std::vector<TScriptStep> ParseRunScript(const std::string& Text);
// The same from a file; EScriptError also when it cannot be read.
std::vector<TScriptStep> LoadRunScript(const std::string& FileName);

// The virtual key of a key step's name (without modifiers); 0 for a name
// it does not know.
std::uint16_t ScriptKeyCode(const std::string& Name);

// A key step's word: the key and its modifiers (the host's ModShift,
// ModControl, ModAlt); a key of 0 for a word it does not know.
struct TScriptKey {
    std::uint16_t Key = 0;
    std::uint8_t Modifiers = 0;
};
TScriptKey ScriptKeyOf(const std::string& Word);

// The words of one line (quotes removed); EScriptError (without line) for
// an unclosed quote.
std::vector<std::string> SplitScriptWords(const std::string& Line);

} // namespace qel
