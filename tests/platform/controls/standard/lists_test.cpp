// List boxes and combo boxes on the headless host: keys, letters, clicks,
// the wheel and the scroll bar, the drop-down list, the editable field, and
// lists of a hundred thousand lines.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/combo_edit.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace plat::test {
namespace {

class TListsTest : public TStandardTest {
protected:
    void Keys(std::initializer_list<TVirtualKey> keys, std::uint8_t modifiers = 0)
    {
        for (TVirtualKey key : keys) {
            Host.Key(key, modifiers);
        }
        Pump();
    }
    // The open drop-down list's window, 0 when none shows.
    HWND DropListWindow()
    {
        for (HWND window : Host.VisibleWindows()) {
            if (auto* control = dynamic_cast<TCustomListBox*>(TWinControl::FindControl(window))) {
                return control->Handle();
            }
        }
        return 0;
    }
    TComboBox* NewCombo(TForm* form, TComboBoxStyle style, std::initializer_list<const char*> lines)
    {
        auto* combo = Place<TComboBox>(form, "Combo", Rect(10, 10, 160, 31));
        combo->SetStyle(style);
        for (const char* line : lines) {
            combo->Items().Add(line);
        }
        combo->OnChange = [this](TObject*) { ++Changes; };
        combo->OnSelect = [this](TObject*) { ++Selects; };
        Pump();
        combo->SetFocus();
        Pump();
        return combo;
    }

    int Changes = 0;
    int Selects = 0;
};

TEST_F(TListsTest, AListComboChangesItsLineWithUpAndDownRunningOnChangeOnce)
{
    TForm* form = NewForm("Form1");
    TComboBox* combo = NewCombo(form, csDropDownList, {"Alpha", "Beta", "Gamma"});
    struct TStep {
        TVirtualKey Key;
        int Index;
        int Changes;
    };
    const TStep steps[] = {
        {VK_DOWN, 0, 1}, {VK_DOWN, 1, 2}, {VK_DOWN, 2, 3}, {VK_DOWN, 2, 3},
        {VK_UP, 1, 4},   {VK_HOME, 0, 5}, {VK_END, 2, 6},  {VK_NEXT, 2, 6},
    };
    for (const TStep& step : steps) {
        Keys({step.Key});
        EXPECT_EQ(combo->ItemIndex(), step.Index) << "after key " << step.Key;
        EXPECT_EQ(Changes, step.Changes) << "after key " << step.Key << ": an unchanged line runs no OnChange";
    }
    EXPECT_EQ(combo->Text(), "Gamma");
    combo->SetItemIndex(0);
    EXPECT_EQ(Changes, 6) << "the program's choice runs no event";
}

TEST_F(TListsTest, AltDownOpensTheListWhichEnterOrAClickChoosesFromAndEscapeCloses)
{
    TForm* form = NewForm("Form1");
    TComboBox* combo = NewCombo(form, csDropDownList, {"Alpha", "Beta", "Gamma", "Delta"});
    combo->SetItemIndex(0);
    Keys({VK_DOWN}, ModAlt);
    ASSERT_TRUE(combo->DroppedDown());
    ASSERT_NE(DropListWindow(), 0);
    EXPECT_TRUE(combo->Focused()) << "the list never takes the keyboard";
    Keys({VK_DOWN, VK_DOWN});
    EXPECT_EQ(combo->ItemIndex(), 0) << "moving in the open list chooses nothing yet";
    Keys({VK_ESCAPE});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(DropListWindow(), 0);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(Changes, 0);

    Keys({VK_DOWN}, ModAlt);
    Keys({VK_DOWN, VK_RETURN});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Selects, 1);

    // A click opens the list; a click on a line chooses it and closes the list.
    ClickAt(combo, Point(40, 8));
    ASSERT_TRUE(combo->DroppedDown());
    auto* list = dynamic_cast<TCustomListBox*>(TWinControl::FindControl(DropListWindow()));
    ASSERT_NE(list, nullptr);
    const int row = list->ItemHeight();
    ClickAt(list, Point(20, 3 * row + row / 2));
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Delta");
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Selects, 2);

    // F4 opens; a click elsewhere closes with nothing chosen and nothing else clicked.
    Keys({0x73});
    ASSERT_TRUE(combo->DroppedDown());
    ClickAt(form, Point(300, 200));
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(Changes, 2);
}

TEST_F(TListsTest, ATypedLetterJumpsToTheNextLineStartingWithIt)
{
    TForm* form = NewForm("Form1");
    TComboBox* combo = NewCombo(form, csDropDownList, {"apple", "Banana", "avocado", "cherry", "Apricot"});
    const std::pair<const char*, int> typed[] = {{"a", 0}, {"a", 2}, {"A", 4}, {"a", 0}, {"c", 3}, {"z", 3}, {"b", 1}};
    int expectedChanges = 0;
    int previous = -1;
    for (const auto& [letter, index] : typed) {
        Host.TypeText(letter);
        Pump();
        EXPECT_EQ(combo->ItemIndex(), index) << "after " << letter;
        expectedChanges += index != previous ? 1 : 0;
        previous = index;
    }
    EXPECT_EQ(Changes, expectedChanges);
}

TEST_F(TListsTest, AnEditableComboTypesItsTextAndStillChoosesLines)
{
    TForm* form = NewForm("Form1");
    TComboBox* combo = NewCombo(form, csDropDown, {"00:00:30", "00:01:00", "00:05:00"});
    ASSERT_NE(combo->EditField(), nullptr);
    EXPECT_TRUE(combo->EditField()->Focused()) << "the field takes the combo's focus";
    Host.TypeText("12:34");
    Pump();
    EXPECT_EQ(combo->Text(), "12:34");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(Changes, 5);
    Keys({VK_DOWN});
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "00:00:30");
    EXPECT_EQ(combo->EditField()->Text(), "00:00:30");
    EXPECT_EQ(Changes, 6) << "choosing a line changes the text once";
    Keys({VK_DOWN}, ModAlt);
    EXPECT_TRUE(combo->DroppedDown());
    Keys({VK_DOWN, VK_RETURN});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "00:01:00");
    // Typing a line's text chooses it.
    combo->EditField()->SelectAll();
    Host.TypeText("00:05:00");
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(TListsTest, AListBoxMovesItsSelectionByKeysLettersAndClicks)
{
    TForm* form = NewForm("Form1");
    auto* list = Place<TListBox>(form, "List", Rect(10, 10, 160, 110));
    for (int i = 0; i < 40; ++i) {
        list->Items().Add((i % 2 == 0 ? "even " : "odd ") + std::to_string(i));
    }
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    list->SetFocus();
    Pump();
    const int rows = list->VisibleRows();
    struct TStep {
        TVirtualKey Key;
        int Index;
    };
    const TStep steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_NEXT, rows}, {VK_END, 39}, {VK_UP, 38}, {VK_HOME, 0}};
    for (const TStep& step : steps) {
        Keys({step.Key});
        EXPECT_EQ(list->ItemIndex(), step.Index) << "key " << step.Key;
    }
    EXPECT_EQ(clicks, 6);
    Host.TypeText("o");
    Pump();
    EXPECT_EQ(list->ItemIndex(), 1);
    const int row = list->ItemHeight();
    ClickAt(list, Point(20, 2 * row + 2));
    EXPECT_EQ(list->ItemIndex(), 2);
    // The wheel scrolls three lines a notch; the selection stays.
    Host.Wheel(list->ClientToScreen(Point(20, 20)), -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(list->TopIndex(), 3);
    EXPECT_EQ(list->ItemIndex(), 2);
    TScrollInfo info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list->Handle(), SB_VERT, info));
    EXPECT_EQ(info.nMax, 39);
    EXPECT_EQ(info.nPos, 3);
}

TEST_F(TListsTest, AHundredThousandLinesOpenScrollAndSelect)
{
    constexpr int Lines = 100000;
    TForm* form = NewForm("Form1", 100, 100, 400, 400);
    auto* list = Place<TListBox>(form, "List", Rect(10, 50, 200, 350));
    TComboBox* combo = NewCombo(form, csDropDownList, {});
    list->Items().BeginUpdate();
    combo->Items().BeginUpdate();
    for (int i = 0; i < Lines; ++i) {
        list->Items().Add("line " + std::to_string(i));
        combo->Items().Add("line " + std::to_string(i));
    }
    list->Items().EndUpdate();
    combo->Items().EndUpdate();
    Pump();

    // The combo's list opens, goes to the end and chooses a line there.
    Keys({VK_DOWN}, ModAlt);
    ASSERT_TRUE(combo->DroppedDown());
    Keys({VK_END});
    auto* drop = dynamic_cast<TCustomListBox*>(TWinControl::FindControl(DropListWindow()));
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->TopIndex(), Lines - drop->VisibleRows());
    Host.Wheel(drop->ClientToScreen(Point(10, 10)), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(drop->TopIndex(), Lines - drop->VisibleRows() - 3);
    ClickAt(drop, Point(10, drop->ItemHeight() / 2));
    EXPECT_EQ(combo->ItemIndex(), Lines - drop->VisibleRows() - 3);

    // The list box's thumb dragged to the bottom reaches lines beyond 16 bits.
    list->SetFocus();
    Pump();
    TRect window;
    GetWindowRect(list->Handle(), window);
    const TRect bar = OffsetRect(WindowScrollBarRect(list->Handle(), SB_VERT), window.Left, window.Top);
    const TPoint thumb = Point(bar.Left + ScrollBarSize / 2, bar.Top + ScrollBarSize + 3);
    const TPoint bottom = Point(thumb.X, bar.Bottom - ScrollBarSize - 1);
    Host.MouseMove(thumb);
    Host.MouseDown(thumb);
    Host.MouseMove(bottom);
    Host.MouseUp(bottom);
    Pump();
    EXPECT_GT(list->TopIndex(), 0xFFFF);
    Keys({VK_END});
    EXPECT_EQ(list->ItemIndex(), Lines - 1);
    Host.TypeText("l");
    Pump();
    EXPECT_EQ(list->ItemIndex(), 0) << "the letter search goes round";
}

} // namespace
} // namespace plat::test
