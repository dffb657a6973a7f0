// Tests of the notebook's input: clicks on tabs (focused, unfocused, on a
// disabled tab, a click that activates the window), the keys that walk the
// tabs on the top and the left edge, commands of the notebook's controller,
// and Alt with a page's accelerator letter.
#include "tests/widgets/pages/pgc_notebook_fixture.h"

#include "widgets/pages/pgc_controller.h"

#include "platform/controls/standard/custom_edit.h"

namespace qel {
namespace {

using test::TNotebookTest;

class PgcNotebookInput : public TNotebookTest {
protected:
    plat::TEdit* NewEdit(plat::TWinControl* Parent, const std::string& Name, int Left, int Top)
    {
        auto* edit = new plat::TEdit(Form);
        edit->SetName(Name);
        edit->SetBounds(Left, Top, 80, 21);
        edit->SetParent(Parent);
        return edit;
    }

    void ClickTab(TPgcNotebook* Notebook, int Index)
    {
        ClickAt(Notebook, CentreOf(Notebook->GetTabRect(Index)));
    }
};

TEST_F(PgcNotebookInput, AClickOnATabOfAFocusedNotebook)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two", "Three"});
    plat::TEdit* inside = NewEdit(notebook->GetPage(1), "Inside", 10, 10);
    inside->SetTabStop(true);
    notebook->GetPage(2)->SetEnabled(false);
    notebook->SetFocus();
    Pump();

    ClickTab(notebook, 1);
    EXPECT_EQ(notebook->PageIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string>{"change:1", "changed:1", "click:1"}));
    EXPECT_TRUE(inside->Focused()) << "the page's first tab stop takes the focus";
    EXPECT_TRUE(notebook->TabSelecting());

    notebook->SetFocus();
    Pump();
    Events.clear();
    ClickTab(notebook, 2);
    EXPECT_EQ(Events, (std::vector<std::string>{"click:2"})) << "a disabled tab only hears of it";
    EXPECT_EQ(notebook->PageIndex(), 1);

    Events.clear();
    ClickTab(notebook, 0);
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_TRUE(notebook->Focused()) << "a page without tab stop: the notebook keeps the focus";
    EXPECT_EQ(Events, (std::vector<std::string>{"change:0", "changed:0", "click:0"}));
}

TEST_F(PgcNotebookInput, AClickOnATabOfAnUnfocusedNotebookIsCancelled)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two", "Three"});
    plat::TEdit* outside = NewEdit(Form, "Outside", 250, 250);
    outside->SetFocus();
    Pump();

    ClickTab(notebook, 1);
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(outside->Focused());
    EXPECT_FALSE(notebook->TabSelecting());

    ClickTab(notebook, 0);   // the active tab: the notebook takes the focus
    EXPECT_TRUE(notebook->Focused());
    EXPECT_EQ(Events, (std::vector<std::string>{"click:0"}));
}

TEST_F(PgcNotebookInput, AClickThatActivatesTheWindowFocusesTheNotebookFirst)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two", "Three"});
    plat::TEdit* outside = NewEdit(Form, "Outside", 250, 250);
    outside->SetFocus();
    auto* other = App.CreateForm<plat::TForm>();
    other->SetBounds(700, 100, 200, 150);
    other->Show();
    Pump();
    Host.Activate(other->Handle());
    Pump();
    ASSERT_FALSE(Form->Active());

    ClickTab(notebook, 2);
    EXPECT_TRUE(Form->Active());
    EXPECT_EQ(notebook->PageIndex(), 2);
    EXPECT_EQ(Events, (std::vector<std::string>{"change:2", "changed:2", "click:2"}));
    EXPECT_TRUE(notebook->Focused());
}

TEST_F(PgcNotebookInput, PressesOnAPagesBareSurfaceReachTheNotebook)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two"});
    int presses = 0;
    notebook->OnMouseDown = [&](plat::TObject*, plat::TMouseButton, plat::TShiftState, int, int) { ++presses; };
    ClickAt(notebook, plat::Point(100, 100));
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(PgcNotebookInput, MovesOverTabsAreReported)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two"});
    std::vector<int> over;
    notebook->OnMouseOverTab = [&](plat::TObject*, int Index) { over.push_back(Index); };
    Host.MouseMove(notebook->ClientToScreen(CentreOf(notebook->GetTabRect(1))));
    Host.MouseMove(notebook->ClientToScreen(plat::Point(100, 100)));
    Host.MouseMove(notebook->ClientToScreen(CentreOf(notebook->GetTabRect(0))));
    Pump();
    EXPECT_EQ(over, (std::vector<int>{1, 0}));
}

struct TKeyCase {
    plat::TVirtualKey Key;
    int Target;   // from page 2
};

// Four tabs in two rows of two, equally long (old style): pages 0 and 1
// on the outer row, 2 and 3 on the row next to the body. Each key starts
// from page 2.
class PgcNotebookKeys : public PgcNotebookInput {
protected:
    void RunKeys(TPgcTabOrientation Orientation, const std::vector<TKeyCase>& Cases)
    {
        TPgcNotebook* notebook = NewNotebook({"One", "Two", "Six", "Ten"});
        notebook->SetOldStyle(true);
        notebook->SetTabRowCount(2);
        notebook->SetTabOrientation(Orientation);
        for (const TKeyCase& c : Cases) {
            notebook->SetPageIndex(2);
            notebook->SetFocus();
            Pump();
            Host.Key(c.Key);
            Pump();
            EXPECT_EQ(notebook->PageIndex(), c.Target)
                << "orientation " << int(Orientation) << ", key " << int(c.Key);
            EXPECT_TRUE(notebook->Focused());
        }
    }
};

TEST_F(PgcNotebookKeys, KeysOnTheTopEdge)
{
    RunKeys(toTop, {{plat::VK_LEFT, 1}, {plat::VK_RIGHT, 3}, {plat::VK_UP, 0}, {plat::VK_DOWN, 2},
                    {plat::VK_HOME, 0}, {plat::VK_END, 3}});
}

TEST_F(PgcNotebookKeys, KeysOnTheLeftEdge)
{
    RunKeys(toLeft, {{plat::VK_LEFT, 0}, {plat::VK_RIGHT, 2}, {plat::VK_UP, 3}, {plat::VK_DOWN, 1},
                     {plat::VK_HOME, 0}, {plat::VK_END, 3}});
}

TEST_F(PgcNotebookKeys, HomeWithOneValidPageAndRightWithNoOtherChangeNothing)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two"});
    notebook->GetPage(1)->SetPageVisible(false);
    notebook->SetFocus();
    Pump();
    for (plat::TVirtualKey key : {plat::VK_HOME, plat::VK_END, plat::VK_RIGHT, plat::VK_LEFT}) {
        Host.Key(key);
        Pump();
        EXPECT_EQ(notebook->PageIndex(), 0) << int(key);
    }
    EXPECT_TRUE(Events.empty());
}

TEST_F(PgcNotebookInput, KeysBoundToCommandsOfTheControllerReachOnUserCommand)
{
    TPgcNotebook* notebook = NewNotebook({"One", "Two"});
    TPgcCommandProcessor* commands = notebook->Controller()->EntryCommands();
    commands->CreateCommandTable("Notebook", true);
    commands->AddCommand("Notebook", static_cast<std::uint8_t>(plat::VK_F12), 0, 0, 0, 300);
    std::vector<int> received;
    notebook->OnUserCommand = [&](plat::TObject*, std::uint16_t Command) { received.push_back(Command); };
    notebook->SetFocus();
    Pump();
    Host.Key(plat::VK_F12);
    Pump();
    EXPECT_EQ(received, (std::vector<int>{300}));
    EXPECT_EQ(notebook->PageIndex(), 0);
}

TEST_F(PgcNotebookInput, AltWithAPagesLetterSelectsItAndFocusesItsFirstTabStop)
{
    TPgcNotebook* notebook = NewNotebook({"&Start", "&Info", "&Save", "&Data"});
    notebook->GetPage(2)->SetEnabled(false);
    plat::TEdit* field = NewEdit(notebook->GetPage(1), "Field", 10, 10);
    field->SetTabStop(true);
    plat::TEdit* outside = NewEdit(Form, "Outside", 250, 250);
    outside->SetFocus();
    Pump();
    const auto alt = [&](char letter) {
        Host.Key(static_cast<plat::TVirtualKey>(letter), plat::ModAlt);
        Pump();
    };

    alt('I');
    EXPECT_EQ(notebook->PageIndex(), 1);
    EXPECT_TRUE(field->Focused());
    EXPECT_EQ(Events, (std::vector<std::string>{"change:1", "changed:1", "click:1"}));

    Events.clear();
    alt('D');
    EXPECT_EQ(notebook->PageIndex(), 3);
    EXPECT_TRUE(notebook->Focused()) << "a page without a tab stop";
    EXPECT_EQ(Events, (std::vector<std::string>{"change:3", "changed:3", "click:3"}));

    Events.clear();
    alt('S');   // after page 3 the search meets "&Start" first
    EXPECT_EQ(notebook->PageIndex(), 0);
    Events.clear();
    alt('S');   // after page 0 it meets the disabled "&Save": the search ends
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_TRUE(Events.empty());

    alt('D');
    EXPECT_EQ(notebook->PageIndex(), 3);
    outside->SetFocus();
    Pump();
    Events.clear();
    alt('D');   // the active page's own letter: the focus only
    EXPECT_TRUE(notebook->Focused());
    EXPECT_TRUE(Events.empty());

    notebook->SetEnabled(false);
    outside->SetFocus();
    alt('I');
    EXPECT_EQ(notebook->PageIndex(), 3) << "a disabled notebook takes no letter";
}

} // namespace
} // namespace qel
