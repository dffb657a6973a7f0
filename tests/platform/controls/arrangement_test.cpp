// Layout in every container: alignment with margins and anchors in forms,
// frames and windowed controls alike, size constraints on every control and
// on the user's resizing of a form, containers that size themselves to
// their children, and handlers that free controls while they are placed.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/graphic_control.h"

#include <functional>

namespace plat::test {
namespace {

class TGraphicChild : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

// A control that counts the times it is placed.
class TPlacementCounter : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void SetBounds(int left, int top, int width, int height) override
    {
        ++Placements;
        TGraphicControl::SetBounds(left, top, width, height);
    }
    int Placements = 0;
};

class TArrangementTest : public TControlsTest {
protected:
    TGraphicChild* NewGraphic(TWinControl* parent, const TRect& bounds)
    {
        return Place(new TGraphicChild(parent), parent, bounds);
    }
};

TEST_F(TArrangementTest, FormsFramesAndWindowedControlsKeepMarginsAndAnchors)
{
    struct TContainer {
        const char* Kind;
        // A container with a client area of 200 x 100 and a way to give it 300 x 150.
        std::function<TWinControl*(TForm*)> Make;
        std::function<void(TWinControl*)> Grow;
    };
    const auto growBounds = [](TWinControl* container) { container->SetBounds(0, 0, 300, 150); };
    const TContainer containers[] = {
        {"form",
         [](TForm* form) {
             form->SetClientWidth(200);
             form->SetClientHeight(100);
             return form;
         },
         [](TWinControl* container) {
             container->SetClientWidth(300);
             container->SetClientHeight(150);
         }},
        {"frame", [](TForm* form) { return Place(new TFrame(form), form, Rect(0, 0, 200, 100)); }, growBounds},
        {"windowed control", [this](TForm* form) { return NewSpy(form, "Box", Rect(0, 0, 200, 100)); }, growBounds},
    };
    for (const TContainer& each : containers) {
        TForm* form = NewForm("Form1");
        TWinControl* container = each.Make(form);
        TSpyControl* top = NewSpy(container, "Top", Rect(0, 0, 10, 20));
        top->SetMargins(TMargins{2, 3, 4, 5});
        top->SetAlignWithMargins(true);
        top->SetAlign(alTop);
        TGraphicChild* right = NewGraphic(container, Rect(150, 50, 190, 70));
        right->SetAnchors({akTop, akRight});
        TSpyControl* stretched = NewSpy(container, "Stretched", Rect(10, 40, 110, 70));
        stretched->SetAnchors({akLeft, akTop, akRight, akBottom});
        Pump();
        EXPECT_EQ(top->BoundsRect(), Rect(2, 3, 196, 23)) << each.Kind;

        each.Grow(container);
        Pump();
        EXPECT_EQ(container->ClientRect(), Rect(0, 0, 300, 150)) << each.Kind;
        EXPECT_EQ(top->BoundsRect(), Rect(2, 3, 296, 23)) << each.Kind;
        EXPECT_EQ(right->BoundsRect(), Rect(250, 50, 290, 70)) << each.Kind << ": 10 from the right edge";
        EXPECT_EQ(stretched->BoundsRect(), Rect(10, 40, 210, 120)) << each.Kind;
        delete form;
    }
}

TEST_F(TArrangementTest, ConstraintsLimitEverySizeAWindowedOrPlainControlIsGiven)
{
    TForm* form = NewForm("Form1");
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    TControl* controls[] = {NewSpy(form, "Spy", Rect(0, 0, 100, 100)), NewGraphic(form, Rect(0, 0, 100, 100))};
    for (TControl* control : controls) {
        const std::string kind = dynamic_cast<TWinControl*>(control) != nullptr ? "windowed" : "without window";
        control->SetConstraints(TSizeConstraints{50, 20, 150, 60});
        EXPECT_EQ(control->BoundsRect(), Rect(0, 0, 100, 60)) << kind << ": applied at once";
        control->SetBounds(5, 5, 10, 10);
        EXPECT_EQ(control->BoundsRect(), Rect(5, 5, 55, 25)) << kind;
        control->SetBounds(0, 0, 1000, 1000);
        EXPECT_EQ(control->BoundsRect(), Rect(0, 0, 150, 60)) << kind;
        control->SetAlign(alClient);
        EXPECT_EQ(control->BoundsRect(), Rect(0, 0, 150, 60)) << kind << ": aligned, within its limits";
        control->SetAlign(alNone);
        control->SetConstraints(TSizeConstraints{80, 0, 40, 0});
        EXPECT_EQ(control->Width(), 80) << kind << ": a minimum above the maximum wins";
    }
}

TEST_F(TArrangementTest, AFormAnswersItsConstraintsAndTheUserCannotDragPastThem)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    TMinMaxInfo free = GetWindowSizeLimits(form->Handle());
    EXPECT_EQ(free.ptMinTrackSize, Point(0, 0));
    form->SetConstraints(TSizeConstraints{300, 200, 600, 0});
    const TMinMaxInfo limits = GetWindowSizeLimits(form->Handle());
    EXPECT_EQ(limits.ptMinTrackSize, Point(300, 200));
    EXPECT_EQ(limits.ptMaxTrackSize.X, 600);
    EXPECT_EQ(limits.ptMaxTrackSize.Y, free.ptMaxTrackSize.Y) << "no maximum height";

    struct TCase {
        TSize Dragged;
        TSize Kept;
    };
    const TCase cases[] = {
        {{100, 50}, {300, 200}},
        {{900, 700}, {600, 700}},
        {{450, 250}, {450, 250}},
    };
    for (const TCase& each : cases) {
        UserResizes(form, each.Dragged.cx, each.Dragged.cy);
        const TRect kept = Bounds(100, 100, each.Kept.cx, each.Kept.cy);
        const std::string name = std::to_string(each.Dragged.cx) + " x " + std::to_string(each.Dragged.cy);
        EXPECT_EQ(form->BoundsRect(), kept) << name;
        if (each.Dragged != each.Kept) {
            EXPECT_EQ(Host.HostWindowBounds(form->Handle()), kept) << name << ": the window goes back";
        }
    }
}

TEST_F(TArrangementTest, AContainerWithAutoSizeFitsItsChildren)
{
    TForm* form = NewForm("Form1");
    TSpyControl* box = NewSpy(form, "Box", Rect(5, 5, 305, 205));
    TSpyControl* first = NewSpy(box, "First", Rect(10, 10, 60, 30));
    NewGraphic(box, Rect(100, 40, 130, 70));
    box->SetAutoSize(true);
    EXPECT_EQ(box->BoundsRect(), Rect(5, 5, 135, 75)) << "to the far edges of its children";
    first->SetBounds(10, 10, 200, 20);
    EXPECT_EQ(box->BoundsRect(), Rect(5, 5, 215, 75)) << "a child grows: so does the box";
    box->SetConstraints(TSizeConstraints{0, 0, 150, 0});
    EXPECT_EQ(box->Width(), 150) << "within its constraints";
    box->SetAutoSize(false);
    first->SetBounds(10, 10, 20, 20);
    EXPECT_EQ(box->BoundsRect(), Rect(5, 5, 155, 75)) << "without AutoSize the size stays";

    // Aligned children stack along their edge, margins included; the width,
    // which nothing fixes, stays.
    TSpyControl* stack = NewSpy(form, "Stack", Rect(0, 100, 200, 400));
    for (const int height : {20, 30}) {
        TSpyControl* child = NewSpy(stack, "Row" + std::to_string(height), Rect(0, 500, 10, 500 + height));
        child->SetMargins(TMargins{1, 3, 1, 3});
        child->SetAlignWithMargins(true);
        child->SetAlign(alTop);
    }
    stack->SetAutoSize(true);
    EXPECT_EQ(stack->BoundsRect(), Rect(0, 100, 200, 162));
}

TEST_F(TArrangementTest, AnchorsKeepTheDistancesOfTheControlsPlaceInItsNewParent)
{
    TForm* form = NewForm("Form1", 100, 100, 800, 400);
    TSpyControl* narrow = NewSpy(form, "Narrow", Rect(0, 0, 200, 100));
    TSpyControl* wide = NewSpy(form, "Wide", Rect(0, 150, 400, 250));
    TSpyControl* moving = NewSpy(narrow, "Moving", Rect(150, 10, 190, 30));
    moving->SetAnchors({akTop, akRight});
    moving->SetParent(wide);
    EXPECT_EQ(moving->BoundsRect(), Rect(150, 10, 190, 30)) << "a new parent keeps the place";
    wide->SetBounds(0, 150, 450, 100);
    EXPECT_EQ(moving->BoundsRect(), Rect(200, 10, 240, 30)) << "its distance to the new parent's right edge";
}

TEST_F(TArrangementTest, TheArrangementPlacesOnlyTheControlsItMoves)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    auto* fixed = Place(new TPlacementCounter(form), form, Rect(10, 10, 50, 30));
    auto* right = Place(new TPlacementCounter(form), form, Rect(300, 10, 340, 30));
    right->SetAnchors({akTop, akRight});
    TSpyControl* sibling = NewSpy(form, "Sibling", Rect(10, 100, 60, 150));
    fixed->Placements = 0;
    right->Placements = 0;
    sibling->SetBounds(20, 100, 50, 50);
    EXPECT_EQ(fixed->Placements, 0) << "a sibling moved";
    EXPECT_EQ(right->Placements, 0) << "a sibling moved";
    form->SetClientWidth(500);
    EXPECT_EQ(fixed->Placements, 0) << "anchored left and top: never moved";
    EXPECT_EQ(right->Placements, 1);
    EXPECT_EQ(right->BoundsRect(), Rect(400, 10, 440, 30));
}

TEST_F(TArrangementTest, AChildFreeingASiblingWhileItIsPlacedEndsTheArrangementSafely)
{
    TForm* form = NewForm("Form1");
    TSpyControl* box = NewSpy(form, "Box", Rect(0, 0, 200, 200));
    TSpyControl* first = NewSpy(box, "First", Rect(0, 0, 10, 20));
    TSpyControl* second = NewSpy(box, "Second", Rect(0, 30, 10, 50));
    TSpyControl* third = NewSpy(box, "Third", Rect(0, 60, 10, 80));
    TGraphicChild* anchored = NewGraphic(box, Rect(150, 150, 190, 190));
    anchored->SetAnchors({akRight, akBottom});
    for (TSpyControl* row : {first, second, third}) {
        row->SetAlign(alTop);
    }
    bool freed = false;
    first->OnResize = [&](TObject*) {
        if (!freed) {
            freed = true;
            delete second;
            delete anchored;
        }
    };
    box->SetBounds(0, 0, 300, 200);
    Pump();
    ASSERT_EQ(box->ControlCount(), 2);
    EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 300, 20));
    EXPECT_EQ(third->BoundsRect(), Rect(0, 20, 300, 40)) << "the survivors are placed";
}

} // namespace
} // namespace plat::test
