// The frame every page of the wizard shares.
#include "app/wizard_page_layout.h"

#include "platform/controls/standard/bevel.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/panel.h"

namespace qel {
namespace {

constexpr int TITLE_HEIGHT = 34;        // the title's band, its line included
constexpr int TITLE_LEFT = 12;
constexpr int TITLE_TOP = 9;
constexpr int LINE_HEIGHT = 2;
constexpr int BUTTON_GAP = 8;           // between the buttons and before the first
constexpr int BUTTON_TOP = 5;           // below the strip's line

// A sunken line along one edge of a panel.
void AddLine(plat::TComponent& Owner, plat::TPanel& Panel, plat::TAlign Align)
{
    auto* line = new plat::TBevel(&Owner);
    line->SetName(Panel.Name() + "Line");
    line->SetShape(Align == plat::alTop ? plat::bsTopLine : plat::bsBottomLine);
    line->SetHeight(LINE_HEIGHT);
    line->SetAlign(Align);
    line->SetParent(&Panel);
}

} // namespace

TWizardPageLayout::TWizardPageLayout(plat::TComponent& Owner, plat::TWinControl& Page) : FOwner(Owner), FPage(Page)
{
}

plat::TLabel* TWizardPageLayout::AddTitle(const std::string& Name)
{
    plat::TPanel* band = NewPanel(FPage.Name() + "Title", plat::alTop);
    band->SetHeight(TITLE_HEIGHT);
    AddLine(FOwner, *band, plat::alBottom);
    auto* title = new plat::TLabel(&FOwner);
    title->SetName(Name);
    title->SetLeft(TITLE_LEFT);
    title->SetTop(TITLE_TOP);
    title->SetParent(band);
    MakeBold(*title);
    return title;
}

plat::TButton* TWizardPageLayout::AddButton(const std::string& Name, int Slot)
{
    return NewButton(Name, BUTTON_GAP + Slot * (WIZARD_BUTTON_WIDTH + BUTTON_GAP));
}

plat::TButton* TWizardPageLayout::AddRightButton(const std::string& Name)
{
    plat::TButton* button = NewButton(Name, Strip().ClientWidth() - BUTTON_GAP - WIZARD_BUTTON_WIDTH);
    button->SetAnchors(plat::TAnchors{plat::akTop, plat::akRight});
    return button;
}

plat::TPanel& TWizardPageLayout::Body()
{
    if (FBody == nullptr) {
        Strip();
        FBody = NewPanel(FPage.Name() + "Body", plat::alClient);
    }
    return *FBody;
}

plat::TPanel& TWizardPageLayout::Strip()
{
    if (FStrip == nullptr) {
        FStrip = NewPanel(FPage.Name() + "Buttons", plat::alBottom);
        FStrip->SetHeight(BUTTON_STRIP_HEIGHT);
        AddLine(FOwner, *FStrip, plat::alTop);
    }
    return *FStrip;
}

plat::TPanel* TWizardPageLayout::NewPanel(const std::string& Name, plat::TAlign Align)
{
    auto* panel = new plat::TPanel(&FOwner);
    panel->SetName(Name);
    panel->SetBevelOuter(plat::bvNone);
    panel->SetCaption("");
    panel->SetBounds(0, 0, FPage.ClientWidth(), FPage.ClientHeight());
    panel->SetAlign(Align);
    panel->SetParent(&FPage);
    return panel;
}

plat::TButton* TWizardPageLayout::NewButton(const std::string& Name, int Left)
{
    auto* button = new plat::TButton(&FOwner);
    button->SetName(Name);
    button->SetBounds(Left, BUTTON_TOP, WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT);
    button->SetParent(&Strip());
    return button;
}

void FillWithMargin(plat::TControl& Control)
{
    Control.SetMargins(plat::TMargins{BODY_MARGIN, BODY_MARGIN, BODY_MARGIN, BODY_MARGIN});
    Control.SetAlignWithMargins(true);
    Control.SetAlign(plat::alClient);
}

void MakeBold(plat::TControl& Control)
{
    plat::TFont bold;
    bold.Assign(Control.Font());
    plat::TFontStyles style = bold.Style();
    bold.SetStyle(style.Include(plat::fsBold));
    Control.SetFont(&bold);
}

} // namespace qel
