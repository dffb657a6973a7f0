// Entry-field input: keys through the command processor, the read-only
// refusals, user commands, forced insert and overtype, the selection
// messages, the caret position, the text messages, the clipboard, focus
// going to another form and the field's own pop-up menu.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"

#include "widgets/pages/pgc_command_codes.h"

#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/virtual_keys.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qel::test {
namespace {

using Opts = TPgcEntryFieldOptions;

bool Received(const TTestEntryField& Field, std::uint16_t Cmd)
{
    return std::find(Field.Commands.begin(), Field.Commands.end(), Cmd) != Field.Commands.end();
}

class TEntryInputTest : public TEntryFieldTest {};

TEST_F(TEntryInputTest, AReadOnlyFieldRefusesTextChangesAndBeepsOnlyWhenAsked)
{
    for (const bool beep : {true, false}) {
        TTestEntryField* field = AddField(EfString);
        field->SetAsString("abc");
        field->SetOptions(field->Options() + Opts{efoReadOnly});
        Controller->SetEntryOptions(beep ? TPgcBaseEFOptions{efoBeepOnError} : TPgcBaseEFOptions{});
        Focus(field);
        plat::SetClipboardText("pasted");
        field->Commands.clear();
        const int beepsBefore = Host.BeepCount();
        Key(plat::VK_BACK);
        Host.TypeText("x");
        Key(static_cast<plat::TVirtualKey>('V'), plat::ModControl);
        Key(plat::VK_BACK, plat::ModAlt);
        Key(plat::VK_DELETE);
        for (const std::uint16_t refused : {ccBack, ccTypedChar, ccPaste, ccRestore, ccDel}) {
            EXPECT_FALSE(Received(*field, refused)) << "command " << refused;
        }
        EXPECT_EQ(field->EditText(), u"abc");
        EXPECT_EQ(Host.BeepCount() > beepsBefore, beep) << "beep only with efoBeepOnError";
        Key(plat::VK_LEFT);
        EXPECT_TRUE(Received(*field, ccLeft)) << "moving the caret is no change";
    }
}

TEST_F(TEntryInputTest, CtrlZArrivesAsRestoreAndRestoresTheTextOfFocusEntry)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("start");
    Focus(field);
    Host.TypeText("xy");
    Pump();
    EXPECT_NE(field->EditText(), u"start");
    Key(static_cast<plat::TVirtualKey>('Z'), plat::ModControl);
    EXPECT_TRUE(Received(*field, ccRestore));
    EXPECT_FALSE(Received(*field, ccUndo));
    EXPECT_EQ(field->EditText(), u"start");
    EXPECT_FALSE(field->Modified());
}

TEST_F(TEntryInputTest, AUserCommandFiresOnUserCommandAndArrivesAsABrokenSequence)
{
    TTestEntryField* field = AddField(EfString);
    Controller->EntryCommands()->AddCommand("Default", plat::VK_F5, 0, 0, 0, 300);
    std::vector<std::uint16_t> fired;
    field->OnUserCommand = [&](plat::TObject*, std::uint16_t Command) { fired.push_back(Command); };
    Focus(field);
    field->Commands.clear();
    Key(plat::VK_F5);
    EXPECT_EQ(fired, (std::vector<std::uint16_t>{300}));
    EXPECT_EQ(field->Commands, (std::vector<std::uint16_t>{ccBrokenSequence}));
}

TEST_F(TEntryInputTest, ForcedModesHoldOnEveryFocusEntryAndIgnoreTheInsertKey)
{
    TTestEntryField* overtype = AddField(EfString);
    TTestEntryField* insert = AddField(EfString);
    overtype->SetOptions(Opts{efoForceOvertype});
    insert->SetOptions(Opts{efoForceInsert});
    for (int round = 0; round < 2; ++round) {
        Controller->SetInsertMode(round == 0);
        Focus(overtype);
        EXPECT_FALSE(overtype->StateFlags().Contains(sefInsert)) << round;
        overtype->Commands.clear();
        Key(plat::VK_INSERT);
        EXPECT_FALSE(Received(*overtype, ccIns));
        EXPECT_FALSE(overtype->StateFlags().Contains(sefInsert));
        Focus(insert);
        EXPECT_TRUE(insert->StateFlags().Contains(sefInsert)) << round;
    }
    EXPECT_FALSE(Controller->InsertMode()) << "forced fields leave the shared mode alone";
}

TEST_F(TEntryInputTest, TheInsertModeTravelsWithTheController)
{
    TTestEntryField* first = AddField(EfString);
    TTestEntryField* second = AddField(EfString);
    Focus(first);
    Key(plat::VK_INSERT);
    EXPECT_FALSE(first->InsertMode());
    Focus(second);
    EXPECT_FALSE(second->StateFlags().Contains(sefInsert)) << "taken from the controller";
}

TEST_F(TEntryInputTest, SelectionMessagesAndSetSelection)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("twelve chars");
    Focus(field);
    field->SelectAll();
    EXPECT_EQ(field->SelectionLength(), 12);
    std::uint32_t start = 99;
    std::uint32_t end = 99;
    field->Perform(plat::EM_GETSEL, reinterpret_cast<plat::WPARAM>(&start), reinterpret_cast<plat::LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 12u);
    field->Perform(plat::EM_SETSEL, 0, plat::MAKELPARAM(3, 1));
    EXPECT_EQ(field->SelectionLength(), 12) << "a stop below the start is ignored";
    field->Perform(plat::EM_SETSEL, 0, plat::MAKELPARAM(2, 5));
    EXPECT_EQ(field->SelectionStart(), 2);
    EXPECT_EQ(field->SelectedText(), "elv");
    field->Perform(plat::EM_SETSEL, 0, plat::MAKELPARAM(0xFFFF, 0));
    EXPECT_EQ(field->SelectionLength(), 0);
    field->SetSelection(4, 200);
    EXPECT_EQ(field->SelectionLength(), 8) << "limited to the text";

    TTestEntryField* numeric = AddField(EfLongInt, EfClassNumeric);
    numeric->SetAsInteger(12345);
    numeric->SetSelection(2, 3);
    EXPECT_EQ(numeric->SelectionStart(), 0);
    EXPECT_EQ(numeric->SelectionLength(), 255);
    numeric->SetSelection(2, 2);
    EXPECT_EQ(numeric->SelectionLength(), 0) << "an empty selection stays empty";
}

TEST_F(TEntryInputTest, CurrentPosIsLimitedWhileFocusedAndIgnoredOtherwise)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("twelve chars");
    field->SetCurrentPos(3);
    EXPECT_EQ(field->CurrentPos(), -1);
    Focus(field);
    field->SetCurrentPos(1000);
    EXPECT_EQ(field->CurrentPos(), 12);
    field->SetCurrentPos(-4);
    EXPECT_EQ(field->CurrentPos(), 0);
}

TEST_F(TEntryInputTest, TheTextScrollsToKeepTheCaretInView)
{
    TTestEntryField* field = AddField(EfString);
    field->SetMaxLength(60);
    field->SetAsString(std::string(60, 'W'));
    Focus(field);
    EXPECT_EQ(field->CurrentPos(), 60) << "the caret goes to the end";
    const int offset = field->HOffset();
    EXPECT_GT(offset, 0);
    field->SetCurrentPos(59);
    EXPECT_EQ(field->HOffset(), offset) << "a caret in view moves no text";
    field->SetCurrentPos(0);
    EXPECT_EQ(field->HOffset(), 0);
    field->SetCurrentPos(60);
    EXPECT_EQ(field->HOffset(), offset) << "the same first character for the same caret";

    TTestEntryField* numeric = AddField(EfLongInt, EfClassNumeric);
    numeric->SetAsInteger(-2147483647);
    Focus(numeric);
    numeric->SetCurrentPos(11);
    EXPECT_EQ(numeric->HOffset(), 0) << "a numeric field never scrolls";
}

TEST_F(TEntryInputTest, TheTextMessagesCopyAtMostTheBuffer)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("abcdefgh");
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(field->Perform(plat::WM_GETTEXT, 5, reinterpret_cast<plat::LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "abcd");
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(field->Perform(plat::WM_GETTEXT, 0, reinterpret_cast<plat::LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], '#') << "a buffer of size 0 receives nothing";
    EXPECT_EQ(field->Perform(plat::WM_GETTEXTLENGTH), 8);
    field->Perform(plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>("new"));
    EXPECT_EQ(field->EditText(), u"new");
    EXPECT_EQ(field->Perform(plat::EM_GETMODIFY), 1);
    field->Perform(plat::EM_SETMODIFY, 0);
    EXPECT_FALSE(field->Modified());
    EXPECT_TRUE(field->EverModified());
}

TEST_F(TEntryInputTest, ClearContentsEmptiesEvenAReadOnlyFieldWithoutOnChange)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("abc");
    field->SetOptions(Opts{efoReadOnly});
    int changes = 0;
    field->OnChange = [&](plat::TObject*) { ++changes; };
    field->ClearContents();
    EXPECT_EQ(field->EditText(), u"");
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(field->Options().Contains(efoReadOnly));
}

TEST_F(TEntryInputTest, CuttingKeepsControlCharactersOnTheClipboard)
{
    TTestEntryField* field = AddField(EfString);
    Focus(field);
    field->TypeIn(u"ab\x01" u"c");
    field->SetSelection(1, 3);
    field->CutToClipboard();
    EXPECT_EQ(plat::GetClipboardText(), "b\x01");
    EXPECT_EQ(field->EditText(), u"ac");
    field->SelectAll();
    field->CopyToClipboard();
    EXPECT_EQ(plat::GetClipboardText(), "ac");
}

TEST_F(TEntryInputTest, APasteHandsTheFieldAtMostMaxLengthCharacters)
{
    for (const std::uint16_t maxLength : {15, 255}) {
        TTestEntryField* field = AddField(EfString);
        field->SetMaxLength(maxLength);
        Focus(field);
        plat::SetClipboardText(std::string(400, 'p'));
        field->PasteFromClipboard();
        EXPECT_EQ(field->EditText().size(), maxLength);
        field->Perform(plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>(std::string(300, 's').c_str()));
        EXPECT_EQ(field->EditText(), std::u16string(maxLength, u's'));
        field->SetSelectedText(std::string(300, 't'));
        EXPECT_LE(field->EditText().size(), maxLength);
    }
}

TEST_F(TEntryInputTest, FocusGoingToAnotherFormKeepsTheEditPending)
{
    TTestEntryField* field = AddField(EfString);
    AddField(EfString);
    field->OnUserValidation = [&](plat::TObject*, std::uint16_t& Error) { Error = epeInvalidValue; };
    auto* second = App.CreateForm<plat::TForm>();
    second->SetBounds(600, 100, 200, 100);
    auto* elsewhere = new TTestEntryField(second, EfString);
    elsewhere->SetParent(second);
    second->Show();
    Pump();
    Focus(field);
    Host.TypeText("ab");
    Pump();
    field->SetSelection(1, 2);
    elsewhere->SetFocus();
    Pump();
    EXPECT_EQ(field->SelectionStart(), 1);
    EXPECT_EQ(field->SelectionLength(), 1);
    EXPECT_EQ(field->LastError(), 0) << "leaving the form does not validate";
    EXPECT_FALSE(Controller->ErrorPending());
    Form->SetFocus();
    Focus(field);
    EXPECT_TRUE(field->Modified()) << "coming back resumes the edit";
    EXPECT_EQ(field->SelectionLength(), 1) << "caret and selection are kept";
    EXPECT_EQ(Dialogs.Shown().size(), 0u);
}

TEST_F(TEntryInputTest, ThePopupMenuOffersWhatTheStateAllows)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("text");
    plat::SetClipboardText("clip");
    struct TItem {
        std::string Caption;
        bool Enabled;
    };
    std::vector<TItem> items;
    const auto openMenu = [&] {
        items.clear();
        Host.Script([&] {
            for (int i = 0; i < field->ComponentCount(); ++i) {
                if (auto* menu = dynamic_cast<plat::TPopupMenu*>(field->Components(i))) {
                    for (int j = 0; j < menu->Items().Count(); ++j) {
                        items.push_back({menu->Items().Items(j)->Caption(), menu->Items().Items(j)->Enabled()});
                    }
                }
            }
            Host.Key(plat::VK_ESCAPE);
        });
        Host.Click(field->ClientToScreen({20, 5}), plat::THostButton::Right);
        Pump();
    };
    Focus(field);
    field->Deselect();
    openMenu();
    ASSERT_EQ(items.size(), 8u);
    const std::vector<std::string> captions{"&Restore", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &All"};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].Caption, captions[i]);
    }
    EXPECT_FALSE(items[0].Enabled) << "Restore until modified";
    EXPECT_FALSE(items[2].Enabled) << "Cut without a selection";
    EXPECT_FALSE(items[3].Enabled) << "Copy without a selection";
    EXPECT_TRUE(items[4].Enabled) << "Paste with text on the clipboard";
    EXPECT_FALSE(items[5].Enabled) << "Delete without a selection";
    EXPECT_TRUE(items[7].Enabled) << "Select All while not all is selected";

    Host.TypeText("x");
    Pump();
    field->SelectAll();
    Pump();
    openMenu();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_TRUE(items[0].Enabled);
    EXPECT_TRUE(items[2].Enabled);
    EXPECT_TRUE(items[3].Enabled);
    EXPECT_TRUE(items[5].Enabled);
    EXPECT_FALSE(items[7].Enabled) << "everything is selected";
    EXPECT_EQ(field->ComponentCount(), 0) << "the menu is freed";
}

TEST_F(TEntryInputTest, ARightClickFocusesTheField)
{
    TTestEntryField* first = AddField(EfString);
    TTestEntryField* second = AddField(EfString);
    Focus(first);
    Host.Script([&] { Host.Key(plat::VK_ESCAPE); });
    Host.Click(second->ClientToScreen({20, 5}), plat::THostButton::Right);
    Pump();
    EXPECT_TRUE(second->Focused());
}

TEST_F(TEntryInputTest, CommandsWithoutAWindowAreDropped)
{
    TTestEntryField field(nullptr, EfString);
    field.ProcessCommand(ccTypedChar, 'a');
    field.SelectAll();
    field.ClearContents();
    EXPECT_TRUE(field.Commands.empty());
    EXPECT_FALSE(field.HandleAllocated());
}

} // namespace
} // namespace qel::test
