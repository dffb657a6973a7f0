// Registration of chart filter classes by name.
#include "widgets/chart/filter_class_registry.h"

#include "platform/objects/class_registry.h"

#include <string>

namespace qel {

std::unique_ptr<plat::TStringList> FilterClassNames;

void RegisterFilterClasses(std::initializer_list<TFilterClass> Classes)
{
    if (!FilterClassNames) {
        FilterClassNames = std::make_unique<plat::TStringList>();
    }
    for (TFilterClass FilterClass : Classes) {
        const std::string Name(FilterClass->ClassName());
        if (FilterClassNames->IndexOf(Name) >= 0) {
            continue;
        }
        plat::RegisterClass(FilterClass);
        FilterClassNames->Add(Name);
    }
}

} // namespace qel
