// Gradient settings: defaults, the colours read from and written to the
// stops, the second gradient, stored rules and assignment.
#include "widgets/chart/chart_gradient.h"

namespace qel {

PLAT_DEFINE_CLASS(TCustomChtGradient, plat::TPersistent,
    plat::Published("Angle", &TCustomChtGradient::Angle, &TCustomChtGradient::SetAngle).Default(0),
    plat::Published("Balance", &TCustomChtGradient::Balance, &TCustomChtGradient::SetBalance).Default(50),
    plat::Published("Colors", &TCustomChtGradient::Colors, &TCustomChtGradient::SetColors)
        .StoredIf(&TCustomChtGradient::IsColorsStored),
    plat::Published("Direction", &TCustomChtGradient::Direction, &TCustomChtGradient::SetDirection,
        {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter", "gdFromTopLeft",
            "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"})
        .StoredIf(&TCustomChtGradient::IsDirectionStored),
    plat::Published("EndColor", &TCustomChtGradient::EndColor, &TCustomChtGradient::SetEndColor)
        .StoredIf(&TCustomChtGradient::IsEndColorStored),
    plat::Published("MidColor", &TCustomChtGradient::MidColor, &TCustomChtGradient::SetMidColor)
        .StoredIf(&TCustomChtGradient::IsMidColorStored),
    plat::Published("RadialX", &TCustomChtGradient::RadialX, &TCustomChtGradient::SetRadialX).Default(0),
    plat::Published("RadialY", &TCustomChtGradient::RadialY, &TCustomChtGradient::SetRadialY).Default(0),
    plat::Published("StartColor", &TCustomChtGradient::StartColor, &TCustomChtGradient::SetStartColor)
        .StoredIf(&TCustomChtGradient::IsStartColorStored),
    plat::Published("Visible", &TCustomChtGradient::Visible, &TCustomChtGradient::SetVisible)
        .StoredIf(&TCustomChtGradient::IsVisibleStored))

PLAT_DEFINE_CLASS(TChtGradient, TCustomChtGradient,
    plat::Published("SubGradient", &TChtGradient::SubGradient, &TChtGradient::SetSubGradient)
        .StoredIf(&TChtGradient::HasSubGradient))

PLAT_DEFINE_CLASS(TSubGradient, TCustomChtGradient,
    plat::Published("Transparency", &TSubGradient::Transparency, &TSubGradient::SetTransparency).Default(50))

TGradientRotateHook GradientRotateHook = nullptr;

TCustomChtGradient::TCustomChtGradient(plat::TNotifyEvent ChangedEvent) : IChanged(std::move(ChangedEvent))
{
}

TCustomChtGradient::~TCustomChtGradient() = default;

void TCustomChtGradient::DoChanged()
{
    if (FQuiet == 0) {
        IChanged(this);
    }
}

template <class T>
void TCustomChtGradient::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    DoChanged();
}

void TCustomChtGradient::SetAngle(int Value)
{
    Store(FAngle, Value);
}

void TCustomChtGradient::SetBalance(int Value)
{
    Store(FBalance, Value);
}

void TCustomChtGradient::SetDirection(TGradientDirection Value)
{
    Store(FDirection, Value);
}

void TCustomChtGradient::SetRadialX(int Value)
{
    Store(FRadialX, Value);
}

void TCustomChtGradient::SetRadialY(int Value)
{
    Store(FRadialY, Value);
}

void TCustomChtGradient::SetVisible(bool Value)
{
    Store(FVisible, Value);
}

TChtGradientColors* TCustomChtGradient::Colors() const
{
    if (!FColors) {
        FColors = std::make_unique<TChtGradientColors>(const_cast<TCustomChtGradient*>(this));
        const_cast<TCustomChtGradient*>(this)->ResetColors();
    }
    return FColors.get();
}

void TCustomChtGradient::SetColors(const TChtGradientColors* Value)
{
    if (Value == nullptr) {
        if (FColors) {
            FColors.reset();
            DoChanged();
        }
        return;
    }
    if (Value != FColors.get()) {
        Colors()->Assign(Value);
    }
}

void TCustomChtGradient::ResetColors()
{
    if (!FColors) {
        return;
    }
    const TQuietChanges Quiet(*this);
    FColors->Clear();
    FColors->Add(0, IDefStart, 0);
    FColors->Add(1, IDefEnd, 0);
}

TChtGradientColor* TCustomChtGradient::Stop(int Index) const
{
    return static_cast<TChtGradientColor*>(FColors->Items(Index));
}

bool TCustomChtGradient::EnsureOneStop()
{
    if (Colors()->Count() > 0) {
        return false;
    }
    const TQuietChanges Quiet(*this);
    FColors->Add(0, clBlack, 0);
    return true;
}

TColor TCustomChtGradient::StartColor() const
{
    if (!FColors) {
        return IDefStart;
    }
    return FColors->Count() == 0 ? clNone : Stop(0)->Color();
}

TColor TCustomChtGradient::EndColor() const
{
    if (!FColors) {
        return IDefEnd;
    }
    return FColors->Count() == 0 ? clNone : Stop(FColors->Count() - 1)->Color();
}

TColor TCustomChtGradient::MidColor() const
{
    if (!FColors) {
        return IDefMid;
    }
    return FColors->Count() < 3 ? clNone : Stop(1)->Color();
}

void TCustomChtGradient::SetStartColor(TColor Value)
{
    const bool Grown = EnsureOneStop();
    TChtGradientColor* First = Stop(0);
    if (!Grown && First->Color() == Value) {
        return;
    }
    {
        const TQuietChanges Quiet(*this);
        First->SetColor(Value);
    }
    DoChanged();
}

void TCustomChtGradient::SetEndColor(TColor Value)
{
    const bool Grown = EnsureOneStop();
    TChtGradientColor* First = Stop(0);
    TChtGradientColor* Last = Stop(FColors->Count() - 1);
    if (!Grown && Last->Color() == Value && (!FStartIsEnd || First->Color() == Value)) {
        return;
    }
    {
        const TQuietChanges Quiet(*this);
        Last->SetColor(Value);
        if (FStartIsEnd) {
            First->SetColor(Value);
        }
    }
    DoChanged();
}

void TCustomChtGradient::SetMidColor(TColor Value)
{
    const int Count = Colors()->Count();
    if (Value == clNone) {
        if (Count <= 2) {
            return;
        }
        {
            const TQuietChanges Quiet(*this);
            FColors->Delete(1);
        }
        DoChanged();
        return;
    }
    const bool Inserted = Count <= 2;
    {
        const TQuietChanges Quiet(*this);
        if (Inserted) {
            auto* Middle = static_cast<TChtGradientColor*>(FColors->Insert(std::min(Count, 1)));
            Middle->SetOffset(0.5);
        }
    }
    TChtGradientColor* Middle = Stop(std::min(Count, 1));
    if (!Inserted && Middle->Color() == Value) {
        return;
    }
    {
        const TQuietChanges Quiet(*this);
        Middle->SetColor(Value);
    }
    IMidColor = Value;
    DoChanged();
}

void TCustomChtGradient::UseMiddleColor()
{
    SetMidColor(IMidColor);
}

bool TCustomChtGradient::IsColorsStored() const
{
    if (!FColors) {
        return false;
    }
    const int Count = FColors->Count();
    if (Count < 2 || Count > 3) {
        return true;
    }
    const double Standard[2][3] = {{0, 1, 0}, {0, 0.5, 1}};
    for (int Index = 0; Index < Count; ++Index) {
        const TChtGradientColor* Each = Stop(Index);
        if (Each->Offset() != Standard[Count - 2][Index] || Each->Transparency() != 0) {
            return true;
        }
    }
    return false;
}

TSubGradient* TCustomChtGradient::SubGradient() const
{
    if (!FSub) {
        auto* Self = const_cast<TCustomChtGradient*>(this);
        FSub = std::make_unique<TSubGradient>(plat::TNotifyEvent([Self](plat::TObject*) { Self->DoChanged(); }));
    }
    return FSub.get();
}

void TCustomChtGradient::SetSubGradient(const TSubGradient* Value)
{
    if (Value == nullptr) {
        if (FSub) {
            FSub.reset();
            DoChanged();
        }
        return;
    }
    if (Value == FSub.get()) {
        return;
    }
    {
        const TQuietChanges Quiet(*this);
        SubGradient()->Assign(Value);
        FSub->SetTransparency(Value->Transparency());
    }
    DoChanged();
}

void TCustomChtGradient::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TCustomChtGradient*>(Source);
    if (Other == nullptr) {
        plat::TPersistent::Assign(Source);
        return;
    }
    if (Other == this) {
        return;
    }
    {
        const TQuietChanges Quiet(*this);
        FAngle = Other->FAngle;
        FBalance = Other->FBalance;
        FDirection = Other->FDirection;
        FRadialX = Other->FRadialX;
        FRadialY = Other->FRadialY;
        SetColors(Other->FColors.get());
        FStartIsEnd = Other->FStartIsEnd;
        SetSubGradient(Other->FSub.get());
        FVisible = Other->FVisible;
    }
    // Only copying a stop list (this gradient's or the second one's) tells
    // the listener; the plain fields are copied silently.
    if (Other->FColors || (Other->FSub && Other->FSub->FColors)) {
        DoChanged();
    }
}

void TCustomChtGradient::Reset()
{
    const TQuietChanges Quiet(*this);
    FVisible = false;
    FDirection = gdTopBottom;
    IDefDirection = gdTopBottom;
    IDefStart = clWhite;
    IDefEnd = clYellow;
    IDefMid = clNone;
    IMidColor = clWhite;
    ResetColors();
    FBalance = 50;
    FAngle = 0;
    FRadialX = 0;
    FRadialY = 0;
}

void TSubGradient::SetTransparency(TChtTransparency Value)
{
    Store(FTransparency, Value);
}

} // namespace qel
