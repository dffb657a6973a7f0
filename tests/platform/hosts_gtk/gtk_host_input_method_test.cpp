// The GTK host's input method on a real X display (ctest runs this program
// under xvfb-run). A scripted input-method context stands in for the user's
// input method: the test emits its signals as an input method does and
// answers its preedit string. GTK's simple input method then takes real
// key events of a dead key. What reaches the focus window is checked: the
// composition messages in order, the committed text as characters, the
// cursor location the host gives the input method, and a reset that drops
// the input method's own reports.
#include "tests/platform/hosts_gtk/gtk_form_bench.h"
#include "tests/platform/hosts_gtk/scripted_input_method.h"

#include "platform/controls/caret.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/input_method.h"

#include <cstdio>
#include <string>
#include <vector>

namespace plat::test {
namespace {

const TPoint CaretAt = Point(23, 7);
constexpr int CaretHeight = 16;

// One message as the tests compare it.
std::string Described(UINT msg, WPARAM wParam, LPARAM lParam)
{
    char unit[16];
    std::snprintf(unit, sizeof unit, "U+%04X", static_cast<unsigned>(wParam));
    switch (msg) {
    case WM_IME_STARTCOMPOSITION:
        return "start";
    case WM_IME_ENDCOMPOSITION:
        return "end";
    case WM_IME_CHAR:
        return std::string("ime-char ") + unit;
    case WM_CHAR:
        return std::string("char ") + unit;
    default:
        break;
    }
    if (lParam == static_cast<LPARAM>(GCS_COMPSTR | GCS_CURSORPOS)) {
        return std::string("composition ") + unit;
    }
    if (lParam == static_cast<LPARAM>(GCS_RESULTSTR)) {
        return std::string("result ") + unit;
    }
    return wParam == 0 && lParam == 0 ? "composition cleared" : "composition ? " + std::to_string(lParam);
}

// The focus window: notes the input-method and character messages that
// reach it and shows a caret while it has the focus.
class TImeTarget : public TCustomControl {
public:
    explicit TImeTarget(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

    std::vector<std::string> Seen;   // Described(...) of each message, in order

protected:
    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case WM_IME_STARTCOMPOSITION:
        case WM_IME_COMPOSITION:
        case WM_IME_ENDCOMPOSITION:
        case WM_IME_CHAR:
        case WM_CHAR:
            Seen.push_back(Described(message.Msg, message.WParam, message.LParam));
            break;
        case WM_SETFOCUS:
            CreateCaret(Handle(), 1, CaretHeight);
            SetCaretPos(CaretAt.X, CaretAt.Y);
            ShowCaret(Handle());
            break;
        case WM_KILLFOCUS:
            DestroyCaret();
            break;
        default:
            break;
        }
        TCustomControl::WndProc(message);
    }

    void Paint() override
    {
        Canvas()->Brush()->SetColor(clWindow);
        Canvas()->FillRect(ClientRect());
    }
};

std::string Composing(char16_t last) { return Described(WM_IME_COMPOSITION, last, GCS_COMPSTR | GCS_CURSORPOS); }
std::string Result(char16_t last) { return Described(WM_IME_COMPOSITION, last, GCS_RESULTSTR); }
std::string Typed(char16_t unit) { return Described(WM_CHAR, unit, 0); }
const std::string Started = "start";
const std::string Ended = "end";
const std::string Cleared = "composition cleared";

// Each unit of a commit during a composition: WM_IME_CHAR, then WM_CHAR.
std::vector<std::string> ImeTyped(const std::u16string& units)
{
    std::vector<std::string> seen;
    for (const char16_t unit : units) {
        seen.push_back(Described(WM_IME_CHAR, unit, 0));
        seen.push_back(Typed(unit));
    }
    return seen;
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The form with the target focused.
class GtkHostInputMethodTest : public TGtkFormTest {
protected:
    explicit GtkHostInputMethodTest(std::function<GtkIMContext*()> makeIm) : TGtkFormTest(std::move(makeIm))
    {
        Target = new TImeTarget(Form);
        Target->SetBounds(16, 24, 240, 28);
        Target->SetParent(Form);
        Pump();
        Target->SetFocus();
        Pump();
        Target->Seen.clear();
    }

    HIMC Context() { return ImmGetContext(Target->Handle()); }

    TImeTarget* Target = nullptr;
};

class GtkHostScriptedInputMethod : public GtkHostInputMethodTest {
protected:
    GtkHostScriptedInputMethod() : GtkHostInputMethodTest(NewScriptedIm) {}

    TScriptedIm& Scripted() { return ScriptedIm(Im); }
    void Emit(const char* signal) { g_signal_emit_by_name(Im, signal); }
    void Preedit(const char* utf8, int cursorChars) { ScriptPreedit(Im, utf8, cursorChars); }
    void Commit(const char* utf8) { g_signal_emit_by_name(Im, "commit", utf8); }

    // A composition of text has started and shows.
    void StartComposing(const char* utf8)
    {
        Emit("preedit-start");
        Preedit(utf8, static_cast<int>(g_utf8_strlen(utf8, -1)));
        Pump();
        Target->Seen.clear();
    }
};

TEST_F(GtkHostScriptedInputMethod, ACompositionReachesTheFocusWindowAndItsCommitTheCharacters)
{
    ASSERT_NE(Im, nullptr) << "the window took the scripted input method";
    Emit("preedit-start");
    Preedit("ka", 1);
    Pump();
    EXPECT_EQ(Target->Seen, (std::vector<std::string>{Started, Composing(u'a')}));
    EXPECT_EQ(ImmGetCompositionString(Context(), GCS_COMPSTR), u"ka");
    EXPECT_EQ(ImmGetCompositionCursor(Context()), 1);

    // The input method counts its cursor in characters, the program in
    // UTF-16 units: the clef takes two.
    Preedit("k\xF0\x9D\x84\x9E" "a", 2);
    Pump();
    EXPECT_EQ(ImmGetCompositionString(Context(), GCS_COMPSTR), u"k\U0001D11Ea");
    EXPECT_EQ(ImmGetCompositionCursor(Context()), 3);

    // Committed as input methods do: the text, then an empty preedit and
    // the end, which add nothing.
    Target->Seen.clear();
    Commit("\xE3\x81\x8B\xE3\x81\xAA");   // two kana
    Preedit("", 0);
    Emit("preedit-end");
    Pump();
    EXPECT_EQ(Target->Seen, Joined({{Result(u'\u306A')}, ImeTyped(u"\u304B\u306A"), {Ended}}));
    EXPECT_EQ(ImmGetCompositionString(Context(), GCS_RESULTSTR), u"\u304B\u306A");
    EXPECT_EQ(ImmGetCompositionString(Context(), GCS_COMPSTR), u"");
}

TEST_F(GtkHostScriptedInputMethod, AnEndWithoutCommitTypesNothing)
{
    StartComposing("xy");
    Emit("preedit-end");
    Pump();
    EXPECT_EQ(Target->Seen, (std::vector<std::string>{Cleared, Ended}));
}

// A commit outside a composition is typed text, one WM_CHAR a UTF-16 unit.
TEST_F(GtkHostScriptedInputMethod, ACommitWithoutCompositionIsTypedText)
{
    const struct {
        const char* Utf8;
        std::u16string Units;
    } cases[] = {
        {"\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},   // e acute, euro
        {"\xF0\x9D\x84\x9E", u"\U0001D11E"},          // a clef: a surrogate pair
    };
    for (const auto& commit : cases) {
        Target->Seen.clear();
        Commit(commit.Utf8);
        Pump();
        std::vector<std::string> typed;
        for (const char16_t unit : commit.Units) {
            typed.push_back(Typed(unit));
        }
        EXPECT_EQ(Target->Seen, typed) << commit.Utf8;
    }
}

// The host tells the input method where the composition shows, in its
// client window: at the caret, or where the program put the composition
// window; again as the composition changes.
TEST_F(GtkHostScriptedInputMethod, TheInputMethodIsToldWhereTheCompositionShows)
{
    const auto screenPoint = [this] {
        gint x = 0;
        gint y = 0;
        gdk_window_get_origin(Scripted().ClientWindow, &x, &y);
        return Point(x + Scripted().Location.x, y + Scripted().Location.y);
    };
    ASSERT_NE(Scripted().ClientWindow, nullptr) << "the host gave the input method its window";
    Emit("preedit-start");
    ASSERT_EQ(Scripted().LocationsSet, 1);
    EXPECT_EQ(screenPoint(), Target->ClientToScreen(CaretAt)) << "at the caret";
    EXPECT_EQ(Scripted().Location.width, 1);
    EXPECT_EQ(Scripted().Location.height, CaretHeight);

    SetCaretPos(90, 5);
    Preedit("abc", 3);
    EXPECT_EQ(Scripted().LocationsSet, 2);
    EXPECT_EQ(screenPoint(), Target->ClientToScreen(Point(90, 5))) << "follows the caret";

    TCompositionForm form;
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = Point(120, 2);
    ASSERT_TRUE(ImmSetCompositionWindow(Context(), form));
    Preedit("abcd", 4);
    EXPECT_EQ(screenPoint(), Target->ClientToScreen(Point(120, 2))) << "at the composition window";
}

// The program completes or cancels a running composition: the host resets
// the input method, and what the input method reports meanwhile (its own
// commit of the composition) is dropped, so the text comes once or not at
// all. Whether or not the input method reported its end, no composition
// runs after the reset, and the input method works as before.
TEST_F(GtkHostScriptedInputMethod, AResetDropsTheInputMethodsOwnReports)
{
    const struct {
        const char* Name;
        std::uint32_t Index;
        bool QuietReset;
        std::vector<std::string> Seen;
    } cases[] = {
        {"cancelled", CPS_CANCEL, false, {Cleared, Ended}},
        {"completed", CPS_COMPLETE, false, Joined({{Result(u'b')}, ImeTyped(u"ab"), {Ended}})},
        {"cancelled, quiet reset", CPS_CANCEL, true, {Cleared, Ended}},
    };
    int resets = 0;
    for (const auto& finish : cases) {
        Scripted().QuietReset = finish.QuietReset;
        StartComposing("ab");
        ASSERT_TRUE(ImmNotifyIME(Context(), NI_COMPOSITIONSTR, finish.Index, 0));
        Pump();
        EXPECT_EQ(Scripted().Resets, ++resets) << finish.Name;
        EXPECT_EQ(Target->Seen, finish.Seen) << finish.Name;
        EXPECT_EQ(Scripted().Preedit, std::string()) << finish.Name << ": the input method dropped its composition";

        Target->Seen.clear();
        Commit("z");
        Pump();
        EXPECT_EQ(Target->Seen, (std::vector<std::string>{Typed(u'z')}))
            << finish.Name << ": no composition runs after the reset";
    }
    Target->Seen.clear();
    Emit("preedit-start");
    Preedit("qr", 2);
    Pump();
    EXPECT_EQ(Target->Seen, (std::vector<std::string>{Started, Composing(u'r')}));
}

// GTK's own simple input method, fed real key events: a dead key shows as
// a composition, and the letter after it types the composed character.
class GtkHostSimpleInputMethod : public GtkHostInputMethodTest {
protected:
    GtkHostSimpleInputMethod() : GtkHostInputMethodTest([] { return gtk_im_context_simple_new(); }) {}

    void Key(guint keyval, GdkEventType type)
    {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(FormWindow()));
        event->key.keyval = keyval;
        event->key.time = GDK_CURRENT_TIME;
        GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
        gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
    void Stroke(guint keyval)
    {
        Key(keyval, GDK_KEY_PRESS);
        Key(keyval, GDK_KEY_RELEASE);
        Pump();
    }
};

TEST_F(GtkHostSimpleInputMethod, ADeadKeyComposesTheNextLetter)
{
    Stroke(GDK_KEY_dead_acute);
    EXPECT_EQ(Target->Seen, (std::vector<std::string>{Started, Composing(u'\u00B4')}));
    EXPECT_EQ(ImmGetCompositionString(Context(), GCS_COMPSTR), u"\u00B4");
    Target->Seen.clear();
    Stroke(GDK_KEY_e);
    // GTK ends its preedit before it commits: the character is typed text.
    EXPECT_EQ(Target->Seen, (std::vector<std::string>{Composing(0), Ended, Typed(u'\u00E9')}));
}

} // namespace
} // namespace plat::test
