// Sets up the HTML-like text's stacks for the life of a test scene and frees
// them after, so that tags one test leaves open never reach the next.
#pragma once

#include "widgets/chart/html_stacks.h"

namespace qel::test {

struct THtmlUnitScope {
    THtmlUnitScope() { InitChartHtml(); }
    ~THtmlUnitScope() { FinalizeChartHtml(); }
    THtmlUnitScope(const THtmlUnitScope&) = delete;
    THtmlUnitScope& operator=(const THtmlUnitScope&) = delete;
};

} // namespace qel::test
