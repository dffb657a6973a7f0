// The channel list of the wizard (a report list view with a header-less
// check column), the read-only note memo, the editable memo, and the
// scroll bar control.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/control_drawing.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/virtual_keys.h"
#include "platform/text_encoding.h"

namespace plat::test {
namespace {

class TListViewTest : public TStandardTest {
protected:
    // The channel list as the wizard builds it: a 30 pixel check column
    // without caption, then serial number, channel, unit and count.
    TListView* NewChannelList(TForm* form, int rows)
    {
        auto* list = Place<TListView>(form, "lvwCutChannels", Rect(10, 10, 410, 160));
        list->SetCheckboxes(true);
        list->SetReadOnly(true);
        list->SetTabStop(false);
        list->SetColumnClick(false);
        list->Columns().Add()->SetWidth(30);
        for (const char* caption : {"SN", "Channel", "Unit", "Measurement parameter"}) {
            list->Columns().Add()->SetCaption(caption);
        }
        list->Items().BeginUpdate();
        for (int i = 0; i < list->Columns().Count(); ++i) {
            list->Columns().Items(i)->SetWidth(10);
        }
        for (int row = 0; row < rows; ++row) {
            TListItem* item = list->Items().Add();
            item->SetChecked(true);
            for (const std::string& cell : {std::string("12345678"), "Temperature " + std::to_string(row),
                                            std::string("°C"), std::to_string(1000 * row)}) {
                item->SubItems().Add(cell);
            }
        }
        for (int i = 0; i < list->Columns().Count(); ++i) {
            list->Columns().Items(i)->SetWidth(ColumnHeaderWidth);
        }
        list->Items().EndUpdate();
        Pump();
        return list;
    }
    int TextWidth(TControl* control, const std::string& text)
    {
        TForm* form = static_cast<TForm*>(GetParentForm(control));
        form->Canvas()->Font()->Assign(control->Font());
        return form->Canvas()->TextWidth(text);
    }
    bool VerticalBarShows(TWinControl* control) { return WindowScrollBarRect(control->Handle(), SB_VERT).Width() > 0; }
};

TEST_F(TListViewTest, TheChannelListFitsEachColumnToItsCaptionAndCells)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    TListView* list = NewChannelList(form, 3);
    const struct {
        int Column;
        std::string Widest;   // the widest of caption and cells
    } expected[] = {
        {1, "12345678"}, {2, "Temperature 2"}, {3, "Unit"}, {4, "Measurement parameter"},
    };
    for (const auto& [column, widest] : expected) {
        const int width = list->Columns().Items(column)->Width();
        EXPECT_GE(width, TextWidth(list, widest) + 4) << "column " << column;
        EXPECT_LE(width, TextWidth(list, widest) + 16) << "column " << column << " fits tightly";
    }
    const int checkColumn = list->Columns().Items(0)->Width();
    EXPECT_GE(checkColumn, GlyphSize + 4);
    EXPECT_LE(checkColumn, 30) << "the box alone needs no more than the designed width";
    Shot(form->Handle(), "channel_list");
}

TEST_F(TListViewTest, ChecksToggleByClickOnTheBoxAndBySpaceButNotElsewhere)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    TListView* list = NewChannelList(form, 3);
    std::vector<int> checked;
    list->OnItemChecked = [&](TObject*, TListItem* item) { checked.push_back(item->Index()); };
    const TRect box = list->CheckBoxRect(1);
    ClickAt(list, Point(box.Left + 6, box.Top + 6));
    EXPECT_FALSE(list->Items().Item(1)->Checked());
    EXPECT_EQ(list->ItemIndex(), 1);
    ClickAt(list, Point(200, box.Top + 6));
    EXPECT_FALSE(list->Items().Item(1)->Checked()) << "a click beside the box only selects";
    Host.Key(VK_SPACE);
    Pump();
    EXPECT_TRUE(list->Items().Item(1)->Checked());
    Host.Key(VK_DOWN);
    Host.Key(VK_SPACE);
    Pump();
    EXPECT_FALSE(list->Items().Item(2)->Checked());
    EXPECT_EQ(checked, (std::vector<int>{1, 1, 2}));
}

TEST_F(TListViewTest, TheChannelListIsNoTabStopAndItsHeaderTakesNoClicks)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    auto* before = Place<TEdit>(form, "Before", Rect(10, 200, 100, 221));
    auto* after = Place<TEdit>(form, "After", Rect(110, 200, 200, 221));
    TListView* list = NewChannelList(form, 3);
    before->SetTabOrder(0);
    list->SetTabOrder(1);
    after->SetTabOrder(2);
    int clicks = 0;
    list->OnColumnClick = [&](TObject*, TListColumn*) { ++clicks; };
    before->SetFocus();
    Pump();
    Host.Key(VK_TAB);
    Pump();
    EXPECT_TRUE(after->Focused()) << "Tab passes the list";
    const int headerMiddle = list->HeaderHeight() / 2;
    const int snColumn = list->Columns().Items(0)->Width() + 5;
    ClickAt(list, Point(snColumn, headerMiddle));
    EXPECT_EQ(clicks, 0);
    list->SetColumnClick(true);
    ClickAt(list, Point(snColumn, headerMiddle));
    EXPECT_EQ(clicks, 1);
}

TEST_F(TListViewTest, AVerticalScrollBarShowsOnceTheRowsOverflow)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    TListView* list = NewChannelList(form, 2);
    EXPECT_FALSE(VerticalBarShows(list));
    const int fitting = list->VisibleRows();
    for (int row = 2; row <= fitting; ++row) {
        list->Items().Add()->SetCaption("more");
    }
    Pump();
    EXPECT_TRUE(VerticalBarShows(list));
    Host.Key(VK_END);
    list->SetFocus();
    Host.Key(VK_END);
    Pump();
    EXPECT_EQ(list->TopIndex(), list->Items().Count() - list->VisibleRows());
    Shot(form->Handle(), "channel_list_scrolled");
}

using TMemoTest = TListViewTest;

TEST_F(TMemoTest, AReadOnlyNoteWrapsAtWordBoundariesAndTakesNoTyping)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    auto* note = Place<TMemo>(form, "memHintBig", Rect(10, 10, 250, 80));
    note->SetReadOnly(true);
    const std::string text =
        "Note: More than 10,000,000 measured values may not be displayed or processed in all software programmes.";
    note->SetText(text);
    Pump();
    const auto& lines = note->ShownLines();
    ASSERT_GE(lines.size(), 3u);
    const std::u16string units = Utf8ToUtf16(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string shown = Utf16ToUtf8(std::u16string_view(units).substr(lines[i].Start, lines[i].Length));
        EXPECT_LE(TextWidth(note, shown), note->ClientWidth()) << "line " << i;
        if (i + 1 < lines.size()) {
            EXPECT_EQ(units[static_cast<std::size_t>(lines[i + 1].Start - 1)], u' ')
                << "line " << i << " breaks after a blank: \"" << shown << "\"";
        }
    }
    note->SetFocus();
    Pump();
    Host.TypeText("x");
    Host.Key(VK_RETURN);
    Host.Key(VK_DELETE);
    Pump();
    EXPECT_EQ(note->Text(), text);
    Shot(form->Handle(), "note_memo");
}

TEST_F(TMemoTest, AnEditableMemoTakesReturnsAndMovesBetweenLines)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    auto* memo = Place<TMemo>(form, "Memo", Rect(10, 10, 250, 120));
    memo->SetScrollBars(ssVertical);
    auto* ok = Place<TButton>(form, "OK", Rect(10, 200, 85, 225));
    ok->SetDefault(true);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    Pump();
    memo->SetFocus();
    Pump();
    Host.TypeText("first");
    Host.Key(VK_RETURN);
    Host.TypeText("second");
    Host.Key(VK_RETURN);
    Host.TypeText("third");
    Pump();
    EXPECT_EQ(okClicks, 0) << "Enter stays in the memo";
    EXPECT_EQ(memo->Text(), "first\r\nsecond\r\nthird");
    ASSERT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines().Get(1), "second");
    Host.Key(VK_UP);
    Host.Key(VK_HOME);
    Host.Key(VK_END, ModShift);
    Pump();
    EXPECT_EQ(memo->SelText(), "second");
    memo->Lines().Add("fourth");
    memo->Lines().Delete(0);
    EXPECT_EQ(memo->Text(), "second\r\nthird\r\nfourth");
    for (int i = 0; i < 20; ++i) {
        memo->Lines().Add("line " + std::to_string(i));
    }
    Pump();
    EXPECT_TRUE(VerticalBarShows(memo));
    Host.Key(VK_END, ModControl);
    Pump();
    EXPECT_GT(memo->TopLine(), 0) << "the caret's line scrolled into sight";
}

using TScrollBarControlTest = TStandardTest;

TEST_F(TScrollBarControlTest, ArrowsPagesThumbAndKeysMoveThePositionThroughOnScroll)
{
    TForm* form = NewForm("Form1", 100, 100, 500, 300);
    auto* bar = Place<TScrollBar>(form, "Bar", Rect(10, 10, 210, 27));
    bar->SetParams(0, 0, 100);
    bar->SetPageSize(10);
    bar->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    int changes = 0;
    bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
    bar->OnChange = [&](TObject*) { ++changes; };
    Pump();
    const TPoint rightArrow = bar->ClientToScreen(Point(200 - ScrollBarSize / 2, 8));
    Host.MouseMove(rightArrow);
    Host.MouseDown(rightArrow);
    Pump();
    EXPECT_EQ(bar->Position(), 1);
    Host.AdvanceClock(ScrollRepeatDelayMs + 2 * ScrollRepeatIntervalMs);
    EXPECT_EQ(bar->Position(), 4) << "a held arrow repeats";
    Host.MouseUp(rightArrow);
    Pump();
    EXPECT_EQ(codes.back(), scEndScroll);
    ClickAt(bar, Point(150, 8));
    EXPECT_EQ(bar->Position(), 14) << "a page beside the thumb";
    // The thumb dragged to the far end.
    const TScrollBarLayout layout = LayoutScrollBar(bar->ClientRect(), false, 0, 100, 10, bar->Position());
    const TPoint thumb = bar->ClientToScreen(Point(layout.ThumbStart + layout.ThumbLength / 2, 8));
    Host.MouseMove(thumb);
    Host.MouseDown(thumb);
    Host.MouseMove(bar->ClientToScreen(Point(400, 8)));
    Host.MouseUp(bar->ClientToScreen(Point(400, 8)));
    Pump();
    EXPECT_EQ(bar->Position(), 91) << "the last position shows the last page";
    bar->SetFocus();
    Host.Key(VK_HOME);
    Pump();
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(changes, 7);
    // OnScroll may hold the position back.
    bar->OnScroll = +[](TObject*, TScrollCode, int& position) { position = std::min(position, 5); };
    Host.Key(VK_END);
    Pump();
    EXPECT_EQ(bar->Position(), 5);
}

} // namespace
} // namespace plat::test
