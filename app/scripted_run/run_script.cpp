// The script of a scripted run.
#include "app/scripted_run/run_script.h"

#include "card/thread_status.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace qel {
namespace {

// A path of captions has no fixed length.
constexpr int MANY_WORDS = 1000;

// The steps by their words, with how many words may follow them.
struct TStepForm {
    TScriptVerb Verb;
    int MinArgs;
    int MaxArgs;
};

const std::map<std::string, TStepForm>& StepForms()
{
    static const std::map<std::string, TStepForm> forms = {
        {"answer box", {TScriptVerb::AnswerBox, 1, 2}},
        {"answer open", {TScriptVerb::AnswerOpen, 1, 1}},
        {"answer open-cancel", {TScriptVerb::AnswerOpenCancel, 0, 0}},
        {"answer save", {TScriptVerb::AnswerSave, 1, 1}},
        {"answer save-cancel", {TScriptVerb::AnswerSaveCancel, 0, 0}},
        {"answer folder", {TScriptVerb::AnswerFolder, 1, 1}},
        {"answer folder-cancel", {TScriptVerb::AnswerFolderCancel, 0, 0}},
        {"answer colour", {TScriptVerb::AnswerColour, 1, 1}},
        {"answer colour-cancel", {TScriptVerb::AnswerColourCancel, 0, 0}},
        {"click", {TScriptVerb::Click, 1, 1}},
        {"set", {TScriptVerb::Set, 2, 2}},
        {"check", {TScriptVerb::Check, 2, 2}},
        {"check node", {TScriptVerb::CheckNode, 3, MANY_WORDS}},
        {"check row", {TScriptVerb::CheckRow, 3, 3}},
        {"key", {TScriptVerb::Key, 1, 1}},
        {"popup", {TScriptVerb::Popup, 1, 2}},
        {"choose", {TScriptVerb::Choose, 1, 1}},
        {"close", {TScriptVerb::Close, 0, 0}},
        {"status", {TScriptVerb::Status, 2, 3}},
        {"advance", {TScriptVerb::Advance, 1, 1}},
        {"wait page", {TScriptVerb::WaitPage, 1, 2}},
        {"wait activations", {TScriptVerb::WaitActivations, 1, 2}},
        {"wait file", {TScriptVerb::WaitFile, 1, 2}},
        {"wait exit", {TScriptVerb::WaitExit, 0, 1}},
        {"expect page", {TScriptVerb::ExpectPage, 1, 1}},
        {"expect caption", {TScriptVerb::ExpectCaption, 1, 1}},
        {"expect title", {TScriptVerb::ExpectTitle, 1, 1}},
        {"expect activations", {TScriptVerb::ExpectActivations, 1, 1}},
        {"expect dialog", {TScriptVerb::ExpectDialog, 1, 2}},
        {"touch", {TScriptVerb::Touch, 1, 1}},
        {"shot", {TScriptVerb::Shot, 1, 1}},
        {"dump", {TScriptVerb::Dump, 1, 1}},
    };
    return forms;
}

[[noreturn]] void Fail(int Line, const std::string& Message)
{
    throw EScriptError("line " + std::to_string(Line) + ": " + Message);
}

std::int64_t NumberOf(int Line, const std::string& Word)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(Word.data(), Word.data() + Word.size(), value);
    if (error != std::errc() || end != Word.data() + Word.size()) {
        Fail(Line, "\"" + Word + "\" is not a whole number");
    }
    return value;
}

// A colour word: 0x and up to six hexadecimal digits, or a decimal number,
// either within 0 .. 0xFFFFFF.
std::int64_t ColourOf(int Line, const std::string& Word)
{
    std::int64_t value = 0;
    if (Word.size() > 2 && Word[0] == '0' && (Word[1] == 'x' || Word[1] == 'X')) {
        const auto [end, error] = std::from_chars(Word.data() + 2, Word.data() + Word.size(), value, 16);
        if (error != std::errc() || end != Word.data() + Word.size()) {
            Fail(Line, "\"" + Word + "\" is not a hexadecimal colour");
        }
    } else {
        value = NumberOf(Line, Word);
    }
    if (value < 0 || value > 0xFFFFFF) {
        Fail(Line, "the colour \"" + Word + "\" lies outside 0 .. 0xFFFFFF");
    }
    return value;
}

std::int64_t StatusStateOf(int Line, const std::string& Word)
{
    static const std::map<std::string, std::int64_t> states = {
        {"started", THREAD_STARTED}, {"finished", THREAD_FINISHED}, {"failed", THREAD_FAILED},
        {"progress", THREAD_PROGRESS}, {"saved", THREAD_SAVED},
    };
    const auto found = states.find(Word);
    return found != states.end() ? found->second : NumberOf(Line, Word);
}

// The numbers a step carries, taken from its words.
void TakeNumbers(TScriptStep& Step)
{
    const auto& args = Step.Args;
    switch (Step.Verb) {
    case TScriptVerb::Advance:
    case TScriptVerb::ExpectPage:
    case TScriptVerb::ExpectActivations:
        Step.Number = NumberOf(Step.Line, args[0]);
        break;
    case TScriptVerb::WaitPage:
    case TScriptVerb::WaitActivations:
        Step.Number = NumberOf(Step.Line, args[0]);
        Step.LimitMs = args.size() > 1 ? NumberOf(Step.Line, args[1]) : DEFAULT_WAIT_MS;
        break;
    case TScriptVerb::WaitFile:
        Step.LimitMs = args.size() > 1 ? NumberOf(Step.Line, args[1]) : DEFAULT_WAIT_MS;
        break;
    case TScriptVerb::WaitExit:
        Step.LimitMs = !args.empty() ? NumberOf(Step.Line, args[0]) : DEFAULT_WAIT_MS;
        break;
    case TScriptVerb::Status:
        if (args[0] != "dir" && args[0] != "data" && args[0] != "save") {
            Fail(Step.Line, "a status is one of dir, data or save, not \"" + args[0] + "\"");
        }
        Step.Number = StatusStateOf(Step.Line, args[1]);
        Step.Value = args.size() > 2 ? NumberOf(Step.Line, args[2]) : 0;
        break;
    case TScriptVerb::Check:
    case TScriptVerb::CheckNode:
    case TScriptVerb::CheckRow:
        if (args[1] != "on" && args[1] != "off") {
            Fail(Step.Line, "check takes on or off, not \"" + args[1] + "\"");
        }
        break;
    case TScriptVerb::Key: {
        const TScriptKey key = ScriptKeyOf(args[0]);
        if (key.Key == 0) {
            Fail(Step.Line, "no key is named \"" + args[0] + "\"");
        }
        Step.Number = key.Key;
        Step.Value = key.Modifiers;
        break;
    }
    case TScriptVerb::Popup:
        if (args.size() > 1 && args[1] != "click" && args[1] != "key") {
            Fail(Step.Line, "a pop-up menu opens by click or key, not \"" + args[1] + "\"");
        }
        break;
    case TScriptVerb::ExpectDialog:
        if (args[0] != "box" && args[0] != "open" && args[0] != "save" && args[0] != "folder" && args[0] != "colour") {
            Fail(Step.Line, "a dialog is one of box, open, save, folder or colour, not \"" + args[0] + "\"");
        }
        break;
    case TScriptVerb::AnswerColour:
        Step.Number = ColourOf(Step.Line, args[0]);
        break;
    default:
        break;
    }
}

TScriptStep ParseLine(int Line, const std::vector<std::string>& Words)
{
    // Verbs of two words first ("answer box"), then of one.
    for (std::size_t verbWords : {std::size_t{2}, std::size_t{1}}) {
        if (Words.size() < verbWords) {
            continue;
        }
        std::string verb = Words[0];
        for (std::size_t i = 1; i < verbWords; ++i) {
            verb += " " + Words[i];
        }
        const auto found = StepForms().find(verb);
        if (found == StepForms().end()) {
            continue;
        }
        const TStepForm& form = found->second;
        TScriptStep step;
        step.Line = Line;
        step.Verb = form.Verb;
        step.Args.assign(Words.begin() + static_cast<std::ptrdiff_t>(verbWords), Words.end());
        const int count = static_cast<int>(step.Args.size());
        if (count < form.MinArgs || count > form.MaxArgs) {
            const std::string most = form.MaxArgs == MANY_WORDS ? " or more"
                                     : form.MaxArgs != form.MinArgs ? " to " + std::to_string(form.MaxArgs)
                                                                    : std::string();
            Fail(Line, "\"" + verb + "\" takes " + std::to_string(form.MinArgs) + most + " words, not " +
                           std::to_string(count));
        }
        TakeNumbers(step);
        return step;
    }
    Fail(Line, "unknown step \"" + Words[0] + "\"");
}

} // namespace

std::uint16_t ScriptKeyCode(const std::string& Name)
{
    static const std::map<std::string, std::uint16_t> keys = {
        {"space", plat::VK_SPACE},   {"enter", plat::VK_RETURN}, {"escape", plat::VK_ESCAPE},
        {"tab", plat::VK_TAB},       {"backspace", plat::VK_BACK}, {"delete", plat::VK_DELETE},
        {"insert", plat::VK_INSERT}, {"up", plat::VK_UP},         {"down", plat::VK_DOWN},
        {"left", plat::VK_LEFT},     {"right", plat::VK_RIGHT},   {"home", plat::VK_HOME},
        {"end", plat::VK_END},       {"pageup", plat::VK_PRIOR},  {"pagedown", plat::VK_NEXT},
        {"menu", plat::VK_APPS},
    };
    const auto found = keys.find(Name);
    if (found != keys.end()) {
        return found->second;
    }
    // Letters and digits are their own key codes (capitals).
    if (Name.size() == 1 && ((Name[0] >= 'a' && Name[0] <= 'z') || (Name[0] >= '0' && Name[0] <= '9'))) {
        return static_cast<std::uint16_t>(Name[0] >= 'a' ? Name[0] - 'a' + 'A' : Name[0]);
    }
    if (Name.size() >= 2 && Name.size() <= 3 && Name[0] == 'f') {
        const int number = std::atoi(Name.c_str() + 1);
        if (number >= 1 && number <= 12 && std::to_string(number) == Name.substr(1)) {
            return static_cast<std::uint16_t>(plat::VK_F1 + number - 1);
        }
    }
    return 0;
}

TScriptKey ScriptKeyOf(const std::string& Word)
{
    static const std::map<std::string, std::uint8_t> modifiers = {
        {"shift", plat::ModShift}, {"ctrl", plat::ModControl}, {"alt", plat::ModAlt}};
    TScriptKey key;
    std::size_t from = 0;
    for (std::size_t plus = Word.find('+'); plus != std::string::npos && plus + 1 < Word.size();
         plus = Word.find('+', from)) {
        const auto modifier = modifiers.find(Word.substr(from, plus - from));
        if (modifier == modifiers.end()) {
            return {};
        }
        key.Modifiers |= modifier->second;
        from = plus + 1;
    }
    key.Key = ScriptKeyCode(Word.substr(from));
    return key;
}

std::vector<std::string> SplitScriptWords(const std::string& Line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < Line.size()) {
        if (Line[i] == ' ' || Line[i] == '\t' || Line[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (Line[i] != '"') {
            while (i < Line.size() && Line[i] != ' ' && Line[i] != '\t' && Line[i] != '\r') {
                word += Line[i++];
            }
            words.push_back(word);
            continue;
        }
        ++i;
        bool closed = false;
        while (i < Line.size()) {
            const char c = Line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && i < Line.size() && (Line[i] == '"' || Line[i] == '\\')) {
                word += Line[i++];
                continue;
            }
            word += c;
        }
        if (!closed) {
            throw EScriptError("a quote is not closed");
        }
        words.push_back(word);
    }
    return words;
}

std::vector<TScriptStep> ParseRunScript(const std::string& Text)
{
    std::vector<TScriptStep> steps;
    std::istringstream lines(Text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::vector<std::string> words;
        try {
            words = SplitScriptWords(line);
        } catch (const EScriptError& error) {
            Fail(number, error.what());
        }
        if (words.empty() || words[0].front() == '#') {
            continue;
        }
        steps.push_back(ParseLine(number, words));
    }
    return steps;
}

std::vector<TScriptStep> LoadRunScript(const std::string& FileName)
{
    std::ifstream file(FileName, std::ios::binary);
    if (!file) {
        throw EScriptError("the script " + FileName + " cannot be read");
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseRunScript(text.str());
}

} // namespace qel
