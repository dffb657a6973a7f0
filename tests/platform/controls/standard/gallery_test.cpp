// Every standard control in its states (normal, focused, disabled, pressed,
// checked): each state must look different from the normal one, and with
// QEL_SCREENSHOT_DIR set the pictures are written there to be looked at.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/standard/speed_button.h"
#include "platform/controls/virtual_keys.h"

#include <cstring>

namespace plat::test {
namespace {

class TGalleryTest : public TStandardTest {
protected:
    // The pixels of a control's area in its form's picture.
    std::vector<std::uint8_t> PixelsOf(TControl* control)
    {
        Pump();
        TCustomForm* form = GetParentForm(control);
        const auto pixels = Host.Capture(form->Handle());
        const TPoint origin = control->ClientToParent(Point(0, 0), form);
        TRect inWindow;
        GetWindowRect(form->Handle(), inWindow);
        const TPoint client = form->ClientOrigin();
        const int dx = client.X - inWindow.Left + origin.X;
        const int dy = client.Y - inWindow.Top + origin.Y;
        std::vector<std::uint8_t> bytes;
        for (int y = 0; y < control->Height(); ++y) {
            const std::uint8_t* row = pixels->ScanLine(dy + y) + 4 * dx;
            bytes.insert(bytes.end(), row, row + 4 * control->Width());
        }
        return bytes;
    }

    // Records how the control looks in a state; the state must differ from normal.
    void State(TControl* control, const std::string& state, const std::function<void()>& enter,
               const std::function<void()>& leave)
    {
        const auto normal = PixelsOf(control);
        enter();
        const auto changed = PixelsOf(control);
        EXPECT_NE(normal, changed) << control->Name() << " " << state << " looks like normal";
        Shot(GetParentForm(control)->Handle(), control->Name() + "_" + state);
        leave();
        EXPECT_EQ(PixelsOf(control), normal) << control->Name() << " after " << state;
    }
};

TEST_F(TGalleryTest, ButtonsInTheirStates)
{
    TForm* form = NewForm("Buttons", 100, 100, 360, 200);
    auto* field = Place<TEdit>(form, "Field", Rect(10, 140, 120, 161));
    auto* button = Place<TButton>(form, "Button", Rect(10, 10, 106, 38));
    button->SetCaption("E&xit");
    auto* check = Place<TCheckBox>(form, "Check", Rect(130, 10, 260, 27));
    check->SetCaption("Start &viewer");
    auto* radio = Place<TRadioButton>(form, "Radio", Rect(130, 40, 260, 57));
    radio->SetCaption("&Standard");
    auto* dots = Place<TSpeedButton>(form, "Dots", Rect(10, 60, 31, 81));
    dots->SetCaption("...");
    dots->SetFlat(true);
    auto* label = Place<TLabel>(form, "Title", Rect(130, 70, 260, 90));
    label->SetCaption("&Measurement time");
    Pump();
    field->SetFocus();
    Shot(form->Handle(), "buttons_normal");

    for (TButtonControl* control : std::initializer_list<TButtonControl*>{button, check, radio}) {
        State(control, "focused", [&] { control->SetFocus(); }, [&] { field->SetFocus(); });
        State(control, "disabled", [&] { control->SetEnabled(false); }, [&] { control->SetEnabled(true); });
        State(control, "pressed",
              [&] {
                  control->SetFocus();
                  Host.KeyDown(VK_SPACE);
              },
              [&] {
                  Host.KeyUp(VK_SPACE);
                  Pump();
                  field->SetFocus();
                  if (auto* box = dynamic_cast<TCheckBox*>(control)) {
                      box->SetChecked(false);
                  }
                  if (auto* option = dynamic_cast<TRadioButton*>(control)) {
                      option->SetChecked(false);
                  }
              });
    }
    State(check, "checked", [&] { check->SetChecked(true); }, [&] { check->SetChecked(false); });
    State(check, "grayed", [&] { check->SetState(cbGrayed); }, [&] { check->SetState(cbUnchecked); });
    State(radio, "checked", [&] { radio->SetChecked(true); }, [&] { radio->SetChecked(false); });
    State(button, "default", [&] { button->SetDefault(true); }, [&] { button->SetDefault(false); });
    State(dots, "hot", [&] { Host.MouseMove(dots->ClientToScreen(Point(5, 5))); },
          [&] { Host.MouseMove(form->ClientToScreen(Point(300, 150))); });
    State(dots, "pressed",
          [&] {
              Host.MouseMove(dots->ClientToScreen(Point(5, 5)));
              Host.MouseDown(dots->ClientToScreen(Point(5, 5)));
          },
          [&] {
              Host.MouseUp(dots->ClientToScreen(Point(5, 5)));
              Host.MouseMove(form->ClientToScreen(Point(300, 150)));
          });
    State(label, "disabled", [&] { label->SetEnabled(false); }, [&] { label->SetEnabled(true); });
}

TEST_F(TGalleryTest, EditsInTheirStates)
{
    TForm* form = NewForm("Edits", 100, 100, 300, 120);
    auto* button = Place<TButton>(form, "Button", Rect(10, 80, 85, 105));
    auto* edit = Place<TEdit>(form, "Edit", Rect(10, 10, 200, 31));
    edit->SetText("Measured values");
    Pump();
    button->SetFocus();
    Shot(form->Handle(), "edit_normal");
    State(edit, "focused", [&] { edit->SetFocus(); }, [&] { button->SetFocus(); });
    State(edit, "disabled", [&] { edit->SetEnabled(false); }, [&] { edit->SetEnabled(true); });
    State(edit, "coloured", [&] { edit->SetColor(clRed); }, [&] { edit->SetColor(clWindow); });
}

TEST_F(TGalleryTest, ListsBarsAndPanelsInTheirStates)
{
    TForm* form = NewForm("Lists", 100, 100, 420, 260);
    auto* button = Place<TButton>(form, "Button", Rect(10, 220, 85, 245));
    auto* combo = Place<TComboBox>(form, "Combo", Rect(10, 10, 160, 31));
    combo->SetStyle(csDropDownList);
    auto* list = Place<TListBox>(form, "List", Rect(10, 50, 160, 150));
    for (const char* line : {"QEL", "MATLAB", "Binary file", "Binary file with time mark", "QREC"}) {
        combo->Items().Add(line);
        list->Items().Add(line);
    }
    combo->SetItemIndex(4);
    list->SetItemIndex(1);
    auto* bar = Place<TScrollBar>(form, "Bar", Rect(180, 10, 400, 27));
    bar->SetPageSize(20);
    auto* panel = Place<TPanel>(form, "Panel", Rect(180, 50, 400, 150));
    panel->SetCaption("Panel");
    Pump();
    button->SetFocus();
    Shot(form->Handle(), "lists_normal");
    State(combo, "focused", [&] { combo->SetFocus(); }, [&] { button->SetFocus(); });
    State(combo, "disabled", [&] { combo->SetEnabled(false); }, [&] { combo->SetEnabled(true); });
    State(combo, "dropped",
          [&] {
              combo->SetFocus();
              combo->DropDown();
          },
          [&] {
              combo->CloseUp(false);
              button->SetFocus();
          });
    State(list, "focused", [&] { list->SetFocus(); }, [&] { button->SetFocus(); });
    State(list, "disabled", [&] { list->SetEnabled(false); }, [&] { list->SetEnabled(true); });
    State(bar, "disabled", [&] { bar->SetEnabled(false); }, [&] { bar->SetEnabled(true); });
    State(bar, "pressed",
          [&] {
              Host.MouseMove(bar->ClientToScreen(Point(5, 8)));
              Host.MouseDown(bar->ClientToScreen(Point(5, 8)));
          },
          [&] {
              Host.MouseUp(bar->ClientToScreen(Point(5, 8)));
              bar->SetPosition(0);
          });
    State(panel, "lowered", [&] { panel->SetBevelOuter(bvLowered); }, [&] { panel->SetBevelOuter(bvRaised); });
}

} // namespace
} // namespace plat::test
