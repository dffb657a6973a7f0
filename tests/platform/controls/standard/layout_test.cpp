// Designed layouts, checked through the layout dump: alignment with
// margins, anchors as the parent grows, size constraints, and a form that
// keeps its first size as its minimum.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/standard/bevel.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/panel.h"

namespace plat::test {
namespace {

class TLayoutTest : public TStandardTest {
protected:
    // A shown form with the client size.
    TForm* NewLaidOutForm(const std::string& name, int clientWidth, int clientHeight,
                         TFormBorderStyle border = bsSizeable)
    {
        auto* form = App.CreateForm<TForm>();
        form->SetName(name);
        form->SetBorderStyle(border);
        form->SetBounds(100, 100, 200, 200);
        form->Show();
        form->SetClientWidth(clientWidth);
        form->SetClientHeight(clientHeight);
        Pump();
        return form;
    }

    // The bottom strip of the date and time popup with its two buttons, as designed.
    void BuildPopupStrip(TForm* form)
    {
        auto* strip = Place<TPanel>(form, "panCtrl", Rect(0, 0, 100, 31));
        strip->SetBevelOuter(bvNone);
        strip->SetAlignWithMargins(true);
        strip->SetAlign(alBottom);
        for (const char* name : {"btnCancel", "btnOK"}) {
            auto* button = Place<TButton>(strip, name, Rect(0, 0, 100, 27));
            button->SetCaption(std::string(name) == "btnOK" ? "OK" : "Cancel");
            button->SetMargins(TMargins{2, 2, 2, 2});
            button->SetAlignWithMargins(true);
            button->SetAlign(alRight);
            // OK stands left of Cancel: placed further left, it stacks after it.
            if (std::string(name) == "btnOK") {
                button->SetLeft(-200);
            }
        }
    }
};

TEST_F(TLayoutTest, ThePopupStripAndItsButtonsKeepTheirMarginsAtEverySize)
{
    for (const TSize client : {TSize{420, 60}, TSize{300, 80}, TSize{600, 55}}) {
        const int w = client.cx;
        const int h = client.cy;
        TForm* form = NewLaidOutForm("Popup", w, h, bsNone);
        BuildPopupStrip(form);
        const std::string size = std::to_string(w) + " x " + std::to_string(h);
        EXPECT_EQ(DumpedBounds("Popup.panCtrl"), Rect(3, h - 34, w - 3, h - 3)) << size;
        EXPECT_EQ(DumpedBounds("Popup.panCtrl.btnCancel"), Rect(w - 108, 2, w - 8, 29)) << size;
        EXPECT_EQ(DumpedBounds("Popup.panCtrl.btnOK"), Rect(w - 212, 2, w - 112, 29)) << size;
        Shot(form->Handle(), "popup_" + std::to_string(w) + "x" + std::to_string(h));
        delete form;
    }
}

TEST_F(TLayoutTest, MarginsCountOnlyWithAlignWithMarginsAndTheClientTakesTheRest)
{
    TForm* form = NewLaidOutForm("Form1", 400, 300);
    auto* top = Place<TPanel>(form, "Top", Rect(0, 0, 10, 40));
    top->SetAlign(alTop);
    auto* left = Place<TPanel>(form, "Left", Rect(0, 0, 50, 10));
    left->SetMargins(TMargins{5, 6, 7, 8});
    left->SetAlignWithMargins(true);
    left->SetAlign(alLeft);
    auto* rest = Place<TPanel>(form, "Rest", Rect(0, 0, 10, 10));
    rest->SetMargins(TMargins{1, 1, 1, 1});
    rest->SetAlign(alClient);
    EXPECT_EQ(DumpedBounds("Form1.Top"), Rect(0, 0, 400, 40));
    EXPECT_EQ(DumpedBounds("Form1.Left"), Rect(5, 46, 55, 292));
    EXPECT_EQ(DumpedBounds("Form1.Rest"), Rect(62, 40, 400, 300)) << "margins without AlignWithMargins do not count";
    rest->SetAlignWithMargins(true);
    EXPECT_EQ(DumpedBounds("Form1.Rest"), Rect(63, 41, 399, 299));
}

TEST_F(TLayoutTest, AnchoredControlsKeepTheirDistancesAsTheFormGrows)
{
    TForm* form = NewLaidOutForm("Form1", 400, 300);
    auto* right = Place<TButton>(form, "Right", Rect(300, 10, 390, 35));
    right->SetAnchors({akTop, akRight});
    auto* stretched = Place<TPanel>(form, "Stretched", Rect(10, 50, 390, 250));
    stretched->SetAnchors({akLeft, akTop, akRight, akBottom});
    auto* corner = Place<TButton>(form, "Corner", Rect(300, 260, 390, 290));
    corner->SetAnchors({akRight, akBottom});
    auto* centred = Place<TLabel>(form, "Centred", Rect(180, 10, 220, 25));
    centred->SetAutoSize(false);
    centred->SetBounds(180, 10, 40, 15);
    centred->SetAnchors(TAnchors{});
    Place<TButton>(form, "Fixed", Rect(10, 10, 85, 35));

    form->SetClientWidth(500);
    form->SetClientHeight(340);
    EXPECT_EQ(DumpedBounds("Form1.Right"), Rect(400, 10, 490, 35)) << "10 from the right edge";
    EXPECT_EQ(DumpedBounds("Form1.Stretched"), Rect(10, 50, 490, 290));
    EXPECT_EQ(DumpedBounds("Form1.Corner"), Rect(400, 300, 490, 330));
    EXPECT_EQ(DumpedBounds("Form1.Centred"), Rect(230, 30, 270, 45)) << "no anchor keeps the centre";
    EXPECT_EQ(DumpedBounds("Form1.Fixed"), Rect(10, 10, 85, 35));

    // Moving an anchored control in code makes its new place the one kept.
    right->SetLeft(350);
    form->SetClientWidth(450);
    EXPECT_EQ(DumpedBounds("Form1.Right"), Rect(300, 10, 390, 35));
}

TEST_F(TLayoutTest, ConstraintsLimitEverySizeAControlIsGiven)
{
    TForm* form = NewLaidOutForm("Form1", 400, 300);
    auto* panel = Place<TPanel>(form, "Panel", Rect(0, 0, 100, 100));
    panel->SetConstraints(TSizeConstraints{50, 20, 150, 60});
    EXPECT_EQ(DumpedBounds("Form1.Panel"), Rect(0, 0, 100, 60)) << "applied at once";
    panel->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(DumpedBounds("Form1.Panel"), Rect(0, 0, 50, 20));
    panel->SetAlign(alTop);
    EXPECT_EQ(DumpedBounds("Form1.Panel"), Rect(0, 0, 150, 20)) << "an aligned control within its limits";
}

TEST_F(TLayoutTest, AFormKeepsItsFirstSizeAsItsMinimum)
{
    TForm* form = NewLaidOutForm("Main", 518, 297);
    const TRect first = form->BoundsRect();
    form->SetConstraints(TSizeConstraints{form->Width(), form->Height(), 0, 0});
    form->SetBounds(first.Left, first.Top, 300, 200);
    EXPECT_EQ(form->BoundsRect(), first);
    UserResizes(form, 200, 100);
    EXPECT_EQ(DumpedBounds("Main"), first) << "the user cannot make it smaller";
    EXPECT_EQ(Host.HostWindowBounds(form->Handle()), first) << "the window follows";
    UserResizes(form, static_cast<int>(first.Width()) + 100, static_cast<int>(first.Height()) + 50);
    EXPECT_EQ(form->Width(), first.Width() + 100) << "growing is free";
}

TEST_F(TLayoutTest, ATitleLineSpansThePageUnderItsTitle)
{
    TForm* form = NewLaidOutForm("Page", 518, 297);
    auto* title = Place<TLabel>(form, "lblTitle", Rect(8, 8, 200, 24));
    title->SetCaption("2. Measurement time");
    auto* line = Place<TBevel>(form, "Line", Rect(8, 28, 510, 30));
    line->SetShape(bsBottomLine);
    line->SetAnchors({akLeft, akTop, akRight});
    form->SetClientWidth(600);
    EXPECT_EQ(DumpedBounds("Page.Line"), Rect(8, 28, 592, 30));
    Shot(form->Handle(), "title_line");
}

} // namespace
} // namespace plat::test
