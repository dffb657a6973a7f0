// Forms and frames beyond dispatch: a frame's controls take part in the
// form's tab order and stream as the root's; forms close, hide and free by
// their close action; the main form's close ends the application; popups
// hold the pointer; drags a desktop back end carries reach the targets.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/drag_drop.h"
#include "platform/controls/hint_window.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"
#include "platform/objects/class_registry.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"

namespace plat::test {
namespace {

using TFormsFramesTest = TControlsTest;

TEST_F(TFormsFramesTest, AFramesControlsTakePartInTheFormsTabOrder)
{
    TForm* form = NewForm("Form1");
    TSpyControl* before = NewSpy(form, "Before", Rect(10, 10, 100, 40));
    auto* frame = new TFrame(form);
    frame->SetName("Frame1");
    frame->SetBounds(10, 50, 200, 100);
    frame->SetParent(form);
    auto* inside = Place(new TSpyControl(form, Log, "Inside"), frame, Rect(5, 5, 90, 30));
    TSpyControl* framesOwn = NewSpy(frame, "FramesOwn", Rect(5, 40, 90, 60));
    framesOwn->SetTabStop(false);
    auto* parentless = new TComponent(frame);
    NewSpy(form, "After", Rect(10, 160, 100, 190));
    Pump();
    before->SetFocus();
    std::vector<std::string> visited;
    for (int i = 0; i < 3; ++i) {
        Host.Key(VK_TAB);
        Pump();
        visited.push_back(form->ActiveControl()->Name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Inside", "After", "Before"}))
        << "the frame itself is no tab stop, its control is";
    std::vector<TComponent*> streamed;
    frame->GetChildren([&](TComponent* child) { streamed.push_back(child); }, form);
    EXPECT_EQ(streamed, (std::vector<TComponent*>{inside})) << "the form's own control inside the frame";
    streamed.clear();
    frame->GetChildren([&](TComponent* child) { streamed.push_back(child); }, frame);
    EXPECT_EQ(streamed, (std::vector<TComponent*>{framesOwn, parentless})) << "the frame as the root";
    streamed.clear();
    form->GetChildren([&](TComponent* child) { streamed.push_back(child); }, form);
    EXPECT_EQ(streamed.size(), 3U) << "Before, the frame and After; the frame's controls stream below it";
    EXPECT_EQ(Host.FindControl("Form1.Frame1.Inside"), inside);
}

TEST_F(TFormsFramesTest, ControlsReadFromAStreamTakeTheirParentsFromIt)
{
    RegisterClass(TCustomControl::StaticClass());
    TForm* form = NewForm("Form1");
    auto* box = new TCustomControl(form);
    box->SetName("Box");
    box->SetParent(form);
    auto* inner = new TCustomControl(form);
    inner->SetName("Inner");
    inner->SetParent(box);
    TMemoryStream stream;
    TWriter(stream).WriteRootComponent(form);
    delete form;   // the copy takes the name the stream gives its root
    Pump();

    TForm* copy = NewForm("Copy");
    stream.SetPosition(0);
    TReader(stream).ReadRootComponent(copy);
    auto* readBox = dynamic_cast<TControl*>(copy->FindComponent("Box"));
    auto* readInner = dynamic_cast<TControl*>(copy->FindComponent("Inner"));
    ASSERT_NE(readBox, nullptr);
    ASSERT_NE(readInner, nullptr);
    EXPECT_EQ(readBox->Parent(), copy);
    EXPECT_EQ(readInner->Parent(), readBox);
}

TEST_F(TFormsFramesTest, TheCloseActionHidesFreesOrKeepsAndTheMainFormEndsTheApplication)
{
    TForm* main = NewForm("Main");
    struct TCase {
        TCloseAction Action;
        bool Visible;
        bool Exists;
    };
    const TCase cases[] = {{caHide, false, true}, {caNone, true, true}, {caFree, false, false}};
    for (const TCase& each : cases) {
        auto* second = App.CreateForm<TForm>();
        second->SetName("Second");
        second->Show();
        Pump();
        second->OnClose = [&each](TObject*, TCloseAction& action) { action = each.Action; };
        second->Close();
        Pump();
        TControl* found = Host.FindControl("Second");
        EXPECT_EQ(found != nullptr, each.Exists) << each.Action;
        if (found != nullptr) {
            EXPECT_EQ(found->Visible(), each.Visible) << each.Action;
            delete found;
        }
    }
    EXPECT_FALSE(App.Terminated());
    main->Close();
    Pump();
    EXPECT_TRUE(App.Terminated());
    EXPECT_TRUE(main->Visible()) << "the main form stays until the application ends";
}

TEST_F(TFormsFramesTest, PopupsHoldThePointerWhileTheyCapture)
{
    NewForm("Main");
    THintWindow popup(nullptr);
    popup.ActivateHint(Rect(300, 300, 400, 330), "popup");
    Pump();
    ASSERT_TRUE(popup.Shown());
    EXPECT_NE(GetWindowExStyle(popup.Handle()) & WS_EX_NOACTIVATE, 0u);
    SetCapture(popup.Handle());
    EXPECT_EQ(Host.PointerGrab(), popup.Handle());
    ReleaseCapture();
    EXPECT_EQ(Host.PointerGrab(), 0);
    EXPECT_NE(GetActiveWindow(), popup.Handle()) << "a popup never takes the keyboard";
}

// A drop target that notes what reaches it and takes copies.
struct TNotingTarget : IDropTarget {
    std::vector<std::string> Calls;
    HRESULT DragEnter(const std::shared_ptr<IDataObject>&, DWORD, TPoint, DWORD& effect) override
    {
        Calls.push_back("enter");
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, TPoint, DWORD& effect) override
    {
        Calls.push_back("over");
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        Calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(const std::shared_ptr<IDataObject>&, DWORD, TPoint, DWORD& effect) override
    {
        Calls.push_back("drop");
        effect = DROPEFFECT_COPY;
        return S_OK;
    }
};

TEST(TCarriedDrag, ADragTheBackEndCarriesReachesOurTargetsAndEndsAsItSays)
{
    THeadlessOptions options;
    options.CarriesDrags = true;
    THeadlessHost host(options);
    TApplication application(host);
    TSeenLog log;
    auto* form = application.CreateForm<TForm>();
    form->SetName("Form1");
    form->SetBounds(100, 100, 400, 300);
    auto* target = Place(new TSpyControl(form, log, "Target"), form, Rect(10, 10, 110, 110));
    form->Show();
    host.PumpUntilIdle();
    auto drop = std::make_shared<TNotingTarget>();
    RegisterDragDrop(target->Handle(), drop);
    auto data = std::make_shared<TBlockDataObject>();
    data->Add(CF_UNICODETEXT, TextToUnicodeBlock("dragged"));
    const CLIPFORMAT ownFormat = RegisterClipboardFormat("Carried drag test format");
    KeepClipboardFormatInProcess(ownFormat);
    data->Add(ownFormat, TextToUnicodeBlock("stays in the program"));
    const TPoint over = host.PointOf("Target");
    DWORD effects[3] = {};
    host.Script([&] {
        EXPECT_EQ(CurrentDragData(), data);
        effects[0] = HostDragOver(data, over, MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE);
        effects[1] = HostDragOver(data, Point(over.X + 1, over.Y), MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE);
        effects[2] = HostDragDrop(data, over, 0, DROPEFFECT_COPY | DROPEFFECT_MOVE);
        HostDragEnded(effects[2], true);
    });
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data, std::make_shared<TDefaultDropSource>(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(host.DragFormats(), (std::vector<std::uint16_t>{CF_UNICODETEXT})) << "the in-process format stays out";
    EXPECT_EQ(host.DragEffects(), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(drop->Calls, (std::vector<std::string>{"enter", "over", "over", "drop"}));
    EXPECT_EQ(effects[0], DROPEFFECT_COPY);
    EXPECT_EQ(CurrentDragData(), nullptr);

    // Another program's drag outside every target, then cancelled.
    drop->Calls.clear();
    EXPECT_EQ(HostDragOver(data, Point(5, 5), 0, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_EQ(HostDragOver(data, over, 0, DROPEFFECT_COPY), DROPEFFECT_COPY);
    HostDragLeave();
    EXPECT_EQ(drop->Calls, (std::vector<std::string>{"enter", "leave"}));
    host.Script([&] { HostDragEnded(DROPEFFECT_NONE, false); });
    EXPECT_EQ(DoDragDrop(data, std::make_shared<TDefaultDropSource>(), DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

} // namespace
} // namespace plat::test
