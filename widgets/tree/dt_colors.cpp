// The data tree's colour set.
#include "widgets/tree/dt_colors.h"

#include "platform/canvas/graphics_objects.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/tree_drawing_utils.h"

namespace qel {

const std::array<plat::TColor, ciColorCount> TDTColors::Defaults = {
    plat::clBtnShadow,      plat::clHighlight,        plat::clHighlight, plat::clHighlight,
    plat::clBtnFace,        plat::clBtnShadow,        plat::clInactiveCaption, plat::clBtnFace,
    plat::clWindowText,     plat::clHighlight,        plat::clInactiveCaption, plat::clHighlight,
    plat::clHighlight,      plat::clHighlight,        plat::clBtnShadow, plat::clHighlightText,
    plat::clInactiveCaptionText,
};

TDTColors::TDTColors(TBaseDataTree* owner) : FOwner(owner), FColors(Defaults)
{
}

void TDTColors::SetByIndex(TDTColorIndex index, plat::TColor value)
{
    if (index >= ciColorCount || FColors[index] == value) {
        return;
    }
    FColors[index] = value;
    if (FOwner->ComponentState().Contains(plat::csLoading) || !FOwner->HandleAllocated()) {
        return;
    }
    if (index == ciTreeLineColor) {
        FOwner->PrepareBitmaps(true, false);   // the buttons' frames are drawn in it
    }
    if (index == ciBorderColor) {
        // The frame alone: an empty client part.
        const plat::TRect none{};
        plat::RedrawWindow(FOwner->Handle(), &none, nullptr,
                           plat::RDW_FRAME | plat::RDW_NOCHILDREN | plat::RDW_NOERASE | plat::RDW_INVALIDATE);
    } else if (index == ciTreeLineColor || !FOwner->TreeStates().Contains(tsPainting)) {
        FOwner->Invalidate();
    }
}

void TDTColors::Assign(const TDTColors& source)
{
    FColors = source.FColors;
    if (!FOwner->IsUpdating() && FOwner->HandleAllocated()) {
        FOwner->Invalidate();
    }
}

plat::TColor TDTColors::BackGroundColor() const
{
    return FOwner->Color();
}

plat::TColor TDTColors::HeaderFontColor() const
{
    return FOwner->Header()->Font()->Color();
}

plat::TColor TDTColors::NodeFontColor() const
{
    return FOwner->Font()->Color();
}

plat::TColor TDTColors::GetSelectedNodeFontColor(bool focused) const
{
    if (!focused) {
        return UnfocusedColor();
    }
    // Explorer-style selections are light: the text keeps its colour.
    if (FOwner->TreeStates().Contains(tsUseExplorerTheme) && !IsHighContrastEnabled()) {
        return NodeFontColor();
    }
    return SelectionTextColor();
}

} // namespace qel
