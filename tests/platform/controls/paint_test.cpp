// Painting, caret, scroll bars and the non-client area: update regions that
// merge into one WM_PAINT after posted messages and before timers, the
// redraw switch, window scrolling, the caret's count, place and blink, the
// scroll-bar rules, a header band reserved in WM_NCCALCSIZE, the screen
// context, and the metrics.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/caret.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"
#include "platform/timers.h"

#include <functional>
#include <string>

namespace plat::test {
namespace {

COLORREF PixelAt(TPixelSurface& pixels, int x, int y)
{
    const std::uint8_t* pixel = pixels.ScanLine(y) + 4 * x;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

// A control painting each row in a colour of its own: (row, 0, 255 - row).
class TStripes : public TCustomControl {
public:
    explicit TStripes(TComponent* owner) : TCustomControl(owner) { FControlStyle.Include(csOpaque); }

protected:
    void Paint() override
    {
        for (int row = 0; row < ClientHeight(); ++row) {
            Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(static_cast<std::uint8_t>(row), 0,
                                                                static_cast<std::uint8_t>(255 - row))));
            Canvas()->FillRect(Rect(0, row, ClientWidth(), row + 1));
        }
    }
};

using TPaintTest = TControlsTest;

TEST_F(TPaintTest, InvalidationsMergeIntoOnePaintAfterPostedMessagesAndBeforeTimers)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 210, 110));
    Pump();
    const HWND window = spy->Handle();
    Log.clear();
    const TRect first = Rect(0, 0, 20, 20);
    const TRect second = Rect(50, 50, 80, 60);
    InvalidateRect(window, &first, false);
    InvalidateRect(window, &second, true);
    SetTimer(window, 1, 10);
    Host.Clock().Advance(10);
    PostMessage(window, WM_USER, 0, 0);
    TRegion update;
    GetUpdateRgn(window, update, false);
    TRegion expected(first);
    expected.Combine(expected, TRegion(second), RGN_OR);
    EXPECT_TRUE(update == expected);
    Pump();
    KillTimer(window, 1);
    EXPECT_EQ(Sequence({WM_USER, WM_PAINT, WM_TIMER}),
              (std::vector<std::string>{"Spy:0x400", "Spy:WM_PAINT", "Spy:WM_TIMER"}));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, false)) << "painting emptied the update region";
}

// Input shares the queue with posted messages: a click between two posts
// arrives between them, keys likewise; paint and timers wait for both.
TEST_F(TPaintTest, InputAndPostedMessagesComeInArrivalOrderThenPaintThenTimers)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 210, 110));
    Pump();
    spy->SetFocus();
    Pump();
    const HWND window = spy->Handle();
    Log.clear();
    SetTimer(window, 1, 10);
    Host.Clock().Advance(10);
    spy->Invalidate();
    PostMessage(window, WM_USER, 0, 0);
    Host.MouseDown(Host.PointOf("Spy"));
    PostMessage(window, WM_USER + 1, 0, 0);
    Host.MouseUp(Host.PointOf("Spy"));
    Host.KeyDown(VK_F2);
    PostMessage(window, WM_USER + 2, 0, 0);
    Host.KeyUp(VK_F2);
    Pump();
    KillTimer(window, 1);
    EXPECT_EQ(Sequence({WM_USER, WM_USER + 1, WM_USER + 2, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP,
                        WM_PAINT, WM_TIMER}),
              (std::vector<std::string>{"Spy:0x400", "Spy:WM_LBUTTONDOWN", "Spy:0x401", "Spy:WM_LBUTTONUP",
                                        "Spy:WM_KEYDOWN", "Spy:0x402", "Spy:WM_KEYUP", "Spy:WM_PAINT",
                                        "Spy:WM_TIMER"}));
}

TEST_F(TPaintTest, RedrawOffHoldsPaintingUntilItIsOnAgain)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 210, 110));
    Pump();
    SendMessage(spy->Handle(), WM_SETREDRAW, 0, 0);
    Log.clear();
    spy->Invalidate();
    Pump();
    EXPECT_EQ(Seen("Spy", WM_PAINT), 0);
    EXPECT_TRUE(GetUpdateRect(spy->Handle(), nullptr, false)) << "the region waits";
    SendMessage(spy->Handle(), WM_SETREDRAW, 1, 0);
    Pump();
    EXPECT_EQ(Seen("Spy", WM_PAINT), 1);
}

TEST_F(TPaintTest, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredStrip)
{
    TForm* form = NewForm("Form1");
    auto* stripes = Place(new TStripes(form), form, Rect(10, 20, 110, 120));
    Pump();
    auto before = Host.Capture(form->Handle());
    ASSERT_EQ(PixelAt(*before, 15, 20 + 30), RGB(30, 0, 225));
    ScrollWindow(stripes->Handle(), 0, -10, nullptr, nullptr);
    auto after = Host.Capture(form->Handle());
    EXPECT_EQ(PixelAt(*after, 15, 20 + 30), RGB(40, 0, 215)) << "row 40 moved up to row 30";
    TRegion update;
    GetUpdateRgn(stripes->Handle(), update, false);
    EXPECT_TRUE(update == TRegion(Rect(0, 90, 100, 100))) << "only the uncovered strip waits for paint";
    EXPECT_EQ(PixelAt(*after, 15, 20 - 1), PixelAt(*before, 15, 20 - 1)) << "the parent's pixels stay";
    Pump();
    auto repainted = Host.Capture(form->Handle());
    EXPECT_EQ(PixelAt(*repainted, 15, 20 + 95), RGB(95, 0, 160));
}

// A paint of a small part copies in the rest of the client area only when
// it reaches there; whatever it reads is still the client area as it was
// when the paint began, and it writes back only the part, over what other
// contexts and a scroll did meanwhile.
TEST_F(TPaintTest, APaintOfAPartSeesTheWholeClientAreaAndWritesBackOnlyThePart)
{
    struct TMeanwhile {
        const char* Name;
        std::function<void(HWND)> Change; // changes pixels outside the part
        COLORREF After;                   // then at (55, 55) of the stripes
    };
    const TMeanwhile changes[] = {
        {"nothing happens", [](HWND) {}, RGB(55, 0, 200)},
        {"another context draws",
         [](HWND window) {
             HDC other = GetDC(window);
             other->FillRect(Rect(15, 10, 20, 20), CreateSolidBrush(RGB(0, 255, 0)));
             other->FillRect(Rect(50, 50, 60, 60), CreateSolidBrush(RGB(0, 255, 0)));
             ReleaseDC(window, other);
         },
         RGB(0, 255, 0)},
        {"the window scrolls", [](HWND window) { ScrollWindow(window, 0, -10, nullptr, nullptr); },
         RGB(65, 0, 190)},
    };
    struct TReach {
        const char* Name;
        std::function<COLORREF(HDC)> Read; // the paint's pixel at (55, 55)
    };
    const TReach reaches[] = {
        {"its clip widened",
         [](HDC dc) {
             dc->SelectClipRgn(nullptr);
             return dc->GetPixel(55, 55);
         }},
        {"a blit of the whole",
         [](HDC dc) {
             TPixelSurface copy(100, 100, 32);
             TSurfaceDC copyDC(copy);
             copyDC.BitBlt(0, 0, 100, 100, dc, 0, 0, SRCCOPY);
             return PixelAt(copy, 55, 55);
         }},
    };
    for (const TMeanwhile& change : changes) {
        for (const TReach& reach : reaches) {
            SCOPED_TRACE(std::string(change.Name) + ", read through " + reach.Name);
            TForm* form = NewForm("Form1");
            auto* stripes = Place(new TStripes(form), form, Rect(10, 20, 110, 120));
            Pump();
            const HWND window = stripes->Handle();
            const TRect part = Rect(10, 10, 20, 20);
            InvalidateRect(window, &part, false);
            TPaintStruct paint;
            HDC dc = BeginPaint(window, paint);
            ASSERT_NE(dc, nullptr);
            EXPECT_EQ(paint.rcPaint, part);
            EXPECT_EQ(dc->GetPixel(15, 15), RGB(15, 0, 240));
            change.Change(window);
            EXPECT_EQ(reach.Read(dc), RGB(55, 0, 200)) << "as when the paint began";
            dc->FillRect(Rect(0, 0, 15, 100), CreateSolidBrush(RGB(0, 0, 255)));
            EndPaint(window, paint);
            auto shown = Host.Capture(form->Handle());
            EXPECT_EQ(PixelAt(*shown, 10 + 12, 20 + 15), RGB(0, 0, 255)) << "the part takes the paint";
            EXPECT_EQ(PixelAt(*shown, 10 + 55, 20 + 55), change.After) << "what happened meanwhile stays";
            EXPECT_NE(PixelAt(*shown, 10 + 5, 20 + 60), RGB(0, 0, 255)) << "nothing outside the part goes back";
            delete form;
            Pump();
        }
    }
}

TEST_F(TPaintTest, TheCaretIsInvertedOverItsOwnerWithAShowCountAndABlink)
{
    TForm* form = NewForm("Form1");
    auto* stripes = Place(new TStripes(form), form, Rect(10, 20, 110, 120));
    Pump();
    const HWND window = stripes->Handle();
    const auto base = Host.Capture(form->Handle());
    const COLORREF plain = PixelAt(*base, 10 + 5, 20 + 5);
    const COLORREF inverted = plain ^ 0xFFFFFF;

    ASSERT_TRUE(CreateCaret(window, 2, 10));
    auto pixelNow = [&] { return PixelAt(*Host.Capture(form->Handle()), 10 + 5, 20 + 5); };
    SetCaretPos(5, 5);
    EXPECT_EQ(pixelNow(), plain) << "a new caret is hidden";
    ShowCaret(window);
    EXPECT_EQ(pixelNow(), inverted);
    HideCaret(window);
    HideCaret(window);
    ShowCaret(window);
    EXPECT_EQ(pixelNow(), plain) << "two hides need two shows";
    ShowCaret(window);
    EXPECT_EQ(pixelNow(), inverted);
    EXPECT_FALSE(ShowCaret(window)) << "no more to show";
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    Host.AdvanceClock(529);
    EXPECT_EQ(pixelNow(), inverted);
    Host.AdvanceClock(1);
    EXPECT_EQ(pixelNow(), plain) << "the blink's hidden half";
    Host.AdvanceClock(530);
    EXPECT_EQ(pixelNow(), inverted);
    Host.AdvanceClock(530);
    SetCaretPos(40, 5);
    EXPECT_EQ(pixelNow(), plain) << "moved away";
    EXPECT_EQ(PixelAt(*Host.Capture(form->Handle()), 10 + 40, 20 + 5), PixelAt(*base, 10 + 40, 20 + 5) ^ 0xFFFFFF)
        << "shows at once where it moved";
    // Parked outside the window, the caret draws nothing anywhere.
    SetCaretPos(2147483647, 5);
    auto parked = Host.Capture(form->Handle());
    EXPECT_EQ(PixelAt(*parked, 10 + 40, 20 + 5), PixelAt(*base, 10 + 40, 20 + 5));
    DestroyCaret();
}

// A control with a vertical scroll bar that notes the scroll codes.
class TScroller : public TSpyControl {
public:
    using TSpyControl::TSpyControl;

protected:
    void CreateParams(TCreateParams& params) override
    {
        TSpyControl::CreateParams(params);
        params.Style |= WS_VSCROLL;
    }
};

std::vector<int> ScrollCodes(const TSeenLog& log)
{
    std::vector<int> codes;
    for (const TSeen& seen : log) {
        if (seen.Msg == WM_VSCROLL) {
            codes.push_back(LOWORD(seen.WParam));
        }
    }
    return codes;
}

class TScrollBarTest : public TControlsTest {
protected:
    // A scroller 200 wide and height high on a new form, its vertical bar
    // ranging 0 .. max with page, painted; window gets its screen rectangle.
    TScroller* NewScroller(int height, int max, unsigned page, TRect& window)
    {
        TForm* form = NewForm("Form1");
        auto* scroller = Place(new TScroller(form, Log, "Scroller"), form, Rect(10, 10, 210, 10 + height));
        Pump();
        TScrollInfo info;
        info.fMask = SIF_ALL;
        info.nMax = max;
        info.nPage = page;
        SetScrollInfo(scroller->Handle(), SB_VERT, info, true);
        Pump();
        GetWindowRect(scroller->Handle(), window);
        return scroller;
    }
};

TEST_F(TPaintTest, ScrollBarsKeepThePositionInRangeAndHideOrDisable)
{
    TForm* form = NewForm("Form1");
    auto* scroller = Place(new TScroller(form, Log, "Scroller"), form, Rect(10, 10, 210, 160));
    Pump();
    const HWND window = scroller->Handle();
    TScrollInfo info;
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = 95;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, info, true), 90);
    TScrollInfo read;
    read.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, read));
    EXPECT_EQ(read.nPos, 90);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_NE(GetWindowStyle(window) & WS_VSCROLL, 0u);
    EXPECT_EQ(scroller->ClientWidth(), 200 - 17);

    // Nothing to scroll: the bar goes, unless asked to stay disabled.
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nPage = 100;
    SetScrollInfo(window, SB_VERT, info, true);
    EXPECT_EQ(GetWindowStyle(window) & WS_VSCROLL, 0u);
    EXPECT_EQ(scroller->ClientWidth(), 200);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_VERT, info, true);
    EXPECT_NE(GetWindowStyle(window) & WS_VSCROLL, 0u);
    Pump();
    Log.clear();
    TRect bar;
    GetWindowRect(window, bar);
    Host.Click(Point(bar.Right - 5, bar.Bottom - 5));
    Pump();
    EXPECT_TRUE(ScrollCodes(Log).empty()) << "a disabled bar does nothing";
}

TEST_F(TScrollBarTest, AnArrowClickScrollsALineThenEndsAndAHeldArrowRepeats)
{
    TRect bar;
    NewScroller(150, 99, 10, bar);
    const TPoint downArrow{bar.Right - 8, bar.Bottom - 8};
    Log.clear();
    Host.Click(downArrow);
    Pump();
    EXPECT_EQ(ScrollCodes(Log), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    Log.clear();
    Host.MouseDown(downArrow);
    Pump();
    Host.AdvanceClock(400);
    Host.AdvanceClock(50);
    Host.MouseUp(downArrow);
    Pump();
    EXPECT_EQ(ScrollCodes(Log), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetCapture(), 0);
}

TEST_F(TScrollBarTest, ThumbDragsCarrySixteenBitPositions)
{
    TRect bar;
    TScroller* scroller = NewScroller(300, 100000, 1000, bar);
    const HWND window = scroller->Handle();
    const TRect barRect = OffsetRect(WindowScrollBarRect(window, SB_VERT), bar.Left, bar.Top);
    const TScrollBarLayout layout = LayoutScrollBar(barRect, true, 0, 100000, 1000, 0);
    const TPoint thumb{barRect.Left + 8, barRect.Top + layout.ThumbStart + 2};
    Log.clear();
    Host.MouseMove(thumb);
    Host.MouseDown(thumb);
    Host.MouseMove(Point(thumb.X, barRect.Bottom + 50));
    Pump();
    TScrollInfo track;
    track.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(window, SB_VERT, track);
    EXPECT_EQ(track.nTrackPos, 99001) << "the full position while tracking";
    EXPECT_EQ(track.nPos, 0);
    const TSeen* tracking = scroller->Last(WM_VSCROLL);
    ASSERT_NE(tracking, nullptr);
    EXPECT_EQ(LOWORD(tracking->WParam), SB_THUMBTRACK);
    EXPECT_EQ(HIWORD(tracking->WParam), 99001 & 0xFFFF) << "the message carries 16 bits";
    Host.MouseUp(Point(thumb.X, barRect.Bottom + 50));
    Pump();
    const std::vector<int> codes = ScrollCodes(Log);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
}

// A control reserving a header band of 17 pixels above its client area.
class THeaderBand : public TSpyControl {
public:
    using TSpyControl::TSpyControl;
    void WndProc(TMessage& message) override
    {
        TSpyControl::WndProc(message);
        if (message.Msg == WM_NCCALCSIZE && message.WParam != 0) {
            reinterpret_cast<TRect*>(message.LParam)->Top += 17;
        } else if (message.Msg == WM_NCHITTEST && message.Result == HTNOWHERE) {
            message.Result = HTBORDER;
        }
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TSpyControl::CreateParams(params);
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

TEST_F(TPaintTest, NonClientSizeReservesAHeaderBandAboveTheClientArea)
{
    TForm* form = NewForm("Form1");
    auto* tree = Place(new THeaderBand(form, Log, "Tree"), form, Rect(10, 10, 210, 160));
    Pump();
    EXPECT_EQ(tree->ClientRect(), Rect(0, 0, 200 - 4, 150 - 4 - 17));
    EXPECT_EQ(GetClientAreaInWindow(tree->Handle()), Rect(2, 2 + 17, 198, 148));
    TRect window;
    GetWindowRect(tree->Handle(), window);
    const TPoint inBand{window.Left + 50, window.Top + 2 + 5};
    Log.clear();
    Host.Click(inBand);
    Pump();
    const TSeen* press = tree->Last(WM_NCLBUTTONDOWN);
    ASSERT_NE(press, nullptr) << "a press over the band is a non-client press";
    EXPECT_EQ(press->WParam, static_cast<WPARAM>(HTBORDER));
    EXPECT_EQ(Point(GET_X_LPARAM(press->LParam), GET_Y_LPARAM(press->LParam)), inBand) << "screen coordinates";
    EXPECT_EQ(Seen("Tree", WM_LBUTTONDOWN), 0);
    TPoint client = inBand;
    ScreenToClient(tree->Handle(), client);
    EXPECT_LT(client.Y, 0) << "header points have negative client y";
}

TEST_F(TPaintTest, TheScreenContextDrawsOnTheComposedForms)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    Pump();
    HDC screen = GetDC(0);
    ASSERT_NE(screen, nullptr);
    screen->FillRect(Rect(150, 150, 160, 160), CreateSolidBrush(RGB(255, 0, 0)));
    ReleaseDC(0, screen);
    auto capture = Host.Capture(form->Handle());
    EXPECT_EQ(PixelAt(*capture, 55, 55), RGB(255, 0, 0));
    EXPECT_NE(PixelAt(*capture, 65, 55), RGB(255, 0, 0));
    // The form's next paint there covers it again.
    form->Invalidate();
    Pump();
    EXPECT_NE(PixelAt(*Host.Capture(form->Handle()), 55, 55), RGB(255, 0, 0));
}

TEST_F(TPaintTest, MetricsAreTheFixedOnes)
{
    const std::pair<int, int> metrics[] = {
        {SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CXEDGE, 2}, {SM_CYEDGE, 2}, {SM_CXBORDER, 1},
        {SM_CXDRAG, 4},     {SM_CYDRAG, 4},     {SM_CXDOUBLECLK, 4},
    };
    for (const auto& [metric, value] : metrics) {
        EXPECT_EQ(GetSystemMetrics(metric), value) << "metric " << metric;
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    unsigned lines = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
}

} // namespace
} // namespace plat::test
