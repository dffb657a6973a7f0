// The context menu request: a right-button release, Shift+F10 and the
// Applications key give WM_CONTEXTMENU (screen point, or -1,-1 from the
// keyboard); the control's pop-up menu opens, else the request goes up to
// its parents; OnContextPopup may take it first.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/graphic_control.h"
#include "platform/controls/virtual_keys.h"

namespace plat::test {
namespace {

// A pop-up menu that notes where it was asked to open.
class TMenuSpy : public TComponent, public IPopupMenu {
public:
    explicit TMenuSpy(TComponent* owner) : TComponent(owner) {}

    bool AutoPopup() const override { return Auto; }
    void PopupFor(TComponent* popupComponent, TPoint screenPoint) override
    {
        Opened.push_back(TOpening{popupComponent, screenPoint});
        if (WhenOpened) {
            WhenOpened();
        }
    }

    struct TOpening {
        TComponent* For;
        TPoint At;
    };
    bool Auto = true;
    std::vector<TOpening> Opened;
    std::function<void()> WhenOpened;
};

class TGraphicChild : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

class TContextMenuTest : public TControlsTest {
protected:
    void SetUp() override
    {
        Form = NewForm("Form1");
        Panel = NewSpy(Form, "Panel", Rect(10, 10, 310, 210));
        Menu = new TMenuSpy(Form);
    }

    void RightClick(TControl* control, TPoint client)
    {
        Host.Click(control->ClientToScreen(client), THostButton::Right);
        Pump();
    }

    TForm* Form = nullptr;
    TSpyControl* Panel = nullptr;
    TMenuSpy* Menu = nullptr;
};

TEST_F(TContextMenuTest, ARightClickOpensTheControlsMenuAtThePointerBeforeItsMouseUpEvent)
{
    Panel->SetPopupMenu(Menu);
    std::vector<std::string> events;
    Menu->WhenOpened = [&] { events.push_back("menu"); };
    Panel->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(button == mbRight ? "right up" : "other up");
    };
    Log.clear();
    RightClick(Panel, Point(40, 50));
    const TPoint screen = Panel->ClientToScreen(Point(40, 50));
    ASSERT_EQ(Menu->Opened.size(), 1u);
    EXPECT_EQ(Menu->Opened[0].For, Panel);
    EXPECT_EQ(Menu->Opened[0].At, screen);
    EXPECT_EQ(Sequence({WM_RBUTTONUP, WM_CONTEXTMENU}),
              (std::vector<std::string>{"Panel:WM_RBUTTONUP", "Panel:WM_CONTEXTMENU"}));
    const TSeen* request = Panel->Last(WM_CONTEXTMENU);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(static_cast<HWND>(request->WParam), Panel->Handle());
    EXPECT_EQ(Point(GET_X_LPARAM(request->LParam), GET_Y_LPARAM(request->LParam)), screen);
    EXPECT_EQ(events, (std::vector<std::string>{"menu", "right up"})) << "the menu runs inside the release";
}

TEST_F(TContextMenuTest, TheRequestGoesUpToTheFirstControlWithAMenu)
{
    TSpyControl* inner = NewSpy(Panel, "Inner", Rect(10, 10, 110, 110));
    auto* graphic = Place(new TGraphicChild(Form), Panel, Rect(150, 10, 250, 110));
    auto* innerMenu = new TMenuSpy(Form);
    Pump();
    struct TCase {
        const char* Name;
        TControl* Clicked;
        TComponent* PanelMenu;
        TComponent* InnerMenu;
        TComponent* GraphicMenu;
        TMenuSpy* Expected;     // nullptr: no menu opens
        TControl* ExpectedFor;
    };
    const TCase cases[] = {
        {"windowed child without menu: the parent's", inner, Menu, nullptr, nullptr, Menu, Panel},
        {"windowed child with a menu: its own", inner, Menu, innerMenu, nullptr, innerMenu, inner},
        {"child without window and menu: the parent's", graphic, Menu, nullptr, nullptr, Menu, Panel},
        {"child without window with a menu: its own", graphic, Menu, nullptr, innerMenu, innerMenu, graphic},
        {"no menu anywhere", inner, nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    for (const TCase& each : cases) {
        Panel->SetPopupMenu(each.PanelMenu);
        inner->SetPopupMenu(each.InnerMenu);
        graphic->SetPopupMenu(each.GraphicMenu);
        Menu->Opened.clear();
        innerMenu->Opened.clear();
        RightClick(each.Clicked, Point(20, 30));
        const std::size_t opened = Menu->Opened.size() + innerMenu->Opened.size();
        if (each.Expected == nullptr) {
            EXPECT_EQ(opened, 0u) << each.Name;
            continue;
        }
        ASSERT_EQ(each.Expected->Opened.size(), 1u) << each.Name;
        EXPECT_EQ(opened, 1u) << each.Name;
        EXPECT_EQ(each.Expected->Opened[0].For, each.ExpectedFor) << each.Name;
        EXPECT_EQ(each.Expected->Opened[0].At, each.Clicked->ClientToScreen(Point(20, 30))) << each.Name;
    }
}

TEST_F(TContextMenuTest, OnContextPopupOrAMenuWithoutAutoPopupKeepsTheMenuShut)
{
    Panel->SetPopupMenu(Menu);
    Panel->OnContextPopup = [&](TObject*, TPoint, bool& handled) { handled = true; };
    RightClick(Panel, Point(40, 50));
    EXPECT_TRUE(Menu->Opened.empty()) << "the handler took it";

    TPoint seen{0, 0};
    Panel->OnContextPopup = [&](TObject*, TPoint mousePos, bool&) { seen = mousePos; };
    Menu->Auto = false;
    RightClick(Panel, Point(40, 50));
    EXPECT_TRUE(Menu->Opened.empty()) << "no AutoPopup";
    EXPECT_EQ(seen, Point(40, 50)) << "the handler sees client coordinates";
}

TEST_F(TContextMenuTest, ShiftF10AndTheApplicationsKeyOpenTheFocusedControlsMenuAtItsCorner)
{
    Panel->SetPopupMenu(Menu);
    Panel->SetFocus();
    Pump();
    TPoint seen{0, 0};
    Panel->OnContextPopup = [&](TObject*, TPoint mousePos, bool&) { seen = mousePos; };
    struct TCase {
        TVirtualKey Key;
        std::uint8_t Modifiers;
        bool Opens;
    };
    const TCase cases[] = {
        {VK_F10, ModShift, true},
        {VK_APPS, 0, true},
        {VK_F10, 0, false},
        {VK_F4, ModShift, false},
    };
    for (const TCase& each : cases) {
        Menu->Opened.clear();
        seen = Point(0, 0);
        Host.Key(each.Key, each.Modifiers);
        Pump();
        const std::string name = "key " + std::to_string(each.Key) + " modifiers " + std::to_string(each.Modifiers);
        if (!each.Opens) {
            EXPECT_TRUE(Menu->Opened.empty()) << name;
            continue;
        }
        ASSERT_EQ(Menu->Opened.size(), 1u) << name;
        EXPECT_EQ(Menu->Opened[0].At, Panel->ClientToScreen(Point(0, 0))) << name;
        EXPECT_EQ(seen, Point(-1, -1)) << name << ": the point of a keyboard request";
    }
}

TEST_F(TContextMenuTest, AMenuThatFreesItsControlEndsTheClickQuietly)
{
    TSpyControl* doomed = NewSpy(Panel, "Doomed", Rect(10, 10, 110, 110));
    doomed->SetPopupMenu(Menu);
    int ups = 0;
    doomed->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    Menu->WhenOpened = [&] { delete doomed; };
    Pump();
    RightClick(doomed, Point(20, 20));
    EXPECT_EQ(Menu->Opened.size(), 1u);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(Panel->ControlCount(), 0);
}

} // namespace
} // namespace plat::test
