// Tests of the editor's keyboard: key scripts typed on the headless host
// through the controller's command tables (read-only rules, caret moves,
// tabs, overwrite, markers, indentation), the commands that fire OnChange,
// and the codes the editor leaves to others.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/pgc_command_codes.h"

#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"

#include <set>

namespace qel::test {
namespace {

using plat::ModAlt;
using plat::ModControl;
using plat::ModShift;

// One step of a script: a key with modifiers, typed text, or a command
// handed to ProcessCommand directly (for commands no default key reaches).
struct TStep {
    enum { Key, Text, Command } Kind;
    int Value = 0;
    std::uint8_t Mods = 0;
    std::string Typed;
};

TStep Press(int Key, std::uint8_t Mods = 0)
{
    return {TStep::Key, Key, Mods, {}};
}

TStep Type(const std::string& Text)
{
    return {TStep::Text, 0, 0, Text};
}

TStep Command(int Code)
{
    return {TStep::Command, Code, 0, {}};
}

struct TKeyCase {
    const char* Name;
    std::vector<std::string> Lines;
    bool ReadOnly;
    std::pair<int, int> Start;
    std::function<void(TPgcEditor&)> Setup;
    std::vector<TStep> Steps;
    std::vector<std::string> Expected;     // the paragraphs after the script
    std::pair<int, int> Caret;             // line and column after it
    int Changes;                           // OnChange calls
};

class TEditorKeysTest : public TEditorTest {
protected:
    void Run(const TKeyCase& Case)
    {
        SCOPED_TRACE(Case.Name);
        Editor->Clear();
        Editor->SetReadOnly(false);
        Editor->SetAutoIndent(false);
        Editor->SetTabType(ttReal);
        Editor->SetWantTab(true);
        Editor->SetWordWrap(false);
        std::string text;
        for (std::size_t i = 0; i < Case.Lines.size(); ++i) {
            text += (i == 0 ? "" : "\r\n") + Case.Lines[i];
        }
        Editor->SetText(text);
        Editor->SetReadOnly(Case.ReadOnly);
        if (Case.Setup) {
            Case.Setup(*Editor);
        }
        Editor->SetCaretPosition(Case.Start.first, Case.Start.second);
        Focus();
        Editor->SetInsertMode(true);
        int changes = 0;
        Editor->OnChange = [&changes](plat::TObject*) { ++changes; };
        for (const TStep& step : Case.Steps) {
            switch (step.Kind) {
            case TStep::Key:
                Host.Key(static_cast<plat::TVirtualKey>(step.Value), step.Mods);
                break;
            case TStep::Text:
                Host.TypeText(step.Typed);
                break;
            case TStep::Command:
                Editor->ProcessCommand(static_cast<std::uint16_t>(step.Value), 0);
                break;
            }
            Pump();
        }
        Editor->OnChange = nullptr;
        EXPECT_EQ(Paras(), Case.Expected);
        EXPECT_EQ(Caret(), Case.Caret);
        EXPECT_EQ(changes, Case.Changes);
    }
};

const std::string Long40(40, 'x');

TEST_F(TEditorKeysTest, ScriptsOfKeys)
{
    const auto fixedTabs = [](TPgcEditor& E) { E.SetTabType(ttFixed); };
    const auto autoIndent = [](TPgcEditor& E) { E.SetAutoIndent(true); };
    const auto smartTabs = [](TPgcEditor& E) { E.SetTabType(ttSmart); };
    const auto wrapAt10 = [](TPgcEditor& E) {
        E.SetWordWrap(true);
        E.SetWrapColumn(10);
    };
    const std::vector<TKeyCase> cases = {
        {"read-only typing", {"abc", "de"}, true, {1, 2}, {}, {Type("xy")}, {"abc", "de"}, {1, 2}, 2},
        {"read-only Tab", {"abc", "de"}, true, {1, 2}, {}, {Press(plat::VK_TAB)}, {"abc", "de"}, {1, 2}, 1},
        {"read-only Delete", {"abc", "de"}, true, {1, 2}, {}, {Press(plat::VK_DELETE)}, {"abc", "de"}, {1, 2}, 1},
        {"read-only line delete", {"abc", "de"}, true, {1, 2}, {}, {Command(ccDelLine)}, {"abc", "de"}, {1, 2}, 1},
        {"read-only paste", {"abc", "de"}, true, {1, 2}, [](TPgcEditor&) { SetClipboardUnits(u"zz"); },
            {Press('V', ModControl)}, {"abc", "de"}, {1, 2}, 1},
        {"read-only Backspace moves left", {"abc", "de"}, true, {1, 3}, {}, {Press(plat::VK_BACK)}, {"abc", "de"},
            {1, 2}, 1},
        {"read-only Enter moves down", {"abc", "de"}, true, {1, 2}, {}, {Press(plat::VK_RETURN)}, {"abc", "de"},
            {2, 1}, 0},
        {"Down on the last line", {"abc", "de"}, false, {2, 2}, {}, {Press(plat::VK_DOWN), Press(plat::VK_NEXT)},
            {"abc", "de"}, {2, 2}, 0},
        {"column 30 onto a short line and on", {Long40, "abcde", Long40}, false, {1, 30}, {},
            {Press(plat::VK_DOWN)}, {Long40, "abcde", Long40}, {2, 6}, 0},
        {"short line keeps no wanted column", {Long40, "abcde", Long40}, false, {1, 30}, {},
            {Press(plat::VK_DOWN), Press(plat::VK_DOWN)}, {Long40, "abcde", Long40}, {3, 6}, 0},
        {"fixed tab at column 3", {"abcd"}, false, {1, 3}, fixedTabs, {Press(plat::VK_TAB)}, {"ab      cd"},
            {1, 9}, 1},
        {"fixed tab at column 9", {"abcdefghij"}, false, {1, 9}, fixedTabs, {Press(plat::VK_TAB)},
            {"abcdefgh        ij"}, {1, 17}, 1},
        {"overwrite the last unit, then past the end", {"abc", "d"}, false, {1, 3}, {},
            {Press(plat::VK_INSERT), Type("xy")}, {"abx" "y", "d"}, {1, 5}, 2},
        {"insert mode inserts", {"abc"}, false, {1, 2}, {}, {Type("xy")}, {"axybc"}, {1, 4}, 2},
        {"set and go to marker 5", {"abc", "defg"}, false, {2, 3}, {},
            {Press('5', ModControl | ModShift), Press(plat::VK_HOME, ModControl), Press('5', ModControl)},
            {"abc", "defg"}, {2, 3}, 0},
        {"an unset marker is ignored", {"abc", "defg"}, false, {2, 3}, {}, {Press('7', ModControl)},
            {"abc", "defg"}, {2, 3}, 0},
        {"Enter with AutoIndent", {"    abc"}, false, {1, 7}, autoIndent, {Press(plat::VK_RETURN)},
            {"    ab", "    c"}, {2, 5}, 1},
        {"Enter without AutoIndent", {"    abc"}, false, {1, 7}, {}, {Press(plat::VK_RETURN)}, {"    ab", "c"},
            {2, 1}, 1},
        {"Enter in overwrite mode only moves", {"abc", "de"}, false, {1, 2}, {},
            {Press(plat::VK_INSERT), Press(plat::VK_RETURN)}, {"abc", "de"}, {2, 1}, 0},
        {"Alt+Backspace is inert", {"abc"}, false, {1, 3}, {}, {Press(plat::VK_BACK, ModAlt)}, {"abc"}, {1, 3}, 0},
        {"Backspace joins paragraphs", {"abc", "de"}, false, {2, 1}, {}, {Press(plat::VK_BACK)}, {"abcde"},
            {1, 4}, 1},
        {"Delete at a paragraph's end joins", {"abc", "de"}, false, {1, 4}, {}, {Press(plat::VK_DELETE)},
            {"abcde"}, {1, 4}, 1},
        {"Shift+End then typing replaces", {"abc def"}, false, {1, 5}, {},
            {Press(plat::VK_END, ModShift), Type("X")}, {"abc X"}, {1, 6}, 1},
        {"word moves", {"one two, three"}, false, {1, 1}, {},
            {Press(plat::VK_RIGHT, ModControl), Press(plat::VK_RIGHT, ModControl)}, {"one two, three"}, {1, 10}, 0},
        {"word left", {"one two, three"}, false, {1, 13}, {},
            {Press(plat::VK_LEFT, ModControl), Press(plat::VK_LEFT, ModControl)}, {"one two, three"}, {1, 5}, 0},
        {"delete word", {"one two three"}, false, {1, 5}, {}, {Command(ccDelWord)}, {"one three"}, {1, 5}, 1},
        {"typing wraps onto the next display line", {""}, false, {1, 1}, wrapAt10, {Type("aaaa bbbb cccc")},
            {"aaaa bbbb cccc"}, {2, 5}, 14},
        {"Left at a wrapped line's start goes up", {"aaaa bbbb cccc"}, false, {2, 1}, wrapAt10,
            {Press(plat::VK_LEFT), Press(plat::VK_LEFT)}, {"aaaa bbbb cccc"}, {1, 9}, 0},
        {"smart tab to the next word start above", {"abc   defg", "x"}, false, {2, 2}, smartTabs,
            {Press(plat::VK_TAB)}, {"abc   defg", "x     "}, {2, 7}, 1},
        {"smart tab looks below an empty line above", {"", "x", "  y"}, false, {2, 1}, smartTabs,
            {Press(plat::VK_TAB)}, {"", "  x", "  y"}, {2, 3}, 1},
        {"smart tab without a stop is a fixed tab", {"ab", "x"}, false, {2, 2}, smartTabs, {Press(plat::VK_TAB)},
            {"ab", "x       "}, {2, 9}, 1},
        {"line delete on the last line", {"ab", "cd"}, false, {2, 2}, {}, {Command(ccDelLine)}, {"ab", ""}, {2, 1},
            1},
        {"line delete on an empty last line", {"ab", ""}, false, {2, 1}, {}, {Command(ccDelLine)}, {"ab", ""},
            {2, 1}, 1},
        {"line delete joins the next line up", {"ab", "cd", "ef"}, false, {1, 2}, {}, {Command(ccDelLine)},
            {"cd", "ef"}, {1, 1}, 1},
        {"delete to the line's end and start", {"one two three"}, false, {1, 5}, {},
            {Command(ccDelEol), Command(ccDelBol)}, {""}, {1, 1}, 2},
    };
    for (const TKeyCase& one : cases) {
        Run(one);
    }
}

// Every code below 256 through ProcessCommand: which ones the editor takes
// and after which OnChange fires (on a read-only editor, so nothing moves
// the text under the loop).
TEST_F(TEditorKeysTest, HandledCodesAndOnChange)
{
    Editor->SetText("abc\r\ndef");
    Editor->SetReadOnly(true);
    const std::set<int> unhandled = {0, 3, 4, 5, 9, 43, 49, 50, 54, 69, 70};
    const std::set<int> changing = {1, 8, 10, 11, 12, 13, 14, 51, 53, 68, 72, 249};
    int changes = 0;
    Editor->OnChange = [&changes](plat::TObject*) { ++changes; };
    for (int code = 0; code < 256; ++code) {
        if (code >= 76 && code != 249) {
            EXPECT_FALSE(Editor->ProcessCommand(static_cast<std::uint16_t>(code), '1')) << code;
            continue;
        }
        const int before = changes;
        const bool handled = Editor->ProcessCommand(static_cast<std::uint16_t>(code), '1');
        EXPECT_EQ(handled, !unhandled.contains(code)) << code;
        EXPECT_EQ(changes - before, changing.contains(code) ? 1 : 0) << code;
    }
    EXPECT_EQ(Paras(), (std::vector<std::string>{"abc", "def"}));

    std::vector<std::uint16_t> user;
    Editor->OnUserCommand = [&user](plat::TObject*, std::uint16_t Command) { user.push_back(Command); };
    EXPECT_TRUE(Editor->ProcessCommand(256, 0));
    EXPECT_TRUE(Editor->ProcessCommand(4000, 0));
    EXPECT_EQ(user, (std::vector<std::uint16_t>{256, 4000}));
}

// Marker commands take their number from a digit key only.
TEST_F(TEditorKeysTest, MarkerCommandsTakeDigitKeysOnly)
{
    Editor->SetText("abc\r\ndef");
    Editor->SetCaretPosition(2, 2);
    for (const std::uint16_t key : {std::uint16_t{'A'}, std::uint16_t{'0' + 10}, std::uint16_t{'0' - 1},
             std::uint16_t{0}, std::uint16_t{0xFFFF}}) {
        EXPECT_FALSE(Editor->ProcessCommand(ccSetMarker0 + 3, key)) << key;
        EXPECT_FALSE(Editor->ProcessCommand(ccGotoMarker0 + 3, key)) << key;
    }
    int col = 0;
    for (std::uint8_t marker = 0; marker < 10; ++marker) {
        EXPECT_EQ(Editor->GetMarkerPosition(marker, col), -1) << int{marker};
    }
    EXPECT_TRUE(Editor->ProcessCommand(ccSetMarker0 + 9, '9'));
    EXPECT_EQ(Editor->GetMarkerPosition(9, col), 2);
    EXPECT_EQ(col, 2);
}

// The dialog keys the editor asks for: arrows, all keys and characters, and
// Tab only with WantTab.
TEST_F(TEditorKeysTest, DialogCodes)
{
    for (const bool wantTab : {false, true}) {
        Editor->SetWantTab(wantTab);
        const auto answer = static_cast<plat::LRESULT>(Editor->Perform(plat::WM_GETDLGCODE, 0, 0));
        const plat::LRESULT wanted = plat::DLGC_WANTARROWS | plat::DLGC_WANTALLKEYS | plat::DLGC_WANTCHARS;
        EXPECT_EQ(answer & wanted, wanted) << wantTab;
        EXPECT_EQ((answer & plat::DLGC_WANTTAB) != 0, wantTab);
    }
}

// A focused editor whose window is made anew hands the focus to the form's
// next control first and takes it back on its new window.
TEST_F(TEditorKeysTest, RecreatingTheWindowHandsTheFocusOnAndBack)
{
    auto* next = new TPgcEditor(Form);
    next->SetName("Editor2");
    next->SetParent(Form);
    next->SetBounds(10, 220, 100, 40);
    next->SetTabStop(true);
    std::vector<std::string> events;
    next->AfterEnter = [&events](plat::TObject*) { events.push_back("next entered"); };
    next->AfterExit = [&events](plat::TObject*) { events.push_back("next left"); };
    Focus();
    const plat::HWND before = Editor->Handle();
    Editor->SetBorderStyle(TPgcCustomEditor::bsNone);
    Pump();
    EXPECT_NE(Editor->Handle(), before) << "a new window";
    EXPECT_EQ(events, (std::vector<std::string>{"next entered", "next left"}));
    EXPECT_TRUE(Editor->Focused());
}

// PageDown keeps the caret's screen row; on the last page it goes no further.
TEST_F(TEditorKeysTest, PagesKeepTheScreenRow)
{
    std::string text;
    for (int i = 1; i <= 100; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    Editor->SetText(text);
    Focus();
    const int rows = Editor->VisibleRows();
    ASSERT_GT(rows, 3);
    Editor->SetCaretPosition(3, 2);
    Editor->SetTopLine(1);
    Host.Key(plat::VK_NEXT);
    Pump();
    EXPECT_EQ(Caret(), std::make_pair(3 + rows - 1, 2));
    EXPECT_EQ(Editor->TopLine(), rows);
    Host.Key(plat::VK_PRIOR);
    Pump();
    EXPECT_EQ(Caret(), std::make_pair(3, 2));
    EXPECT_EQ(Editor->TopLine(), 1);

    // Ctrl+PageDown goes to the last row, or scrolls a caret out of view there.
    Host.Key(plat::VK_NEXT, ModControl);
    Pump();
    EXPECT_EQ(Caret().first, rows);
    Editor->SetTopLine(50);
    Host.Key(plat::VK_NEXT, ModControl);
    Pump();
    EXPECT_EQ(Editor->TopLine(), 1) << "the caret line stands above row " << rows;
    EXPECT_EQ(Caret().first, rows);
}

} // namespace
} // namespace qel::test
