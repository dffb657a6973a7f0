// Push buttons, check boxes, radio buttons, flat buttons and labels on the
// headless host: how mouse, Space, accelerators, Enter and Escape press
// them, and what a press does.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/speed_button.h"
#include "platform/controls/virtual_keys.h"

namespace plat::test {
namespace {

using TButtonsTest = TStandardTest;

TEST_F(TButtonsTest, EveryWayOfPressingACheckBoxTogglesItWithOneClick)
{
    struct TCase {
        const char* Name;
        bool AllowGrayed;
        std::function<void(TCheckBox*)> Press;
        std::vector<TCheckBoxState> States;   // after each of three presses
    };
    const std::vector<TCase> cases = {
        {"Space on the focused box", false,
         [this](TCheckBox*) { Host.Key(VK_SPACE); Pump(); },
         {cbChecked, cbUnchecked, cbChecked}},
        {"a click", false,
         [this](TCheckBox* box) { ClickAt(box, Point(5, 8)); },
         {cbChecked, cbUnchecked, cbChecked}},
        {"Alt with the accelerator", false,
         [this](TCheckBox*) { Host.Key('K', ModAlt); Pump(); },
         {cbChecked, cbUnchecked, cbChecked}},
        {"Space with grayed allowed", true,
         [this](TCheckBox*) { Host.Key(VK_SPACE); Pump(); },
         {cbGrayed, cbChecked, cbUnchecked}},
    };
    for (const TCase& c : cases) {
        TForm* form = NewForm(std::string("Form") + std::to_string(&c - cases.data()));
        auto* box = Place<TCheckBox>(form, "Box", Rect(10, 10, 150, 27));
        box->SetCaption("Chec&k me");
        box->SetAllowGrayed(c.AllowGrayed);
        auto* other = Place<TEdit>(form, "Other", Rect(10, 40, 100, 61));
        int clicks = 0;
        box->OnClick = [&](TObject*) { ++clicks; };
        Pump();
        box->SetFocus();
        Pump();
        for (std::size_t press = 0; press < c.States.size(); ++press) {
            c.Press(box);
            EXPECT_EQ(box->State(), c.States[press]) << c.Name << ", press " << press;
            EXPECT_EQ(clicks, static_cast<int>(press + 1)) << c.Name << ": one OnClick a press";
        }
        EXPECT_TRUE(box->Focused()) << c.Name;
        EXPECT_FALSE(other->Focused()) << c.Name;
        delete form;
    }
}

TEST_F(TButtonsTest, SettingTheStateInCodeClicksOnlyOnARealChange)
{
    TForm* form = NewForm("Form1");
    auto* box = Place<TCheckBox>(form, "Box", Rect(10, 10, 150, 27));
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(TButtonsTest, CheckingARadioButtonUnchecksItsSiblingsOnly)
{
    TForm* form = NewForm("Form1");
    auto* a = Place<TRadioButton>(form, "A", Rect(10, 10, 120, 27));
    auto* b = Place<TRadioButton>(form, "B", Rect(10, 30, 120, 47));
    auto* c = Place<TRadioButton>(form, "C", Rect(10, 50, 120, 67));
    // A radio button of another parent belongs to another group.
    auto* group = Place<TPanel>(form, "Group", Rect(200, 10, 380, 80));
    auto* elsewhere = Place<TRadioButton>(group, "Elsewhere", Rect(10, 10, 150, 27));
    elsewhere->SetChecked(true);
    std::vector<std::string> clicked;
    for (TRadioButton* radio : {a, b, c}) {
        radio->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TRadioButton*>(sender)->Name()); };
    }
    Pump();
    ClickAt(b, Point(5, 8));
    EXPECT_EQ(std::vector<bool>({a->Checked(), b->Checked(), c->Checked()}), std::vector<bool>({false, true, false}));
    ClickAt(c, Point(5, 8));
    EXPECT_EQ(std::vector<bool>({a->Checked(), b->Checked(), c->Checked()}), std::vector<bool>({false, false, true}));
    ClickAt(c, Point(5, 8));
    EXPECT_EQ(clicked, (std::vector<std::string>{"B", "C"})) << "a checked button clicked again does not click";
    EXPECT_TRUE(elsewhere->Checked());
    EXPECT_TRUE(c->TabStop());
    EXPECT_FALSE(a->TabStop()) << "only the checked button of a group is a tab stop";
}

TEST_F(TButtonsTest, ArrowsMoveThroughTheGroupAndCheckWhereTheyLand)
{
    TForm* form = NewForm("Form1");
    auto* a = Place<TRadioButton>(form, "A", Rect(10, 10, 120, 27));
    auto* b = Place<TRadioButton>(form, "B", Rect(10, 30, 120, 47));
    auto* c = Place<TRadioButton>(form, "C", Rect(10, 50, 120, 67));
    a->SetChecked(true);
    Pump();
    a->SetFocus();
    Pump();
    Host.Key(VK_DOWN);
    Pump();
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    Host.Key(VK_DOWN);
    Pump();
    EXPECT_TRUE(c->Checked());
    Host.Key(VK_UP);
    Host.Key(VK_UP);
    Pump();
    EXPECT_TRUE(a->Focused());
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(c->Checked());
}

TEST_F(TButtonsTest, AltWithTheAcceleratorPressesTheButtonAndADisabledButtonIgnoresEverything)
{
    TForm* form = NewForm("Form1");
    auto* field = Place<TEdit>(form, "Field", Rect(10, 10, 150, 31));
    auto* exitButton = Place<TButton>(form, "ExitButton", Rect(10, 50, 106, 78));
    exitButton->SetCaption("E&xit");
    exitButton->SetDefault(true);
    int clicks = 0;
    exitButton->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    field->SetFocus();
    Pump();
    Host.Key('X', ModAlt);
    Pump();
    EXPECT_EQ(clicks, 1);
    ClickAt(exitButton, Point(40, 14));
    EXPECT_EQ(clicks, 2);

    exitButton->SetEnabled(false);
    Pump();
    field->SetFocus();
    Pump();
    ClickAt(exitButton, Point(40, 14));
    Host.Key('X', ModAlt);
    Host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, 2) << "a disabled button takes no click, accelerator or Enter";
    EXPECT_TRUE(field->Focused());
}

TEST_F(TButtonsTest, AButtonPressedWithTheMouseClicksOnlyWhenReleasedOnIt)
{
    TForm* form = NewForm("Form1");
    auto* button = Place<TButton>(form, "Button", Rect(10, 10, 106, 38));
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    const TPoint inside = button->ClientToScreen(Point(20, 10));
    const TPoint outside = button->ClientToScreen(Point(200, 10));
    Host.MouseMove(inside);
    Host.MouseDown(inside);
    Pump();
    EXPECT_TRUE(button->Down());
    EXPECT_TRUE(button->Focused());
    Host.MouseMove(outside);
    Pump();
    EXPECT_FALSE(button->Down()) << "it springs up while the pointer is off it";
    Host.MouseUp(outside);
    Pump();
    EXPECT_EQ(clicks, 0);
    // Space: down on the key press, the click on its release.
    Host.KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(clicks, 0);
    Host.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(TButtonsTest, EnterPressesTheActiveButtonAndEscapeTheCancelButton)
{
    TForm* form = NewForm("Form1");
    auto* field = Place<TEdit>(form, "Field", Rect(10, 10, 150, 31));
    auto* ok = Place<TButton>(form, "OK", Rect(10, 50, 85, 75));
    auto* other = Place<TButton>(form, "Other", Rect(100, 50, 175, 75));
    auto* cancel = Place<TButton>(form, "Cancel", Rect(190, 50, 265, 75));
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<std::string> clicked;
    for (TButton* button : {ok, other, cancel}) {
        button->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TButton*>(sender)->Name()); };
    }
    Pump();
    field->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    Host.Key(VK_RETURN);
    Host.Key(VK_ESCAPE);
    Pump();
    other->SetFocus();
    Pump();
    EXPECT_FALSE(ok->Active()) << "a focused button takes over Enter";
    Host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicked, (std::vector<std::string>{"OK", "Cancel", "Other"}));
}

TEST_F(TButtonsTest, AButtonsModalResultEndsTheModalFormBeforeItsClickRuns)
{
    TForm* owner = NewForm("Owner");
    (void)owner;
    auto* dialog = App.CreateForm<TForm>();
    dialog->SetBounds(200, 200, 300, 150);
    auto* yes = Place<TButton>(dialog, "Yes", Rect(10, 10, 85, 35));
    yes->SetModalResult(mrYes);
    TModalResult seenInClick = mrNone;
    yes->OnClick = [&](TObject*) { seenInClick = dialog->ModalResult(); };
    Host.Script([&] { Host.Click("Yes"); });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(seenInClick, mrYes);
}

TEST_F(TButtonsTest, ALabelsAcceleratorFocusesItsControl)
{
    TForm* form = NewForm("Form1");
    auto* first = Place<TEdit>(form, "First", Rect(100, 10, 200, 31));
    auto* second = Place<TEdit>(form, "Second", Rect(100, 40, 200, 61));
    auto* label = Place<TLabel>(form, "NameLabel", Rect(10, 44, 80, 60));
    label->SetCaption("&Name:");
    label->SetFocusControl(second);
    Pump();
    first->SetFocus();
    Pump();
    Host.Key('N', ModAlt);
    Pump();
    EXPECT_TRUE(second->Focused());
    // Without a focus control, or with the control gone, the label takes nothing.
    first->SetFocus();
    delete second;
    Pump();
    EXPECT_EQ(label->FocusControl(), nullptr);
    const int beeps = Host.BeepCount();
    Host.Key('N', ModAlt);
    Pump();
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(Host.BeepCount(), beeps + 1);
}

TEST_F(TButtonsTest, AnAutoSizedLabelTakesTheSizeOfItsText)
{
    TForm* form = NewForm("Form1");
    auto* label = Place<TLabel>(form, "Label", Rect(100, 10, 200, 30));
    label->SetCaption("Short");
    const int shortWidth = label->Width();
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->Width(), shortWidth);
    EXPECT_EQ(label->Left(), 100);
    const int lineHeight = label->Height();
    EXPECT_GE(lineHeight, 12);
    // Right-aligned, it keeps its right edge; wrapping keeps the width.
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("Short");
    EXPECT_EQ(label->Left() + label->Width(), right);
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption("several words that need more than one line");
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GE(label->Height(), 3 * lineHeight);
    // Without AutoSize the size stays.
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 50, 50);
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), 50);
}

TEST_F(TButtonsTest, ALabelPlacesItsTextAtTheTopTheMiddleOrTheBottom)
{
    TForm* form = NewForm("Form1");
    auto* label = Place<TLabel>(form, "Label", Rect(10, 10, 110, 70));
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 60);
    label->SetCaption("Xg");
    // The rows of the label that hold dark (text) pixels.
    const auto inkRows = [&] {
        Pump();
        const auto pixels = Host.CaptureScreen();
        int first = -1;
        int last = -1;
        for (int y = 0; y < label->Height(); ++y) {
            const TPoint row = label->ClientToScreen(Point(0, y));
            for (int x = 0; x < label->Width(); ++x) {
                const std::uint8_t* pixel = pixels->ScanLine(row.Y) + 4 * (row.X + x);
                if (pixel[0] + pixel[1] + pixel[2] < 300) {
                    first = first < 0 ? y : first;
                    last = y;
                }
            }
        }
        return std::pair<int, int>(first, last);
    };
    const auto [topFirst, topLast] = inkRows();
    label->SetLayout(tlCenter);
    const auto [centreFirst, centreLast] = inkRows();
    label->SetLayout(tlBottom);
    const auto [bottomFirst, bottomLast] = inkRows();
    EXPECT_LT(topFirst, 6);
    EXPECT_NEAR((centreFirst + centreLast) / 2, label->Height() / 2, 3);
    EXPECT_GT(bottomLast, label->Height() - 6);
    EXPECT_EQ(centreLast - centreFirst, topLast - topFirst) << "the same text, moved";
}

TEST_F(TButtonsTest, AFlatSpeedButtonClicksOnceAndNeverTakesTheFocus)
{
    TForm* form = NewForm("Form1");
    auto* field = Place<TEdit>(form, "Field", Rect(10, 10, 150, 31));
    auto* dots = Place<TSpeedButton>(form, "Dots", Rect(152, 10, 173, 31));
    dots->SetCaption("...");
    dots->SetFlat(true);
    int clicks = 0;
    dots->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    field->SetFocus();
    Pump();
    ClickAt(dots, Point(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(field->Focused());
    EXPECT_TRUE(dots->Hot());
    // Two quick clicks are two clicks.
    ClickAt(dots, Point(10, 10));
    EXPECT_EQ(clicks, 2);
}

} // namespace
} // namespace plat::test
