// TDTColors: the data tree's seventeen configurable colours (selection,
// grid and tree lines, drop marks, hot and disabled text ...) and the font
// and background colours derived from the tree. Visual styles are never
// active here, so every colour is the stored one.
#pragma once

#include "platform/canvas/colors.h"

#include <array>
#include <cstddef>

namespace qel {

class TBaseDataTree;

enum TDTColorIndex : std::size_t {
    ciDisabledColor,
    ciDropMarkColor,
    ciDropTargetColor,
    ciFocusedSelectionColor,
    ciGridLineColor,
    ciTreeLineColor,
    ciUnfocusedSelectionColor,
    ciBorderColor,
    ciHotColor,
    ciFocusedSelectionBorderColor,
    ciUnfocusedSelectionBorderColor,
    ciDropTargetBorderColor,
    ciSelectionRectangleBlendColor,
    ciSelectionRectangleBorderColor,
    ciHeaderHotColor,
    ciSelectionTextColor,
    ciUnfocusedColor,
    ciColorCount,
};

class TDTColors {
public:
    explicit TDTColors(TBaseDataTree* owner);

    plat::TColor GetByIndex(TDTColorIndex index) const { return FColors[index]; }
    // Stores the colour and repaints what shows it (not while loading or
    // without a window).
    void SetByIndex(TDTColorIndex index, plat::TColor value);
    // Copies the seventeen colours and repaints the owner outside updates.
    void Assign(const TDTColors& source);

    plat::TColor BackGroundColor() const;
    plat::TColor HeaderFontColor() const;
    plat::TColor NodeFontColor() const;
    plat::TColor GetSelectedNodeFontColor(bool focused) const;

    plat::TColor DisabledColor() const { return FColors[ciDisabledColor]; }
    plat::TColor DropMarkColor() const { return FColors[ciDropMarkColor]; }
    plat::TColor DropTargetColor() const { return FColors[ciDropTargetColor]; }
    plat::TColor FocusedSelectionColor() const { return FColors[ciFocusedSelectionColor]; }
    plat::TColor GridLineColor() const { return FColors[ciGridLineColor]; }
    plat::TColor TreeLineColor() const { return FColors[ciTreeLineColor]; }
    plat::TColor UnfocusedSelectionColor() const { return FColors[ciUnfocusedSelectionColor]; }
    plat::TColor BorderColor() const { return FColors[ciBorderColor]; }
    plat::TColor HotColor() const { return FColors[ciHotColor]; }
    plat::TColor FocusedSelectionBorderColor() const { return FColors[ciFocusedSelectionBorderColor]; }
    plat::TColor UnfocusedSelectionBorderColor() const { return FColors[ciUnfocusedSelectionBorderColor]; }
    plat::TColor DropTargetBorderColor() const { return FColors[ciDropTargetBorderColor]; }
    plat::TColor SelectionRectangleBlendColor() const { return FColors[ciSelectionRectangleBlendColor]; }
    plat::TColor SelectionRectangleBorderColor() const { return FColors[ciSelectionRectangleBorderColor]; }
    plat::TColor HeaderHotColor() const { return FColors[ciHeaderHotColor]; }
    plat::TColor SelectionTextColor() const { return FColors[ciSelectionTextColor]; }
    plat::TColor UnfocusedColor() const { return FColors[ciUnfocusedColor]; }

    static const std::array<plat::TColor, ciColorCount> Defaults;

private:
    TBaseDataTree* FOwner;
    std::array<plat::TColor, ciColorCount> FColors;
};

} // namespace qel
