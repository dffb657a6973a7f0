// The header's column menu: its entries by position or index with check
// marks, hiding and showing columns, the last visible column kept, entries
// the application hides or disables, no duplicates on a second opening,
// the fit entries, a menu that is not for a tree, and the menu a right
// click on the header opens by itself.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/controls/standard/menu_window.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/header_popup_menu.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class ColumnMenu : public TreeTest {
protected:
    ColumnMenu()
    {
        Form->SetBounds(0, 0, 500, 300);
        ShowForm();
        Tree->SetBounds(0, 0, 460, 240);
        for (const char* text : {"Alpha", "Beta", "Gamma"}) {
            TDataTreeColumn* column = Columns().Add();
            column->SetText(text);
            column->SetWidth(100);
        }
        Columns()[2]->SetPosition(0);  // shown first: Gamma, Alpha, Beta
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
        Menu = new TDTHeaderPopupMenu(Form);
        Menu->SetPopupComponent(Tree);
        Menu->OnColumnChange = [this](plat::TObject* sender, TColumnIndex column, bool visible) {
            EXPECT_EQ(sender, Tree);
            Changes.push_back(std::to_string(column) + (visible ? "+" : "-"));
        };
        Host.PumpUntilIdle();
    }

    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }

    // Opens the menu and closes it with Escape; its entries stay.
    void OpenAndClose(plat::TPopupMenu& menu)
    {
        Host.Script([this] { Host.Key(plat::VK_ESCAPE); });
        menu.Popup(10, 10);
        EXPECT_EQ(Host.ScriptLeft(), 0u);
    }
    // The entries as "caption" with "[x]" checked, "(off)" disabled.
    static std::vector<std::string> Entries(plat::TPopupMenu& menu)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < menu.Items().Count(); ++i) {
            const plat::TMenuItem* item = menu.Items().Items(i);
            entries.push_back(item->Caption() + (item->Checked() ? "[x]" : "") + (item->Enabled() ? "" : "(off)"));
        }
        return entries;
    }
    TDTMenuItem* Entry(const std::string& caption)
    {
        for (int i = 0; i < Menu->Items().Count(); ++i) {
            if (Menu->Items().Items(i)->Caption() == caption) {
                return dynamic_cast<TDTMenuItem*>(Menu->Items().Items(i));
            }
        }
        return nullptr;
    }
    bool Visible(TColumnIndex column) { return Columns()[column]->Options().Contains(coVisible); }

    TDTHeaderPopupMenu* Menu = nullptr;
    std::vector<std::string> Changes;
};

TEST_F(ColumnMenu, EntriesFollowThePositionsWithCheckMarksAndHideOrShowTheirColumn)
{
    EXPECT_EQ(Menu->Options(), TDTHeaderPopupOptions{poResizeToFitItem});
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Size &Column to Fit", "Size &All Columns to Fit", "-",
                                                         "Gamma[x]", "Alpha[x]", "Beta[x]"}));
    EXPECT_EQ(Entry("Gamma")->Tag(), 2);

    Entry("Alpha")->Click();
    EXPECT_FALSE(Visible(0));
    EXPECT_EQ(Changes, (std::vector<std::string>{"0-"}));
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu).back(), "Beta[x]");
    Entry("Alpha")->Click();
    EXPECT_TRUE(Visible(0));
    EXPECT_EQ(Changes, (std::vector<std::string>{"0-", "0+"}));

    Menu->SetOptions({poOriginalOrder});
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Alpha[x]", "Beta[x]", "Gamma[x]"}))
        << "by index, and no fit entries without poResizeToFitItem";
}

TEST_F(ColumnMenu, TheLastVisibleColumnStaysUnlessAllMayBeHidden)
{
    Menu->SetOptions({});
    Columns()[0]->SetOptions(Columns()[0]->Options() - TDTColumnOptions{coVisible});
    Columns()[1]->SetOptions(Columns()[1]->Options() - TDTColumnOptions{coVisible});
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Gamma[x](off)", "Alpha", "Beta"}));

    Menu->SetOptions({poAllowHideAll});
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Gamma[x]", "Alpha", "Beta"}));
    Entry("Gamma")->Click();
    EXPECT_FALSE(Visible(2));
}

TEST_F(ColumnMenu, TheApplicationHidesOrDisablesEntries)
{
    Menu->SetOptions({});
    Menu->OnAddHeaderPopupItem = +[](plat::TObject*, TColumnIndex column, TAddPopupItemType& cmd) {
        cmd = column == 0 ? apHidden : column == 1 ? apDisabled : apNormal;
    };
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Gamma[x]", "Beta[x](off)"}));

    // A disabled entry of the only visible column is the application's own.
    Columns()[0]->SetOptions(Columns()[0]->Options() - TDTColumnOptions{coVisible});
    Columns()[2]->SetOptions(Columns()[2]->Options() - TDTColumnOptions{coVisible});
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Gamma", "Beta[x](off)"}));
}

TEST_F(ColumnMenu, OpeningAgainReplacesOnlyItsOwnEntries)
{
    auto* own = new plat::TMenuItem(Menu);
    own->SetCaption("Own");
    Menu->Items().Add(own);
    OpenAndClose(*Menu);
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), (std::vector<std::string>{"Own", "Size &Column to Fit", "Size &All Columns to Fit", "-",
                                                         "Gamma[x]", "Alpha[x]", "Beta[x]"}));
}

TEST_F(ColumnMenu, AMenuNotForATreeShowsAsItIsAndItsEntriesDoNothing)
{
    OpenAndClose(*Menu);
    TDTMenuItem* alpha = Entry("Alpha");
    ASSERT_NE(alpha, nullptr);
    Menu->SetPopupComponent(Form);
    const std::vector<std::string> before = Entries(*Menu);
    OpenAndClose(*Menu);
    EXPECT_EQ(Entries(*Menu), before);
    alpha->Click();
    EXPECT_TRUE(Visible(0));
    EXPECT_TRUE(Changes.empty());
}

TEST_F(ColumnMenu, TheFitEntriesFitTheColumnUnderThePointOrAll)
{
    Tree->SetRootNodeCount(2);
    Tree->OnGetText = +[](plat::TObject*, PDataNode, TColumnIndex column, TDSTTextType, std::string& text) {
        text = std::string(static_cast<std::size_t>(20 + 5 * column), 'W');
    };
    for (int i = 0; i < 3; ++i) {
        Columns()[i]->SetWidth(40);
    }
    // Over the second column shown (Alpha), in the header band.
    const plat::TPoint over = Tree->ClientToScreen(plat::Point(60, -Tree->Header()->Height() / 2));
    Host.Script([this] { Host.Key(plat::VK_ESCAPE); });
    Menu->Popup(over.X, over.Y);
    Entry("Size &Column to Fit")->Click();
    EXPECT_GT(Columns()[0]->Width(), 100) << "Alpha fitted";
    EXPECT_EQ(Columns()[1]->Width(), 40);
    EXPECT_EQ(Columns()[2]->Width(), 40);
    Entry("Size &All Columns to Fit")->Click();
    EXPECT_GT(Columns()[1]->Width(), 100);
    EXPECT_GT(Columns()[2]->Width(), 100);
}

TEST_F(ColumnMenu, ARightClickOnTheHeaderOpensTheAutomaticMenu)
{
    std::vector<TColumnIndex> asked;
    Tree->OnHeaderAddPopupItem = [&asked](plat::TObject*, TColumnIndex column, TAddPopupItemType& cmd) {
        asked.push_back(column);
        if (column == 1) {
            cmd = apHidden;
        }
    };
    const plat::TPoint header = Tree->ClientToScreen(plat::Point(150, -Tree->Header()->Height() / 2));
    const auto openMenu = [this]() -> plat::TMenuWindow* {
        for (plat::HWND window : Host.VisibleWindows()) {
            if (auto* menu = dynamic_cast<plat::TMenuWindow*>(plat::TWinControl::FindControl(window))) {
                return menu;
            }
        }
        return nullptr;
    };
    // Without the option nothing opens.
    Host.Click(header, plat::THostButton::Right);
    Host.PumpUntilIdle();
    EXPECT_TRUE(asked.empty());

    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoColumnPopupMenu});
    Host.Script([&] {
        plat::TMenuWindow* shown = openMenu();
        ASSERT_NE(shown, nullptr);
        if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS")) {
            Host.SaveScreenshot(Form->Handle(), std::string(folder) + "/column_menu_form.png");
            Host.SaveScreenshot(shown->Handle(), std::string(folder) + "/column_menu.png");
        }
        // Choose the first entry: Gamma (no fit entries without hoDblClickResize).
        Host.Key(plat::VK_DOWN);
        Host.Key(plat::VK_RETURN);
    });
    Host.Click(header, plat::THostButton::Right);
    Host.PumpUntilIdle();
    EXPECT_EQ(Host.ScriptLeft(), 0u);
    EXPECT_EQ(asked, (std::vector<TColumnIndex>{2, 0, 1})) << "the tree's event, by position";
    EXPECT_FALSE(Visible(2)) << "the chosen entry hid its column";
    EXPECT_TRUE(Visible(0));
    const auto autoMenus = [this] {
        std::vector<TDTHeaderPopupMenu*> menus;
        for (int i = 0; i < Tree->ComponentCount(); ++i) {
            if (auto* menu = dynamic_cast<TDTHeaderPopupMenu*>(Tree->Components(i))) {
                menus.push_back(menu);
            }
        }
        return menus;
    };
    ASSERT_EQ(autoMenus().size(), 1u) << "owned by the tree";
    EXPECT_EQ(Entries(*autoMenus()[0]), (std::vector<std::string>{"Gamma[x]", "Alpha[x]"}));

    // With hoDblClickResize and nodes the fit entries come too; the old
    // menu is freed at the next right click.
    Tree->SetRootNodeCount(1);
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoDblClickResize});
    Host.Script([&] {
        if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS"); folder != nullptr && openMenu() != nullptr) {
            Host.SaveScreenshot(openMenu()->Handle(), std::string(folder) + "/column_menu_fit.png");
        }
        Host.Key(plat::VK_ESCAPE);
    });
    Host.Click(header, plat::THostButton::Right);
    Host.PumpUntilIdle();
    ASSERT_EQ(autoMenus().size(), 1u);
    EXPECT_EQ(autoMenus()[0]->Items().Items(0)->Caption(), "Size &Column to Fit");
    Tree->OnHeaderAddPopupItem = nullptr;
}

} // namespace
} // namespace qel::tree_test
