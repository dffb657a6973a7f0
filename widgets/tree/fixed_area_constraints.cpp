// The header's fixed-area percent limits.
#include "widgets/tree/fixed_area_constraints.h"

#include <algorithm>

namespace qel {

namespace {

TDTConstraintPercent Percent(int value)
{
    return static_cast<TDTConstraintPercent>(std::clamp(value, 0, 100));
}

} // namespace

void TDTFixedAreaConstraints::Changed() const
{
    if (OnChange) {
        OnChange();
    }
}

void TDTFixedAreaConstraints::SetMaxHeightPercent(int value)
{
    const TDTConstraintPercent v = Percent(value);
    if (v == FMaxHeightPercent) {
        return;
    }
    FMaxHeightPercent = v;
    if (v != 0 && v < FMinHeightPercent) {
        FMinHeightPercent = v;
    }
    Changed();
}

void TDTFixedAreaConstraints::SetMaxWidthPercent(int value)
{
    const TDTConstraintPercent v = Percent(value);
    if (v == FMaxWidthPercent) {
        return;
    }
    FMaxWidthPercent = v;
    if (v != 0 && v < FMinWidthPercent) {
        FMinWidthPercent = v;
    }
    Changed();
}

void TDTFixedAreaConstraints::SetMinHeightPercent(int value)
{
    const TDTConstraintPercent v = Percent(value);
    if (v == FMinHeightPercent) {
        return;
    }
    FMinHeightPercent = v;
    if (FMaxHeightPercent != 0 && FMaxHeightPercent < v) {
        FMaxHeightPercent = v;
    }
    Changed();
}

void TDTFixedAreaConstraints::SetMinWidthPercent(int value)
{
    const TDTConstraintPercent v = Percent(value);
    if (v == FMinWidthPercent) {
        return;
    }
    FMinWidthPercent = v;
    if (FMaxWidthPercent != 0 && FMaxWidthPercent < v) {
        FMaxWidthPercent = v;
    }
    Changed();
}

void TDTFixedAreaConstraints::Assign(const TDTFixedAreaConstraints& source)
{
    FMaxHeightPercent = source.FMaxHeightPercent;
    FMaxWidthPercent = source.FMaxWidthPercent;
    FMinHeightPercent = source.FMinHeightPercent;
    FMinWidthPercent = source.FMinWidthPercent;
    Changed();
}

void TDTFixedAreaConstraints::Assign(const plat::TPersistent* source)
{
    if (const auto* constraints = dynamic_cast<const TDTFixedAreaConstraints*>(source)) {
        Assign(*constraints);
        return;
    }
    plat::TPersistent::Assign(source);
}

} // namespace qel
