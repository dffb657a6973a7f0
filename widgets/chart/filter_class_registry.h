// The registry of chart filter classes: registering a filter class makes
// its stored name readable again (the class registry's FindClass finds it).
#pragma once

#include "widgets/chart/chart_filter.h"

#include "platform/objects/string_list.h"

#include <initializer_list>
#include <memory>

namespace qel {

// The class names registered so far, in order, compared without case; none
// until the first registration.
extern std::unique_ptr<plat::TStringList> FilterClassNames;

// Registers each class whose name is not yet listed, in order; a name
// listed already is skipped.
void RegisterFilterClasses(std::initializer_list<TFilterClass> Classes);

} // namespace qel
