// Mouse routing: capture first, else the deepest visible enabled control
// (controls without window included); capture on press; WM_MOUSEACTIVATE
// before a click and the eating answer; double clicks by time, distance
// and control style; the wheel to the focused control and up its parents;
// cursors by number and name; hints after a rest.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/cursors.h"
#include "platform/controls/graphic_control.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"

namespace plat::test {
namespace {

// A control without window that notes what reaches it.
class TGraphicSpy : public TGraphicControl {
public:
    TGraphicSpy(TComponent* owner, TSeenLog& log, const std::string& name) : TGraphicControl(owner), FLog(log)
    {
        SetName(name);
    }
    void WndProc(TMessage& message) override
    {
        FLog.push_back(TSeen{Name(), message.Msg, message.WParam, message.LParam});
        TGraphicControl::WndProc(message);
    }

private:
    TSeenLog& FLog;
};

using TMouseTest = TControlsTest;

TEST_F(TMouseTest, TheDeepestVisibleEnabledControlTakesTheClick)
{
    TForm* form = NewForm("Form1");
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 400, 300));
    Place(new TGraphicSpy(form, Log, "Graphic"), panel, Rect(10, 10, 90, 50));
    TSpyControl* disabled = NewSpy(panel, "Disabled", Rect(100, 10, 180, 50));
    disabled->SetEnabled(false);
    TSpyControl* hidden = NewSpy(panel, "Hidden", Rect(200, 10, 280, 50));
    hidden->SetVisible(false);
    TSpyControl* nested = NewSpy(panel, "Outer", Rect(10, 100, 200, 250));
    NewSpy(nested, "Inner", Rect(10, 10, 100, 100));
    Pump();
    struct TCase {
        TPoint PanelPoint;
        const char* Expected;
    };
    const TCase cases[] = {
        {{30, 20}, "Graphic"},   // no window of its own: its parent passes the click on
        {{120, 20}, "Panel"},    // disabled: its parent takes it
        {{220, 20}, "Panel"},    // hidden
        {{40, 130}, "Inner"},    // the deepest
        {{150, 220}, "Outer"},
    };
    for (const TCase& each : cases) {
        Log.clear();
        Host.Click(panel->ClientToScreen(each.PanelPoint));
        Pump();
        // A window passes a press on to its child without window: the last one took it.
        const auto downs = Sequence({WM_LBUTTONDOWN});
        ASSERT_FALSE(downs.empty()) << each.Expected;
        EXPECT_EQ(downs.back(), std::string(each.Expected) + ":WM_LBUTTONDOWN");
    }
    // The graphic control sees its own coordinates.
    Log.clear();
    Host.Click(panel->ClientToScreen(Point(30, 20)));
    Pump();
    for (const TSeen& seen : Log) {
        if (seen.Who == "Graphic" && seen.Msg == WM_LBUTTONDOWN) {
            EXPECT_EQ(GET_X_LPARAM(seen.LParam), 20);
            EXPECT_EQ(GET_Y_LPARAM(seen.LParam), 10);
        }
    }
}

// A window transparent to hit tests hands presses on its own surface to
// what lies beneath, while its children take their own.
TEST_F(TMouseTest, ATransparentWindowsChildrenStillTakeTheirClicks)
{
    TForm* form = NewForm("Form1");
    NewSpy(form, "Below", Rect(0, 0, 400, 300));
    TSpyControl* page = NewSpy(form, "Page", Rect(0, 0, 400, 300));
    page->HitTest = HTTRANSPARENT;
    NewSpy(page, "Button", Rect(20, 20, 120, 60));
    TSpyControl* frame = NewSpy(page, "Frame", Rect(200, 100, 380, 280));
    frame->HitTest = HTTRANSPARENT;
    NewSpy(frame, "Edit", Rect(10, 10, 100, 40));
    Pump();
    struct TCase {
        TPoint FormPoint;
        const char* Expected;
    };
    const TCase cases[] = {
        {{40, 30}, "Button"},   // a child of the transparent page
        {{220, 120}, "Edit"},   // two transparent levels down
        {{300, 250}, "Below"},  // the transparent frame's own surface
        {{150, 200}, "Below"},  // the transparent page's own surface
    };
    for (const TCase& each : cases) {
        Log.clear();
        Host.Click(form->ClientToScreen(each.FormPoint));
        Pump();
        const auto downs = Sequence({WM_LBUTTONDOWN});
        ASSERT_FALSE(downs.empty()) << each.Expected;
        EXPECT_EQ(downs.back(), std::string(each.Expected) + ":WM_LBUTTONDOWN");
    }
}

TEST_F(TMouseTest, APressCapturesTheMouseUntilTheRelease)
{
    TForm* form = NewForm("Form1");
    TSpyControl* left = NewSpy(form, "Left", Rect(10, 10, 100, 100));
    NewSpy(form, "Right", Rect(200, 10, 300, 100));
    Pump();
    ASSERT_TRUE(left->ControlStyle().Contains(csCaptureMouse));
    Host.MouseMove(Host.PointOf("Left"));
    Host.MouseDown(Host.PointOf("Left"));
    Pump();
    EXPECT_EQ(GetCapture(), left->Handle());
    Log.clear();
    Host.MouseMove(Host.PointOf("Right"));
    Host.MouseUp(Host.PointOf("Right"));
    Pump();
    EXPECT_EQ(Seen("Right", WM_MOUSEMOVE), 0);
    EXPECT_EQ(Seen("Left", WM_MOUSEMOVE), 1);
    EXPECT_EQ(Seen("Left", WM_LBUTTONUP), 1);
    EXPECT_GT(GET_X_LPARAM(left->Last(WM_MOUSEMOVE)->LParam), left->Width()) << "outside, in the captor's coordinates";
    EXPECT_EQ(GetCapture(), 0);
    int clicks = 0;
    left->OnClick = [&](TObject*) { ++clicks; };
    Host.MouseDown(Host.PointOf("Left"));
    Host.MouseUp(Host.PointOf("Right"));
    Pump();
    EXPECT_EQ(clicks, 0) << "a release outside is no click";
    Host.Click("Left");
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(TMouseTest, MouseActivatePrecedesTheClickAndMayEatIt)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 100));
    Pump();
    Log.clear();
    Host.Click("Spy");
    Pump();
    EXPECT_EQ(Sequence({WM_SETCURSOR, WM_MOUSEACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<std::string>{"Spy:WM_SETCURSOR", "Spy:WM_SETCURSOR", "Spy:WM_MOUSEACTIVATE",
                                        "Spy:WM_LBUTTONDOWN", "Spy:WM_LBUTTONUP"}));
    EXPECT_EQ(static_cast<HWND>(spy->Last(WM_MOUSEACTIVATE)->WParam), form->Handle());
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(spy->Last(WM_MOUSEACTIVATE)->LParam)), WM_LBUTTONDOWN);
    spy->MouseActivate = MA_NOACTIVATEANDEAT;
    Log.clear();
    Host.Click("Spy");
    Pump();
    EXPECT_EQ(Seen("Spy", WM_MOUSEACTIVATE), 1);
    EXPECT_EQ(Seen("Spy", WM_LBUTTONDOWN), 0) << "answer 4 eats the press";
}

// A control that takes double clicks or not.
class TClickStyleSpy : public TSpyControl {
public:
    TClickStyleSpy(TComponent* owner, TSeenLog& log, const std::string& name, bool doubleClicks)
        : TSpyControl(owner, log, name)
    {
        if (!doubleClicks) {
            FControlStyle.Exclude(csDoubleClicks);
        }
    }
};

TEST_F(TMouseTest, ASecondClickSoonAndCloseIsADoubleClickForControlsThatTakeThem)
{
    TForm* form = NewForm("Form1");
    auto* takes = Place(new TClickStyleSpy(form, Log, "Takes", true), form, Rect(10, 10, 110, 110));
    auto* refuses = Place(new TClickStyleSpy(form, Log, "Refuses", false), form, Rect(150, 10, 250, 110));
    Pump();
    int doubleClicks = 0;
    std::vector<bool> pressedDouble;
    for (TSpyControl* spy : {static_cast<TSpyControl*>(takes), static_cast<TSpyControl*>(refuses)}) {
        spy->OnDblClick = [&](TObject*) { ++doubleClicks; };
        spy->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
            pressedDouble.push_back(shift.Contains(ssDouble));
        };
    }
    struct TCase {
        const char* Who;
        int WaitMs;
        int Dx;
        bool Double;
    };
    const TCase cases[] = {
        {"Takes", 0, 0, true},    {"Takes", 500, 2, true}, {"Takes", 501, 0, false},
        {"Takes", 100, 3, false}, {"Refuses", 0, 0, false},
    };
    for (const TCase& each : cases) {
        Host.AdvanceClock(1000);
        const TPoint point = Host.PointOf(each.Who);
        Host.Click(point);
        Pump();
        Host.AdvanceClock(each.WaitMs);
        doubleClicks = 0;
        pressedDouble.clear();
        Host.Click(Point(point.X + each.Dx, point.Y));
        Pump();
        const std::string name = std::string(each.Who) + " after " + std::to_string(each.WaitMs) + " ms, " +
                                 std::to_string(each.Dx) + " px";
        EXPECT_EQ(doubleClicks, each.Double ? 1 : 0) << name;
        EXPECT_EQ(pressedDouble, std::vector<bool>{each.Double}) << name;
    }
    // A third click starts a new pair.
    Host.AdvanceClock(1000);
    Log.clear();
    const TPoint point = Host.PointOf("Takes");
    Host.DoubleClick(point);
    Host.Click(point);
    Pump();
    EXPECT_EQ(Seen("Takes", WM_LBUTTONDBLCLK), 1) << "the window message";
    EXPECT_EQ(Seen("Takes", WM_LBUTTONDOWN), 2);
}

TEST_F(TMouseTest, TheWheelReachesTheFocusedControlThenItsParents)
{
    TForm* form = NewForm("Form1");
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 300, 300));
    TSpyControl* focused = NewSpy(panel, "Focused", Rect(10, 10, 100, 100));
    NewSpy(panel, "Other", Rect(150, 10, 250, 100));
    Pump();
    focused->SetFocus();
    std::vector<int> deltas;
    focused->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool&) { deltas.push_back(delta); };
    Log.clear();
    Host.Wheel(Host.PointOf("Other"), -WHEEL_DELTA);
    Pump();
    const TSeen* wheel = focused->Last(WM_MOUSEWHEEL);
    ASSERT_NE(wheel, nullptr) << "the focused control, not the one under the pointer";
    EXPECT_EQ(HIWORD(wheel->WParam), 65416);
    EXPECT_EQ(Seen("Other", WM_MOUSEWHEEL), 0);
    EXPECT_EQ(deltas, (std::vector<int>{-120}));
    EXPECT_EQ(Seen("Panel", CM_MOUSEWHEEL), 1) << "nobody took it: the parent is asked";
    // A handler that takes it stops the walk.
    focused->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) { handled = true; };
    Log.clear();
    Host.Wheel(Host.PointOf("Other"), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Seen("Panel", CM_MOUSEWHEEL), 0);
}

TEST_F(TMouseTest, CursorsComeFromTheScreensTableByNumber)
{
    TForm* form = NewForm("Form1");
    TSpyControl* hand = NewSpy(form, "Hand", Rect(10, 10, 100, 100));
    TSpyControl* plain = NewSpy(form, "Plain", Rect(150, 10, 250, 100));
    TSpyControl* custom = NewSpy(form, "Custom", Rect(10, 150, 100, 250));
    hand->SetCursor(crHandPoint);
    auto picture = std::make_shared<TPixelSurface>(16, 16, 32);
    RegisterCursorResource("CHT_CURSOR_HAND", TCursorImage{picture, Point(3, 1)});
    Screen->SetCursors(2020, LoadCursorResource("CHT_CURSOR_HAND"));
    custom->SetCursor(2020);
    Pump();
    Host.MouseMove(Host.PointOf("Hand"));
    Pump();
    EXPECT_EQ(CursorShapeName(Host.Cursor()), "pointer");
    EXPECT_EQ(Host.Cursor(), Screen->Cursors(crHandPoint));
    Host.MouseMove(Host.PointOf("Plain"));
    Pump();
    EXPECT_EQ(CursorShapeName(Host.Cursor()), "default");
    Host.MouseMove(Host.PointOf("Custom"));
    Pump();
    ASSERT_NE(CursorPicture(Host.Cursor()), nullptr);
    EXPECT_EQ(CursorPicture(Host.Cursor())->HotSpot, Point(3, 1));
    EXPECT_EQ(plain->Count(WM_SETCURSOR), 1);
    // The screen's cursor wins over every control's while set.
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(CursorShapeName(Host.Cursor()), "wait");
    Host.MouseMove(Host.PointOf("Hand"));
    Pump();
    EXPECT_EQ(CursorShapeName(Host.Cursor()), "wait");
    Screen->SetCursor(crDefault);
    EXPECT_EQ(CursorShapeName(Host.Cursor()), "pointer") << "back to the control under the pointer";
    Screen->SetCursors(2020, 0);
    EXPECT_EQ(Screen->Cursors(2020), Screen->Cursors(crDefault));
}

TEST_F(TMouseTest, AHintShowsAfterARestAndHidesAfterItsTime)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 200, 100));
    spy->SetHint("Short|Long text");
    spy->SetShowHint(true);
    Pump();
    Host.MouseMove(Host.PointOf("Spy"));
    Pump();
    Host.AdvanceClock(300);
    Host.MouseMove(Point(Host.PointOf("Spy").X + 1, Host.PointOf("Spy").Y));
    Pump();
    Host.AdvanceClock(400);
    EXPECT_EQ(spy->Count(CM_HINTSHOW), 0) << "moving restarts the wait";
    EXPECT_EQ(App.HintWindow(), nullptr);
    Host.AdvanceClock(100);
    ASSERT_EQ(spy->Count(CM_HINTSHOW), 1);
    ASSERT_NE(App.HintWindow(), nullptr);
    EXPECT_EQ(App.HintWindow()->Text(), "Short");
    const TRect shown = Host.HostWindowBounds(App.HintWindow()->Handle());
    EXPECT_EQ(shown.Top, Host.PointOf("Spy").Y + 20);
    Host.AdvanceClock(2499);
    EXPECT_NE(App.HintWindow(), nullptr);
    Host.AdvanceClock(1);
    EXPECT_EQ(App.HintWindow(), nullptr) << "hidden after 2500 ms";
}

// A control that rewrites its hint in CM_HINTSHOW.
class THintChanger : public TSpyControl {
public:
    using TSpyControl::TSpyControl;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_HINTSHOW) {
            auto* info = reinterpret_cast<THintInfo*>(message.LParam);
            info->HintStr = "changed";
            info->CursorRect = Rect(0, 0, 20, 20);
            info->HintPos = Point(5, 6);
        }
        TSpyControl::WndProc(message);
    }
};

TEST_F(TMouseTest, HintShowMayChangeTextPlaceAndRectangle)
{
    TForm* form = NewForm("Form1");
    auto* spy = Place(new THintChanger(form, Log, "Changer"), form, Rect(10, 10, 210, 110));
    spy->SetHint("original");
    spy->SetShowHint(true);
    Pump();
    const TPoint inside = spy->ClientToScreen(Point(5, 5));
    Host.MouseMove(inside);
    Pump();
    Host.AdvanceClock(500);
    ASSERT_NE(App.HintWindow(), nullptr);
    EXPECT_EQ(App.HintWindow()->Text(), "changed");
    EXPECT_EQ(Point(Host.HostWindowBounds(App.HintWindow()->Handle()).Left,
                    Host.HostWindowBounds(App.HintWindow()->Handle()).Top),
              Point(5, 6));
    // Leaving the changed rectangle (still inside the control) ends the hint.
    Host.MouseMove(spy->ClientToScreen(Point(50, 50)));
    Pump();
    EXPECT_EQ(App.HintWindow(), nullptr);
}

} // namespace
} // namespace plat::test
