// The amount filters' base: amount, percent and their editor.
#include "widgets/chart/amount_filter.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/form_creator.h"

namespace qel {

PLAT_DEFINE_CLASS(TAmountFilter, TChtFilter,
    plat::Published("Amount", &TAmountFilter::Amount, &TAmountFilter::SetAmount).Default(5),
    plat::Published("Percent", &TAmountFilter::Percent, &TAmountFilter::SetPercent).Default(true))

TAmountFilter::TAmountFilter(plat::TCollection* Collection) : TChtFilter(Collection)
{
}

void TAmountFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TAmountFilter*>(Source)) {
        FAmount = Other->FAmount;
        FPercent = Other->FPercent;
    }
    TChtFilter::Assign(Source);
}

int TAmountFilter::AmountMin() const
{
    if (IOnlyPositive) {
        return 0;
    }
    return FPercent ? -100 : -255;
}

int TAmountFilter::AmountMax() const
{
    return FPercent ? 100 : 255;
}

void TAmountFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    plat::TObject* Scroll = Creator.AddScroll("Amount", AmountMin(), AmountMax());
    FScrollBar = dynamic_cast<TScrollBar*>(Scroll);
    if (FScrollBar == nullptr) {
        throw plat::EInvalidCast("Invalid class typecast");
    }
    Creator.AddCheckBox("Percent", ChartText(TChartMessage::FilterPercent),
        plat::TNotifyEvent(this, &TAmountFilter::PercentChanged));
}

void TAmountFilter::PercentChanged(plat::TObject*)
{
    if (FScrollBar == nullptr) {
        return;
    }
    FScrollBar->SetMin(AmountMin());
    FScrollBar->SetMax(AmountMax());
}

} // namespace qel
