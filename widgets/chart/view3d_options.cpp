// 3D view options: setters that repaint, scroll and zoom events, assignment.
#include "widgets/chart/view3d_options.h"

#include "widgets/chart/chart_points.h"

#include <algorithm>

namespace qel {

PLAT_DEFINE_CLASS(TView3DOptions, plat::TPersistent,
    plat::Published("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation).Default(345),
    plat::Published("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom).Default(100),
    plat::Published("PenZoom", &TView3DOptions::PenZoom, &TView3DOptions::SetPenZoom).Default(100),
    plat::Published("CheckBoxZoom", &TView3DOptions::CheckBoxZoom, &TView3DOptions::SetCheckBoxZoom).Default(100),
    plat::Published("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset).Default(0),
    plat::Published("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle).Default(45),
    plat::Published("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal).Default(true),
    plat::Published("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective).Default(15),
    plat::Published("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation).Default(345),
    plat::Published("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt).Default(0),
    plat::Published("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset).Default(0),
    plat::Published("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom).Default(100),
    plat::Published("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText,
        {"ztManual", "ztNo", "ztAuto"})
        .Default(ztAuto),
    plat::Published("ZoomPen", &TView3DOptions::ZoomPen, &TView3DOptions::SetZoomPen,
        {"zpManual", "zpNo", "zpAuto"})
        .Default(zpAuto))

namespace {

// The byte an enumeration setter ignores.
constexpr std::uint8_t IgnoredZoomMode = 255;

} // namespace

TView3DOptions::TView3DOptions(plat::TComponent* AParent) : FParent(AParent)
{
}

void TView3DOptions::Repaint()
{
    OnInvalidate(this);
}

// A NaN compares unequal, so it is always stored.
template <class T>
void TView3DOptions::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    Repaint();
}

void TView3DOptions::StoreOffset(double& Field, double Value, bool IsHoriz)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    Repaint();
    OnScrolled(IsHoriz);
}

void TView3DOptions::SetElevationFloat(double Value)
{
    Store(FElevation, Value);
}

void TView3DOptions::SetRotationFloat(double Value)
{
    Store(FRotation, Value);
}

void TView3DOptions::SetTiltFloat(double Value)
{
    Store(FTilt, Value);
}

void TView3DOptions::SetHorizOffsetFloat(double Value)
{
    StoreOffset(FHorizOffset, Value, true);
}

void TView3DOptions::SetVertOffsetFloat(double Value)
{
    StoreOffset(FVertOffset, Value, false);
}

void TView3DOptions::SetZOffset(double Value)
{
    StoreOffset(FZOffset, Value, false);
}

void TView3DOptions::SetZoomFloat(double Value)
{
    if (FZoom == Value) {
        return;
    }
    OnChangedZoom(RoundToPixel(Value));
    FZoom = Value;
    Repaint();
}

int TView3DOptions::Elevation() const
{
    return RoundToPixel(FElevation);
}

int TView3DOptions::HorizOffset() const
{
    return RoundToPixel(FHorizOffset);
}

int TView3DOptions::Rotation() const
{
    return RoundToPixel(FRotation);
}

int TView3DOptions::Tilt() const
{
    return RoundToPixel(FTilt);
}

int TView3DOptions::VertOffset() const
{
    return RoundToPixel(FVertOffset);
}

int TView3DOptions::Zoom() const
{
    return RoundToPixel(FZoom);
}

void TView3DOptions::SetFontZoom(int Value)
{
    Store(FFontZoom, Value);
}

void TView3DOptions::SetPenZoom(int Value)
{
    Store(FPenZoom, Value);
}

void TView3DOptions::SetCheckBoxZoom(int Value)
{
    Store(FCheckBoxZoom, Value);
}

void TView3DOptions::SetOrthoAngle(int Value)
{
    Store(FOrthoAngle, Value);
}

void TView3DOptions::SetPerspective(int Value)
{
    Store(FPerspective, std::min(Value, 100));
}

void TView3DOptions::SetOrthogonal(bool Value)
{
    Store(FOrthogonal, Value);
}

void TView3DOptions::SetZoomText(TCanvasZoomText Value)
{
    if (Value != IgnoredZoomMode) {
        Store(FZoomText, Value);
    }
}

void TView3DOptions::SetZoomPen(TCanvasZoomPen Value)
{
    if (Value != IgnoredZoomMode) {
        Store(FZoomPen, Value);
    }
}

bool TView3DOptions::BackFaced() const
{
    const int Turned = Rotation();
    return !FOrthogonal && Turned > 90 && Turned < 270;
}

void TView3DOptions::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TView3DOptions*>(Source);
    if (Other == nullptr) {
        return;
    }
    FElevation = Other->FElevation;
    FFontZoom = Other->FFontZoom;
    FPenZoom = Other->FPenZoom;
    FCheckBoxZoom = Other->FCheckBoxZoom;
    FHorizOffset = Other->FHorizOffset;
    FOrthoAngle = Other->FOrthoAngle;
    FOrthogonal = Other->FOrthogonal;
    FPerspective = Other->FPerspective;
    FRotation = Other->FRotation;
    FTilt = Other->FTilt;
    FVertOffset = Other->FVertOffset;
    FZoom = Other->FZoom;
    FZoomText = Other->FZoomText;
    FZoomPen = Other->FZoomPen;
}

} // namespace qel
