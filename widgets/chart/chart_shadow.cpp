// Shadow and emboss settings: setters, size, stored rules, assignment.
#include "widgets/chart/chart_shadow.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace qel {

#define QEL_SHADOW_DIRECTIONS {"sdLeftTop", "sdLeftBottom", "sdRightTop", "sdRightBottom", "sdCenter"}

PLAT_DEFINE_CLASS(TChtShadow, plat::TPersistent,
    plat::Published("Clip", &TChtShadow::Clip, &TChtShadow::SetClip).Default(false),
    plat::Published("Color", &TChtShadow::Color, &TChtShadow::SetColor).StoredIf(&TChtShadow::IsColorStored),
    plat::Published("Direction", &TChtShadow::Direction, &TChtShadow::SetDirection, QEL_SHADOW_DIRECTIONS)
        .Default(sdRightBottom),
    plat::Published("HorizSize", &TChtShadow::HorizSize, &TChtShadow::SetHorizSize)
        .StoredIf(&TChtShadow::IsHorizSizeStored),
    plat::Published("Smooth", &TChtShadow::Smooth, &TChtShadow::SetSmooth).Default(true),
    plat::Published("SmoothBlur", &TChtShadow::SmoothBlur, &TChtShadow::SetSmoothBlur).Default(0),
    plat::Published("Transparency", &TChtShadow::Transparency, &TChtShadow::SetTransparency).Default(50),
    plat::Published("VertSize", &TChtShadow::VertSize, &TChtShadow::SetVertSize)
        .StoredIf(&TChtShadow::IsVertSizeStored),
    plat::Published("Visible", &TChtShadow::Visible, &TChtShadow::SetVisible)
        .StoredIf(&TChtShadow::IsVisibleStored))

PLAT_DEFINE_CLASS(TChtEmboss, TChtShadow,
    plat::Published("Direction", &TChtEmboss::Direction, &TChtEmboss::SetDirection, QEL_SHADOW_DIRECTIONS)
        .Default(sdLeftTop))

#undef QEL_SHADOW_DIRECTIONS

TChtShadow::TChtShadow(plat::TNotifyEvent AOnChange) : IOnChange(std::move(AOnChange))
{
}

template <class T>
void TChtShadow::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    IOnChange(this);
}

void TChtShadow::SetClip(bool Value)
{
    Store(FClip, Value);
}

void TChtShadow::SetColor(TColor Value)
{
    Store(FColor, Value);
}

void TChtShadow::SetDirection(TShadowDirection Value)
{
    Store(FDirection, Value);
}

void TChtShadow::SetHorizSize(int Value)
{
    Store(FHorizSize, Value);
}

void TChtShadow::SetVertSize(int Value)
{
    Store(FVertSize, Value);
}

void TChtShadow::SetSmooth(bool Value)
{
    Store(FSmooth, Value);
}

void TChtShadow::SetSmoothBlur(int Value)
{
    Store(FSmoothBlur, Value);
}

void TChtShadow::SetTransparency(TChtTransparency Value)
{
    Store(FTransparency, Value);
}

void TChtShadow::SetVisible(bool Value)
{
    Store(FVisible, Value);
}

int TChtShadow::Size() const
{
    // Offsets are whole pixels of a drawing; the absolute value of the
    // lowest int is taken in 64 bits and capped.
    const long long Horiz = std::llabs(FHorizSize);
    const long long Vert = std::llabs(FVertSize);
    return static_cast<int>(std::min<long long>(std::max(Horiz, Vert), 0x7FFFFFFF));
}

void TChtShadow::SetSize(int Value)
{
    SetHorizSize(Value);
    SetVertSize(Value);
}

void TChtShadow::InitDefaults(bool AVisible, TShadowDirection ADirection)
{
    FVisible = AVisible;
    DefaultVisible = AVisible;
    FDirection = ADirection;
}

void TChtShadow::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TChtShadow*>(Source);
    if (Other == nullptr) {
        plat::TPersistent::Assign(Source);
        return;
    }
    FClip = Other->FClip;
    FColor = Other->FColor;
    FDirection = Other->FDirection;
    FHorizSize = Other->FHorizSize;
    FSmooth = Other->FSmooth;
    FSmoothBlur = Other->FSmoothBlur;
    FTransparency = Other->FTransparency;
    FVertSize = Other->FVertSize;
    FVisible = Other->FVisible;
}

TChtEmboss::TChtEmboss(plat::TNotifyEvent AOnChange) : TChtShadow(std::move(AOnChange))
{
    InitDefaults(false, sdLeftTop);
}

} // namespace qel
