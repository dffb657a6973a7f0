// Set-up and shutdown of the chart's filter family: the set-up registers
// the 25 filter classes a stored filter list may name and installs the
// gradient rotation; the shutdown takes both back.
#pragma once

namespace qel {

// Registers the filter classes in their fixed order (a class registered
// before is skipped) and installs GradientRotate as the gradient rotation
// hook.
void InitChartFilters();

// Clears the gradient rotation hook and frees the list of registered
// filter class names.
void FinalizeChartFilters();

} // namespace qel
