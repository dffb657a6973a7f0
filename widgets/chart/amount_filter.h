// TAmountFilter: the shared base of the chart filters driven by one amount,
// a percentage or a plain step as each filter says, with its editor: a
// scroll bar whose range follows the percent box.
#pragma once

#include "widgets/chart/chart_filter.h"

namespace qel {

class TScrollBar;

class TAmountFilter : public TChtFilter {
    PLAT_CLASS(TAmountFilter, TChtFilter)
public:
    explicit TAmountFilter(plat::TCollection* Collection);

    int Amount() const { return FAmount; }
    void SetAmount(int Value) { FAmount = Value; }
    // The amount is a percentage rather than a plain step.
    bool Percent() const { return FPercent; }
    void SetPercent(bool Value) { FPercent = Value; }

    // From another amount filter also Amount and Percent.
    void Assign(const plat::TPersistent* Source) override;
    // The amount's scroll bar (raises plat::EInvalidCast when the editor
    // hands back another control) and the percent box, which re-ranges it.
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;

protected:
    // The editor offers no negative amounts.
    bool IOnlyPositive = false;

private:
    int AmountMin() const;
    int AmountMax() const;
    void PercentChanged(plat::TObject* Sender);

    int FAmount = 5;
    bool FPercent = true;
    TScrollBar* FScrollBar = nullptr;   // of the last editor made; not owned
};

} // namespace qel
