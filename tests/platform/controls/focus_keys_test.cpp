// Focus and keys: the order of focus messages and events, refused focus,
// Tab in tab order unless the control wants tabs, default and cancel
// buttons, Alt with a letter, the messages of one key, and the key state.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace plat::test {
namespace {

constexpr UINT EventEnter = 0xFFFF0001;
constexpr UINT EventExit = 0xFFFF0002;

using TFocusKeysTest = TControlsTest;

TEST_F(TFocusKeysTest, SetFocusSendsKillFocusThenSetFocusThenExitAndEnter)
{
    TForm* form = NewForm("Form1");
    TSpyControl* first = NewSpy(form, "First", Rect(10, 10, 100, 40));
    TSpyControl* second = NewSpy(form, "Second", Rect(10, 50, 100, 80));
    Pump();
    first->SetFocus();
    Pump();
    ASSERT_TRUE(first->Focused());
    Log.clear();
    second->SetFocus();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(Sequence({WM_KILLFOCUS, WM_SETFOCUS, EventExit, EventEnter}),
              (std::vector<std::string>{"First:WM_KILLFOCUS", "Second:WM_SETFOCUS", "First:OnExit", "Second:OnEnter"}));
    EXPECT_EQ(static_cast<HWND>(first->Last(WM_KILLFOCUS)->WParam), second->Handle());
    EXPECT_EQ(static_cast<HWND>(second->Last(WM_SETFOCUS)->WParam), first->Handle());
    EXPECT_EQ(form->ActiveControl(), second);
}

TEST_F(TFocusKeysTest, FocusingAHiddenOrDisabledControlRaises)
{
    TForm* form = NewForm("Form1");
    TSpyControl* hidden = NewSpy(form, "Hidden", Rect(10, 10, 100, 40));
    TSpyControl* disabled = NewSpy(form, "Disabled", Rect(10, 50, 100, 80));
    TSpyControl* panel = NewSpy(form, "Panel", Rect(120, 10, 300, 200));
    TSpyControl* inside = NewSpy(panel, "Inside", Rect(10, 10, 50, 50));
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    panel->SetEnabled(false);
    Pump();
    for (TSpyControl* spy : {hidden, disabled, inside}) {
        EXPECT_FALSE(spy->CanFocus()) << spy->Name();
        EXPECT_THROW(spy->SetFocus(), EInvalidOperation) << spy->Name();
        EXPECT_FALSE(spy->Focused()) << spy->Name();
    }
}

TEST_F(TFocusKeysTest, TabFollowsTabOrderUnlessTheControlWantsTabs)
{
    TForm* form = NewForm("Form1");
    TSpyControl* a = NewSpy(form, "A", Rect(10, 10, 100, 40));
    TSpyControl* b = NewSpy(form, "B", Rect(10, 50, 100, 80));
    TSpyControl* c = NewSpy(form, "C", Rect(10, 90, 100, 120));
    TSpyControl* skipped = NewSpy(form, "Skipped", Rect(10, 130, 100, 160));
    skipped->SetTabStop(false);
    c->SetTabOrder(0);
    a->SetTabOrder(1);
    b->SetTabOrder(2);
    Pump();
    c->SetFocus();
    Pump();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        Host.Key(VK_TAB);
        Pump();
        visited.push_back(form->ActiveControl()->Name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"A", "B", "C", "A"}));
    Host.Key(VK_TAB, ModShift);
    Pump();
    EXPECT_EQ(form->ActiveControl(), c) << "Shift+Tab goes back";

    // A control that asks for tabs keeps the focus and sees the key.
    c->DialogCode = DLGC_WANTTAB;
    Log.clear();
    Host.Key(VK_TAB);
    Pump();
    EXPECT_EQ(form->ActiveControl(), c);
    EXPECT_EQ(Sequence({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (std::vector<std::string>{"C:WM_KEYDOWN", "C:WM_CHAR", "C:WM_KEYUP"}));
    EXPECT_EQ(c->Last(WM_CHAR)->WParam, 9u);
}

// WM_NEXTDLGCTL moves the focus as a dialog does: to the next or previous
// tab stop, or, with lParam's low word set, to the window wParam names.
TEST_F(TFocusKeysTest, NextDialogControlMovesTheFocus)
{
    TForm* form = NewForm("Form1");
    TSpyControl* a = NewSpy(form, "A", Rect(10, 10, 100, 40));
    TSpyControl* b = NewSpy(form, "B", Rect(10, 50, 100, 80));
    TSpyControl* c = NewSpy(form, "C", Rect(10, 90, 100, 120));
    Pump();
    a->SetFocus();
    Pump();
    const struct {
        WPARAM WParam;
        LPARAM LParam;
        TSpyControl* Focused;
    } steps[] = {{0, 0, b}, {0, 0, c}, {0, 0, a}, {1, 0, c}, {static_cast<WPARAM>(b->Handle()), 1, b}};
    for (const auto& step : steps) {
        SendMessage(form->Handle(), WM_NEXTDLGCTL, step.WParam, step.LParam);
        Pump();
        EXPECT_EQ(form->ActiveControl(), step.Focused) << step.Focused->Name();
    }
}

TEST_F(TFocusKeysTest, EnterAndEscapePressTheDefaultAndCancelButtons)
{
    TForm* form = NewForm("Form1");
    TSpyControl* field = NewSpy(form, "Field", Rect(10, 10, 100, 40));
    auto* ok = new TTestButton(form);
    ok->SetParent(form);
    ok->Default = true;
    auto* cancel = new TTestButton(form);
    cancel->SetParent(form);
    cancel->SetLeft(100);
    cancel->Cancel = true;
    Pump();
    field->SetFocus();
    Pump();
    Host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(ok->Clicks, 1);
    EXPECT_EQ(cancel->Clicks, 0);
    Host.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(cancel->Clicks, 1);
    EXPECT_EQ(field->Count(WM_CHAR), 0) << "dialog keys do not reach the field";

    // A field that wants Enter keeps it.
    field->DialogCode = DLGC_WANTALLKEYS;
    Host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(ok->Clicks, 1);
    EXPECT_EQ(field->Last(WM_CHAR)->WParam, 13u);
}

TEST_F(TFocusKeysTest, AltWithALetterGoesThroughDialogChar)
{
    TForm* form = NewForm("Form1");
    TSpyControl* field = NewSpy(form, "Field", Rect(10, 10, 100, 40));
    auto* exitButton = new TTestButton(form);
    exitButton->SetParent(form);
    exitButton->SetCaption("E&xit");
    Pump();
    field->SetFocus();
    Pump();
    Log.clear();
    const int beeps = Host.BeepCount();
    Host.Key('X', ModAlt);
    Pump();
    EXPECT_EQ(exitButton->Clicks, 1);
    const TSeen* dialogChar = field->Last(CM_DIALOGCHAR);
    ASSERT_NE(dialogChar, nullptr) << "the form broadcasts CM_DIALOGCHAR to its controls";
    EXPECT_EQ(dialogChar->WParam, static_cast<WPARAM>('x'));
    EXPECT_NE(static_cast<std::uint32_t>(dialogChar->LParam) & KEYDATA_ALTDOWN, 0u) << "key data bit 29";
    EXPECT_EQ(Host.BeepCount(), beeps);
    // A letter no control takes beeps.
    Host.Key('Q', ModAlt);
    Pump();
    EXPECT_EQ(Host.BeepCount(), beeps + 1);
    EXPECT_EQ(exitButton->Clicks, 1);
}

TEST_F(TFocusKeysTest, AKeyGivesKeyDownCharKeyUpAndWithAltTheSystemKeys)
{
    TForm* form = NewForm("Form1");
    TSpyControl* field = NewSpy(form, "Field", Rect(10, 10, 100, 40));
    Pump();
    field->SetFocus();
    Pump();
    Log.clear();
    Host.TypeText("a");
    Pump();
    EXPECT_EQ(Sequence({WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}),
              (std::vector<std::string>{"Field:WM_KEYDOWN", "Field:WM_CHAR", "Field:WM_KEYUP"}));
    EXPECT_EQ(field->Last(WM_KEYDOWN)->WParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(field->Last(WM_CHAR)->WParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(static_cast<std::uint32_t>(field->Last(WM_KEYDOWN)->LParam) & KEYDATA_ALTDOWN, 0u);
    EXPECT_NE(static_cast<std::uint32_t>(field->Last(WM_KEYUP)->LParam) & KEYDATA_RELEASED, 0u);

    Log.clear();
    Host.Key('D', ModAlt);
    Pump();
    EXPECT_EQ(Sequence({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}),
              (std::vector<std::string>{"Field:WM_SYSKEYDOWN", "Field:WM_SYSKEYDOWN", "Field:WM_SYSCHAR",
                                        "Field:WM_SYSKEYUP", "Field:WM_SYSKEYUP"}));
    for (const TSeen& seen : Log) {
        if (seen.Msg == WM_SYSKEYDOWN && seen.WParam == 'D') {
            EXPECT_NE(static_cast<std::uint32_t>(seen.LParam) & KEYDATA_ALTDOWN, 0u) << "key data bit 29";
        }
    }
    // Text beyond ASCII arrives as UTF-16 units.
    Log.clear();
    Host.TypeText("ä€😀");
    Pump();
    std::vector<WPARAM> units;
    for (const TSeen& seen : Log) {
        if (seen.Who == "Field" && seen.Msg == WM_CHAR) {
            units.push_back(seen.WParam);
        }
    }
    EXPECT_EQ(units, (std::vector<WPARAM>{0xE4, 0x20AC, 0xD83D, 0xDE00}));
}

TEST_F(TFocusKeysTest, TheInputStateKeepsKeyBitsAndSwappedButtons)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 40));
    Pump();
    spy->SetFocus();
    Host.KeyDown(VK_SHIFT);
    Pump();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0) << "down";
    EXPECT_TRUE(GetShiftState().Contains(ssShift));
    Host.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    // Caps Lock toggles with each press.
    const int toggled = GetKeyState(VK_CAPITAL) & KEYSTATE_TOGGLED;
    Host.Key(VK_CAPITAL);
    Pump();
    EXPECT_NE(GetKeyState(VK_CAPITAL) & KEYSTATE_TOGGLED, toggled);

    // With swapped buttons the physical left button is the program's right one.
    EXPECT_FALSE(SwapMouseButton(true));
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 1);
    Log.clear();
    const TPoint point = Host.PointOf("Spy");
    Host.MouseMove(point);
    Host.MouseDown(point, THostButton::Left);
    Pump();
    EXPECT_EQ(spy->Count(WM_RBUTTONDOWN), 1);
    EXPECT_EQ(spy->Count(WM_LBUTTONDOWN), 0);
    EXPECT_LT(GetKeyState(VK_RBUTTON), 0) << "the logical button";
    EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0) << "the physical button";
    EXPECT_EQ(static_cast<std::uint32_t>(spy->Last(WM_RBUTTONDOWN)->WParam) & MK_RBUTTON, MK_RBUTTON);
    Host.MouseUp(point, THostButton::Left);
    Pump();
    EXPECT_TRUE(SwapMouseButton(false));
    EXPECT_GE(GetKeyState(VK_RBUTTON), 0);
}

TEST_F(TFocusKeysTest, KeyPreviewFormsSeeKeysFirstAndMaySwallowThem)
{
    TForm* form = NewForm("Form1");
    TSpyControl* field = NewSpy(form, "Field", Rect(10, 10, 100, 40));
    Pump();
    field->SetFocus();
    form->SetKeyPreview(true);
    std::vector<std::uint16_t> previewed;
    form->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        previewed.push_back(key);
        if (key == 'B') {
            key = 0;
        }
    };
    int fieldKeys = 0;
    field->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++fieldKeys; };
    Host.TypeText("ab");
    Pump();
    EXPECT_EQ(previewed, (std::vector<std::uint16_t>{'A', 'B'}));
    EXPECT_EQ(fieldKeys, 1) << "the swallowed key never reaches the field";
}

} // namespace
} // namespace plat::test
