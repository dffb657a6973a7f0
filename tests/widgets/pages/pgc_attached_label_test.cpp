// Tests of a library control's attached label on a headless form: made by
// LabelInfo.Visible with a unique name, placed above or below the control,
// following the control's moves, keeping the offsets the user gives it by
// moving it, hidden with the control and freed when hidden or gone.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_attached_label.h"
#include "widgets/pages/pgc_base_controls.h"

#include "platform/objects/class_registry.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <stdexcept>
#include <string>

namespace qel {
namespace {

// A control that publishes its label settings, as the notebook and the editor do.
class TLabelledControl : public TPgcCustomControl {
    PLAT_CLASS(TLabelledControl, TPgcCustomControl)
public:
    explicit TLabelledControl(plat::TComponent* owner) : TPgcCustomControl(owner) {}
};

PLAT_DEFINE_CLASS(TLabelledControl, TPgcCustomControl,
                  plat::Published("LabelInfo", &TPgcCustomControl::LabelInfo, nullptr))

class PgcAttachedLabel : public test::TPgcFormTest {
protected:
    PgcAttachedLabel()
    {
        Edit = NewControl("Edit1", 50, 100);
        Pump();
    }

    TPgcCustomControl* NewControl(const std::string& name, int left, int top)
    {
        auto* control = new TPgcCustomControl(Form);
        control->SetName(name);
        control->SetBounds(left, top, 120, 24);
        control->SetParent(Form);
        return control;
    }
    // The label's offsets as it stands: from the control's left edge, and
    // from the control's top to the label's bottom.
    std::string Placement(const TPgcCustomControl* control)
    {
        const TPgcAttachedLabel* label = control->LabelInfo()->ALabel;
        return std::to_string(label->Left() - control->Left()) + ","
            + std::to_string(label->Top() + label->Height() - control->Top());
    }
    std::string Offsets(const TPgcCustomControl* control)
    {
        return std::to_string(control->LabelInfo()->OffsetX()) + "," + std::to_string(control->LabelInfo()->OffsetY());
    }

    TPgcCustomControl* Edit = nullptr;
};

TEST_F(PgcAttachedLabel, VisibleMakesANamedLabelAboveTheControl)
{
    EXPECT_EQ(Form->FindComponent("Edit1Label1"), nullptr);
    Edit->LabelInfo()->SetVisible(true);
    TPgcAttachedLabel* label = Edit->AttachedLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Form->FindComponent("Edit1Label1"), label);
    EXPECT_EQ(label->Caption(), "Edit1Label1");
    EXPECT_EQ(label->Parent(), Form);
    EXPECT_EQ(label->Control(), Edit);
    EXPECT_EQ(label->FocusControl(), Edit);
    EXPECT_GT(label->Height(), 0);
    EXPECT_GT(label->Width(), 0);
    EXPECT_EQ(label->Left(), 50);
    EXPECT_EQ(label->Top() + label->Height(), 100);
    Pump();
    EXPECT_EQ(Offsets(Edit), "0,0");
    EXPECT_EQ(Form->Controls(Form->ControlCount() - 1), label) << "brought to the front";
    EXPECT_NE(Host.LayoutDump().find("Edit1Label1"), std::string::npos);
    EXPECT_EQ(plat::GetClass("TPgcAttachedLabel"), TPgcAttachedLabel::StaticClass()) << "registered for streams";
}

TEST_F(PgcAttachedLabel, NamesStayUniqueOnTheForm)
{
    auto* other = new plat::TComponent(Form);
    other->SetName("Edit1Label1");
    Edit->LabelInfo()->SetVisible(true);
    EXPECT_EQ(Edit->AttachedLabel()->Name(), "Edit1Label2");
    auto* unnamed = NewControl("", 50, 200);
    unnamed->LabelInfo()->SetVisible(true);
    EXPECT_EQ(unnamed->AttachedLabel()->Name(), "Label1");
}

TEST_F(PgcAttachedLabel, BelowTheControlWithTheBottomLeftPosition)
{
    Edit->DefaultLabelPosition = lpBottomLeft;
    Edit->LabelInfo()->SetVisible(true);
    EXPECT_EQ(Edit->AttachedLabel()->Top(), 124);
    Edit->LabelInfo()->SetOffsets(4, 6);
    EXPECT_EQ(Edit->AttachedLabel()->Left(), 54);
    EXPECT_EQ(Edit->AttachedLabel()->Top(), 130);
}

TEST_F(PgcAttachedLabel, TheLabelFollowsTheControlAndKeepsItsOffsets)
{
    Edit->LabelInfo()->SetVisible(true);
    Edit->LabelInfo()->SetOffsetX(10);
    Edit->LabelInfo()->SetOffsetY(-3);
    EXPECT_EQ(Placement(Edit), "10,-3") << "an offset change places the label at once";
    Edit->SetBounds(150, 60, 120, 24);
    Pump();
    EXPECT_EQ(Placement(Edit), "10,-3");
    Edit->SetWidth(200);
    Pump();
    EXPECT_EQ(Placement(Edit), "10,-3");
    EXPECT_EQ(Offsets(Edit), "10,-3");
}

TEST_F(PgcAttachedLabel, MovingTheLabelItselfSetsTheOffsets)
{
    Edit->LabelInfo()->SetVisible(true);
    TPgcAttachedLabel* label = Edit->AttachedLabel();
    label->SetBounds(80, 40, label->Width(), label->Height());
    Pump();
    const std::string moved = std::to_string(80 - 50) + "," + std::to_string(40 + label->Height() - 100);
    EXPECT_EQ(Offsets(Edit), moved);
    EXPECT_EQ(label->Left(), 80) << "the label stays where it was put";
    EXPECT_EQ(label->Top(), 40);
    Edit->SetBounds(20, 150, 120, 24);
    Pump();
    EXPECT_EQ(Placement(Edit), moved) << "and follows the control with its new offsets";
}

TEST_F(PgcAttachedLabel, TheLabelShowsAndHidesWithTheControl)
{
    Edit->LabelInfo()->SetVisible(true);
    TPgcAttachedLabel* label = Edit->AttachedLabel();
    Edit->Hide();
    EXPECT_FALSE(label->Visible());
    Edit->Show();
    EXPECT_TRUE(label->Visible());
}

TEST_F(PgcAttachedLabel, HidingFreesTheLabel)
{
    Edit->LabelInfo()->SetVisible(true);
    Pump();
    Edit->LabelInfo()->SetVisible(false);
    EXPECT_EQ(Form->FindComponent("Edit1Label1"), nullptr);
    EXPECT_EQ(Edit->LabelInfo()->ALabel, nullptr);
    try {
        Edit->AttachedLabel();
        ADD_FAILURE() << "no error without a label";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Label not attached");
    }
    Edit->LabelInfo()->SetVisible(true);
    EXPECT_EQ(Edit->AttachedLabel()->Name(), "Edit1Label1") << "a new label takes the free name";
}

TEST_F(PgcAttachedLabel, ALabelFreedElsewhereIsForgotten)
{
    Edit->LabelInfo()->SetVisible(true);
    delete Edit->AttachedLabel();
    EXPECT_FALSE(Edit->LabelInfo()->Visible());
    EXPECT_EQ(Edit->LabelInfo()->ALabel, nullptr);
    EXPECT_THROW(Edit->AttachedLabel(), std::runtime_error);
    Pump();
}

TEST_F(PgcAttachedLabel, TheLabelGoesWithItsControlAndTheForm)
{
    Edit->LabelInfo()->SetVisible(true);
    Pump();
    delete Edit;
    EXPECT_EQ(Form->FindComponent("Edit1Label1"), nullptr);
    Pump();
    auto* second = NewControl("Edit2", 50, 200);
    second->LabelInfo()->SetVisible(true);
    auto* third = NewControl("Edit3", 50, 250);
    third->LabelInfo()->SetVisible(true);
    third->AttachedLabel()->SendToBack();   // freed after its control as the form goes
    Pump();
    delete Form;
    Form = nullptr;
    Pump();
}

TEST_F(PgcAttachedLabel, AControlWithoutFormGetsNoLabel)
{
    TPgcCustomControl loose(nullptr);
    loose.LabelInfo()->SetVisible(true);
    EXPECT_EQ(loose.AttachedLabel(), nullptr);
}

TEST_F(PgcAttachedLabel, OffsetsAreStreamedOnlyWithAVisibleLabel)
{
    auto written = [](TLabelledControl& control) {
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteRootComponent(&control);
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        stream.SetPosition(0);
        stream.ReadBuffer(bytes.data(), stream.Size());
        std::string names;
        for (const char* name : {"LabelInfo.OffsetX", "LabelInfo.OffsetY", "LabelInfo.Visible"}) {
            names += bytes.find(name) != std::string::npos ? std::string(name) + " " : "";
        }
        return names;
    };
    TLabelledControl control(nullptr);
    control.SetName("Labelled1");
    control.LabelInfo()->SetOffsets(3, 4);
    EXPECT_EQ(written(control), "");
    control.LabelInfo()->SetVisible(true);
    EXPECT_EQ(written(control), "LabelInfo.OffsetX LabelInfo.OffsetY LabelInfo.Visible ");
}

TEST_F(PgcAttachedLabel, AutoSizeFollowsTheCaption)
{
    Edit->LabelInfo()->SetVisible(true);
    TPgcAttachedLabel* label = Edit->AttachedLabel();
    const int width = label->Width();
    label->SetCaption("A much longer caption than the name");
    EXPECT_GT(label->Width(), width);
    Pump();
    EXPECT_EQ(Placement(Edit), "0,0") << "the label grew to the right and downwards from its place";
    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_GT(label->Width(), width) << "no longer sized";
}

} // namespace
} // namespace qel
