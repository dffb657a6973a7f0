// Pop-up menus on the headless host: opening at the pointer on a right
// click, choosing by click, Enter and accelerator, closing by Escape or a
// click outside, items that cannot be chosen, and check marks.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/menu_window.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/virtual_keys.h"

namespace plat::test {
namespace {

class TMenuTest : public TStandardTest {
protected:
    void SetUp() override
    {
        Form = NewForm("Form1", 100, 100, 400, 300);
        Panel = Place<TPanel>(Form, "Panel", Rect(10, 10, 210, 160));
        Button = Place<TButton>(Form, "Button", Rect(250, 10, 325, 35));
        Button->OnClick = [this](TObject*) { Chosen.push_back("button"); };
        Menu = new TPopupMenu(Form);
        for (const char* caption : {"&Save directory list!", "-", "&Copy", "Disa&bled", "&Checked", "C&lose"}) {
            auto* item = new TMenuItem(Form);
            item->SetCaption(caption);
            item->OnClick = [this](TObject* sender) { Chosen.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
            Menu->Items().Add(item);
        }
        Item(3)->SetEnabled(false);
        Item(4)->SetChecked(true);
        Panel->SetPopupMenu(Menu);
        Pump();
    }
    TMenuItem* Item(int index) { return Menu->Items().Items(index); }
    // The open menu's window; nullptr when none shows.
    TMenuWindow* OpenMenu()
    {
        for (HWND window : Host.VisibleWindows()) {
            if (auto* menu = dynamic_cast<TMenuWindow*>(TWinControl::FindControl(window))) {
                return menu;
            }
        }
        return nullptr;
    }
    // The screen centre of an item of the open menu.
    TPoint ItemPoint(int index)
    {
        TMenuWindow* menu = OpenMenu();
        const TRect rect = menu->ItemRect(Item(index));
        return menu->ClientToScreen(Point((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2));
    }
    // Right-clicks the panel and runs the steps while the menu is open.
    void RightClickPanel(TPoint client, std::vector<std::function<void()>> steps)
    {
        for (auto& step : steps) {
            Host.Script(std::move(step));
        }
        ClickAt(Panel, client, THostButton::Right);
        EXPECT_EQ(OpenMenu(), nullptr) << "the menu has closed";
        EXPECT_EQ(Host.ScriptLeft(), 0u);
    }

    TForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TButton* Button = nullptr;
    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Chosen;
};

TEST_F(TMenuTest, ARightClickOpensTheMenuAtThePointerAndAnItemClickRunsItOnce)
{
    const TPoint pointer = Panel->ClientToScreen(Point(40, 50));
    RightClickPanel(Point(40, 50), {[&] {
                        TMenuWindow* menu = OpenMenu();
                        ASSERT_NE(menu, nullptr);
                        EXPECT_EQ(Host.HostWindowBounds(menu->Handle()).Left, pointer.X);
                        EXPECT_EQ(Host.HostWindowBounds(menu->Handle()).Top, pointer.Y);
                        EXPECT_EQ(Menu->PopupComponent(), Panel);
                        Host.MouseMove(ItemPoint(2));
                        Host.Click(ItemPoint(2));
                    }});
    EXPECT_EQ(Chosen, (std::vector<std::string>{"&Copy"}));
}

TEST_F(TMenuTest, EscapeOrAClickOutsideClosesWithNothingRun)
{
    RightClickPanel(Point(40, 50), {[&] { Host.Key(VK_ESCAPE); }});
    // The press outside closes the menu and reaches nothing else.
    RightClickPanel(Point(40, 50), {[&] { Host.Click(Button->ClientToScreen(Point(20, 10))); }});
    EXPECT_TRUE(Chosen.empty());
    EXPECT_FALSE(Button->Focused());
}

TEST_F(TMenuTest, SeparatorsAndDisabledItemsCannotBeChosen)
{
    RightClickPanel(Point(40, 50), {[&] {
                                        Host.Click(ItemPoint(1));
                                        Host.Click(ItemPoint(3));
                                    },
                                    [&] {
                                        EXPECT_NE(OpenMenu(), nullptr) << "still open";
                                        // Down from the top skips the separator; from Copy it skips the
                                        // disabled item.
                                        Host.Key(VK_DOWN);
                                        Host.Key(VK_DOWN);
                                    },
                                    [&] {
                                        EXPECT_EQ(OpenMenu()->HotItem(), Item(2));
                                        Host.Key(VK_DOWN);
                                    },
                                    [&] {
                                        EXPECT_EQ(OpenMenu()->HotItem(), Item(4));
                                        Host.Key(VK_RETURN);
                                    }});
    EXPECT_EQ(Chosen, (std::vector<std::string>{"&Checked"}));
}

TEST_F(TMenuTest, AcceleratorLettersChooseTheirItem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"s", "&Save directory list!"}, {"L", "C&lose"}, {"b", nullptr}, {"x", nullptr}};
    for (const auto& [letter, expected] : cases) {
        Chosen.clear();
        std::vector<std::function<void()>> steps = {[&, letter = std::string(letter)] { Host.TypeText(letter); }};
        if (expected == nullptr) {
            // A disabled item's letter, or no item's, leaves the menu open.
            steps.push_back([&] {
                EXPECT_NE(OpenMenu(), nullptr);
                Host.Key(VK_ESCAPE);
            });
        }
        RightClickPanel(Point(40, 50), steps);
        EXPECT_EQ(Chosen, expected ? std::vector<std::string>{expected} : std::vector<std::string>{}) << letter;
    }
    // Two items with the same letter: each press marks the next.
    Item(5)->SetCaption("&Clear");
    RightClickPanel(Point(40, 50), {[&] { Host.TypeText("c"); },
                                    [&] {
                                        EXPECT_EQ(OpenMenu()->HotItem(), Item(2));
                                        Host.TypeText("c");
                                    },
                                    [&] {
                                        EXPECT_EQ(OpenMenu()->HotItem(), Item(4));
                                        Host.Key(VK_ESCAPE);
                                    }});
}

TEST_F(TMenuTest, CheckedItemsShowAMarkBesideTheirCaption)
{
    const auto markPixels = [this](int index) {
        TMenuWindow* menu = OpenMenu();
        const auto pixels = Host.Capture(menu->Handle());
        const TRect row = menu->ItemRect(Item(index));
        int dark = 0;
        for (int y = row.Top; y < row.Bottom; ++y) {
            for (int x = row.Left; x < row.Left + 18; ++x) {
                const std::uint8_t* pixel = pixels->ScanLine(y) + 4 * x;
                dark += pixel[0] + pixel[1] + pixel[2] < 200 ? 1 : 0;
            }
        }
        return dark;
    };
    RightClickPanel(Point(40, 50), {[&] {
                                        EXPECT_GT(markPixels(4), 10) << "the checked item";
                                        EXPECT_EQ(markPixels(2), 0) << "an unchecked item";
                                        Shot(OpenMenu()->Handle(), "popup_menu");
                                        Item(2)->SetRadioItem(true);
                                        Item(2)->SetChecked(true);
                                        OpenMenu()->Invalidate();
                                    },
                                    [&] {
                                        EXPECT_GT(markPixels(2), 10) << "a radio item's dot";
                                        Host.Key(VK_ESCAPE);
                                    }});
}

TEST_F(TMenuTest, AnItemFreedWhileTheMenuShowsLeavesIt)
{
    RightClickPanel(Point(40, 50), {[&] {
                                        Host.MouseMove(ItemPoint(2));
                                        delete Item(2);
                                    },
                                    [&] {
                                        EXPECT_EQ(OpenMenu()->HotItem(), nullptr);
                                        // The items moved up: the disabled one stands there now.
                                        Host.Click(ItemPoint(2));
                                        Host.Click(ItemPoint(3));
                                    }});
    EXPECT_EQ(Chosen, (std::vector<std::string>{"&Checked"}));
}

TEST_F(TMenuTest, ARightClickOnAListOpensItsMenuAndTheProgramMayPopUpItself)
{
    auto* list = Place<TListBox>(Form, "List", Rect(220, 50, 380, 200));
    list->SetPopupMenu(Menu);
    Pump();
    Host.Script([&] { Host.Key(VK_ESCAPE); });
    ClickAt(list, Point(20, 20), THostButton::Right);
    EXPECT_EQ(Menu->PopupComponent(), list);
    Menu->SetAutoPopup(false);
    ClickAt(list, Point(20, 20), THostButton::Right);
    EXPECT_EQ(OpenMenu(), nullptr) << "without AutoPopup a right click opens nothing";
    Host.Script([&] { Host.Key(VK_RETURN); });
    Host.Script([&] { Host.Key(VK_ESCAPE); });
    Menu->Popup(500, 500);
    EXPECT_EQ(Menu->PopupPoint(), Point(500, 500));
    EXPECT_TRUE(Chosen.empty()) << "Enter with no item marked chooses nothing";
}

} // namespace
} // namespace plat::test
