// A designed form written with the filer and read back into a new form:
// the standard controls come back by class name with their published
// properties.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/standard/bevel.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/standard/standard_classes.h"
#include "platform/objects/class_registry.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

namespace plat::test {
namespace {

using TStreamingTest = TStandardTest;

TEST_F(TStreamingTest, ADesignedFormComesBackFromItsDescription)
{
    RegisterStandardClasses();
    EXPECT_EQ(FindClass("TComboBox"), TComboBox::StaticClass());
    auto* form = App.CreateForm<TForm>();
    form->SetName("Popup");
    auto* strip = Place<TPanel>(form, "panCtrl", Rect(0, 0, 200, 31));
    strip->SetBevelOuter(bvNone);
    strip->SetAlign(alBottom);
    auto* ok = Place<TButton>(strip, "btnOK", Rect(10, 2, 110, 29));
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetAlignWithMargins(true);
    auto* label = Place<TLabel>(form, "Label1", Rect(10, 10, 50, 25));
    label->SetCaption(" , ");
    label->SetLayout(tlCenter);
    auto* check = Place<TCheckBox>(form, "chkOptionCsv", Rect(10, 40, 150, 57));
    check->SetCaption("Start CSV-converter");
    check->SetState(cbChecked);
    auto* radio = Place<TRadioButton>(form, "rbnShockQEL", Rect(10, 60, 150, 77));
    radio->SetChecked(true);
    auto* edit = Place<TEdit>(form, "edtDateMSec", Rect(160, 10, 224, 31));
    edit->SetMaxLength(3);
    edit->SetText("007");
    auto* combo = Place<TComboBox>(form, "cbxInterval", Rect(160, 40, 300, 61));
    combo->SetStyle(csDropDownList);
    auto* memo = Place<TMemo>(form, "memFileHint", Rect(160, 70, 300, 120));
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    auto* line = Place<TBevel>(form, "Line", Rect(0, 130, 300, 132));
    line->SetShape(bsTopLine);
    line->SetAnchors({akLeft, akTop, akRight});
    auto* bar = Place<TScrollBar>(form, "Amount", Rect(10, 140, 200, 157));
    bar->SetParams(40, 0, 255);

    TMemoryStream stream;
    TWriter(stream).WriteRootComponent(form);
    stream.SetPosition(0);
    delete form;
    auto* copy = App.CreateForm<TForm>();
    TReader(stream).ReadRootComponent(copy);

    const auto find = [copy](const char* name) { return copy->FindComponent(name); };
    auto* copiedOk = dynamic_cast<TButton*>(find("btnOK"));
    ASSERT_NE(copiedOk, nullptr);
    EXPECT_TRUE(copiedOk->Default());
    EXPECT_EQ(copiedOk->ModalResult(), mrOk);
    EXPECT_EQ(copiedOk->Parent(), find("panCtrl"));
    EXPECT_EQ(dynamic_cast<TPanel*>(find("panCtrl"))->BevelOuter(), bvNone);
    EXPECT_EQ(dynamic_cast<TPanel*>(find("panCtrl"))->Align(), alBottom);
    EXPECT_EQ(dynamic_cast<TLabel*>(find("Label1"))->Layout(), tlCenter);
    EXPECT_EQ(dynamic_cast<TCheckBox*>(find("chkOptionCsv"))->State(), cbChecked);
    EXPECT_TRUE(dynamic_cast<TRadioButton*>(find("rbnShockQEL"))->Checked());
    EXPECT_EQ(dynamic_cast<TEdit*>(find("edtDateMSec"))->MaxLength(), 3);
    EXPECT_EQ(dynamic_cast<TEdit*>(find("edtDateMSec"))->Text(), "007");
    EXPECT_EQ(dynamic_cast<TComboBox*>(find("cbxInterval"))->Style(), csDropDownList);
    EXPECT_TRUE(dynamic_cast<TMemo*>(find("memFileHint"))->ReadOnly());
    EXPECT_EQ(dynamic_cast<TMemo*>(find("memFileHint"))->ScrollBars(), ssVertical);
    EXPECT_EQ(dynamic_cast<TBevel*>(find("Line"))->Shape(), bsTopLine);
    EXPECT_EQ(dynamic_cast<TBevel*>(find("Line"))->Anchors(), (TAnchors{akLeft, akTop, akRight}));
    EXPECT_EQ(dynamic_cast<TControl*>(find("Amount"))->Anchors(), (TAnchors{akLeft, akTop})) << "the default";
    EXPECT_TRUE(copiedOk->AlignWithMargins());
    EXPECT_EQ(dynamic_cast<TScrollBar*>(find("Amount"))->Position(), 40);
    EXPECT_EQ(dynamic_cast<TScrollBar*>(find("Amount"))->Max(), 255);
}

} // namespace
} // namespace plat::test
