// Logger factory: one case per model code, split by version word where one
// code has several generations; each unit's selector checks its versions.
#include "loggers/qel_factory.h"

#include "loggers/qel25.h"
#include "loggers/qel28.h"
#include "loggers/qel51.h"
#include "loggers/qel539c.h"
#include "loggers/qel57.h"
#include "loggers/qel621wd.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel624c.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel629wxd.h"
#include "loggers/qel649.h"

namespace qel {

TQelClass GetQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    switch (ModulClass) {
    case 0x6601:
        return ModulVersion < 0x0600 ? qel629::SelectQelClass(ModulClass, ModulVersion)
                                     : qel629c::SelectQelClass(ModulClass, ModulVersion);
    case 0x6606:
    case 0x6607:
        return qel649::SelectQelClass(ModulClass, ModulVersion);
    case 0x6615:
        return qel539c::SelectQelClass(ModulClass, ModulVersion);
    case 0x6616:
        return qel51::SelectQelClass(ModulClass, ModulVersion);
    case 0x6617:
        return qel629wxd::SelectQelClass(ModulClass, ModulVersion);
    case 0x6619:
        return qel624c::SelectQelClass(ModulClass, ModulVersion);
    case 0x661D:
        if (ModulVersion < 0x0200) {
            return qel57::SelectQelClass(ModulClass, ModulVersion);
        }
        return ModulVersion < 0x0300 ? qel57b::SelectQelClass(ModulClass, ModulVersion)
                                     : qel57c::SelectQelClass(ModulClass, ModulVersion);
    case 0x6621:
        return ModulVersion < 0x0200 ? qel621wd::SelectQelClass(ModulClass, ModulVersion)
                                     : qel621wxd::SelectQelClass(ModulClass, ModulVersion);
    case 0x6626:
        return qel28::SelectQelClass(ModulClass, ModulVersion);
    case 0x6628:
        return qel25::SelectQelClass(ModulClass, ModulVersion);
    default:
        return &TQEL::ClassInfo;
    }
}

} // namespace qel
