// A notebook page: its tab's properties, its stream dummies, and the
// changes it reports to its notebook.
#include "widgets/pages/pgc_tab_page.h"

#include "widgets/pages/pgc_notebook.h"

#include "platform/controls/window_paint.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcTabPage, TPgcCollectibleControl,
                  plat::Published("Cursor", &TPgcTabPage::CursorDummy, &TPgcTabPage::SetCursorDummy).Stored(false),
                  plat::Published("TabOrder", &TPgcTabPage::TabOrderDummy, &TPgcTabPage::SetTabOrderDummy)
                      .Stored(false),
                  plat::Published("Visible", &TPgcTabPage::StreamedVisible, &TPgcTabPage::SetStreamedVisible)
                      .Stored(false),
                  plat::Published("PageVisible", &TPgcTabPage::PageVisible, &TPgcTabPage::SetPageVisible)
                      .Default(true),
                  plat::Published("TabColor", &TPgcTabPage::TabColor, &TPgcTabPage::SetTabColor)
                      .Default(plat::clBtnFace),
                  plat::Published("TextColor", &TPgcTabPage::TextColor, &TPgcTabPage::SetTextColor)
                      .Default(plat::clBtnText))

PLAT_BEGIN_MESSAGES(TPgcTabPage, TPgcCollectibleControl)
    PLAT_MESSAGE(plat::WM_NCHITTEST, WMNCHitTest)
    PLAT_MESSAGE(plat::CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(plat::CM_ENABLEDCHANGED, CMEnabledChanged)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
PLAT_END_MESSAGES

TPgcTabPage::TPgcTabPage(plat::TComponent* AOwner)
    : TPgcCollectibleControl(AOwner, StaticClass()), FNoteBook(dynamic_cast<TPgcNotebook*>(AOwner))
{
    FControlStyle = {plat::csAcceptsControls, plat::csCaptureMouse, plat::csClickEvents, plat::csDoubleClicks};
    FVisible = false;
    FParentColor = true;
    if (FNoteBook != nullptr) {
        FColor = FNoteBook->Color();
        FBrush->SetColor(FColor);
        SetParent(FNoteBook);
    }
}

void TPgcTabPage::SetTabColor(plat::TColor Value)
{
    if (Value != FTabColor) {
        FTabColor = Value;
        InvalidateTab();
    }
}

void TPgcTabPage::SetTextColor(plat::TColor Value)
{
    if (Value != FTextColor) {
        FTextColor = Value;
        InvalidateTab();
    }
}

void TPgcTabPage::SetPageVisible(bool Value)
{
    if (Value != FPageVisible) {
        FPageVisible = Value;
        InvalidateNoteBook();
    }
}

std::string TPgcTabPage::GetDisplayText() const
{
    return (Caption().empty() ? Name() : Caption()) + ": " + std::string(ClassName());
}

void TPgcTabPage::InvalidateTab()
{
    if (FNoteBook != nullptr && FNoteBook->HandleAllocated()) {
        plat::InvalidateRect(FNoteBook->Handle(), &FArea, false);
    }
}

void TPgcTabPage::InvalidateNoteBook()
{
    if (FNoteBook != nullptr) {
        FNoteBook->Invalidate();
    }
}

// Presses on the page's bare surface reach the notebook (its tab clicks
// and mouse activation), except in a designer.
void TPgcTabPage::WMNCHitTest(plat::TMessage& Msg)
{
    if (ComponentState().Contains(plat::csDesigning)) {
        Inherited(Msg);
        return;
    }
    Msg.Result = plat::HTTRANSPARENT;
}

void TPgcTabPage::CMTextChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    InvalidateNoteBook();
    if (!Loading()) {
        Changed();
    }
}

void TPgcTabPage::CMEnabledChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    InvalidateNoteBook();
}

void TPgcTabPage::CMFontChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (FNoteBook != nullptr) {
        FNoteBook->PageFontChanged(this);
    }
}

} // namespace qel
