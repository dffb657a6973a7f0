// The frame every page of the wizard shares: a bold title at the top over a
// sunken line, a strip 37 high along the bottom whose buttons (96 by 28)
// stand in slots from the left, one also at the right edge, and the body
// between them for the page's own controls. Everything is aligned, so the
// frame follows the window when it grows.
#pragma once

#include "platform/controls/control_types.h"

#include <string>

namespace plat {
class TButton;
class TComponent;
class TControl;
class TLabel;
class TPanel;
class TWinControl;
} // namespace plat

namespace qel {

// The strip's size and its buttons'.
constexpr int BUTTON_STRIP_HEIGHT = 37;
constexpr int WIZARD_BUTTON_WIDTH = 96;
constexpr int WIZARD_BUTTON_HEIGHT = 28;
// The space between the body's edges and its content.
constexpr int BODY_MARGIN = 10;

class TWizardPageLayout {
public:
    // The controls are owned by Owner (the window) and stand on Page.
    TWizardPageLayout(plat::TComponent& Owner, plat::TWinControl& Page);

    // The page's title, named Name.
    plat::TLabel* AddTitle(const std::string& Name);
    // A button in the strip's slot (0 leftmost).
    plat::TButton* AddButton(const std::string& Name, int Slot);
    // A button at the strip's right edge.
    plat::TButton* AddRightButton(const std::string& Name);
    // The space between title and strip (the whole page above the strip on
    // a page without title); made at the first call.
    plat::TPanel& Body();

private:
    plat::TPanel& Strip();
    plat::TPanel* NewPanel(const std::string& Name, plat::TAlign Align);
    plat::TButton* NewButton(const std::string& Name, int Left);

    plat::TComponent& FOwner;
    plat::TWinControl& FPage;
    plat::TPanel* FStrip = nullptr;
    plat::TPanel* FBody = nullptr;
};

// Controls standing on the body: named, owned by Owner, at the given bounds.
template <class T>
T* NewControl(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name, int Left, int Top,
              int Width, int Height)
{
    T* control = new T(&Owner);
    control->SetName(Name);
    control->SetBounds(Left, Top, Width, Height);
    control->SetParent(&Parent);
    return control;
}

// The control fills its parent, the body's margin around it.
void FillWithMargin(plat::TControl& Control);

// The control's font, bold (it then no longer follows its parent's font).
void MakeBold(plat::TControl& Control);

} // namespace qel
