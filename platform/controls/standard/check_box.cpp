// TCheckBox: its three states and their glyphs.
#include "platform/controls/standard/check_box.h"

#include "platform/canvas/gdi_constants.h"

namespace plat {

PLAT_DEFINE_CLASS(TCheckBox, TButtonControl,
    Published("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taRightJustify),
    Published("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false),
    Published("State", &TCheckBox::State, &TCheckBox::SetState, {"cbUnchecked", "cbChecked", "cbGrayed"})
        .Default(cbUnchecked))

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner)
{
    FParentColor = true;
    FWidth = 97;
    FHeight = 17;
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState) {
        return;
    }
    FState = value;
    Invalidate();
    if (!ComponentState().Contains(csLoading)) {
        Click();
    }
}

void TCheckBox::SetAlignment(TAlignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        Invalidate();
    }
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCheckBox::Paint()
{
    std::uint32_t glyph = DFCS_BUTTONCHECK;
    if (FState == cbChecked) {
        glyph |= DFCS_CHECKED;
    } else if (FState == cbGrayed) {
        glyph |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    }
    PaintGlyphAndCaption(glyph, FAlignment != taLeftJustify);
}

} // namespace plat
