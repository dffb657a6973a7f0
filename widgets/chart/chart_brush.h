// The chart brush: the drawing layer's brush with a back colour for hatches
// and patterns, 53 hatch patterns, an optional fill picture and an optional
// gradient. Sub-objects are made on first read; every effective change
// reaches the owner through the brush's change event.
#pragma once

#include "widgets/chart/chart_colors.h"

#include "platform/canvas/graphics_objects.h"

#include <memory>

namespace qel {

class TChtGradient;
class TChtPicture;

enum THatchStyle {
    hsHorizontal,
    hsVertical,
    hsForwardDiagonal,
    hsBackwardDiagonal,
    hsCross,
    hsDiagonalCross,
    hs05Percent,
    hs10Percent,
    hs20Percent,
    hs25Percent,
    hs30Percent,
    hs40Percent,
    hs50Percent,
    hs60Percent,
    hs70Percent,
    hs75Percent,
    hs80Percent,
    hs90Percent,
    hsLightDownwardDiagonal,
    hsLightUpwardDiagonal,
    hsDarkDownwardDiagonal,
    hsDarkUpwardDiagonal,
    hsWideDownwardDiagonal,
    hsWideUpwardDiagonal,
    hsLightVertical,
    hsLightHorizontal,
    hsNarrowVertical,
    hsNarrowHorizontal,
    hsDarkVertical,
    hsDarkHorizontal,
    hsDashedDownwardDiagonal,
    hsDashedUpwardDiagonal,
    hsDashedHorizontal,
    hsDashedVertical,
    hsSmallConfetti,
    hsLargeConfetti,
    hsZigZag,
    hsWave,
    hsDiagonalBrick,
    hsHorizontalBrick,
    hsWeave,
    hsPlaid,
    hsDivot,
    hsDottedGrid,
    hsDottedDiamond,
    hsShingle,
    hsTrellis,
    hsSphere,
    hsSmallGrid,
    hsSmallCheckerBoard,
    hsLargeCheckerBoard,
    hsOutlinedDiamond,
    hsSolidDiamond,
};

class TChtBrush : public plat::TBrush {
    PLAT_CLASS(TChtBrush, plat::TBrush)
public:
    // Colour and default colour clDefault, back colour clNone; nothing is
    // announced until OnChangeEvent takes over.
    explicit TChtBrush(plat::TNotifyEvent OnChangeEvent = {});
    ~TChtBrush() override;

    // Colour and the default of its stored rule, without notification.
    void SetDefaultColor(TColor Value);
    TColor DefaultColor() const { return FDefaultColor; }

    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    // The six first patterns are the platform's hatches and set its style
    // too; the other 47 are only kept.
    THatchStyle HatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(THatchStyle Value);

    // Made on first read with the brush's change event; nullptr frees it,
    // any other gradient is copied. Both writes notify.
    TChtGradient* Gradient() const;
    void SetGradient(const TChtGradient* Value);
    // Made on first read with the brush's change event; nullptr frees an
    // existing picture, any other picture is copied; notifies on a change.
    TChtPicture* Image() const;
    void SetImage(const TChtPicture* Value);

    // Style clear, no picture, no gradient.
    void Clear();

    // A picture with a graphic that is not empty.
    bool HasImage() const;
    bool IsImageStored() const { return FImage != nullptr; }
    bool HasGradient() const { return FGradient != nullptr; }
    // A gradient exists and is visible; never makes one.
    bool BrushIsGradientVisible() const;

    // From another chart brush also picture, back colour, hatch and
    // gradient (a source without picture or gradient frees this brush's);
    // then the platform brush's part, with one notification.
    void Assign(const plat::TPersistent* Source) override;

private:
    bool IsColorStored() const { return Color() != FDefaultColor; }

    TColor FBackColor = clNone;                     // background of hatches and patterns
    mutable std::unique_ptr<TChtGradient> FGradient;
    mutable std::unique_ptr<TChtPicture> FImage;
    THatchStyle FHatchStyle = hsHorizontal;
    TColor FDefaultColor = clDefault;               // Color is stored when it differs
};

} // namespace qel
