// The chart pen and the hidden pen: setters, fill and stored rules.
#include "widgets/chart/chart_pen.h"

#include "widgets/chart/chart_gradient.h"

#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TChtPen, plat::TPen,
    plat::Published("Width", &TChtPen::Width, &TChtPen::SetWidth).StoredIf(&TChtPen::IsWidthStored),
    plat::Published("EndStyle", &TChtPen::EndStyle, &TChtPen::SetEndStyle, {"esRound", "esSquare", "esFlat"})
        .StoredIf(&TChtPen::IsEndStyleStored),
    plat::Published("Fill", &TChtPen::Fill, &TChtPen::SetFill),
    plat::Published("JoinStyle", &TChtPen::JoinStyle, &TChtPen::SetJoinStyle, {"jsRound", "jsBevel", "jsMitter"})
        .StoredIf(&TChtPen::IsJoinStyleStored),
    plat::Published("SmallDots", &TChtPen::SmallDots, &TChtPen::SetSmallDots).Default(false),
    plat::Published("SmallSpace", &TChtPen::SmallSpace, &TChtPen::SetSmallSpace).Default(0),
    plat::Published("Visible", &TChtPen::Visible, &TChtPen::SetVisible).StoredIf(&TChtPen::IsVisibleStored))

PLAT_DEFINE_CLASS(TChtHiddenPen, TChtPen)

TChtPen::TChtPen(plat::TNotifyEvent OnChangeEvent)
{
    OnChange = std::move(OnChangeEvent);
}

TChtPen::~TChtPen() = default;

template <class T>
void TChtPen::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    Changed();
}

void TChtPen::SetEndStyle(TPenEndStyle Value)
{
    Store(FEndStyle, Value);
}

void TChtPen::SetJoinStyle(TPenJoinStyle Value)
{
    Store(FJoinStyle, Value);
}

void TChtPen::SetSmallDots(bool Value)
{
    Store(FSmallDots, Value);
}

void TChtPen::SetSmallSpace(int Value)
{
    Store(FSmallSpace, Value);
}

void TChtPen::SetVisible(bool Value)
{
    Store(FVisible, Value);
}

void TChtPen::InitVisible(bool Value)
{
    FVisible = Value;
    DefaultVisible = Value;
}

TChtBrush* TChtPen::Fill() const
{
    if (!FFill) {
        FFill = std::make_unique<TChtBrush>(OnChange);
    }
    return FFill.get();
}

void TChtPen::SetFill(const TChtBrush* Value)
{
    if (Value == nullptr) {
        FFill.reset();
    } else if (Value != FFill.get()) {
        Fill()->Assign(Value);
    }
}

bool TChtPen::IsGradientVisible() const
{
    return FFill && FFill->BrushIsGradientVisible();
}

int TChtPen::HalfWidth() const
{
    return FVisible && Width() > 1 ? Width() / 2 : 0;
}

void TChtPen::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TChtPen*>(Source); Other != nullptr && Other != this) {
        FVisible = Other->FVisible;
        FSmallDots = Other->FSmallDots;
        FSmallSpace = Other->FSmallSpace;
        FEndStyle = Other->FEndStyle;
        FJoinStyle = Other->FJoinStyle;
        SetFill(Other->FFill.get());
    }
    plat::TPen::Assign(Source);
}

TChtHiddenPen::TChtHiddenPen(plat::TNotifyEvent OnChangeEvent) : TChtPen(std::move(OnChangeEvent))
{
    InitVisible(false);
}

} // namespace qel
