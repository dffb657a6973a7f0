// Bad input: controls and forms freed in their own handlers, input and
// messages for freed controls and dead handles, unknown keys and lone
// surrogates, coordinates near the 32-bit limits, windows freed while a
// loop tracks them. None may crash or touch freed memory (the sanitizer
// build runs these).
#include "tests/platform/controls/controls_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/caret.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"
#include "platform/timers.h"

#include <climits>
#include <functional>

namespace plat::test {
namespace {

using TBadInputTest = TControlsTest;

// A drop target that takes every drop as a copy.
struct TCopyTarget : IDropTarget {
    HRESULT DragEnter(const std::shared_ptr<IDataObject>&, DWORD, TPoint, DWORD& effect) override
    {
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, TPoint, DWORD& effect) override
    {
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(const std::shared_ptr<IDataObject>&, DWORD, TPoint, DWORD& effect) override
    {
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
};

TEST_F(TBadInputTest, AControlFreedInItsOwnHandlerLeavesNothingBehind)
{
    TForm* form = NewForm("Form1");
    struct TCase {
        const char* Name;
        std::function<void(TSpyControl*)> Arm;
        std::function<void()> Act;
    };
    const TCase cases[] = {
        {"OnClick", [](TSpyControl* spy) { spy->OnClick = [spy](TObject*) { delete spy; }; },
         [&] { Host.Click("Victim"); }},
        {"OnMouseDown",
         [](TSpyControl* spy) {
             spy->OnMouseDown = [spy](TObject*, TMouseButton, TShiftState, int, int) { delete spy; };
         },
         [&] { Host.Click("Victim"); }},
        {"OnDblClick", [](TSpyControl* spy) { spy->OnDblClick = [spy](TObject*) { delete spy; }; },
         [&] { Host.DoubleClick(Host.PointOf("Victim")); }},
        {"OnKeyDown",
         [](TSpyControl* spy) {
             spy->SetFocus();
             spy->OnKeyDown = [spy](TObject*, std::uint16_t&, TShiftState) { delete spy; };
         },
         [&] { Host.TypeText("ab"); }},
        {"OnKeyPress",
         [](TSpyControl* spy) {
             spy->SetFocus();
             spy->OnKeyPress = [spy](TObject*, char16_t&) { delete spy; };
         },
         [&] { Host.Key(VK_RETURN); Host.TypeText("a"); }},
        {"OnEnter", [](TSpyControl* spy) { spy->OnEnter = [spy](TObject*) { delete spy; }; },
         [&] { Host.Key(VK_TAB); }},
        {"OnMouseEnter", [](TSpyControl* spy) { spy->OnMouseEnter = [spy](TObject*) { delete spy; }; },
         [&] { Host.MouseMove(Host.PointOf("Victim")); Host.MouseMove(Point(1, 1)); }},
        {"OnMouseWheel",
         [](TSpyControl* spy) {
             spy->SetFocus();
             spy->OnMouseWheel = [spy](TObject*, TShiftState, int, TPoint, bool&) { delete spy; };
         },
         [&] { Host.Wheel(Host.PointOf("Victim"), -120); }},
    };
    for (const TCase& each : cases) {
        TSpyControl* spy = NewSpy(form, "Victim", Rect(10, 10, 100, 100));
        Pump();
        each.Arm(spy);
        Host.AdvanceClock(1000);
        each.Act();
        Pump();
        EXPECT_EQ(Host.FindControl("Victim"), nullptr) << each.Name;
        if (TControl* left = Host.FindControl("Victim")) {
            delete left;
        }
    }
    // The form itself, freed from a click on it.
    auto* second = App.CreateForm<TForm>();
    second->SetName("Second");
    second->SetBounds(500, 100, 200, 200);
    second->Show();
    TSpyControl* closer = NewSpy(second, "Closer", Rect(10, 10, 100, 100));
    closer->OnClick = [second](TObject*) { second->Release(); };
    Pump();
    Host.Click("Closer");
    Pump();
    EXPECT_EQ(Host.FindControl("Second"), nullptr);
}

TEST_F(TBadInputTest, InputAndMessagesForFreedControlsAndDeadHandlesAreDropped)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 100));
    Pump();
    const HWND window = spy->Handle();
    Host.Click("Spy");
    Host.TypeText("x");
    PostMessage(window, WM_USER, 0, 0);
    SetTimer(window, 1, 10);
    InvalidateRect(window, nullptr, true);
    delete spy;
    Host.AdvanceClock(100);
    EXPECT_FALSE(PostMessage(window, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(window, WM_USER, 0, 0), 0);
    EXPECT_FALSE(InvalidateRect(window, nullptr, true));
    EXPECT_FALSE(SetScrollPos(window, SB_VERT, 5, true) != 0);
    EXPECT_FALSE(CreateCaret(window, 1, 1));
    EXPECT_EQ(RegisterDragDrop(window, std::make_shared<TCopyTarget>()), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(TWinControl::FindControl(window), nullptr);
    // The form's own close box after its destruction.
    const HWND formWindow = form->Handle();
    delete form;
    Host.CloseWindow(formWindow);
    Host.Click(Point(150, 150));
    Pump();
}

TEST_F(TBadInputTest, UnknownKeysAndBrokenTextDoNoHarm)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 100));
    Pump();
    spy->SetFocus();
    for (TVirtualKey key : {TVirtualKey{0}, TVirtualKey{0xFF}, TVirtualKey{0xE7}, TVirtualKey{0x88}}) {
        Host.Key(key);
        Host.Key(key, ModAlt | ModControl | ModShift);
    }
    Host.TypeText(std::string("\xFF\xFE\xED\xA0\x80", 5));  // not UTF-8, and an encoded surrogate
    PostHostInput(form->Handle(), TQueuedInput{THostInputKind::Char, THostButton::Left, 0, 0xDC00, 0, 0});
    PostHostInput(form->Handle(), TQueuedInput{static_cast<THostInputKind>(200), THostButton::Left, 0, 0, 0, 0});
    PostHostInput(form->Handle(), TQueuedInput{THostInputKind::ButtonDown, static_cast<THostButton>(9), 0, 0, 20, 20});
    Pump();
    EXPECT_GE(spy->Count(WM_CHAR), 1);
}

TEST_F(TBadInputTest, CoordinatesNearThe32BitLimitsStayHarmless)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 100));
    TSpyControl* child = NewSpy(spy, "Child", Rect(0, 0, 10, 10));
    Pump();
    const int edges[] = {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX - 1, INT_MAX};
    for (int x : edges) {
        for (int y : edges) {
            child->SetBounds(x, y, INT_MAX, INT_MAX);
            child->Invalidate();
            Host.MouseMove(Point(x, y));
            Host.Click(Point(x, y));
            Host.Wheel(Point(x, y), INT_MIN);
        }
        Pump();
    }
    spy->SetBounds(INT_MAX - 5, INT_MIN + 5, INT_MAX, INT_MAX);
    form->SetBounds(INT_MIN, INT_MAX, INT_MAX, 3);
    ScrollWindow(spy->Handle(), INT_MAX, INT_MIN, nullptr, nullptr);
    const TRect huge = Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    ScrollWindowEx(spy->Handle(), INT_MIN, INT_MAX, &huge, &huge, nullptr, nullptr, SW_INVALIDATE | SW_SCROLLCHILDREN);
    InvalidateRect(spy->Handle(), &huge, true);
    if (HDC dc = GetDCAt(spy->Handle(), huge, nullptr)) {
        dc->FillRect(huge, dc->CurrentBrush());
        ReleaseDC(spy->Handle(), dc);
    }
    CreateCaret(spy->Handle(), INT_MAX, INT_MAX);
    ShowCaret(spy->Handle());
    SetCaretPos(INT_MIN, INT_MAX);
    TScrollInfo info;
    info.fMask = SIF_ALL;
    info.nMin = INT_MIN;
    info.nMax = INT_MAX;
    info.nPage = UINT_MAX;
    info.nPos = INT_MAX;
    SetScrollInfo(spy->Handle(), SB_VERT, info, true);
    info.nPage = 1;
    SetScrollInfo(spy->Handle(), SB_HORZ, info, true);
    Pump();
    Host.AdvanceClock(1000);
    Host.Capture(form->Handle());
    DestroyCaret();
    SUCCEED();
}

// A control that frees itself in its scroll handler.
class TFreedWhileScrolling : public TSpyControl {
public:
    using TSpyControl::TSpyControl;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_VSCROLL) {
            delete this;
            return;
        }
        TSpyControl::WndProc(message);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TSpyControl::CreateParams(params);
        params.Style |= WS_VSCROLL;
    }
};

TEST_F(TBadInputTest, WindowsFreedWhileALoopTracksThemEndTheLoop)
{
    TForm* form = NewForm("Form1");
    auto* scroller = Place(new TFreedWhileScrolling(form, Log, "Scroller"), form, Rect(10, 10, 110, 210));
    Pump();
    TScrollInfo info;
    info.fMask = SIF_ALL;
    info.nMax = 99;
    info.nPage = 10;
    SetScrollInfo(scroller->Handle(), SB_VERT, info, true);
    TRect bar;
    GetWindowRect(scroller->Handle(), bar);
    Host.MouseDown(Point(bar.Right - 5, bar.Bottom - 5));
    Pump();
    Host.AdvanceClock(1000);
    Host.MouseUp(Point(bar.Right - 5, bar.Bottom - 5));
    Pump();
    EXPECT_EQ(Host.FindControl("Scroller"), nullptr);

    // A drop target's window freed during the drag.
    TSpyControl* target = NewSpy(form, "Target", Rect(200, 10, 300, 100));
    Pump();
    RegisterDragDrop(target->Handle(), std::make_shared<TCopyTarget>());
    Host.MouseDown(Point(150, 150));
    Pump();
    const TPoint over = Host.PointOf("Target");
    Host.Script([&] { Host.MouseMove(over); });
    Host.Script([&] {
        delete target;
        Host.MouseMove(Point(over.X + 1, over.Y));
    });
    Host.Script([&] { Host.MouseUp(over); });
    DWORD effect = 0;
    DoDragDrop(std::make_shared<TBlockDataObject>(), std::make_shared<TDefaultDropSource>(), DROPEFFECT_COPY, effect);
    EXPECT_EQ(Host.FindControl("Target"), nullptr);
}

TEST_F(TBadInputTest, AModalLoopWithNothingToDoFailsLoudlyAndCleansUp)
{
    TForm* main = NewForm("Main");
    auto* dialog = App.CreateForm<TForm>();
    Host.SetWorkerWaitMs(0);
    EXPECT_THROW(dialog->ShowModal(), EHeadlessIdle);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_EQ(App.ModalLevel(), 0);
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation) << "a visible form cannot go modal";
}

} // namespace
} // namespace plat::test
