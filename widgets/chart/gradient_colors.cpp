// Colour stops and the stop list of a chart gradient.
#include "widgets/chart/gradient_colors.h"

#include "widgets/chart/chart_gradient.h"

#include <algorithm>
#include <cmath>

namespace qel {

PLAT_DEFINE_CLASS(TChtGradientColor, plat::TCollectionItem,
    plat::Published("Color", &TChtGradientColor::Color, &TChtGradientColor::SetColor).Default(0),
    plat::Published("Offset", &TChtGradientColor::Offset, &TChtGradientColor::SetOffset),
    plat::Published("Transparency", &TChtGradientColor::Transparency, &TChtGradientColor::SetTransparency)
        .Default(0))

PLAT_DEFINE_CLASS(TChtGradientColors, plat::TOwnedCollection)

namespace {

// Runs Work inside one update of List, so that List reports one change.
template <class TWork>
void WithinUpdate(plat::TCollection& List, TWork&& Work)
{
    List.BeginUpdate();
    try {
        Work();
    } catch (...) {
        List.EndUpdate();
        throw;
    }
    List.EndUpdate();
}

} // namespace

TChtGradientColor::TChtGradientColor(plat::TCollection* Collection) : plat::TCollectionItem(Collection)
{
}

template <class T>
void TChtGradientColor::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    Changed(false);
}

void TChtGradientColor::SetColor(TColor Value)
{
    Store(FColor, Value);
}

void TChtGradientColor::SetOffset(double Value)
{
    Store(FOffset, Value);
}

void TChtGradientColor::SetTransparency(TChtTransparency Value)
{
    Store(FTransp, Value);
}

void TChtGradientColor::Assign(const plat::TPersistent* Source)
{
    if (const auto* Stop = dynamic_cast<const TChtGradientColor*>(Source)) {
        FColor = Stop->FColor;
        FOffset = Stop->FOffset;
        FTransp = Stop->FTransp;
        Changed(false);
        return;
    }
    plat::TCollectionItem::Assign(Source);
}

TChtGradientColors::TChtGradientColors(TCustomChtGradient* Gradient)
    : plat::TOwnedCollection(Gradient, TChtGradientColor::StaticClass()), FGradient(Gradient)
{
}

TChtGradientColor* TChtGradientColors::Add(double AOffset, TColor AColor, TChtTransparency ATransparency)
{
    const double Offset = std::isnan(AOffset) ? 0.0 : std::clamp(AOffset, 0.0, 1.0);
    int At = 0;
    while (At < Count() && static_cast<TChtGradientColor*>(Items(At))->Offset() <= Offset) {
        ++At;
    }
    TChtGradientColor* Stop = nullptr;
    WithinUpdate(*this, [&] {
        Stop = static_cast<TChtGradientColor*>(Insert(At));
        Stop->SetOffset(Offset);
        Stop->SetColor(AColor);
        Stop->SetTransparency(ATransparency);
    });
    return Stop;
}

TChtGradientColor* TChtGradientColors::Get(int Index)
{
    if (Index >= Count()) {
        WithinUpdate(*this, [&] {
            while (Index >= Count()) {
                plat::TCollection::Add();
            }
        });
    }
    return static_cast<TChtGradientColor*>(Items(Index));
}

void TChtGradientColors::Put(int Index, const TChtGradientColor* Value)
{
    Get(Index)->Assign(Value);
}

void TChtGradientColors::Repaint()
{
    if (FGradient != nullptr) {
        FGradient->DoChanged();
    }
}

void TChtGradientColors::Update(plat::TCollectionItem* Item)
{
    plat::TOwnedCollection::Update(Item);
    Repaint();
}

} // namespace qel
