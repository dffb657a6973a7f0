// Bad input for the standard controls: controls freed by their own event
// handlers, empty lists and ranges, text that is not UTF-8, and sizes at the
// limits. Nothing may crash or touch freed memory (run under the sanitizers).
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/virtual_keys.h"

namespace plat::test {
namespace {

using TStandardBadInputTest = TStandardTest;

TEST_F(TStandardBadInputTest, ControlsFreedByTheirOwnHandlers)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    auto* button = Place<TButton>(form, "Button", Rect(10, 10, 85, 35));
    button->OnClick = [button](TObject*) { delete button; };
    auto* check = Place<TCheckBox>(form, "Check", Rect(10, 50, 150, 67));
    check->OnClick = [check](TObject*) { delete check; };
    auto* edit = Place<TEdit>(form, "Edit", Rect(10, 80, 150, 101));
    edit->OnChange = [edit](TObject*) { delete edit; };
    auto* combo = Place<TComboBox>(form, "Combo", Rect(10, 120, 150, 141));
    combo->SetStyle(csDropDownList);
    combo->Items().Add("one");
    combo->Items().Add("two");
    combo->OnChange = [combo](TObject*) { delete combo; };
    Pump();
    ClickAt(button, Point(10, 10));
    check->SetFocus();
    Host.Key(VK_SPACE);
    Pump();
    edit->SetFocus();
    Host.TypeText("abc");
    Pump();
    combo->SetFocus();
    Host.Key(VK_DOWN, ModAlt);
    Host.Key(VK_DOWN);
    Host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(form->FindComponent("Button"), nullptr);
    EXPECT_EQ(form->FindComponent("Check"), nullptr);
    EXPECT_EQ(form->FindComponent("Edit"), nullptr);
    EXPECT_EQ(form->FindComponent("Combo"), nullptr);
}

TEST_F(TStandardBadInputTest, AMenuWhoseItemFreesTheMenuAndItsControl)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    auto* panel = Place<TPanel>(form, "Panel", Rect(10, 10, 200, 200));
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("&Free");
    item->OnClick = [menu, panel](TObject*) {
        delete panel;
        delete menu;
    };
    menu->Items().Add(item);
    panel->SetPopupMenu(menu);
    Pump();
    Host.Script([&] { Host.TypeText("f"); });
    ClickAt(panel, Point(20, 20), THostButton::Right);
    EXPECT_EQ(form->FindComponent("Panel"), nullptr);
    // A menu without items opens nothing.
    auto* empty = new TPopupMenu(form);
    empty->Popup(10, 10);
    Pump();
}

TEST_F(TStandardBadInputTest, EmptyListsRangesAndTexts)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 400);
    auto* list = Place<TListBox>(form, "List", Rect(10, 10, 150, 100));
    auto* combo = Place<TComboBox>(form, "Combo", Rect(10, 110, 150, 131));
    combo->SetStyle(csDropDownList);
    auto* view = Place<TListView>(form, "View", Rect(160, 10, 400, 100));
    auto* memo = Place<TMemo>(form, "Memo", Rect(160, 110, 400, 200));
    auto* bar = Place<TScrollBar>(form, "Bar", Rect(10, 220, 150, 237));
    bar->SetParams(5, 5, 5);
    Pump();
    for (TWinControl* control : std::initializer_list<TWinControl*>{list, combo, view, memo, bar}) {
        control->SetFocus();
        for (TVirtualKey key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, VK_SPACE, VK_RETURN}) {
            Host.Key(key);
        }
        Host.Key(VK_DOWN, ModAlt);
        Host.Key(VK_ESCAPE);
        Host.TypeText("z");
        ClickAt(control, Point(5, 5));
        Host.Wheel(control->ClientToScreen(Point(5, 5)), -WHEEL_DELTA);
        Pump();
    }
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(view->ItemIndex(), -1);
    EXPECT_EQ(bar->Position(), 5);
    // Indexes beyond the lines are no choice.
    list->SetItemIndex(7);
    combo->SetItemIndex(-5);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_THROW(view->Items().Item(0), std::out_of_range);
    // A scroll bar given a range upside down takes it as empty.
    bar->SetParams(50, 10, 0);
    EXPECT_EQ(bar->Min(), 10);
    EXPECT_EQ(bar->Max(), 10);
    EXPECT_EQ(bar->Position(), 10);
}

TEST_F(TStandardBadInputTest, TextThatIsNotUtf8AndSizesAtTheLimits)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    const std::string broken = "ab\xC3\x28\xFF\xFE\x80z";
    auto* label = Place<TLabel>(form, "Label", Rect(10, 10, 100, 25));
    label->SetCaption(broken);
    auto* edit = Place<TEdit>(form, "Edit", Rect(10, 40, 150, 61));
    edit->SetText(broken);
    auto* button = Place<TButton>(form, "Button", Rect(10, 80, 85, 105));
    button->SetCaption("&\xFF");
    auto* memo = Place<TMemo>(form, "Memo", Rect(160, 10, 390, 200));
    memo->SetText(std::string(5000, '\r') + broken);
    Pump();
    edit->SetFocus();
    Host.Key(VK_END);
    Host.Key(VK_LEFT, ModShift);
    Host.Key(VK_BACK);
    Host.TypeText("\xF0\x9F\x98\x80");
    Pump();
    EXPECT_FALSE(edit->Text().empty());
    // Controls placed at the ends of the coordinate range.
    for (TControl* control : std::initializer_list<TControl*>{label, edit, button, memo}) {
        control->SetBounds(2147483000, -2147483000, 100000, 100000);
        Pump();
        control->SetBounds(-5, -5, 0, 0);
        Pump();
    }
}

} // namespace
} // namespace plat::test
