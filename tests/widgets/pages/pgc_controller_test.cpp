// Tests of the controller and the library's control bases on a headless
// form: which controller a control takes as its window is made, the
// controller's settings, its posted notifications and error box, the focus
// notifications after the focus change, the raw wheel fields and About.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_helpers.h"

#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace qel {
namespace {

// A library control that can take the focus.
class TFocusableControl : public TPgcCustomControlEx {
public:
    TFocusableControl(plat::TComponent* owner, plat::TWinControl* parent, const std::string& name, int left)
        : TPgcCustomControlEx(owner)
    {
        SetName(name);
        SetBounds(left, 10, 80, 30);
        SetParent(parent);   // on a shown form, the window is made here
        SetTabStop(true);
    }
};

// A control whose window is top-level: no form or frame is among its parents.
class TStandAloneControl : public TPgcCustomControlEx {
public:
    using TPgcCustomControlEx::TPgcCustomControlEx;

protected:
    void CreateParams(plat::TCreateParams& params) override
    {
        params.Style = plat::WS_POPUP;
        params.Width = 50;
        params.Height = 20;
    }
};

class PgcController : public test::TPgcFormTest {
protected:
    // Takes the one message waiting (after everything else was handled).
    plat::TMsg TakePosted()
    {
        plat::TMsg msg;
        EXPECT_TRUE(App.Queue().PeekMessage(msg)) << "nothing was posted";
        return msg;
    }
    bool NothingPosted()
    {
        plat::TMsg msg;
        return !App.Queue().PeekMessage(msg);
    }
};

TEST_F(PgcController, StartsWithTheLibraryDefaults)
{
    TPgcController controller(Form);
    EXPECT_EQ(controller.EntryOptions(), (TPgcBaseEFOptions{efoAutoSelect, efoBeepOnError, efoInsertPushes}));
    EXPECT_EQ(controller.Epoch(), DefaultEpochYear());
    EXPECT_TRUE(controller.InsertMode());
    EXPECT_FALSE(controller.ErrorPending());
    EXPECT_EQ(controller.EntryCommands()->Count(), 3);
    EXPECT_EQ(controller.TimerPool()->Owner(), &controller);
    EXPECT_EQ(controller.TimerPool()->Count(), 0);
}

TEST_F(PgcController, EpochStaysWithinItsLimits)
{
    TPgcController controller(nullptr);
    const struct {
        int Written;
        int Read;
    } cases[] = {{1600, 1600}, {1599, 1600}, {3999, 3999}, {4000, 3999}, {2100, 2100}, {-1, 2100}};
    for (const auto& c : cases) {
        controller.SetEpoch(c.Written);
        EXPECT_EQ(controller.Epoch(), c.Read) << "written " << c.Written;
    }
    controller.OnGetEpoch = TGetEpochEvent([](plat::TObject*, int& epoch) { epoch += 100; });
    EXPECT_EQ(controller.Epoch(), 2200);
    controller.OnGetEpoch = nullptr;
    EXPECT_EQ(controller.Epoch(), 2100) << "the stored value stays";
}

TEST_F(PgcController, EditNotificationsArriveAfterTheMessageBeingHandled)
{
    TPgcController controller(Form);
    auto* field = new TFocusableControl(Form, Form, "Field1", 10);
    auto* other = new TFocusableControl(Form, Form, "Field2", 100);
    Pump();
    std::vector<std::string> events;
    controller.OnPreEdit = TPreEditEvent([&events](plat::TObject* sender, plat::TWinControl* losing) {
        events.push_back("pre " + dynamic_cast<plat::TComponent*>(sender)->Name() + " losing "
                         + (losing != nullptr ? losing->Name() : "nil"));
    });
    controller.OnPostEdit = TPostEditEvent([&events](plat::TObject* sender, plat::TWinControl* gaining) {
        events.push_back("post " + dynamic_cast<plat::TComponent*>(sender)->Name() + " gaining "
                         + (gaining != nullptr ? gaining->Name() : "nil"));
    });

    controller.DoOnPreEdit(field, nullptr);
    const plat::TMsg msg = TakePosted();
    EXPECT_EQ(msg.hwnd, controller.Handle());
    EXPECT_EQ(msg.message, PGCM_PREEDIT);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, reinterpret_cast<plat::LPARAM>(field));
    EXPECT_TRUE(events.empty()) << "posted, not called";
    plat::TMessageQueue::DispatchMessage(msg);
    EXPECT_EQ(events, (std::vector<std::string>{"pre Field1 losing nil"}));

    events.clear();
    controller.DoOnPostEdit(field, other);
    controller.DoOnPreEdit(other, field);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"post Field1 gaining Field2", "pre Field2 losing Field1"}));
}

TEST_F(PgcController, DelayedNotificationsArePostedOnlyToAHandler)
{
    TPgcController controller(Form);
    Pump();
    controller.DelayNotify(&controller, 7);
    EXPECT_TRUE(NothingPosted());
    std::vector<int> codes;
    controller.OnDelayNotify = TDelayNotifyEvent(
        [&codes, &controller](plat::TObject* sender, std::uint16_t code) { codes.push_back(sender == &controller ? code : -1); });
    controller.DelayNotify(&controller, 65535);
    EXPECT_TRUE(codes.empty());
    Pump();
    EXPECT_EQ(codes, (std::vector<int>{65535}));
}

TEST_F(PgcController, NotificationsOfAFreedSenderAreDropped)
{
    TPgcController controller(Form);
    Pump();
    std::vector<std::string> events;
    controller.OnPreEdit = TPreEditEvent([&events](plat::TObject* sender, plat::TWinControl*) {
        events.push_back(dynamic_cast<plat::TComponent*>(sender)->Name());
    });
    auto* gone = new plat::TComponent(nullptr);
    gone->SetName("Gone");
    plat::TComponent stays(nullptr);
    stays.SetName("Stays");
    controller.DoOnPreEdit(gone, nullptr);
    controller.DoOnPreEdit(&stays, nullptr);
    delete gone;
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"Stays"}));

    controller.DoOnPreEdit(&stays, nullptr);
    controller.DestroyHandle();
    Pump();
    EXPECT_EQ(events.size(), 1u) << "a destroyed window takes its notifications with it";
    controller.DoOnPreEdit(&stays, nullptr);
    Pump();
    EXPECT_EQ(events.size(), 2u) << "the next read of Handle makes a new window";
}

TEST_F(PgcController, AnErrorInTheHiddenWindowReachesTheApplication)
{
    TPgcController controller(Form);
    Pump();
    std::vector<std::string> errors;
    App.OnException = plat::TExceptionEvent([&](plat::TObject* sender, const std::exception& error) {
        errors.push_back(std::string(error.what()) + (sender == &controller ? " (controller)" : " (elsewhere)"));
    });
    int calls = 0;
    controller.OnPostEdit = TPostEditEvent([&calls](plat::TObject*, plat::TWinControl*) {
        if (++calls == 1) {
            throw std::runtime_error("edit failed");
        }
    });
    controller.DoOnPostEdit(&controller, nullptr);
    controller.DoOnPostEdit(&controller, nullptr);
    Pump();
    EXPECT_EQ(errors, (std::vector<std::string>{"edit failed (controller)"}));
    EXPECT_EQ(calls, 2) << "the loop went on";
}

TEST_F(PgcController, WithoutAHandlerAnErrorShowsOneErrorBox)
{
    TPgcController controller(Form);
    Dialogs.ExpectMessageBox(plat::mbOK, "Value is not within required range");
    controller.DoOnError(&controller, 5, "Value is not within required range");
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    const plat::TShownDialog& box = Dialogs.Shown()[0];
    EXPECT_EQ(box.Text, "Value is not within required range");
    EXPECT_EQ(box.Type, plat::mtError);
    EXPECT_EQ(box.Buttons, (plat::TMsgDlgButtons{plat::mbOK}));

    std::string seen;
    controller.OnError = TDataErrorEvent([&seen](plat::TObject*, std::uint16_t code, const std::string& text) {
        seen = std::to_string(code) + " " + text;
    });
    controller.DoOnError(&controller, 65535, "Entry Error");
    EXPECT_EQ(seen, "65535 Entry Error");
    EXPECT_EQ(Dialogs.Shown().size(), 1u);
}

TEST_F(PgcController, ShowControlShowsAndFocusesTheControl)
{
    TPgcController controller(Form);
    auto* field = new TFocusableControl(Form, Form, "Field1", 10);
    field->Hide();
    Pump();
    controller.PostControllerMessage(PGCM_SHOWCONTROL, 0, field);
    EXPECT_FALSE(field->Visible());
    Pump();
    EXPECT_TRUE(field->Visible());
    EXPECT_TRUE(field->Focused());
}

TEST_F(PgcController, SpecialButtonsAreWhatTheHandlerSays)
{
    TPgcController controller(Form);
    auto* field = new TFocusableControl(Form, Form, "Field1", 10);
    Pump();
    EXPECT_FALSE(controller.IsSpecialButton(field->Handle()));
    controller.OnIsSpecialControl = TIsSpecialControlEvent(
        [field](plat::TObject*, plat::TWinControl* control, bool& special) { special = control == field; });
    EXPECT_TRUE(controller.IsSpecialButton(field->Handle()));
    EXPECT_FALSE(controller.IsSpecialButton(0));
}

TEST_F(PgcController, AWindowTakesTheFirstControllerOfItsFormOrTheDefault)
{
    auto* alone = new TFocusableControl(Form, nullptr, "Alone", 10);
    EXPECT_FALSE(alone->HasController());
    EXPECT_EQ(alone->Controller(), DefaultController());
    alone->SetParent(Form);
    ASSERT_TRUE(alone->HandleAllocated());
    EXPECT_TRUE(alone->HasController());
    EXPECT_EQ(alone->Controller(), DefaultController());

    auto* late = new TFocusableControl(Form, nullptr, "Late", 100);
    auto* first = new TPgcController(Form);
    auto* second = new TPgcController(Form);
    EXPECT_EQ(late->Controller(), first) << "a controller inserted into the form is taken";
    EXPECT_EQ(alone->Controller(), DefaultController()) << "an assigned controller stays";
    auto* created = new TFocusableControl(Form, nullptr, "Created", 200);
    second->SetComponentIndex(0);
    created->SetParent(Form);
    EXPECT_EQ(created->Controller(), second) << "the first in component order";

    delete second;
    EXPECT_FALSE(created->HasController());
    EXPECT_EQ(created->Controller(), DefaultController());
    created->SetController(first);
    EXPECT_EQ(created->Controller(), first);
    created->SetController(Form);   // no controller
    EXPECT_FALSE(created->HasController());
}

TEST_F(PgcController, AFrameIsTheNearestFormForTheControllerSearch)
{
    auto* frame = new plat::TFrame(Form);
    frame->SetParent(Form);
    auto* onForm = new TPgcController(Form);
    auto* onFrame = new TPgcController(frame);
    auto* control = new TFocusableControl(frame, frame, "InFrame", 10);
    control->HandleNeeded();
    EXPECT_EQ(control->Controller(), onFrame);
    EXPECT_EQ(FindParentFormOrFrame(control), frame);
    EXPECT_EQ(FindParentFormOrFrame(frame), Form);
    EXPECT_EQ(FindParentFormOrFrame(Form), nullptr);
    EXPECT_NE(onForm, onFrame);
}

TEST_F(PgcController, AWindowWithoutFormOrFrameTakesTheDefaultController)
{
    new TPgcController(Form);
    TStandAloneControl control(nullptr);
    control.HandleNeeded();
    ASSERT_TRUE(control.HandleAllocated());
    EXPECT_EQ(FindParentFormOrFrame(&control), nullptr);
    EXPECT_TRUE(control.HasController());
    EXPECT_EQ(control.Controller(), DefaultController());
}

TEST_F(PgcController, TheDefaultControllerGoesAwayQuietly)
{
    auto* control = new TFocusableControl(Form, Form, "Field1", 10);
    control->HandleNeeded();
    ASSERT_EQ(control->Controller(), DefaultController());
    FinalizePgcBaseUnit();
    EXPECT_FALSE(control->HasController()) << "the control heard of its end";
    EXPECT_NE(control->Controller(), nullptr) << "a new default controller is made on request";
}

TEST_F(PgcController, FocusNotificationsComeAfterTheFocusChange)
{
    auto* first = new TFocusableControl(Form, Form, "First", 10);
    auto* second = new TFocusableControl(Form, Form, "Second", 100);
    Pump();
    std::vector<std::string> events;
    auto note = [&events, this](const char* what) {
        return plat::TNotifyEvent([&events, this, what](plat::TObject* sender) {
            const auto* control = dynamic_cast<plat::TWinControl*>(sender);
            events.push_back(std::string(what) + " " + control->Name() + ", focus on "
                             + Form->FocusedControl()->Name());
        });
    };
    first->AfterEnter = note("enter");
    first->AfterExit = note("exit");
    second->AfterEnter = note("enter");
    second->AfterExit = note("exit");
    first->SetFocus();
    EXPECT_TRUE(events.empty()) << "posted, not called";
    Pump();
    second->SetFocus();
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"enter First, focus on First", "exit First, focus on Second",
                                                "enter Second, focus on Second"}));
}

TEST_F(PgcController, TheWheelReportsTheMessagesUnsignedFields)
{
    auto* control = new TFocusableControl(Form, Form, "Wheel1", 10);
    Pump();
    control->SetFocus();
    Pump();
    std::vector<std::string> seen;
    control->OnMouseWheel = TMouseWheelEvent(
        [&seen](plat::TObject*, plat::TShiftState shift, std::uint16_t delta, std::uint16_t x, std::uint16_t y) {
            seen.push_back(std::to_string(delta) + " at " + std::to_string(x) + "," + std::to_string(y)
                           + (shift.Contains(plat::ssCtrl) ? " ctrl" : ""));
        });
    const plat::TPoint point = Host.PointOf("Form1.Wheel1");
    Host.Wheel(point, -plat::WHEEL_DELTA);
    Pump();
    Host.KeyDown(plat::VK_CONTROL);
    Host.Wheel(point, 2 * plat::WHEEL_DELTA);
    Host.KeyUp(plat::VK_CONTROL);
    Pump();
    const std::string at = " at " + std::to_string(point.X) + "," + std::to_string(point.Y);
    EXPECT_EQ(seen, (std::vector<std::string>{"65416" + at, "240" + at + " ctrl"}));
}

TEST_F(PgcController, AboutIsTheLibraryVersionAndNeverStreamed)
{
    TPgcComponent component(nullptr);
    TPg32Component component32(nullptr);
    TPgcGraphicControl graphic(nullptr);
    TPgcCustomControl custom(nullptr);
    TPgcController controller(nullptr);
    component.SetAbout("v9");
    for (const std::string& about : {component.About(), component32.About(), graphic.About(), custom.About(),
                                     controller.About(), controller.TimerPool()->About()}) {
        EXPECT_EQ(about, "v2.10");
    }
    const plat::TComponent* roots[] = {&component, &component32, &graphic, &custom, &controller, controller.TimerPool()};
    for (const plat::TComponent* root : roots) {
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteRootComponent(const_cast<plat::TComponent*>(root));
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        stream.SetPosition(0);
        stream.ReadBuffer(bytes.data(), stream.Size());
        EXPECT_EQ(bytes.find("About"), std::string::npos) << root->ClassName();
        EXPECT_EQ(bytes.find("v2.10"), std::string::npos) << root->ClassName();
    }
}

} // namespace
} // namespace qel
