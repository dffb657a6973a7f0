// Pointer and integer helpers, the default epoch and unique component names
// of the component library.
#include "widgets/pages/pgc_helpers.h"

#include "platform/date_time.h"
#include "platform/objects/component.h"

namespace qel {

std::ptrdiff_t CharDistance(const void* P, const void* Q)
{
    const auto bytes = static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(P) - reinterpret_cast<std::uintptr_t>(Q));
    return bytes / static_cast<std::ptrdiff_t>(sizeof(char16_t));
}

int DefaultEpochYear()
{
    int year = 0;
    int month = 0;
    int day = 0;
    plat::DecodeDate(plat::Now(), year, month, day);
    return year / 100 * 100;
}

std::string UniqueComponentName(const plat::TComponent* Owner, std::string_view Base)
{
    if (!plat::IsValidIdent(Base)) {
        throw plat::EComponentError("''" + std::string(Base) + "'' is not a valid component name");
    }
    for (int number = 1;; ++number) {
        std::string name = std::string(Base) + std::to_string(number);
        if (Owner == nullptr || Owner->FindComponent(name) == nullptr) {
            return name;
        }
    }
}

} // namespace qel
