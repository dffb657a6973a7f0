// Message dispatch, property notifications, alignment, ownership and the
// life of forms: setters that ignore unchanged values, WM_SIZE with
// re-alignment, children freed first, 0xB00B / CM_ENABLEDCHANGED /
// CM_FONTCHANGED / 0xB008, mouse crossings, handler exceptions, modal loops,
// refused closes, caption and title apart.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/message_table.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/timers.h"
#include "platform/worker_thread.h"

#include <functional>
#include <stdexcept>
#include <thread>

namespace plat::test {
namespace {

// A control whose own table handles WM_SIZE and passes on to its ancestors.
class TTableControl : public TCustomControl {
    PLAT_MESSAGES(TTableControl, TCustomControl)
public:
    explicit TTableControl(TComponent* owner) : TCustomControl(owner) {}
    int Sizes = 0;
    int Reached = 0;    // the ancestors' handling ran after ours

private:
    void WMSize(TMessage& message)
    {
        ++Sizes;
        Inherited(message);
        Reached = Sizes;
    }
    void WMUser(TMessage& message) { message.Result = 42; }
};

PLAT_BEGIN_MESSAGES(TTableControl, TCustomControl)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(WM_USER, WMUser)
PLAT_END_MESSAGES

using TDispatchTest = TControlsTest;

TEST_F(TDispatchTest, MessageTablesRouteToTheMostDerivedHandlerAndOnToTheAncestors)
{
    TForm* form = NewForm("Form1");
    auto* control = new TTableControl(form);
    control->SetParent(form);
    control->SetBounds(10, 10, 50, 50);
    Pump();
    EXPECT_EQ(control->Perform(WM_USER, 0, 0), 42);
    const int before = control->Sizes;
    control->SetBounds(10, 10, 80, 60);
    EXPECT_EQ(control->Sizes, before + 1);
    EXPECT_EQ(control->Reached, control->Sizes) << "Inherited returned to the handler";
    EXPECT_EQ(control->ClientWidth(), 80) << "the ancestors' WM_SIZE handling updated the bounds";
    EXPECT_EQ(control->Perform(WM_USER + 1, 0, 0), 0) << "an unlisted message reaches the default handling";
}

TEST_F(TDispatchTest, SettersIgnoreUnchangedValues)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 110, 60));
    Pump();
    struct TCase {
        const char* Name;
        std::function<void()> SameValue;
        UINT Notification;
    };
    const TCase cases[] = {
        {"Visible", [&] { spy->SetVisible(true); }, CM_VISIBLECHANGED},
        {"Enabled", [&] { spy->SetEnabled(true); }, CM_ENABLEDCHANGED},
        {"Text", [&] { spy->SetText(spy->Text()); }, CM_TEXTCHANGED},
        {"Color", [&] { spy->SetColor(spy->Color()); }, CM_COLORCHANGED},
        {"Font", [&] { spy->Font()->SetHeight(spy->Font()->Height()); }, CM_FONTCHANGED},
        {"Bounds", [&] { spy->SetBounds(10, 10, 100, 50); }, WM_SIZE},
        {"Cursor", [&] { spy->SetCursor(spy->Cursor()); }, CM_CURSORCHANGED},
    };
    for (const TCase& each : cases) {
        Log.clear();
        each.SameValue();
        EXPECT_EQ(Seen("Spy", each.Notification), 0) << each.Name;
    }
    Log.clear();
    spy->SetText("changed");
    EXPECT_EQ(Seen("Spy", CM_TEXTCHANGED), 1);
    EXPECT_EQ(GetWindowText(spy->Handle()), "changed");
}

TEST_F(TDispatchTest, SetBoundsSendsSizeAndRealignsChildren)
{
    TForm* form = NewForm("Form1");
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 200, 100));
    TSpyControl* top = NewSpy(panel, "Top", Rect(0, 0, 10, 20));
    TSpyControl* client = NewSpy(panel, "Client", Rect(0, 0, 10, 10));
    TSpyControl* right = NewSpy(panel, "Right", Rect(0, 0, 30, 10));
    top->SetAlign(alTop);
    right->SetAlign(alRight);
    client->SetAlign(alClient);
    Pump();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(right->BoundsRect(), Rect(170, 20, 200, 100));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 20, 170, 100));
    Log.clear();
    panel->SetBounds(5, 5, 300, 150);
    EXPECT_EQ(Seen("Panel", WM_SIZE), 1);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 20));
    EXPECT_EQ(right->BoundsRect(), Rect(270, 20, 300, 150));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 20, 270, 150));
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(panel->Last(WM_SIZE)->LParam)), 300);
}

TEST_F(TDispatchTest, AFreedParentFreesItsChildrenFirst)
{
    TForm* form = NewForm("Form1");
    std::vector<std::string> destroyed;
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 200, 100));
    TSpyControl* first = NewSpy(panel, "First", Rect(0, 0, 10, 10));
    TSpyControl* second = NewSpy(panel, "Second", Rect(20, 0, 30, 10));
    Pump();
    for (TSpyControl* spy : {panel, first, second}) {
        spy->Destroyed = &destroyed;
    }
    const HWND panelWindow = panel->Handle();
    const HWND childWindow = first->Handle();
    std::vector<bool> panelWindowWhileChildFreed;
    first->WhenFreed = [&] { panelWindowWhileChildFreed.push_back(IsWindow(panelWindow)); };
    second->WhenFreed = [&] { panelWindowWhileChildFreed.push_back(IsWindow(panelWindow)); };
    delete panel;
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Panel", "Second", "First"}))
        << "the panel's own destructor body runs first, then its children from the top";
    EXPECT_EQ(panelWindowWhileChildFreed, (std::vector<bool>{true, true})) << "the children go before the panel's window";
    EXPECT_FALSE(IsWindow(panelWindow));
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(form->ComponentCount(), 0) << "the children left their owner too";
}

TEST_F(TDispatchTest, VisibleEnabledAndFontAnnounceTheirChanges)
{
    TForm* form = NewForm("Form1");
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 200, 100));
    TSpyControl* inherits = NewSpy(panel, "Inherits", Rect(0, 0, 10, 10));
    TSpyControl* own = NewSpy(panel, "Own", Rect(20, 0, 30, 10));
    own->Font()->SetName("DejaVu Sans Mono");
    EXPECT_FALSE(own->ParentFont());
    Pump();
    Log.clear();

    panel->SetVisible(false);
    ASSERT_NE(panel->Last(0xB00B), nullptr);
    EXPECT_EQ(panel->Last(0xB00B)->WParam, 0u);
    EXPECT_FALSE(IsWindowVisible(panel->Handle()));
    panel->SetVisible(true);
    EXPECT_EQ(Seen("Panel", 0xB00B), 2);

    panel->SetEnabled(false);
    EXPECT_EQ(Seen("Panel", CM_ENABLEDCHANGED), 1);
    EXPECT_FALSE(IsWindowEnabled(panel->Handle()));

    Log.clear();
    panel->Font()->SetHeight(-20);
    EXPECT_EQ(Seen("Panel", CM_FONTCHANGED), 1);
    EXPECT_EQ(Seen("Inherits", 0xB008), 1);
    EXPECT_EQ(Seen("Own", 0xB008), 1) << "every child hears it";
    EXPECT_EQ(inherits->Font()->Height(), -20) << "the child with ParentFont takes it";
    EXPECT_TRUE(inherits->ParentFont());
    EXPECT_EQ(Seen("Inherits", CM_FONTCHANGED), 1);
    EXPECT_NE(own->Font()->Height(), -20);
    EXPECT_EQ(Seen("Own", CM_FONTCHANGED), 0);
}

TEST_F(TDispatchTest, MouseCrossingsSendEnterAndLeave)
{
    TForm* form = NewForm("Form1");
    TSpyControl* panel = NewSpy(form, "Panel", Rect(0, 0, 300, 200));
    TSpyControl* left = NewSpy(panel, "Left", Rect(10, 10, 100, 100));
    NewSpy(panel, "Right", Rect(150, 10, 250, 100));
    Pump();
    Log.clear();
    Host.MouseMove(Host.PointOf("Left"));
    Pump();
    Host.MouseMove(Host.PointOf("Right"));
    Pump();
    Host.PointerLeaves(Host.PointOf("Right"));
    Pump();
    const auto sequence = Sequence({CM_MOUSEENTER, CM_MOUSELEAVE});
    EXPECT_EQ(sequence, (std::vector<std::string>{"Left:CM_MOUSEENTER", "Panel:CM_MOUSEENTER", "Left:CM_MOUSELEAVE",
                                                  "Panel:CM_MOUSELEAVE", "Right:CM_MOUSEENTER",
                                                  "Panel:CM_MOUSEENTER", "Right:CM_MOUSELEAVE",
                                                  "Panel:CM_MOUSELEAVE"}));
    // The parent hears of its child with lParam = the child.
    const auto parentHeard = std::find_if(Log.begin(), Log.end(),
                                          [](const TSeen& seen) { return seen.Who == "Panel" && seen.Msg == CM_MOUSEENTER; });
    ASSERT_NE(parentHeard, Log.end());
    EXPECT_EQ(reinterpret_cast<TControl*>(parentHeard->LParam), left);
}

TEST_F(TDispatchTest, AHandlersExceptionReachesTheApplicationAndTheLoopGoesOn)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 110, 60));
    Pump();
    std::vector<std::string> caught;
    App.OnException = [&](TObject* sender, const std::exception& error) {
        caught.push_back(std::string(error.what()) + (sender == spy ? " from spy" : ""));
    };
    spy->OnClick = +[](TObject*) { throw std::runtime_error("click failed"); };
    Host.Click("Spy");
    PostMessage(spy->Handle(), WM_USER + 7, 0, 0);
    Pump();
    EXPECT_EQ(caught, (std::vector<std::string>{"click failed from spy"}));
    EXPECT_EQ(Seen("Spy", WM_USER + 7), 1) << "the message after the failure was handled";
}

TEST_F(TDispatchTest, AModalFormRunsItsOwnLoopWhileMessagesWorkersAndTimersFlow)
{
    TForm* main = NewForm("Main");
    TSpyControl* mainSpy = NewSpy(main, "MainSpy", Rect(10, 10, 110, 60));
    Pump();
    auto* dialog = App.CreateForm<TForm>();
    dialog->SetName("Dialog");
    dialog->SetBounds(600, 100, 200, 150);
    TSpyControl* dialogSpy = NewSpy(dialog, "DialogSpy", Rect(10, 10, 110, 60));

    struct TPoster : TThread {
        HWND Target = 0;
        void Execute() override { QueueCall(Target, [this] { PostMessage(Target, WM_USER + 1, 0, 0); }); }
    };
    auto worker = std::make_shared<TPoster>();
    int timerFired = 0;
    const int beeps = Host.BeepCount();
    std::vector<std::string> steps;
    Host.Script([&] {
        steps.push_back("posted");
        PostMessage(dialogSpy->Handle(), WM_USER, 0, 0);
    });
    Host.Script([&] {
        steps.push_back("click on the main form");
        Host.Click("MainSpy");
    });
    Host.Script([&] {
        steps.push_back("worker");
        worker->Target = dialogSpy->Handle();
        worker->Start();
        worker->WaitFor();
    });
    Host.Script([&] {
        steps.push_back("timer");
        SetTimer(dialogSpy->Handle(), 5, 100);
        Host.AdvanceClock(100);
    });
    // The timer's arrival ends the modal loop: the idle handler sets the
    // result and asks for another turn, so the loop sees it before it waits.
    App.OnIdle = [&](TObject*, bool& done) {
        if (dialogSpy->Count(WM_TIMER) > 0 && dialog->ModalResult() == mrNone && timerFired == 0) {
            timerFired = 1;
            dialog->SetModalResult(mrOk);
            done = false;
        }
    };
    const TModalResult result = dialog->ShowModal();
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(steps, (std::vector<std::string>{"posted", "click on the main form", "worker", "timer"}));
    EXPECT_EQ(dialogSpy->Count(WM_USER), 1);
    EXPECT_EQ(dialogSpy->Count(WM_USER + 1), 1) << "the worker's call arrived during the modal loop";
    EXPECT_GE(dialogSpy->Count(WM_TIMER), 1);
    EXPECT_EQ(mainSpy->Count(WM_LBUTTONDOWN), 0) << "the main form takes no input while the dialog is modal";
    EXPECT_EQ(Host.BeepCount(), beeps + 1) << "the refused click beeps";
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(IsWindowEnabled(main->Handle())) << "the main form is enabled again";
    App.OnIdle = nullptr;
}

TEST_F(TDispatchTest, ARefusedCloseKeepsTheForm)
{
    NewForm("Main");
    auto* second = App.CreateForm<TForm>();
    second->SetName("Second");
    second->Show();
    Pump();
    bool allow = false;
    int asked = 0;
    second->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    Host.CloseWindow(second->Handle());
    Pump();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(second->Visible());
    EXPECT_TRUE(Host.HostWindowVisible(second->Handle()));
    allow = true;
    second->Close();
    Pump();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(second->Visible());
}

TEST_F(TDispatchTest, CaptionAndApplicationTitleStayApart)
{
    TForm* form = NewForm("Main");
    form->SetCaption("QEL KORVEL X2 r6.11.01 [64]  ");
    App.SetTitle("KORVEL ");
    Pump();
    EXPECT_EQ(Host.CaptionOf(form->Handle()), "QEL KORVEL X2 r6.11.01 [64]  ");
    EXPECT_EQ(Host.ApplicationTitle(), "KORVEL ");
    EXPECT_EQ(FindTopLevelWindow("KORVEL "), App.Handle());
    App.SetTitle("42 %");
    EXPECT_EQ(Host.CaptionOf(form->Handle()), "QEL KORVEL X2 r6.11.01 [64]  ");
    EXPECT_EQ(FindTopLevelWindow("KORVEL "), 0);
}

} // namespace
} // namespace plat::test
