// The input method manager: a host's composition reaching the focus window
// as composition messages, its commit becoming characters, completion and
// cancelling by the program, the contexts' settings, and the composition
// window in the composed picture.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_paint.h"

namespace plat::test {
namespace {

const std::vector<UINT> ImeMessages = {WM_IME_NOTIFY, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_CHAR,
                                       WM_CHAR, WM_IME_ENDCOMPOSITION};

class TInputMethodTest : public TControlsTest {
protected:
    TInputMethodTest()
    {
        Form = NewForm("Form1");
        Field = NewSpy(Form, "Field", Rect(10, 10, 200, 40));
        Other = NewSpy(Form, "Other", Rect(10, 50, 200, 80));
        Pump();
        Field->SetFocus();
        Pump();
        Log.clear();
    }

    std::vector<WPARAM> Chars() const
    {
        std::vector<WPARAM> chars;
        for (const TSeen& seen : Log) {
            if (seen.Msg == WM_CHAR) {
                chars.push_back(seen.WParam);
            }
        }
        return chars;
    }

    // A client point of the field in the form's window pixels.
    TPoint InWindow(TPoint client)
    {
        const TPoint screen = Field->ClientToScreen(client);
        const TRect window = Host.HostWindowBounds(Form->Handle());
        return Point(screen.X - window.Left, screen.Y - window.Top);
    }

    TForm* Form = nullptr;
    TSpyControl* Field = nullptr;
    TSpyControl* Other = nullptr;
};

TEST_F(TInputMethodTest, ACompositionReachesTheFocusWindowAndItsCommitTheCharacters)
{
    Host.Compose("ka", 1);
    Pump();
    EXPECT_EQ(Sequence(ImeMessages), (std::vector<std::string>{"Field:WM_IME_NOTIFY", "Field:WM_IME_STARTCOMPOSITION",
                                                               "Field:WM_IME_COMPOSITION"}))
        << "the first composition opens the input method";
    const HIMC context = ImmGetContext(Field->Handle());
    ASSERT_NE(context, 0u);
    EXPECT_TRUE(ImmGetOpenStatus(context));
    EXPECT_EQ(ImmGetCompositionString(context, GCS_COMPSTR), u"ka");
    EXPECT_EQ(ImmGetCompositionCursor(context), 1);
    EXPECT_EQ(Field->Last(WM_IME_COMPOSITION)->LParam, static_cast<LPARAM>(GCS_COMPSTR | GCS_CURSORPOS));
    Log.clear();
    Host.CommitComposition("\xE3\x81\x8B\xE3\x81\xAA");   // two kana
    Pump();
    EXPECT_EQ(Sequence(ImeMessages),
              (std::vector<std::string>{"Field:WM_IME_COMPOSITION", "Field:WM_IME_CHAR", "Field:WM_CHAR",
                                        "Field:WM_IME_CHAR", "Field:WM_CHAR", "Field:WM_IME_ENDCOMPOSITION"}));
    EXPECT_EQ(Chars(), (std::vector<WPARAM>{0x304B, 0x306A}));
    EXPECT_EQ(ImmGetCompositionString(context, GCS_RESULTSTR), u"\u304B\u306A");
    EXPECT_EQ(ImmGetCompositionString(context, GCS_COMPSTR), u"");
    EXPECT_EQ(Other->Count(WM_CHAR), 0);
    EXPECT_TRUE(ImmReleaseContext(Field->Handle(), context));
}

TEST_F(TInputMethodTest, AnEndWithoutCommitTypesNothing)
{
    Host.Compose("xy");
    Pump();
    Log.clear();
    Host.EndComposition();
    Host.EndComposition();   // a second end finds nothing running
    Pump();
    EXPECT_EQ(Sequence(ImeMessages),
              (std::vector<std::string>{"Field:WM_IME_COMPOSITION", "Field:WM_IME_ENDCOMPOSITION"}));
    EXPECT_TRUE(Chars().empty());
}

// The program completes a running composition (its text becomes the
// result) or cancels it; either way the host's input method starts afresh.
TEST_F(TInputMethodTest, TheProgramCompletesOrCancelsTheComposition)
{
    const HIMC context = ImmGetContext(Field->Handle());
    EXPECT_FALSE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0)) << "nothing runs";
    Host.Compose("ab");
    Pump();
    Log.clear();
    EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    EXPECT_EQ(Chars(), (std::vector<WPARAM>{'a', 'b'})) << "sent before the call returns";
    EXPECT_EQ(Field->Last(WM_IME_COMPOSITION)->WParam, WPARAM{'b'}) << "the result's last unit";
    EXPECT_EQ(Field->Count(WM_IME_ENDCOMPOSITION), 1);
    EXPECT_EQ(Host.InputMethodResets(), 1);

    Host.Compose("c");
    Pump();
    Log.clear();
    EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
    EXPECT_TRUE(Chars().empty());
    EXPECT_EQ(Field->Count(WM_IME_ENDCOMPOSITION), 1);
    EXPECT_EQ(Host.InputMethodResets(), 2);
    EXPECT_FALSE(ImmNotifyIME(context, 0x0011, 0, 0)) << "another action";
}

TEST_F(TInputMethodTest, ContextsKeepTheirSettings)
{
    EXPECT_EQ(ImmGetContext(0), 0u);
    const HIMC context = ImmGetContext(Field->Handle());
    EXPECT_NE(ImmGetContext(Other->Handle()), context) << "one context a window";
    TLogFont font;
    font.FaceName = "DejaVu Sans Mono";
    font.Height = -20;
    EXPECT_TRUE(ImmSetCompositionFont(context, font));
    TLogFont read;
    EXPECT_TRUE(ImmGetCompositionFont(context, read));
    EXPECT_EQ(read, font);
    TCompositionForm form;
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = Point(30, 4);
    EXPECT_TRUE(ImmSetCompositionWindow(context, form));
    TCompositionForm readForm;
    EXPECT_TRUE(ImmGetCompositionWindow(context, readForm));
    EXPECT_EQ(readForm.ptCurrentPos, Point(30, 4));
    EXPECT_TRUE(ImmSetOpenStatus(context, true));
    EXPECT_TRUE(ImmSetOpenStatus(context, true));
    EXPECT_EQ(Field->Count(WM_IME_NOTIFY), 1) << "only a change notifies";
    EXPECT_EQ(Field->Last(WM_IME_NOTIFY)->WParam, IMN_SETOPENSTATUS);
    TRect spot;
    ASSERT_TRUE(InputMethodSpot(Form->Handle(), spot)) << "the focus is on the form";
    EXPECT_EQ(Point(spot.Left, spot.Top), InWindow(Point(30, 4))) << "at the composition window";
    EXPECT_GT(spot.Height(), 0);
}

// The running composition shows in its composition window over the
// program's pixels: text on a white box at the point, gone with the end.
TEST_F(TInputMethodTest, ThePictureShowsTheRunningComposition)
{
    const HIMC context = ImmGetContext(Field->Handle());
    TCompositionForm form;
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = Point(20, 2);
    ImmSetCompositionWindow(context, form);
    Field->SetColor(clBlue);
    Pump();
    const auto before = ComposeTopLevelWindow(Form->Handle());
    Host.Compose("WWW", 1);
    Pump();
    const auto during = ComposeTopLevelWindow(Form->Handle());
    Host.EndComposition();
    Pump();
    const auto after = ComposeTopLevelWindow(Form->Handle());
    const TPoint at = InWindow(Point(20, 2));
    const auto pixel = [](TPixelSurface& pixels, int x, int y) {
        const std::uint8_t* p = pixels.ScanLine(y) + 4 * x;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(*before, at.X, at.Y), ToColorRef(clBlue));
    EXPECT_EQ(pixel(*during, at.X, at.Y), ToColorRef(clWindow)) << "the box's corner";
    int dark = 0;
    for (int y = at.Y; y < at.Y + 12; ++y) {
        for (int x = at.X; x < at.X + 30; ++x) {
            dark += pixel(*during, x, y) == ToColorRef(clWindowText) ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10) << "the text, its line and the cursor";
    EXPECT_EQ(pixel(*after, at.X, at.Y), ToColorRef(clBlue));
}

} // namespace
} // namespace plat::test
