// Entry-field validation on the headless back end: the required-input rule
// on focus loss with its one report and the focus brought back, soft
// validation, ValidateContents and ValidateSelf, and the controller's walks
// over its form's fields.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"

#include "platform/controls/virtual_keys.h"

#include <gtest/gtest.h>

namespace qel::test {
namespace {

using Opts = TPgcEntryFieldOptions;

class TEntryValidationTest : public TEntryFieldTest {
protected:
    TTestEntryField* AddRequiredField()
    {
        TTestEntryField* field = AddField(EfString);
        field->SetOptions(field->Options() + Opts{efoInputRequired});
        return field;
    }
};

TEST_F(TEntryValidationTest, LeavingARequiredBlankFieldReportsOnceAndBringsTheFocusBack)
{
    TTestEntryField* first = AddRequiredField();
    TTestEntryField* second = AddRequiredField();
    Focus(first);
    Dialogs.ExpectMessageBox(plat::mbOK, "A value is required in this field");
    Key(plat::VK_TAB);
    EXPECT_EQ(Dialogs.Shown().size(), 1u) << "one report, though the second field is blank too";
    EXPECT_TRUE(first->Focused()) << "the focus came back";
    EXPECT_EQ(first->LastError(), epeInputRequired);
    EXPECT_EQ(second->LastError(), 0) << "the second field was not validated";
    EXPECT_FALSE(Controller->ErrorPending());
    EXPECT_EQ(Controller->ErrorText(), "A value is required in this field");
    EXPECT_FALSE(first->StateFlags().Contains(sefErrorPending));

    // Filled in, the field can be left.
    Host.TypeText("x");
    Key(plat::VK_TAB);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(first->LastError(), 0);
}

TEST_F(TEntryValidationTest, EditNotificationsNameTheOtherControl)
{
    TTestEntryField* first = AddField(EfString);
    TTestEntryField* second = AddField(EfString);
    using TNote = std::pair<plat::TObject*, plat::TWinControl*>;
    std::vector<TNote> pre;
    std::vector<TNote> post;
    Controller->OnPreEdit = [&](plat::TObject* Sender, plat::TWinControl* Losing) { pre.emplace_back(Sender, Losing); };
    Controller->OnPostEdit = [&](plat::TObject* Sender, plat::TWinControl* Gaining) {
        post.emplace_back(Sender, Gaining);
    };
    Focus(first);
    Focus(second);
    ASSERT_FALSE(pre.empty());
    EXPECT_EQ(pre.back(), TNote(second, first));
    EXPECT_EQ(post, (std::vector<TNote>{TNote(first, second)}));
}

TEST_F(TEntryValidationTest, GoingToASpecialButtonValidatesWithoutHoldingTheFocus)
{
    TTestEntryField* first = AddRequiredField();
    TTestEntryField* special = AddField(EfString);
    Controller->OnIsSpecialControl = [&](plat::TObject*, plat::TWinControl* Control, bool& Special) {
        Special = Control == special;
    };
    Focus(first);
    first->SetModified(false);
    Focus(special);
    EXPECT_TRUE(special->Focused());
    EXPECT_TRUE(Dialogs.Shown().empty()) << "no report";
    EXPECT_FALSE(first->Modified()) << "Modified is kept";
    EXPECT_TRUE(first->StateFlags().Contains(sefValPending)) << "the validation is still to come";
}

TEST_F(TEntryValidationTest, SoftValidationMarksTheFieldInvalidAndLetsTheFocusGo)
{
    TTestEntryField* first = AddRequiredField();
    TTestEntryField* second = AddField(EfString);
    first->SetOptions(first->Options() + Opts{efoSoftValidation});
    Focus(first);
    Key(plat::VK_TAB);
    EXPECT_TRUE(second->Focused());
    EXPECT_FALSE(first->IsValid());
    EXPECT_TRUE(Dialogs.Shown().empty());
    first->SetAsString("filled");
    EXPECT_TRUE(first->IsValid()) << "a value taken in clears the mark";
}

TEST_F(TEntryValidationTest, ValidateContentsReportsOnlyWhenAskedAndNeverForAHiddenField)
{
    TTestEntryField* field = AddRequiredField();
    EXPECT_EQ(field->ValidateContents(false), epeInputRequired);
    Pump();
    EXPECT_TRUE(Dialogs.Shown().empty());
    std::vector<std::uint16_t> reported;
    field->OnError = [&](plat::TObject*, std::uint16_t Code, const std::string&) { reported.push_back(Code); };
    EXPECT_FALSE(field->ValidateSelf());
    Pump();
    EXPECT_EQ(reported, (std::vector<std::uint16_t>{epeInputRequired}));
    field->Hide();
    EXPECT_EQ(field->ValidateContents(true), 0);
    Pump();
    EXPECT_EQ(reported.size(), 1u) << "nothing posted for a hidden field";
}

TEST_F(TEntryValidationTest, ErrorCodesReportTheirTexts)
{
    TTestEntryField* field = AddField(EfString);
    Controller->SetErrorText("Custom failure");
    std::vector<std::string> texts;
    field->OnError = [&](plat::TObject*, std::uint16_t, const std::string& Text) { texts.push_back(Text); };
    // The application's codes take the controller's text as it stands: first.
    const std::pair<std::uint16_t, const char*> cases[] = {
        {40000, "Custom failure"}, {256, "Value is not within required range"}, {257, "Value is not valid for this field type"},
        {262, "This field should be either empty or completely full"}, {5, "Entry Error"}, {300, "Entry Error"}};
    for (const auto& [code, text] : cases) {
        field->Perform(PGCM_REPORTERROR, code);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back(), text) << code;
    }
    EXPECT_EQ(Controller->ErrorText(), "Entry Error") << "the controller keeps the last text";
    field->Perform(PGCM_REPORTERROR, 0);
    EXPECT_EQ(texts.size(), std::size(cases)) << "code 0 reports nothing";
}

TEST_F(TEntryValidationTest, UninitializedRequiredFieldsFailUntilModified)
{
    TTestEntryField* field = AddField(EfLongInt);
    field->SetOptions(Opts{efoInputRequired});
    field->SetAsInteger(5);
    field->SetUninitialized(true);
    EXPECT_EQ(field->ValidateContents(false), epeInputRequired);
    field->SetModified(true);
    EXPECT_EQ(field->ValidateContents(false), 0);
    field->SetOptions(Opts{efoInputRequired, efoReadOnly});
    field->SetModified(false);
    EXPECT_EQ(field->ValidateContents(false), 0) << "a read-only field is never required";
}

TEST_F(TEntryValidationTest, ValidateEntryFieldsExWithoutReportOrFocusValidatesEveryField)
{
    TTestEntryField* fields[] = {AddRequiredField(), AddRequiredField(), AddRequiredField()};
    AddField(EfString);
    EXPECT_EQ(Controller->ValidateEntryFieldsEx(false, false), fields[0]);
    for (TTestEntryField* field : fields) {
        EXPECT_EQ(field->LastError(), epeInputRequired) << field->Name();
    }
    Pump();
    EXPECT_TRUE(Dialogs.Shown().empty());
    EXPECT_FALSE(Controller->ErrorPending());
}

TEST_F(TEntryValidationTest, ValidateEntryFieldsReportsTheFirstFailureAndFocusesIt)
{
    AddField(EfString);
    TTestEntryField* first = AddRequiredField();
    TTestEntryField* second = AddRequiredField();
    Dialogs.ExpectMessageBox(plat::mbOK, "required");
    EXPECT_EQ(Controller->ValidateEntryFields(), first);
    EXPECT_TRUE(Controller->ErrorPending());
    EXPECT_EQ(second->LastError(), 0) << "the walk ended at the first failure";
    Pump();
    EXPECT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_TRUE(first->Focused());
    EXPECT_FALSE(Controller->ErrorPending()) << "cleared by the focus entry";
}

TEST_F(TEntryValidationTest, WhileAnErrorIsPendingTheWalkPostsNothing)
{
    TTestEntryField* first = AddRequiredField();
    AddRequiredField();
    Controller->SetErrorPending(true);
    EXPECT_EQ(Controller->ValidateEntryFieldsEx(true, true), first);
    Pump();
    EXPECT_TRUE(Dialogs.Shown().empty());
    EXPECT_FALSE(first->Focused());
    EXPECT_EQ(Controller->ValidateTheseEntryFields({first}), first);
    Pump();
    EXPECT_TRUE(Dialogs.Shown().empty());
}

TEST_F(TEntryValidationTest, ValidateTheseEntryFieldsTakesTheGivenFieldsEvenHidden)
{
    TTestEntryField* valid = AddField(EfString);
    TTestEntryField* hidden = AddRequiredField();
    hidden->Hide();
    EXPECT_EQ(Controller->ValidateTheseEntryFields({valid, Controller, hidden}), nullptr)
        << "a hidden field passes ValidateContents";
    TTestEntryField* failing = AddRequiredField();
    Dialogs.ExpectMessageBox(plat::mbOK);
    EXPECT_EQ(Controller->ValidateTheseEntryFields({valid, failing}), failing);
    Pump();
    EXPECT_TRUE(failing->Focused());
    EXPECT_EQ(Controller->ValidateEntryFieldsEx(false, false), failing) << "hidden fields are passed over";
}

TEST_F(TEntryValidationTest, MarkAsUninitializedOnlyForAFormOrFrameOwner)
{
    TTestEntryField* field = AddField(EfString);
    Controller->MarkAsUninitialized(true);
    EXPECT_TRUE(field->Uninitialized());
    Controller->MarkAsUninitialized(false);
    EXPECT_FALSE(field->Uninitialized());

    plat::TComponent dataModule(nullptr);
    auto* elsewhere = new TPgcController(&dataModule);
    auto* owned = new TTestEntryField(&dataModule, EfString);
    elsewhere->MarkAsUninitialized(true);
    EXPECT_FALSE(owned->Uninitialized());
    EXPECT_EQ(elsewhere->ValidateEntryFieldsEx(false, false), nullptr);
}

TEST_F(TEntryValidationTest, AFieldFollowsTheEpochOfItsController)
{
    TTestEntryField* field = AddField(EfDate);
    Controller->SetEpoch(1950);
    field->SetEpoch(1500);
    EXPECT_EQ(field->Epoch(), 1950) << "1500 is ignored";
    field->SetEpoch(1980);
    EXPECT_EQ(field->Epoch(), 1980);
    field->SetEpoch(1950);
    EXPECT_EQ(field->Epoch(), 1950);
    Controller->SetEpoch(2000);
    EXPECT_EQ(field->Epoch(), 2000) << "the same epoch as the controller is stored as 0";
    field->OnGetEpoch = [&](plat::TObject*, int& Epoch) { Epoch = 1900; };
    EXPECT_EQ(field->Epoch(), 1900);
}

} // namespace
} // namespace qel::test
