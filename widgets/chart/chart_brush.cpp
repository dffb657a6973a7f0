// The chart brush: stored rules, hatch styles, picture and gradient.
#include "widgets/chart/chart_brush.h"

#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_picture.h"

#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TChtBrush, plat::TBrush,
    plat::Published("BackColor", &TChtBrush::BackColor, &TChtBrush::SetBackColor).Default(clNone),
    plat::Published("Color", &TChtBrush::Color, &TChtBrush::SetColor).StoredIf(&TChtBrush::IsColorStored),
    plat::Published("Gradient", &TChtBrush::Gradient, &TChtBrush::SetGradient),
    plat::Published("HatchStyle", &TChtBrush::HatchStyle, &TChtBrush::SetHatchStyle,
        {"hsHorizontal", "hsVertical", "hsForwardDiagonal", "hsBackwardDiagonal", "hsCross", "hsDiagonalCross",
            "hs05Percent", "hs10Percent", "hs20Percent", "hs25Percent", "hs30Percent", "hs40Percent",
            "hs50Percent", "hs60Percent", "hs70Percent", "hs75Percent", "hs80Percent", "hs90Percent",
            "hsLightDownwardDiagonal", "hsLightUpwardDiagonal", "hsDarkDownwardDiagonal", "hsDarkUpwardDiagonal",
            "hsWideDownwardDiagonal", "hsWideUpwardDiagonal", "hsLightVertical", "hsLightHorizontal",
            "hsNarrowVertical", "hsNarrowHorizontal", "hsDarkVertical", "hsDarkHorizontal",
            "hsDashedDownwardDiagonal", "hsDashedUpwardDiagonal", "hsDashedHorizontal", "hsDashedVertical",
            "hsSmallConfetti", "hsLargeConfetti", "hsZigZag", "hsWave", "hsDiagonalBrick", "hsHorizontalBrick",
            "hsWeave", "hsPlaid", "hsDivot", "hsDottedGrid", "hsDottedDiamond", "hsShingle", "hsTrellis",
            "hsSphere", "hsSmallGrid", "hsSmallCheckerBoard", "hsLargeCheckerBoard", "hsOutlinedDiamond",
            "hsSolidDiamond"})
        .Default(hsHorizontal),
    plat::Published("Image", &TChtBrush::Image, &TChtBrush::SetImage).StoredIf(&TChtBrush::IsImageStored))

TChtBrush::TChtBrush(plat::TNotifyEvent OnChangeEvent)
{
    SetDefaultColor(clDefault);
    OnChange = std::move(OnChangeEvent);
}

TChtBrush::~TChtBrush() = default;

void TChtBrush::SetDefaultColor(TColor Value)
{
    plat::TNotifyEvent Saved = std::exchange(OnChange, {});
    SetColor(Value);
    FDefaultColor = Value;
    OnChange = std::move(Saved);
}

void TChtBrush::SetBackColor(TColor Value)
{
    if (Value == FBackColor) {
        return;
    }
    FBackColor = Value;
    Changed();
}

void TChtBrush::SetHatchStyle(THatchStyle Value)
{
    if (Value == FHatchStyle) {
        return;
    }
    FHatchStyle = Value;
    if (Value <= hsDiagonalCross) {
        SetStyle(static_cast<plat::TBrushStyle>(static_cast<int>(Value) + plat::bsHorizontal));
    }
    Changed();
}

TChtGradient* TChtBrush::Gradient() const
{
    if (!FGradient) {
        FGradient = std::make_unique<TChtGradient>(OnChange);
    }
    return FGradient.get();
}

void TChtBrush::SetGradient(const TChtGradient* Value)
{
    if (Value == nullptr) {
        FGradient.reset();
    } else if (Value != FGradient.get()) {
        Gradient()->Assign(Value);
    }
    Changed();
}

TChtPicture* TChtBrush::Image() const
{
    if (!FImage) {
        FImage = std::make_unique<TChtPicture>();
        FImage->OnChange = OnChange;
    }
    return FImage.get();
}

void TChtBrush::SetImage(const TChtPicture* Value)
{
    if (Value == nullptr) {
        if (FImage) {
            FImage.reset();
            Changed();
        }
        return;
    }
    if (Value != FImage.get()) {
        Image()->Assign(Value);
    }
    Changed();
}

void TChtBrush::Clear()
{
    SetStyle(plat::bsClear);
    SetImage(nullptr);
    FGradient.reset();
}

bool TChtBrush::HasImage() const
{
    return FImage && FImage->Graphic() != nullptr && !FImage->Graphic()->Empty();
}

bool TChtBrush::BrushIsGradientVisible() const
{
    return FGradient && FGradient->Visible();
}

void TChtBrush::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TChtBrush*>(Source); Other != nullptr && Other != this) {
        SetImage(Other->FImage.get());
        FBackColor = Other->FBackColor;
        FHatchStyle = Other->FHatchStyle;
        if (Other->FGradient) {
            SetGradient(Other->FGradient.get());
        } else {
            FGradient.reset();
        }
    }
    plat::TBrush::Assign(Source);
}

} // namespace qel
