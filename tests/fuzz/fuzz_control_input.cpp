// Fuzz target for the control tree and the standard controls on the headless
// host: a form with an edit, a read-only note, list and editable combos, a
// list box, the channel list view, check and radio boxes, a date field, a
// scroll bar, buttons (one opens a message box, one frees a sibling) and a
// context menu takes any mix of mouse presses, moves and wheel turns (at
// controls, anywhere, and near the 32-bit limits), keys with modifiers,
// typed and raw UTF-16 units, pastes from other programs, clock steps,
// resizes, hidden, disabled and freed controls. Menus and message boxes run
// their own loops: the input goes on feeding them. After every step each
// control's state stays within its rules.
#include "platform/controls/application.h"
#include "platform/controls/dialogs/message_dialog.h"
#include "platform/controls/form.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/date_field.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/text_encoding.h"

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace {

using namespace plat;

// At most this many steps an input, and as many events for the loops of
// menus and message boxes; a loop still open after them gets this many
// closing steps before it counts as stuck.
constexpr int MaxSteps = 6;
constexpr int MaxClosingSteps = 12;
constexpr int FormLeft = 150;
constexpr int FormTop = 50;
constexpr int FormWidth = 320;
constexpr int FormHeight = 250;

const std::string NoteText = "Note: more than 10,000,000 measured values may not be shown by every program.";

class TFuzzBytes {
public:
    TFuzzBytes(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool AtEnd() const { return FAt >= FSize; }
    std::uint8_t Byte() { return AtEnd() ? 0 : FData[FAt++]; }
    int Below(int count) { return count <= 0 ? 0 : Byte() % count; }
    std::uint16_t Unit() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
    std::int32_t Int32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | Byte();
        }
        return static_cast<std::int32_t>(value);
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};

[[noreturn]] void Fail(int step, const std::string& what)
{
    std::fprintf(stderr, "step %d: %s\n", step, what.c_str());
    std::abort();
}

// The named controls; the last four are the form's quarters that hold the others.
const char* const Names[] = {"Edit", "Note",   "ListCombo", "EditCombo", "List",     "Channels",
                             "Check", "Radio1", "Radio2",    "Date",      "Bar",      "Ask",
                             "Free", "Panel",  "Caption",   "Quarter1",  "Quarter2", "Quarter3", "Quarter4"};

struct TBench {
    THeadlessHost Host;
    TApplication App{Host};
    TForm* Main;
    TBench()
    {
        // Every paint takes a window-sized picture: freed memory stays with
        // the process, so the runs do not spend their time in page faults.
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        // The main form stays (its close would end the application):
        // message boxes centre on it.
        Main = App.CreateForm<TForm>();
        Main->SetName("Main");
        Main->OnCloseQuery = +[](TObject*, bool& canClose) { canClose = false; };
        Main->SetBounds(0, 0, 120, 80);
        Main->Show();
        Host.PumpUntilIdle();
    }
};

TBench& Bench()
{
    static TBench* bench = new TBench();
    return *bench;
}

template <class T>
T* Place(TForm* form, TWinControl* parent, const char* name, TRect bounds)
{
    auto* control = new T(form);
    control->SetName(name);
    control->SetBoundsRect(bounds);
    control->SetParent(parent);
    return control;
}

// The designed place of each named control, noted when the form is built.
std::map<std::string, TRect> Designed;

// Puts the form and every named control back in their designed state
// (shown, enabled, at their place); false when a control was freed.
bool Restore(TForm& form)
{
    for (const char* name : Names) {
        auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
        if (control == nullptr) {
            return false;
        }
        control->SetVisible(true);
        control->SetEnabled(true);
        control->SetBoundsRect(Designed[name]);
    }
    form.SetBounds(FormLeft, FormTop, FormWidth, FormHeight);
    if (!form.Visible()) {
        form.Show();   // Alt+F4 closed it
    }
    return true;
}

TForm* BuildForm(TApplication& app)
{
    auto* form = app.CreateForm<TForm>();
    form->SetName("Fuzz");
    form->SetBounds(FormLeft, FormTop, FormWidth, FormHeight);
    // Four quarters, so that a repaint takes a quarter's picture, not the form's.
    TPanel* quarters[4];
    for (int i = 0; i < 4; ++i) {
        const int left = i % 2 * FormWidth / 2;
        const int top = i / 2 * FormHeight / 2;
        quarters[i] = Place<TPanel>(form, form, Names[std::size(Names) - 4 + static_cast<std::size_t>(i)],
                                    Rect(left, top, left + FormWidth / 2, top + FormHeight / 2));
        quarters[i]->SetBevelOuter(bvNone);
    }
    auto* edit = Place<TEdit>(form, quarters[0], "Edit", Rect(5, 5, 105, 26));
    edit->SetMaxLength(12);
    auto* listCombo = Place<TComboBox>(form, quarters[0], "ListCombo", Rect(5, 30, 105, 51));
    listCombo->SetStyle(csDropDownList);
    auto* editCombo = Place<TComboBox>(form, quarters[0], "EditCombo", Rect(5, 55, 105, 76));
    for (const char* line : {"apple", "Banana", "avocado", "cherry", "Apricot", "b"}) {
        listCombo->Items().Add(line);
        editCombo->Items().Add(line);
    }
    auto* list = Place<TListBox>(form, quarters[0], "List", Rect(110, 5, 155, 120));
    for (int i = 0; i < 30; ++i) {
        list->Items().Add("line " + std::to_string(i));
    }
    auto* note = Place<TMemo>(form, quarters[1], "Note", Rect(5, 5, 155, 40));
    note->SetReadOnly(true);
    note->SetText(NoteText);
    auto* channels = Place<TListView>(form, quarters[1], "Channels", Rect(5, 45, 155, 120));
    channels->SetCheckboxes(true);
    channels->SetReadOnly(true);
    channels->SetTabStop(false);
    channels->SetColumnClick(false);
    channels->Columns().Add()->SetWidth(30);
    for (const char* caption : {"SN", "Channel", "Unit", "Measurement parameter"}) {
        channels->Columns().Add()->SetCaption(caption);
    }
    for (int row = 0; row < 12; ++row) {
        TListItem* item = channels->Items().Add();
        item->SetChecked(true);
        for (const std::string& cell : {std::string("1234"), "Channel " + std::to_string(row), std::string("°C"),
                                        std::to_string(1000 * row)}) {
            item->SubItems().Add(cell);
        }
    }
    for (int i = 0; i < channels->Columns().Count(); ++i) {
        channels->Columns().Items(i)->SetWidth(ColumnHeaderWidth);
    }
    auto* check = Place<TCheckBox>(form, quarters[2], "Check", Rect(5, 5, 105, 22));
    check->SetCaption("&Check");
    check->SetAllowGrayed(true);
    auto* panel = Place<TPanel>(form, quarters[2], "Panel", Rect(5, 25, 105, 70));
    Place<TRadioButton>(form, panel, "Radio1", Rect(3, 3, 95, 20))->SetCaption("&One");
    Place<TRadioButton>(form, panel, "Radio2", Rect(3, 23, 95, 40))->SetCaption("&Two");
    auto* ask = Place<TButton>(form, quarters[2], "Ask", Rect(5, 75, 65, 98));
    ask->SetCaption("&Ask");
    ask->OnClick = +[](TObject*) { MessageDlg("Read all containers?", "", mtConfirmation, {mbYes, mbNo, mbCancel}, mbYes); };
    auto* date = Place<TDateField>(form, quarters[3], "Date", Rect(5, 5, 105, 26));
    date->SetFormat("dd.MM.yyyy");
    auto* bar = Place<TScrollBar>(form, quarters[3], "Bar", Rect(5, 30, 155, 47));
    bar->SetParams(0, 0, 100);
    bar->SetPageSize(10);
    auto* freeButton = Place<TButton>(form, quarters[3], "Free", Rect(5, 55, 65, 78));
    freeButton->SetCaption("&Free");
    freeButton->SetCancel(true);
    freeButton->OnClick = [form](TObject*) { delete form->FindComponent("List"); };
    auto* caption = Place<TLabel>(form, quarters[3], "Caption", Rect(70, 58, 155, 73));
    caption->SetCaption("&Edit:");
    caption->SetFocusControl(edit);
    // The context menu of the channel list and the edit.
    auto* menu = new TPopupMenu(form);
    menu->SetName("Menu");
    for (const char* text : {"&Check all", "-", "&Disabled", "&Free the edit", "C&lose"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(text);
        menu->Items().Add(item);
    }
    menu->Items().Items(2)->SetEnabled(false);
    menu->Items().Items(0)->OnClick = [form](TObject*) {
        if (auto* view = dynamic_cast<TListView*>(form->FindComponent("Channels"))) {
            for (int i = 0; i < view->Items().Count(); ++i) {
                view->Items().Item(i)->SetChecked(true);
            }
        }
    };
    menu->Items().Items(3)->OnClick = [form](TObject*) { delete form->FindComponent("Edit"); };
    channels->SetPopupMenu(menu);
    edit->SetPopupMenu(menu);
    form->Show();
    for (const char* name : Names) {
        Designed[name] = static_cast<TControl*>(form->FindComponent(name))->BoundsRect();
    }
    return form;
}

struct TRun {
    TBench& Bench;
    TForm* Form;
    TFuzzBytes& In;
    int Step = 0;
    int Fed = 0;       // events fed to nested loops
    int Closing = 0;   // closing steps fed to nested loops after that

    TControl* Pick() { return dynamic_cast<TControl*>(Form->FindComponent(Names[In.Below(std::size(Names))])); }
    // A screen point: on or beside a control, anywhere on the screen, or far out.
    TPoint AnyPoint()
    {
        switch (In.Below(4)) {
        case 0:
        case 1:
            if (TControl* control = Pick()) {
                const TRect box = control->ClientRect();
                return control->ClientToScreen(
                    Point(In.Below(box.Width() + 8) - 4, In.Below(box.Height() + 8) - 4));
            }
            [[fallthrough]];
        case 2: return Point(In.Below(256) * 5, In.Below(256) * 4);
        default: return Point(In.Int32(), In.Int32());
        }
    }
    THostButton AnyButton()
    {
        const int pick = In.Below(8);
        return pick < 5 ? THostButton::Left : pick < 7 ? THostButton::Right : THostButton::Middle;
    }
    std::string AnyText()
    {
        static const char* const pieces[] = {"a", "b", "A", "1", "9", " ", ".", "ä", "€", "😀", "\t", "x"};
        std::string text;
        for (int i = In.Below(8); i > 0; --i) {
            text += pieces[In.Below(std::size(pieces))];
        }
        return text;
    }

    // One input event; the loop that waits handles it.
    void Inject()
    {
        static constexpr TVirtualKey keys[] = {
            VK_TAB,  VK_SPACE, VK_RETURN, VK_ESCAPE, VK_LEFT,  VK_RIGHT, VK_UP,   VK_DOWN, VK_HOME,  VK_END,
            VK_PRIOR, VK_NEXT, VK_DELETE, VK_BACK,   VK_INSERT, VK_F4,   VK_APPS, VK_F10,  'A',      'C',
            'V',     'X',      'Z',       'E',       'O',      'T',      '5',     0xFF,    0,        VK_SHIFT};
        THeadlessHost& host = Bench.Host;
        switch (In.Below(16)) {
        case 0: host.MouseMove(AnyPoint()); break;
        case 1: host.MouseDown(AnyPoint(), AnyButton()); break;
        case 2: host.MouseUp(AnyPoint(), AnyButton()); break;
        case 3:
        case 4: host.Click(AnyPoint(), AnyButton()); break;
        case 5: host.DoubleClick(AnyPoint()); break;
        case 6: host.Wheel(AnyPoint(), (In.Below(7) - 3) * WHEEL_DELTA + In.Below(3) - 1); break;
        case 7:
        case 8:
        case 9: host.Key(keys[In.Below(std::size(keys))], static_cast<std::uint8_t>(In.Below(8))); break;
        case 10: host.TypeText(AnyText()); break;
        case 11: {
            // Raw units as an input method could commit them: lone surrogates, controls, zero.
            TQueuedInput input;
            input.Kind = THostInputKind::Char;
            input.Value = In.Unit();
            for (HWND window : host.VisibleWindows()) {
                if (window == GetActiveWindow()) {
                    PostHostInput(window, input);
                }
            }
            break;
        }
        case 12: {
            // Another program's text on the clipboard, then Ctrl+V or Shift+Insert.
            std::string text = AnyText();
            if (In.Below(4) == 0) {
                text.append(static_cast<std::size_t>(In.Below(8)) * 9000, 'z');
            }
            host.ForeignClipboardText(text);
            host.Key(In.Below(2) == 0 ? TVirtualKey('V') : VK_INSERT, In.Below(2) == 0 ? ModControl : ModShift);
            break;
        }
        case 13: host.AdvanceClock(In.Below(16) * 100 + In.Below(100)); break;
        case 14: host.PointerLeaves(AnyPoint()); break;
        default:
            if (In.Below(2) == 0) {
                host.KeyDown(keys[In.Below(std::size(keys))]);
            } else {
                host.KeyUp(keys[In.Below(std::size(keys))]);
            }
            break;
        }
    }

    // A change the program makes between inputs.
    void Change()
    {
        TControl* control = Pick();
        switch (In.Below(8)) {
        case 0:
            if (control != nullptr) {
                control->SetVisible(!control->Visible());
            }
            break;
        case 1:
            if (control != nullptr) {
                control->SetEnabled(!control->Enabled());
            }
            break;
        case 2:
            delete control;
            break;
        case 3:
            if (control != nullptr) {
                control->SetBounds(In.Int32() % 4000, In.Int32() % 4000, In.Below(2) == 0 ? In.Int32() : In.Below(300),
                                   In.Below(2) == 0 ? In.Int32() : In.Below(300));
            }
            break;
        case 4:
            Form->SetBounds(FormLeft, FormTop, In.Below(700), In.Below(500));
            break;
        case 5:
            if (auto* win = dynamic_cast<TWinControl*>(control)) {
                try {
                    win->SetFocus();
                } catch (const EInvalidOperation&) {
                    // hidden or disabled: refused
                }
            }
            break;
        case 6:
            if (auto* view = dynamic_cast<TListView*>(Form->FindComponent("Channels"))) {
                if (In.Below(2) == 0) {
                    view->Items().Clear();
                } else {
                    view->Items().BeginUpdate();
                    for (int i = In.Below(40); i > 0; --i) {
                        view->Items().Add()->SetCaption("more");
                    }
                    view->Items().EndUpdate();
                }
            }
            break;
        default:
            if (auto* combo = dynamic_cast<TComboBox*>(Form->FindComponent("ListCombo"))) {
                if (In.Below(2) == 0) {
                    combo->Items().Clear();
                } else {
                    combo->SetItemIndex(In.Below(10) - 2);
                }
            }
            if (auto* list = dynamic_cast<TListBox*>(Form->FindComponent("List"))) {
                list->SetItemIndex(In.Below(40) - 2);
            }
            break;
        }
    }

    // Feeds a loop that waits for input (a menu, a message box): the next
    // event, or once the input or its share of it has ended, what closes it.
    void Feed()
    {
        if (!In.AtEnd() && Fed++ < MaxSteps) {
            Inject();
            return;
        }
        if (++Closing > MaxClosingSteps) {
            std::string shown;
            for (HWND window : Bench.Host.VisibleWindows()) {
                if (TWinControl* control = TWinControl::FindControl(window)) {
                    shown.append(" ").append(control->ClassName()).append(" ").append(control->Name());
                }
            }
            Fail(Step, "a loop does not end with Escape or a click outside; showing:" + shown);
        }
        // Held keys and buttons go up first: Shift+Escape presses no Cancel button.
        switch (Closing % 3) {
        case 0: Bench.Host.MouseUp(Point(1, 1), THostButton::Left); break;
        case 1:
            for (TVirtualKey key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
                Bench.Host.KeyUp(key);
            }
            Bench.Host.Key(VK_ESCAPE);
            break;
        default: Bench.Host.Click(Point(1270, 1010)); break;
        }
    }

    void Check()
    {
        auto within = [&](int value, int low, int high, const char* what) {
            if (value < low || value > high) {
                Fail(Step, std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) +
                               " .. " + std::to_string(high));
            }
        };
        if (auto* edit = dynamic_cast<TEdit*>(Form->FindComponent("Edit"))) {
            const int length = static_cast<int>(Utf8ToUtf16(edit->Text()).size());
            within(length, 0, edit->MaxLength(), "the edit's length");
            within(edit->SelStart(), 0, length, "the edit's selection start");
            within(edit->SelStart() + edit->SelLength(), 0, length, "the edit's selection end");
        }
        if (auto* note = dynamic_cast<TMemo*>(Form->FindComponent("Note"))) {
            if (note->Text() != NoteText) {
                Fail(Step, "the read-only note changed");
            }
        }
        for (const char* name : {"ListCombo", "EditCombo"}) {
            if (auto* combo = dynamic_cast<TComboBox*>(Form->FindComponent(name))) {
                within(combo->ItemIndex(), -1, combo->Items().Count() - 1, "a combo's index");
                if (combo->Style() == csDropDownList && combo->ItemIndex() >= 0 &&
                    combo->Text() != combo->Items().Get(combo->ItemIndex())) {
                    Fail(Step, "a list combo shows another text than its line's");
                }
            }
        }
        if (auto* list = dynamic_cast<TListBox*>(Form->FindComponent("List"))) {
            within(list->ItemIndex(), -1, list->Count() - 1, "the list box's index");
            within(list->TopIndex(), 0, std::max(list->Count() - 1, 0), "the list box's top line");
        }
        if (auto* view = dynamic_cast<TListView*>(Form->FindComponent("Channels"))) {
            within(view->ItemIndex(), -1, view->Items().Count() - 1, "the list view's index");
            within(view->TopIndex(), 0, std::max(view->Items().Count() - 1, 0), "the list view's top row");
        }
        auto* one = dynamic_cast<TRadioButton*>(Form->FindComponent("Radio1"));
        auto* two = dynamic_cast<TRadioButton*>(Form->FindComponent("Radio2"));
        if (one != nullptr && two != nullptr && one->Checked() && two->Checked()) {
            Fail(Step, "two radio buttons of one group are checked");
        }
        if (auto* bar = dynamic_cast<TScrollBar*>(Form->FindComponent("Bar"))) {
            within(bar->Position(), bar->Min(), bar->Max(), "the scroll bar's position");
        }
        if (auto* date = dynamic_cast<TDateField*>(Form->FindComponent("Date"))) {
            // 0001-01-01 .. 9999-12-31 23:59:59
            const double value = date->DateTime();
            if (!(value >= -693594.0 && value < 2958466.0)) {
                Fail(Step, "the date field left the years 1 .. 9999");
            }
        }
    }
};

TRun* Current = nullptr;   // the run a waiting loop is fed from

// The host's one scripted step, which stays queued: whenever a loop waits,
// the current run feeds it.
void QueueFeeder(THeadlessHost& host)
{
    host.Script([&host] {
        QueueFeeder(host);
        if (Current == nullptr) {
            Fail(0, "a loop waits for input outside a run");
        }
        Current->Feed();
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBench& bench = Bench();
    TFuzzBytes in(data, size);
    // The form lives from input to input (building it costs more than a
    // run); it is built again once a run freed any of its controls.
    static TForm* form = nullptr;
    if (form == nullptr || !Restore(*form)) {
        delete form;
        form = BuildForm(bench.App);
        bench.Host.PumpUntilIdle();
    }
    TRun run{bench, form, in};
    Current = &run;
    if (bench.Host.ScriptLeft() == 0) {
        QueueFeeder(bench.Host);
    }
    for (; run.Step < MaxSteps && !in.AtEnd(); ++run.Step) {
        if (in.Below(6) == 0) {
            run.Change();
        } else {
            run.Inject();
        }
        bench.Host.PumpUntilIdle();
        run.Check();
    }
    // Let go of whatever is still held, where the pointer is.
    for (TVirtualKey key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        if (GetAsyncKeyState(key) < 0) {
            bench.Host.KeyUp(key);
        }
    }
    const std::pair<TVirtualKey, THostButton> buttons[] = {
        {VK_LBUTTON, THostButton::Left}, {VK_RBUTTON, THostButton::Right}, {VK_MBUTTON, THostButton::Middle}};
    for (const auto& [key, button] : buttons) {
        if (GetAsyncKeyState(key) < 0) {
            TPoint pointer;
            GetCursorPos(pointer);
            bench.Host.MouseUp(pointer, button);
        }
    }
    bench.Host.PumpUntilIdle();
    Current = nullptr;
    return 0;
}
