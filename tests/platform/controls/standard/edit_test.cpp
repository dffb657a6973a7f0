// The single-line edit on the headless host: typing, selecting, the
// clipboard keys, MaxLength, read-only, KeyPress and key-down handlers,
// the edit messages and its background colour.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/caret.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/virtual_keys.h"

namespace plat::test {
namespace {

class TEditTest : public TStandardTest {
protected:
    void SetUp() override
    {
        Form = NewForm("Form1");
        Edit = Place<TEdit>(Form, "Edit", Rect(10, 10, 210, 31));
        Other = Place<TEdit>(Form, "Other", Rect(10, 40, 210, 61));
        Pump();
        Edit->SetFocus();
        Pump();
    }
    void Keys(std::initializer_list<TVirtualKey> keys, std::uint8_t modifiers = 0)
    {
        for (TVirtualKey key : keys) {
            Host.Key(key, modifiers);
        }
        Pump();
    }
    void Type(const std::string& text)
    {
        Host.TypeText(text);
        Pump();
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(TEditTest, TypesSelectsWithShiftAndArrowsAndReplacesTheSelection)
{
    int changes = 0;
    Edit->OnChange = [&](TObject*) { ++changes; };
    Type("Hello world");
    EXPECT_EQ(Edit->Text(), "Hello world");
    EXPECT_EQ(changes, 11) << "one change a character";
    EXPECT_TRUE(Edit->Modified());
    Keys({VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT});
    Keys({VK_LEFT, VK_LEFT}, ModShift);
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelLength(), 2);
    EXPECT_EQ(Edit->SelText(), "o ");
    Type("-");
    EXPECT_EQ(Edit->Text(), "Hell-world");
    Keys({VK_HOME});
    Keys({VK_RIGHT}, ModShift | ModControl);
    EXPECT_EQ(Edit->SelText(), "Hell-world") << "Ctrl+Shift+Right selects a word";
    Keys({VK_END});
    Host.Key(VK_BACK);
    Keys({VK_HOME, VK_DELETE});
    EXPECT_EQ(Edit->Text(), "ell-worl");
    // Text beyond the basic plane counts two units and goes as one.
    Keys({VK_END});
    Type("😀");
    EXPECT_EQ(Edit->CaretPosition(), 10);
    Host.Key(VK_BACK);
    Pump();
    EXPECT_EQ(Edit->Text(), "ell-worl");
}

TEST_F(TEditTest, CutCopyAndPasteGoThroughTheClipboardByEveryKey)
{
    struct TCase {
        const char* Name;
        TVirtualKey Key;
        std::uint8_t Modifiers;
        std::string Clipboard;   // after the key
        std::string Text;
    };
    // Start: "abcdef" with "cd" selected, "XY" on the clipboard.
    const TCase cases[] = {
        {"Ctrl+C", 'C', ModControl, "cd", "abcdef"},
        {"Ctrl+Insert", VK_INSERT, ModControl, "cd", "abcdef"},
        {"Ctrl+X", 'X', ModControl, "cd", "abef"},
        {"Shift+Delete", VK_DELETE, ModShift, "cd", "abef"},
        {"Ctrl+V", 'V', ModControl, "XY", "abXYef"},
        {"Shift+Insert", VK_INSERT, ModShift, "XY", "abXYef"},
    };
    for (const TCase& c : cases) {
        Edit->SetText("abcdef");
        Edit->SetSelStart(2);
        Edit->SetSelLength(2);
        SetClipboardText("XY");
        Keys({c.Key}, c.Modifiers);
        EXPECT_EQ(GetClipboardText(), c.Clipboard) << c.Name;
        EXPECT_EQ(Edit->Text(), c.Text) << c.Name;
    }
    // A pasted line break ends the pasted text on one line.
    Edit->SetText("");
    SetClipboardText("first\r\nsecond");
    Keys({'V'}, ModControl);
    EXPECT_EQ(Edit->Text(), "first");
}

TEST_F(TEditTest, MaxLengthStopsTypingAndCutsAMegabytePaste)
{
    Edit->SetMaxLength(10);
    Type("0123456789abc");
    EXPECT_EQ(Edit->Text(), "0123456789");
    Edit->SetText("");
    SetClipboardText(std::string(1 << 20, 'x'));
    Keys({'V'}, ModControl);
    EXPECT_EQ(Edit->Text(), std::string(10, 'x'));
    // The limit counts what stays: replacing a selection frees its room.
    Edit->SetSelStart(0);
    Edit->SetSelLength(3);
    Type("abcd");
    EXPECT_EQ(Edit->Text(), "abc" + std::string(7, 'x'));
    // A pair of surrogates is never cut in half.
    Edit->SetText("123456789");
    Keys({VK_END});
    Type("😀");
    EXPECT_EQ(Edit->Text(), "123456789");
    // Text set by the program is kept whole.
    Edit->SetText(std::string(20, 'y'));
    EXPECT_EQ(Edit->Text().size(), 20u);
}

TEST_F(TEditTest, AReadOnlyEditRefusesChangesButCopies)
{
    Edit->SetText("fixed text");
    Edit->SetReadOnly(true);
    SetClipboardText("pasted");
    const int beeps = Host.BeepCount();
    Keys({VK_END});
    Type("x");
    Host.Key(VK_BACK);
    Keys({VK_HOME, VK_DELETE});
    Keys({'V'}, ModControl);
    Keys({'X'}, ModControl);
    EXPECT_EQ(Edit->Text(), "fixed text");
    EXPECT_GE(Host.BeepCount(), beeps + 4) << "every refused change beeps";
    Keys({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT}, ModShift);
    Keys({'C'}, ModControl);
    EXPECT_EQ(GetClipboardText(), "fixed");
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(TEditTest, KeyPressMayReplaceOrSwallowATypedCharacter)
{
    Edit->OnKeyPress = +[](TObject*, char16_t& key) {
        if (key == u'.') {
            key = u',';
        } else if (key == u'x') {
            key = 0;
        }
    };
    Type("1.5x");
    EXPECT_EQ(Edit->Text(), "1,5");
}

// A number field as a descendant builds it: its own KeyPress and DoExit.
class TDigitsEdit : public TEdit {
public:
    explicit TDigitsEdit(TComponent* owner) : TEdit(owner) {}
    int Exits = 0;

protected:
    void KeyPress(char16_t& key) override
    {
        TEdit::KeyPress(key);
        if (key != 8 && (key < u'0' || key > u'9')) {
            key = 0;
        }
    }
    void DoExit() override
    {
        TEdit::DoExit();
        ++Exits;
    }
};

TEST_F(TEditTest, ADescendantsKeyPressAndDoExitTakePart)
{
    auto* digits = Place<TDigitsEdit>(Form, "Digits", Rect(10, 70, 210, 91));
    int pressed = 0;
    digits->OnKeyPress = [&](TObject*, char16_t&) { ++pressed; };
    Pump();
    digits->SetFocus();
    Pump();
    Type("1a2-3");
    Host.Key(VK_BACK);
    Pump();
    EXPECT_EQ(digits->Text(), "12");
    EXPECT_EQ(pressed, 6) << "the event runs inside the descendant's KeyPress";
    Edit->SetFocus();
    Pump();
    EXPECT_EQ(digits->Exits, 1);
}

TEST_F(TEditTest, AKeyDownHandlerThatSwallowsTheLetterStillLetsItBeTyped)
{
    int swallowed = 0;
    Edit->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        if (key == 'A') {
            key = 0;
            ++swallowed;
        }
    };
    Type("aaa");
    EXPECT_EQ(swallowed, 3);
    EXPECT_EQ(Edit->Text(), "aaa");
}

TEST_F(TEditTest, TheEditMessagesReadAndSetTheSelection)
{
    Edit->SetText("0123456789");
    Edit->Perform(EM_SETSEL, 2, 5);
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    const LRESULT packed = Edit->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(packed, static_cast<LRESULT>(MAKELONG(2, 5)));
    Edit->Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(Edit->SelLength(), 10) << "0 and -1 select all";
    Edit->Perform(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Edit->SelLength(), 0) << "-1 removes the selection";
    Edit->Perform(EM_SETSEL, 7, 500);
    EXPECT_EQ(Edit->SelText(), "789") << "beyond the end means the end";
    Edit->Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("ab"));
    EXPECT_EQ(Edit->Text(), "0123456ab");
    EXPECT_EQ(Edit->Perform(EM_GETMODIFY), 1);
    Edit->Perform(EM_SETMODIFY, 0);
    EXPECT_FALSE(Edit->Modified());
    Edit->Perform(EM_LIMITTEXT, 4);
    EXPECT_EQ(Edit->Perform(EM_GETLIMITTEXT), 4);
    Edit->Perform(EM_SETREADONLY, 1);
    EXPECT_TRUE(Edit->ReadOnly());
}

TEST_F(TEditTest, EnteringByKeyboardSelectsAllAndAClickPlacesTheCaret)
{
    Other->SetText("some text");
    Keys({VK_TAB});
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(Other->SelLength(), 9) << "AutoSelect";
    Edit->SetFocus();
    Pump();
    // A click at the left border lands before the first character.
    ClickAt(Other, Point(1, 8));
    EXPECT_EQ(Other->SelLength(), 0);
    EXPECT_EQ(Other->CaretPosition(), 0);
    ClickAt(Other, Point(190, 8));
    EXPECT_EQ(Other->CaretPosition(), 9) << "right of the text: the end";
    // Dragging selects.
    const TPoint from = Other->ClientToScreen(Point(1, 8));
    const TPoint to = Other->ClientToScreen(Point(190, 8));
    Host.MouseMove(from);
    Host.MouseDown(from);
    Host.MouseMove(to);
    Host.MouseUp(to);
    Pump();
    EXPECT_EQ(Other->SelText(), "some text");
}

TEST_F(TEditTest, TheBackgroundIsTheEditsColour)
{
    Edit->SetText("");
    Edit->SetColor(clYellow);
    const TPoint inside = Edit->ClientToScreen(Point(150, 10));
    EXPECT_EQ(ScreenPixel(inside), clYellow);
    Edit->SetColor(clRed);
    EXPECT_EQ(ScreenPixel(inside), clRed);
}

TEST_F(TEditTest, ALongTextScrollsToKeepTheCaretInSight)
{
    const std::string text(2000, 'm');
    Edit->SetText(text);
    Keys({VK_END});
    const TPoint caret = [] {
        TPoint point;
        GetCaretPos(point);
        return point;
    }();
    EXPECT_GT(caret.X, 0);
    EXPECT_LT(caret.X, Edit->ClientWidth()) << "the caret stays within the edit";
    Keys({VK_HOME});
    TPoint home;
    GetCaretPos(home);
    EXPECT_LE(home.X, 3);
}

} // namespace
} // namespace plat::test
